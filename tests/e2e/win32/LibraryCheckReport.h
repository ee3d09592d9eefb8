// library-check's verdicts: one line per check, and how many failed.
#pragma once

#include <cstdio>

inline int g_failures = 0;

inline void Check(bool passed, const char* what) {
  std::printf("%s %s\n", passed ? "ok  " : "FAIL", what);
  std::fflush(stdout);
  if (!passed) ++g_failures;
}
