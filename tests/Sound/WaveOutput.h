#pragma once
// OpenAL Soft's wave-file back end as a stand-in for sound hardware: a
// configuration that sends the mix to a file, and the samples read back.
#include <filesystem>
#include <vector>

constexpr long waveFrequency = 44100; // frames per second of the written mix

// Writes an OpenAL Soft configuration to `config` that mixes float stereo at
// `waveFrequency` into the wave file `wave` (with ALSOFT_DRIVERS=wave).
void writeWaveConfig(const std::filesystem::path& config, const std::filesystem::path& wave);

// Interleaved stereo samples written to `wave` so far (the device may still be writing).
std::vector<float> readWaveSamples(const std::filesystem::path& wave);

// Root-mean-square level of every `stride`-th sample from `first` up to `end`.
double rms(const std::vector<float>& samples, std::size_t first, std::size_t end, std::size_t stride = 1);
