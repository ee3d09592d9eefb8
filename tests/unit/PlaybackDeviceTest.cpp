#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/CMixerVolume.h"
#include "app/FollowedPlaybackDevice.h"
#include "tests/unit/FakeVolumeDevice.h"

namespace {

// Playback devices that come and go as a test says: each has its own master volume; the empty
// id is the stand-in without a device (no master volume at all).
struct FakeDevices final : PlaybackDevices {
  std::map<std::string, std::shared_ptr<FakeSoundSystem>> present;
  std::string defaultId;
  std::vector<std::string> opened;
  int asked = 0;

  std::string DefaultDeviceId() override {
    ++asked;
    return present.count(defaultId) != 0 ? defaultId : "";
  }
  std::unique_ptr<VolumeDevice> Open(const std::string& id) override {
    opened.push_back(id);
    const auto found = present.find(id);
    return std::make_unique<FakeVolumeDevice>(
        found != present.end() ? found->second : std::make_shared<FakeSoundSystem>());
  }
  std::shared_ptr<FakeSoundSystem> Add(const std::string& id, std::uint16_t master) {
    auto system = std::make_shared<FakeSoundSystem>();
    system->master = master;
    system->wave = StereoVolume{master, master};
    present[id] = system;
    return system;
  }
};

class PlaybackDeviceTest : public ::testing::Test {
 protected:
  PlaybackDeviceTest() {
    speakers_ = devices_->Add("speakers", 30000);
    devices_->defaultId = "speakers";
  }
  // The program's volume control on the followed device; the fake stays the test's to change.
  CMixerVolume& Volume() {
    if (!volume_) {
      auto followed = std::make_unique<FollowedPlaybackDevice>(std::move(owned_));
      followed_ = followed.get();
      volume_ = std::make_unique<CMixerVolume>(std::move(followed));
    }
    return *volume_;
  }
  void SystemSaysDevicesChanged() { followed_->ChangeSignal()->store(true); }

  std::unique_ptr<FakeDevices> owned_ = std::make_unique<FakeDevices>();
  FakeDevices* devices_ = owned_.get();
  std::shared_ptr<FakeSoundSystem> speakers_;
  FollowedPlaybackDevice* followed_ = nullptr;
  std::unique_ptr<CMixerVolume> volume_;
};

// Steps go to the device opened at start until the system says something changed; the device
// is asked for once per change, not once per step.
TEST_F(PlaybackDeviceTest, StepsStayOnTheDeviceUntilTheSystemSaysItChanged) {
  EXPECT_EQ(Volume().ChangeMasterVolume(5000), 35000);
  EXPECT_EQ(Volume().ChangeMasterVolume(5000), 40000);
  EXPECT_EQ(devices_->asked, 1);
  EXPECT_EQ(devices_->opened, std::vector<std::string>{"speakers"});
  SystemSaysDevicesChanged();  // a change that leaves the default where it was
  EXPECT_EQ(Volume().ChangeMasterVolume(-5000), 35000);
  EXPECT_EQ(devices_->opened, std::vector<std::string>{"speakers"});  // kept open
}

// A headset connected after start becomes the default: the next step is the headset's, the
// speakers keep their volume.
TEST_F(PlaybackDeviceTest, ADeviceThatAppearsAsTheDefaultTakesTheNextStep) {
  Volume();
  const auto headset = devices_->Add("headset", 10000);
  devices_->defaultId = "headset";
  SystemSaysDevicesChanged();
  EXPECT_EQ(Volume().ChangeMasterVolume(5000), 15000);
  EXPECT_EQ(headset->master, 15000);
  EXPECT_EQ(speakers_->master, 30000);
  EXPECT_EQ(followed_->OpenDeviceId(), "headset");

  // The user picks the speakers as the default again.
  devices_->defaultId = "speakers";
  SystemSaysDevicesChanged();
  EXPECT_EQ(Volume().ChangeWaveVolume(-5000), 25000);
  EXPECT_EQ(headset->master, 15000);
}

// The headset goes: the steps go to the device that is the default now; with no device left,
// a step does nothing (and reads nothing that could be stepped from).
TEST_F(PlaybackDeviceTest, ADeviceThatGoesAwayHandsTheStepsOn) {
  devices_->Add("headset", 10000);
  devices_->defaultId = "headset";
  EXPECT_EQ(Volume().ChangeMasterVolume(1000), 11000);
  devices_->present.erase("headset");
  devices_->defaultId = "speakers";
  SystemSaysDevicesChanged();
  EXPECT_EQ(Volume().ChangeMasterVolume(1000), 31000);

  devices_->present.clear();
  SystemSaysDevicesChanged();
  EXPECT_EQ(Volume().ChangeMasterVolume(1000), std::nullopt);
  EXPECT_EQ(followed_->OpenDeviceId(), "");
  // Plugged in again: the next step finds it, without a word from the system (a read that
  // failed asks again).
  devices_->present["speakers"] = speakers_;
  EXPECT_EQ(Volume().ChangeMasterVolume(1000), 32000);
}

// The word came late: a read that fails on a device that is gone asks for the default again
// within the same step.
TEST_F(PlaybackDeviceTest, AReadThatFailsAsksForTheDefaultAgain) {
  Volume();
  speakers_->master.reset();  // invalidated under the program
  devices_->Add("headset", 20000);
  devices_->defaultId = "headset";
  EXPECT_EQ(Volume().ChangeMasterVolume(-5000), 15000);
}

// The default changes between the step's read and its write: the step ends on the device it
// began on, and the next one starts on the new device from the new device's own volume, with
// nothing remembered of the old one's rounding.
TEST_F(PlaybackDeviceTest, OneStepReadsAndWritesOneDeviceAndANewDeviceStartsAfresh) {
  speakers_->readBackLoss = 1;
  speakers_->master = 60536;                             // reads 60535
  EXPECT_EQ(Volume().ChangeMasterVolume(-5000), 55535);  // set 55535, reads 55534
  const auto headset = devices_->Add("headset", 55534);
  speakers_->afterMasterRead = [this] {
    devices_->defaultId = "headset";
    SystemSaysDevicesChanged();
  };
  EXPECT_EQ(Volume().ChangeMasterVolume(-5000), 50535);
  EXPECT_EQ(speakers_->master, 50535);
  EXPECT_EQ(headset->master, 55534) << "the step wrote into the device that became the default";
  EXPECT_EQ(Volume().ChangeMasterVolume(1), 55535)
      << "the speakers' rounding applied to the headset";
  EXPECT_EQ(headset->master, 55535);
}

// The open device lets go of its references while the devices' source (which keeps the
// system's COM initialised) still stands.
TEST_F(PlaybackDeviceTest, TheOpenDeviceGoesBeforeItsSource) {
  struct Watched final : PlaybackDevices {
    std::unique_ptr<FakeDevices> inner;
    std::shared_ptr<FakeSoundSystem> system;
    int* openAtEnd;
    std::string DefaultDeviceId() override { return inner->DefaultDeviceId(); }
    std::unique_ptr<VolumeDevice> Open(const std::string& id) override { return inner->Open(id); }
    ~Watched() override { *openAtEnd = system->open; }
  };
  int openAtEnd = -1;
  auto watched = std::make_unique<Watched>();
  watched->inner = std::move(owned_);
  watched->system = speakers_;
  watched->openAtEnd = &openAtEnd;
  { FollowedPlaybackDevice followed(std::move(watched)); }
  EXPECT_EQ(openAtEnd, 0);
}

std::string ProgramOf(std::uint32_t process) {
  switch (process) {
    case 100:
    case 101:
    case 102:
      return "C:\\Program Files\\Browser\\browser.exe";
    case 200:
      return "C:\\PROGRAM FILES\\BROWSER\\BROWSER.EXE";
    case 300:
      return "C:\\Games\\player.exe";
    default:
      return "";
  }
}

// A browser plays from a child process: its session counts for the window in front. The
// process's own session wins over a sibling's; a program nobody can name matches nothing.
TEST(AudioSessionChoiceTest, TheForegroundProgramsSessionOrASiblingsOne) {
  EXPECT_EQ(ChooseSession({300, 102, 101}, 101, ProgramOf), 2u);
  EXPECT_EQ(ChooseSession({300, 102, 0}, 100, ProgramOf), 1u);
  EXPECT_EQ(ChooseSession({300, 200}, 100, ProgramOf), 1u);  // paths compare without case
  EXPECT_EQ(ChooseSession({0, 300}, 100, ProgramOf), std::nullopt);
  EXPECT_EQ(ChooseSession({0, 400}, 500, ProgramOf), std::nullopt);  // 0 and 400, 500: unknown
  EXPECT_EQ(ChooseSession({100}, 0, ProgramOf), std::nullopt);
  EXPECT_EQ(ChooseSession({}, 100, ProgramOf), std::nullopt);
}

}  // namespace
