#pragma once
// Test sounds: tones written as real Ogg Vorbis files, and the samples that
// OpenAL Soft's wave-file back end writes while the tests play them.
#include "VorbisWriter.h"
#include "WaveOutput.h"

#include <string>
#include <vector>

// `seconds` of a `hz` sine tone with its own amplitude on each channel.
SampledSound toneSound(long frequency, double seconds, const std::vector<float>& channelAmplitudes,
                       double hz = 440.0);

// Encodes `sound` into `path`; fails the current test when it cannot.
void writeOgg(const std::string& path, const SampledSound& sound);

// The test process's OpenAL runs on the wave-file back end (set up before
// main) and writes to a file of its own; these are its samples so far.
std::vector<float> waveOutputSamples();
