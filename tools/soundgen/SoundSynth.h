#pragma once
// Synthesises the game's three sounds from fixed seeds: the same samples on
// every run. Each function returns finished samples in [-1, 1].
#include "VorbisWriter.h"

namespace soundsynth {

constexpr long sampleRate = 44100; // frames per second of every sound

// Dark ambient music in five sections, 128 s, stereo; it fades in and out.
SampledSound synthesiseMusic();
// A punchy pistol shot, 0.4 s, mono.
SampledSound synthesiseGunshot();
// A skull's roar ("raa"), 1 s, mono.
SampledSound synthesiseRoar();

} // namespace soundsynth
