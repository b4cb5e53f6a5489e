#pragma once
// Test sounds: tones written as real Ogg Vorbis files, and the samples that
// OpenAL Soft's wave-file back end writes while the tests play them.
#include "VorbisWriter.h"

#include <string>
#include <vector>

// `seconds` of a `hz` sine tone with its own amplitude on each channel.
SampledSound toneSound(long frequency, double seconds, const std::vector<float>& channelAmplitudes,
                       double hz = 440.0);

// Encodes `sound` into `path`; fails the current test when it cannot.
void writeOgg(const std::string& path, const SampledSound& sound);

// Root-mean-square level of every `stride`-th sample from `first` up to `end`.
double rms(const std::vector<float>& samples, std::size_t first, std::size_t end, std::size_t stride = 1);

// The process's OpenAL runs on the wave-file back end (set up before main),
// writing float stereo frames at `waveFrequency` to a file of its own.
constexpr long waveFrequency = 44100;
// Interleaved stereo samples written so far by the open device.
std::vector<float> waveOutputSamples();
