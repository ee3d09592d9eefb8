#include "sim/SimDesktop.h"

#include <cstdio>
#include <string>

#include "common/ProgramNames.h"
#include "common/TextCase.h"
#include "hook/WindowsCodes.h"

void SimDesktop::PostMessageTo(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                               std::intptr_t lParam) {
  if (!IsWindow(window)) return;  // PostMessage to a destroyed window fails
  if (window == kHostWindow) {
    char number[16];
    std::snprintf(number, sizeof number, "0x%x", message);
    trace_ << "post host " << number << ' ' << wParam << ' ' << lParam << '\n';
    return;
  }
  if (message == win::kWmHScroll) {
    const WindowHandle bar = static_cast<WindowHandle>(lParam);
    trace_ << "hscroll " << NameOf(window) << ' ' << wParam << ' ' << (bar ? NameOf(bar) : "0")
           << '\n';
  }
}

void SimDesktop::BroadcastMonitorOff() {
  trace_ << "monitor off\n";
}

void SimDesktop::SetScreenSaverActive(bool active) {
  screenSaverActive_ = active;
  trace_ << "screensaver " << (active ? "on" : "off") << '\n';
}

void SimDesktop::DeclareWindow(const std::string& name, const std::string& className, bool hidden,
                               const std::string* parentName, const std::string* program) {
  if (WindowByName(name)) return;
  WindowHandle parent = 0;
  if (parentName != nullptr) {
    const auto found = WindowByName(*parentName);
    if (!found) return;
    parent = *found;
  }
  const WindowHandle handle = 0x20000 + 0x10 * (windows_.size() + 1);
  windows_.push_back({name, className, hidden, parent, handle, program ? *program : "", {}});
}

void SimDesktop::AnswerForProgram(const std::string& windowName, WindowProgram answer) {
  for (SimWindow& window : windows_) {
    if (EqualsIgnoringCase(window.name, windowName)) window.answer = std::move(answer);
  }
}

HookPlatform::WindowProgram SimDesktop::ProgramOfWindow(WindowHandle window) {
  ++programQueries_;
  const SimWindow* found = Find(window);
  while (found != nullptr && found->parent != 0) found = Find(found->parent);
  if (found != nullptr && found->answer) return *found->answer;
  // A window no script gave a program (the host's too) belongs to one without rules. The
  // script's name is UTF-8 text; the file system has it in UTF-16.
  const std::string& program =
      found != nullptr && !found->program.empty() ? found->program : std::string("unnamed.exe");
  return {Utf16FromUtf8(program).value_or(std::u16string()), true};
}

std::optional<WindowHandle> SimDesktop::WindowByName(const std::string& name) const {
  if (name.empty()) return std::nullopt;
  if (EqualsIgnoringCase(name, "host")) return kHostWindow;
  for (const SimWindow& window : windows_) {
    if (EqualsIgnoringCase(window.name, name)) return window.handle;
  }
  return std::nullopt;
}

const SimDesktop::SimWindow* SimDesktop::Find(WindowHandle window) const {
  for (const SimWindow& candidate : windows_) {
    if (candidate.handle == window) return &candidate;
  }
  return nullptr;
}

std::string SimDesktop::NameOf(WindowHandle window) const {
  if (window == kHostWindow) return "host";
  const SimWindow* found = Find(window);
  return found ? found->name : "?";
}

bool SimDesktop::IsWindow(WindowHandle window) {
  if (window == kHostWindow) return hostAlive_;
  return Find(window) != nullptr;
}

std::string SimDesktop::ClassName(WindowHandle window) {
  if (window == kHostWindow) return hostAlive_ ? "#32770" : "";
  const SimWindow* found = Find(window);
  return found ? found->className.substr(0, 259) : "";
}

WindowHandle SimDesktop::FindChildWindow(WindowHandle parent, WindowHandle after,
                                         const char* className) {
  bool started = after == 0;
  for (const SimWindow& window : windows_) {
    if (window.parent != parent) continue;
    if (!started) {
      started = window.handle == after;
      continue;
    }
    if (EqualsIgnoringCase(window.className, className)) return window.handle;
  }
  return 0;
}

bool SimDesktop::IsWindowVisible(WindowHandle window) {
  if (window == kHostWindow) return hostAlive_;
  for (const SimWindow* found = Find(window); found != nullptr; found = Find(found->parent)) {
    if (found->hidden) return false;
    if (found->parent == 0) return true;
    if (found->parent == kHostWindow) return hostAlive_;
  }
  return false;
}
