#pragma once
// Test sounds: tones written as real Ogg Vorbis files. Linking this file also
// puts the test process's OpenAL Soft on its null back end, so that the tests
// need no sound hardware.
#include "VorbisWriter.h"

#include <string>
#include <vector>

// `seconds` of a 440 Hz sine tone with its own amplitude on each channel.
SampledSound toneSound(long frequency, double seconds, const std::vector<float>& channelAmplitudes);

// Encodes `sound` into `path`; fails the current test when it cannot.
void writeOgg(const std::string& path, const SampledSound& sound);
