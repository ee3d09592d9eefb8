#include "sim/SimDesktop.h"

#include <algorithm>
#include <memory>
#include <utility>

SimDesktop::ProcessMemory& SimDesktop::MemoryOf(ProcessIdentity process) {
  for (auto& memory : otherMemory_) {
    if (memory->process == process) return *memory;
  }
  otherMemory_.push_back(std::make_unique<ProcessMemory>());
  otherMemory_.back()->process = process;
  return *otherMemory_.back();
}

HookEngine SimDesktop::Engine() {
  if (process_ == kHostProcess) return HookEngine(state_, local_, *this);
  ProcessMemory& memory = MemoryOf(process_);
  return HookEngine(memory.state, memory.local, *this);
}

HookState& SimDesktop::State() {
  return process_ == kHostProcess ? state_ : MemoryOf(process_).state;
}

void SimDesktop::StartOtherProgram(ProcessIdentity process) {
  if (IsProcessRunning(process)) return;
  std::erase_if(running_, [&](const ProcessIdentity& p) { return p.id == process.id; });
  running_.push_back(process);
}

void SimDesktop::ActAsProcess(ProcessIdentity process) {
  StartOtherProgram(process);
  process_ = process;
}

void SimDesktop::EndProcess(ProcessIdentity process) {
  std::erase(running_, process);
  const HookState& memory = process == kHostProcess ? state_ : MemoryOf(process).state;
  if (memory.Owner == process) {
    keyboardHooks_ = 0;
    mouseHooks_ = 0;
  }
}

void SimDesktop::InterleaveBeforeOwnerExchange(int nth, ProcessIdentity other,
                                               std::function<void(HookEngine&)> calls) {
  interleaved_ = InterleavedClaim{nth, other, std::move(calls)};
}

ProcessIdentity SimDesktop::ExchangeSharedOwner(const ProcessIdentity& expected,
                                                const ProcessIdentity& desired) {
  if (interleaved_ && --interleaved_->countdown == 0) {
    const InterleavedClaim claim = std::move(*interleaved_);
    interleaved_.reset();
    const ProcessIdentity calling = process_;
    ActAsProcess(claim.process);
    HookEngine engine = Engine();
    claim.calls(engine);
    process_ = calling;
  }
  const ProcessIdentity before = sharedOwner_;
  if (before == expected) sharedOwner_ = desired;
  return before;
}
