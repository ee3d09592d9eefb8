#include "editors/CFileDropButton.h"

#include "common/TextCase.h"
#include "ui/CUtilityLib.h"

namespace {

bool IsShortcut(const std::string& path) {
  const std::size_t dot = path.rfind('.');
  return dot != std::string::npos && EqualsIgnoringCase(path.substr(dot + 1), "lnk");
}

}  // namespace

void CFileDropButton::Attach(DialogHost& host, int id) {
  host_ = &host;
  id_ = id;
  host.MakeFileDropTarget(id);
}

bool CFileDropButton::TakeDrop() {
  const std::string dropped = host_->TakeDroppedFile(id_);
  if (dropped.empty()) return false;
  if (!IsShortcut(dropped)) {
    targetPath_ = dropped;
    arguments_.clear();
    return true;
  }
  if (const auto shortcut = CUtilityLib::Get().ReadShortcut(dropped)) {
    targetPath_ = shortcut->path;
    arguments_ = shortcut->arguments;
  }
  return true;
}
