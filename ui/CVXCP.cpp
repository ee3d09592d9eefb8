#include "ui/CVXCP.h"

#include "common/TextCase.h"

CVXCPParser::CVXCPParser(const std::string& link) {
  constexpr std::string_view kScheme = "vxcp:///";
  if (link.size() < kScheme.size() ||
      !EqualsIgnoringCase(link.substr(0, kScheme.size()), kScheme)) {
    return;
  }
  const std::string rest = link.substr(kScheme.size());
  const std::size_t question = rest.find('?');
  const std::string path = rest.substr(0, question);
  if (question != std::string::npos) arguments_ = rest.substr(question + 1);
  const std::size_t slash = path.find('/');
  if (slash == std::string::npos || slash == 0) return;
  handler_ = path.substr(0, slash);
  command_ = path.substr(slash + 1);
  valid_ = !command_.empty();
}

bool CVXCPCommandHandler::PostExecute(const CVXCPParser& parser) {
  if (!parser.IsValid() || !EqualsIgnoringCase(parser.GetHandler(), name_)) return false;
  OnVXCPCommand(parser.GetCommand(), parser.GetArguments());
  return true;
}
