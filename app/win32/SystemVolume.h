#pragma once

#include <memory>

#include "app/VolumeDevice.h"

// The volume device of the Windows build: master steps go to the default playback device's
// endpoint volume, wave steps to the audio session of the program in the foreground window
// (the mixer and waveOut volumes of Vista and later belong to Tastron's own, silent session).
// Where Core Audio is missing, the mixer's speaker volume and the waveOut volume take them.
std::unique_ptr<VolumeDevice> OpenSystemVolume();
