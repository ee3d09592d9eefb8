// Native cost of one decision of the hook engine, on the simulated desktop.
#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <streambuf>

#include "hook/WindowsCodes.h"
#include "profile/IniFileProfile.h"
#include "sim/SimDesktop.h"
#include "tests/bench/RuleFileForBench.h"

namespace {

struct NullBuffer : std::streambuf {
  int overflow(int c) override { return c; }
};

class Desktop {
 public:
  explicit Desktop(bool everything) : trace_(&buffer_), desktop_(trace_) {
    desktop_.StartLikeHost();
    if (everything) {
      std::ofstream(desktop_.RuleFilePath(), std::ios::binary) << RuleFileForBench();
      // A file written just now is read again at every event until its time stamp is safely
      // in the past; the benchmark measures the steady state.
      std::filesystem::last_write_time(
          desktop_.RuleFilePath(),
          std::filesystem::file_time_type::clock::now() - std::chrono::hours(1));
      HookSettings& settings = desktop_.HostSettings();
      for (std::int32_t* field :
           {&settings.Lock_ShiftSpace, &settings.Lock_CtrlSpace, &settings.Lock_UseRCtrl,
            &settings.Lock_CapsLock, &settings.Lock_Insert, &settings.Lock_NumLock,
            &settings.Lock_Win, &settings.Key_NoteBookMode, &settings.Key_KeyChange,
            &settings.Key_MouseMiddleButton, &settings.EnableShiftMemory, &settings.Lock_Monitor}) {
        *field = 1;
      }
      desktop_.PushSettings();
    }
  }
  SimDesktop& Get() { return desktop_; }

 private:
  NullBuffer buffer_;
  std::ostream trace_;
  SimDesktop desktop_;
};

// One key event that passes every step: the two rule look-ups run when their switches are on.
void KeyEvent(benchmark::State& state, bool everything) {
  Desktop desktop(everything);
  HookEngine engine = desktop.Get().Engine();
  bool down = true;
  for (auto _ : state) {
    benchmark::DoNotOptimize(engine.KeyboardProcedure(
        win::kHcAction, down ? win::kWmKeyDown : win::kWmKeyUp, 0x5A, 0x2C, 0));
    down = !down;
  }
}

void BM_KeyEventNoRules(benchmark::State& state) {
  KeyEvent(state, false);
}
void BM_KeyEventEveryFeature600Rules(benchmark::State& state) {
  KeyEvent(state, true);
}

void BM_RuleLookUp600Entries(benchmark::State& state) {
  Desktop desktop(true);
  IniFileProfile profile;
  for (auto _ : state) {
    benchmark::DoNotOptimize(profile.GetString(desktop.Get().RuleFilePath(), "HotKey",
                                               "5a/2c/0/0/0/0/0/0/0/0", "", 255));
  }
}

BENCHMARK(BM_KeyEventNoRules);
BENCHMARK(BM_KeyEventEveryFeature600Rules);
BENCHMARK(BM_RuleLookUp600Entries);

}  // namespace

BENCHMARK_MAIN();
