#pragma once

#include <cstdint>
#include <memory>
#include <optional>

#include "common/Handles.h"
#include "ui/Services.h"

// Whether the window in front belongs to a process of a higher integrity level than Tastron's.
// Windows then gives the low-level hooks no input at all while that window has the focus, so no
// rule and no switch works there; the foreground notification still arrives, so the window can
// say so.
class ForegroundRights {
 public:
  // Watches the front for `window`, which is posted host_message::kForegroundChanged on each
  // change, and asks about the window in front now.
  void Start(WindowHandle window);
  // Ends the watch (at the end, and when a successor takes over).
  void Stop() { watch_.reset(); }
  // Asks again about the window in front: whether the answer changed.
  bool Update();
  bool Outranked() const { return outranked_; }

 private:
  std::unique_ptr<Watch> watch_;
  std::optional<std::uint32_t> ownLevel_;
  bool outranked_ = false;
};

// A process that cannot be asked is taken for a higher one: a process of the same level or a
// lower one lets itself be asked. Without a level of our own (Windows before Vista) nothing
// outranks anything, and no window in front is no higher window.
bool Outranks(const ForegroundProcess& front, std::optional<std::uint32_t> ownLevel);
