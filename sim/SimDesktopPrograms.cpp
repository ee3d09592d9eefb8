#include "sim/SimDesktop.h"

#include <algorithm>
#include <string>

#include "common/TextCase.h"

namespace {

std::string StartLine(std::string_view file, std::string_view parameters, int show) {
  return "run \"" + std::string(file) + "\" \"" + std::string(parameters) + "\" " +
         std::to_string(show) + "\n";
}

}  // namespace

void SimDesktop::StartProgram(std::string_view file, std::string_view parameters, int show) {
  if (programStartsStalled_) {
    stalledStarts_.push_back(StartLine(file, parameters, show));
    return;
  }
  trace_ << StartLine(file, parameters, show);
}

void SimDesktop::StartOnLockWorker(std::string_view file, std::string_view parameters, int show) {
  trace_ << StartLine(file, parameters, show);
}

void SimDesktop::StallProgramStarts(bool stalled) {
  programStartsStalled_ = stalled;
  if (stalled) return;
  for (const std::string& line : stalledStarts_) trace_ << line;
  stalledStarts_.clear();
}

void SimDesktop::RunDeviceTool(const char* path, std::string_view parameters,
                               std::chrono::milliseconds wait, const DeviceToolEntry& note,
                               bool monitorOffWhenEnded) {
  trace_ << StartLine(path, parameters, 0);
  // A run starts once every earlier run has ended; the hook waits for it at most `wait`.
  const auto start = toolRuns_.empty() ? now_ : std::max(now_, toolRuns_.back().end);
  const auto end = start + toolDuration_;
  toolRuns_.push_back({std::string(parameters), start, end});
  if (note.when == DeviceToolEntry::When::BeforeRun) dueEffects_.push_back({start, note});
  if (note.when == DeviceToolEntry::When::AfterSuccess && toolSucceeds_)
    dueEffects_.push_back({end, note});
  if (monitorOffWhenEnded) dueEffects_.push_back({end, std::nullopt});
  now_ += std::min(wait, end - now_);
}

// In the order of the runs, as the worker that runs the tool does them.
void SimDesktop::DoDueToolEffects() {
  std::size_t done = 0;
  while (done < dueEffects_.size() && dueEffects_[done].due <= now_) {
    const std::optional<DeviceToolEntry>& note = dueEffects_[done].note;
    if (!note) {
      BroadcastMonitorOff();
    } else if (note->value.empty()) {
      DeleteEntry(note->file.c_str(), note->section, note->key);
    } else {
      WriteEntry(note->file.c_str(), note->section, note->key, note->value);
    }
    ++done;
  }
  dueEffects_.erase(dueEffects_.begin(), dueEffects_.begin() + static_cast<std::ptrdiff_t>(done));
}

std::string SimDesktop::ExpandEnvironment(std::string_view text) {
  std::string expanded;
  std::size_t i = 0;
  while (i < text.size()) {
    const std::size_t close = text[i] == '%' ? text.find('%', i + 1) : std::string_view::npos;
    if (close != std::string_view::npos &&
        EqualsIgnoringCase(text.substr(i + 1, close - i - 1), "windir")) {
      expanded += "C:\\Windows";
      i = close + 1;
    } else {
      expanded += text[i++];
    }
  }
  if (expanded.size() > 259) expanded.resize(259);
  return expanded;
}
