#include "sim/SimFaults.h"

#include <cstdio>
#include <cstdlib>
#include <utility>

namespace {

SimFaultSink& Sink() {
  static SimFaultSink sink;
  return sink;
}

}  // namespace

void SetSimFaultSink(SimFaultSink sink) {
  Sink() = std::move(sink);
}

void ReportSimFault(const std::string& fault) {
  if (Sink()) {
    Sink()(fault);
    return;
  }
  std::fprintf(stderr, "simulated Windows: %s\n", fault.c_str());
  std::abort();
}
