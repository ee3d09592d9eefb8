#include <gtest/gtest.h>

#include <optional>
#include <tuple>
#include <vector>

#include "hook/ProgramStartRoute.h"

namespace {

// Only an elevated Tastron beside a desktop shell with normal rights hands its starts over: an
// elevated shell (or none to ask) has nothing less to give.
TEST(ProgramStartRoute, TheShellStartsWhatTastronWouldStartWithMoreRights) {
  using Route = ProgramStartRoute;
  const std::vector<std::tuple<bool, std::optional<bool>, Route>> cases = {
      {true, false, Route::ThroughDesktopShell},
      {true, true, Route::Direct},
      {true, std::nullopt, Route::Direct},
      {false, false, Route::Direct},
      {false, true, Route::Direct},
      {false, std::nullopt, Route::Direct},
  };
  for (const auto& [tastron, shell, route] : cases) {
    EXPECT_EQ(ChooseProgramStartRoute(tastron, shell), route)
        << tastron << ' ' << (shell ? (*shell ? "elevated" : "normal") : "none");
  }
}

}  // namespace
