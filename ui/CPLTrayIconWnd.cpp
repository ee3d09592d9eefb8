#include "ui/CPLTrayIconWnd.h"

#include "ui/CUtilityLib.h"

bool CPLTrayIconWnd::Create(WindowHandle mainWindow) {
  if (window_ == nullptr)
    window_ = CUtilityLib::Get().CreateTrayIconWindow(mainWindow, kActivateMessage, kMenuMessage);
  return window_ != nullptr;
}

IconHandle CPLTrayIconWnd::LoadIconA(const std::string& file) {
  return CUtilityLib::Get().LoadIconFile(file);
}

void CPLTrayIconWnd::SetAnimate(const std::vector<IconHandle>& icons, unsigned periodMs) {
  icons_ = icons;
  periodMs_ = periodMs;
  if (window_ != nullptr) window_->Animate(icons_, periodMs_);
}

bool CPLTrayIconWnd::ShowIcon(int index, const std::string& tooltip) {
  if (window_ == nullptr) return false;
  const IconHandle icon = (index >= 0 && static_cast<std::size_t>(index) < icons_.size())
                              ? icons_[static_cast<std::size_t>(index)]
                              : 0;
  return window_->Show(icon, tooltip);
}

void CPLTrayIconWnd::HideIcon() {
  if (window_ != nullptr) window_->Hide();
}
