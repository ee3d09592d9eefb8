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

// The program whose window is in front while the program rules are measured.
constexpr const char* kProgramInFront = "input-bench.exe";

// No rule file and every switch off; every feature on with the 600-entry rule file; or the same
// with rules for 20 programs, a window of one of them in front.
enum class Rules { None, Global, Programs };

class Desktop {
 public:
  explicit Desktop(Rules rules) : trace_(&buffer_), desktop_(trace_) {
    desktop_.StartLikeHost();
    if (rules != Rules::None) {
      std::ofstream(desktop_.RuleFilePath(), std::ios::binary)
          << (rules == Rules::Programs ? RuleFileWithProgramsForBench(kProgramInFront)
                                       : RuleFileForBench());
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
    if (rules == Rules::Programs) {
      const std::string program = kProgramInFront;
      desktop_.DeclareWindow("bench", "BenchFrame", false, nullptr, &program);
      desktop_.Foreground("bench");
    }
  }
  SimDesktop& Get() { return desktop_; }

 private:
  NullBuffer buffer_;
  std::ostream trace_;
  SimDesktop desktop_;
};

// Key events that pass every step, presses and releases in turn: the presses run the two rule
// look-ups when their switches are on (a release the system is owed needs none).
void KeyEvent(benchmark::State& state, Rules rules) {
  Desktop desktop(rules);
  // The program in front must be one with rules, or its look-ups would be skipped: its first
  // remapping (0 as A) must apply.
  if (rules == Rules::Programs) {
    desktop.Get().Key({0x30, 0x0B}, false, true);
    const bool applies = desktop.Get().SystemKeyDown(0x41);
    desktop.Get().Key({0x30, 0x0B}, false, false);
    if (!applies) state.SkipWithError("the rules of the program in front do not apply");
  }
  HookEngine engine = desktop.Get().Engine();
  bool down = true;
  for (auto _ : state) {
    benchmark::DoNotOptimize(engine.KeyboardProcedure(
        win::kHcAction, down ? win::kWmKeyDown : win::kWmKeyUp, 0x5A, 0x2C, 0, 0));
    down = !down;
  }
  // Once per window in front, not per event.
  state.counters["program queries"] = desktop.Get().ProgramQueries();
}

void BM_KeyEventNoRules(benchmark::State& state) {
  KeyEvent(state, Rules::None);
}
void BM_KeyEventEveryFeature600Rules(benchmark::State& state) {
  KeyEvent(state, Rules::Global);
}
void BM_KeyEventEveryFeature600Rules20Programs(benchmark::State& state) {
  KeyEvent(state, Rules::Programs);
}

void BM_RuleLookUp600Entries(benchmark::State& state) {
  Desktop desktop(Rules::Global);
  IniFileProfile profile;
  for (auto _ : state) {
    benchmark::DoNotOptimize(profile.GetString(desktop.Get().RuleFilePath(), "HotKey",
                                               "5a/2c/0/0/0/0/0/0/0/0", "", 255));
  }
}

BENCHMARK(BM_KeyEventNoRules);
BENCHMARK(BM_KeyEventEveryFeature600Rules);
BENCHMARK(BM_KeyEventEveryFeature600Rules20Programs);
BENCHMARK(BM_RuleLookUp600Entries);

}  // namespace

BENCHMARK_MAIN();
