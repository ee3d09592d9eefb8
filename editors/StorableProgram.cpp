#include "editors/StorableProgram.h"

#include <algorithm>

#include "ui/CUtilityLib.h"

StorableProgram MakeStorable(std::string path, const std::string& parameter,
                             const char* noSuchFile) {
  std::replace(path.begin(), path.end(), '/', '\\');
  StorableProgram program;
  if (!CUtilityLib::IsFile(path)) {
    program.problem = noSuchFile;
    return program;
  }
  Services& services = CUtilityLib::Get();
  const auto storedPath = services.TextForAnsiCodePage(path);
  if (!storedPath) {
    program.problem = kPathNotStorable;
    return program;
  }
  const auto storedParameter = services.TextForAnsiCodePage(parameter);
  if (!storedParameter) {
    program.problem = kParameterNotStorable;
    return program;
  }
  program.path = *storedPath;
  program.parameter = *storedParameter;
  return program;
}
