#include "SoundFiles.h"

#include "TempFolder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

namespace fs = std::filesystem;

namespace {

constexpr double twoPi = 6.283185307179586;
constexpr float testQuality = 0.1f;

// Points OpenAL Soft at its wave-file writer before anything opens a device:
// the tests need no sound hardware, and can read back what was mixed. Every
// process writes into a folder of its own, removed at exit by that process
// alone (a death test's forked child exits through here too).
struct ProcessWaveOutput {
    TempFolder folder{"umbrant-sound"};
    fs::path file = folder.path() / "output.wav";

    ProcessWaveOutput()
    {
        const fs::path config = folder.path() / "alsoft.conf";
        writeWaveConfig(config, file);
        setenv("ALSOFT_DRIVERS", "wave", 1);
        setenv("ALSOFT_CONF", config.c_str(), 1);
    }
};

const ProcessWaveOutput processWaveOutput;

} // namespace

SampledSound toneSound(long frequency, double seconds, const std::vector<float>& channelAmplitudes, double hz)
{
    const int channels = static_cast<int>(channelAmplitudes.size());
    const long frames = std::lround(seconds * frequency);
    SampledSound sound{std::vector<float>(static_cast<std::size_t>(frames * channels)), channels, frequency};
    for (long frame = 0; frame < frames; ++frame)
        for (int channel = 0; channel < channels; ++channel)
            sound.samples[frame * channels + channel] =
                channelAmplitudes[channel] * static_cast<float>(std::sin(twoPi * hz * frame / frequency));
    return sound;
}

void writeOgg(const std::string& path, const SampledSound& sound)
{
    std::string error;
    ASSERT_TRUE(writeOggVorbis(path, sound, testQuality, error)) << error;
}

std::vector<float> waveOutputSamples() { return readWaveSamples(processWaveOutput.file); }
