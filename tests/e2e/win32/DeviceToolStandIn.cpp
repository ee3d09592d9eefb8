// Stands in for the device tool under Wine: records its arguments in devicetool.log beside
// itself and ends at once, or after the milliseconds named by a file "delay" beside it.
#include <windows.h>

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
  char self[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  std::string folder(self);
  folder.resize(folder.rfind('\\') + 1);

  if (FILE* delay = std::fopen((folder + "delay").c_str(), "r")) {
    unsigned milliseconds = 0;
    if (std::fscanf(delay, "%u", &milliseconds) == 1) Sleep(milliseconds);
    std::fclose(delay);
  }
  if (FILE* log = std::fopen((folder + "devicetool.log").c_str(), "a")) {
    for (int i = 1; i < argc; ++i) std::fprintf(log, i > 1 ? " %s" : "%s", argv[i]);
    std::fprintf(log, "\n");
    std::fclose(log);
  }
  return 0;
}
