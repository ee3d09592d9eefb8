#include <gtest/gtest.h>

#include <limits>

#include "app/CMixerVolume.h"
#include "app/CVelloranApp.h"
#include "app/VolumeScalar.h"
#include "sim/FakeServices.h"
#include "sim/SimDialogRunner.h"
#include "tests/unit/FakeHookLibrary.h"
#include "tests/unit/FakeVolumeDevice.h"
#include "ui/CUtilityLib.h"

namespace {

constexpr std::uint32_t kVolumeStep = 0x466;

TEST(VolumeArithmetic, StepsStopAtSilenceAndFullVolumeWithoutWrappingAround) {
  EXPECT_EQ(SteppedVolume(65000, 5000), 65535);
  EXPECT_EQ(SteppedVolume(3000, -5000), 0);
  EXPECT_EQ(SteppedVolume(3000, 5000), 8000);
  EXPECT_EQ(SteppedVolume(0, 65535), 65535);
  // The step box takes any int: the sum must not overflow into a small volume.
  EXPECT_EQ(SteppedVolume(65535, std::numeric_limits<std::int32_t>::max()), 65535);
  EXPECT_EQ(SteppedVolume(0, std::numeric_limits<std::int32_t>::min()), 0);
}

TEST(VolumeArithmetic, EveryVolumeComesBackFromItsScalarAndScalarsOutOfRangeStopAtTheEnds) {
  for (int volume = 0; volume <= 0xFFFF; ++volume) {
    const auto exact = static_cast<std::uint16_t>(volume);
    ASSERT_EQ(FromVolumeScalar(ToVolumeScalar(exact)), exact);
  }
  EXPECT_EQ(FromVolumeScalar(-0.5f), 0);
  EXPECT_EQ(FromVolumeScalar(1.5f), 0xFFFF);
  EXPECT_EQ(FromVolumeScalar(std::numeric_limits<float>::quiet_NaN()), 0);
}

class VolumeStepTest : public ::testing::Test {
 protected:
  // Each step leaves a line for the debugger: the Wine test reads what a step did from it.
  std::string LastLine() const {
    return services_.DebugLines().empty() ? "" : services_.DebugLines().back();
  }

  FakeServices services_;
  const InstalledServices installedServices_{services_};
  std::shared_ptr<FakeSoundSystem> system_ = std::make_shared<FakeSoundSystem>();
  CMixerVolume volume_{std::make_unique<FakeVolumeDevice>(system_)};
};

TEST_F(VolumeStepTest, MasterStepsReadBackWhatWasSet) {
  system_->master = 65000;
  EXPECT_EQ(volume_.ChangeMasterVolume(5000), 65535);
  EXPECT_EQ(system_->master, 65535);
  system_->master = 3000;
  EXPECT_EQ(volume_.ChangeMasterVolume(-5000), 0);
  EXPECT_EQ(system_->master, 0);
}

TEST_F(VolumeStepTest, StepsOnACoarseDeviceAreExactUntilSomeoneElseMovesTheVolume) {
  system_->readBackLoss = 1;
  system_->master = 60536;  // reads 60535
  EXPECT_EQ(volume_.ChangeMasterVolume(-5000), 55535);
  EXPECT_EQ(volume_.ChangeMasterVolume(-5000), 50535);
  EXPECT_EQ(system_->master, 50535);
  EXPECT_EQ(volume_.ChangeMasterVolume(5000), 55535);
  // The volume slider moved: the step starts from what the device now reads.
  system_->master = 30001;
  EXPECT_EQ(volume_.ChangeMasterVolume(-5000), 25000);

  system_->wave = StereoVolume{20001, 20001};
  EXPECT_EQ(volume_.ChangeWaveVolume(5000), 25000);
  EXPECT_EQ(volume_.ChangeWaveVolume(5000), 30000);
  EXPECT_EQ(system_->wave->left, 30000);
}

// The line for the debugger shows what the device reads after the step, not what the steps
// count: a check of it is a check of the device.
TEST_F(VolumeStepTest, TheDebugLineShowsWhatTheDeviceHolds) {
  system_->readBackLoss = 1;
  system_->master = 60536;
  volume_.OnVolumeStep(0, -5000);
  EXPECT_TRUE(LastLine().ends_with("(0, -5000) = 55534\n")) << LastLine();
  EXPECT_EQ(system_->master, 55535);
}

TEST_F(VolumeStepTest, AReadBackFarFromTheValueSetIsTheDevicesOwnAndTakenAsItReads) {
  system_->readBackLoss = 1000;  // a floor or a clamp, not rounding
  system_->master = 41000;
  EXPECT_EQ(volume_.ChangeMasterVolume(-5000), 34000);
  EXPECT_EQ(volume_.ChangeMasterVolume(-5000), 28000);
}

TEST_F(VolumeStepTest, AWaveStepGivesBothChannelsTheLeftChannelsNewValue) {
  system_->wave = StereoVolume{10000, 20000};
  EXPECT_EQ(volume_.ChangeWaveVolume(5000), 15000);
  EXPECT_EQ(system_->wave->left, 15000);
  EXPECT_EQ(system_->wave->right, 15000);
}

TEST_F(VolumeStepTest, TheMessageRoutesByWParamAndAlwaysAnswersZero) {
  system_->master = 30000;
  system_->wave = StereoVolume{30000, 30000};
  EXPECT_EQ(volume_.OnVolumeStep(0, -5000), 0);
  EXPECT_EQ(system_->master, 25000);
  EXPECT_EQ(system_->wave->left, 30000);
  EXPECT_TRUE(LastLine().ends_with("::CMixerVolume::OnVolumeStep(0, -5000) = 25000\n"))
      << LastLine();
  EXPECT_EQ(volume_.OnVolumeStep(1, 5000), 0);
  EXPECT_EQ(system_->wave->left, 35000);
  EXPECT_EQ(system_->master, 25000);
  EXPECT_TRUE(LastLine().ends_with("(1, 5000) = 35000\n")) << LastLine();
  const std::size_t lines = services_.DebugLines().size();
  EXPECT_EQ(volume_.OnVolumeStep(2, 5000), 0);
  EXPECT_EQ(system_->master, 25000);
  EXPECT_EQ(system_->wave->left, 35000);
  EXPECT_EQ(services_.DebugLines().size(), lines);
}

TEST_F(VolumeStepTest, WithoutAMixerMasterStepsDoNothingAndWaveStepsStillWork) {
  system_->wave = StereoVolume{1000, 1000};
  EXPECT_EQ(volume_.ChangeMasterVolume(5000), std::nullopt);
  EXPECT_EQ(system_->masterWrites, 0);
  EXPECT_EQ(volume_.OnVolumeStep(0, 5000), 0);
  EXPECT_TRUE(LastLine().ends_with("(0, 5000) = -1\n")) << LastLine();
  EXPECT_EQ(volume_.OnVolumeStep(1, 5000), 0);
  EXPECT_EQ(system_->wave->left, 6000);
}

TEST(VolumeWithoutDevice, EveryStepDoesNothing) {
  FakeServices services;
  const InstalledServices installedServices(services);
  CMixerVolume volume{nullptr};
  std::uint16_t read = 7;
  EXPECT_FALSE(volume.GetMasterVolume(read));
  EXPECT_EQ(read, 7);
  EXPECT_FALSE(volume.SetMasterVolume(100));
  EXPECT_EQ(volume.ChangeWaveVolume(100), std::nullopt);
  EXPECT_EQ(volume.OnVolumeStep(0, 100), 0);
}

// The main window takes its device at construction and applies the library's posted steps.
TEST(VolumeInTheMainWindow, TheLibrarysStepMessagesChangeTheVolume) {
  FakeServices services;
  SimDialogRunner runner;
  const InstalledServices installedServices(services);
  const InstalledDialogRunner installedRunner(runner);
  FakeHookLibrary::Reset();
  services.AddModule("trellin_192.dll", FakeHookLibrary::Exports());
  auto system = std::make_shared<FakeSoundSystem>();
  system->wave = StereoVolume{10000, 20000};  // and no mixer
  InstallVolumeDeviceFactory([system] { return std::make_unique<FakeVolumeDevice>(system); });
  runner.When(102, [&](SimDialogHost& window) {
    EXPECT_EQ(window.Send(kVolumeStep, 1, 5000), 0);
    EXPECT_EQ(window.Send(kVolumeStep, 0, 5000), 0);
    services.AnswerNextMessageBox(message_box::kIdYes);
    window.Click(1012);
  });
  CVelloranApp().Run("");
  InstallVolumeDeviceFactory(nullptr);
  EXPECT_EQ(system->wave->left, 15000);
  EXPECT_EQ(system->wave->right, 15000);
  EXPECT_FALSE(system->master.has_value());
}

}  // namespace
