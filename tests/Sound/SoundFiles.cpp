#include "SoundFiles.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

namespace {

// Set before anything opens a device: OpenAL Soft's null back end with no
// configuration file, which plays (and ends) sources in real time.
const bool nullAudio = setenv("ALSOFT_DRIVERS", "null", 1) == 0 && setenv("ALSOFT_CONF", "/dev/null", 1) == 0;

} // namespace

SampledSound toneSound(long frequency, double seconds, const std::vector<float>& channelAmplitudes)
{
    const int channels = static_cast<int>(channelAmplitudes.size());
    const long frames = std::lround(seconds * frequency);
    SampledSound sound{std::vector<float>(static_cast<std::size_t>(frames * channels)), channels, frequency};
    for (long frame = 0; frame < frames; ++frame)
        for (int channel = 0; channel < channels; ++channel)
            sound.samples[frame * channels + channel] =
                channelAmplitudes[channel] * static_cast<float>(std::sin(6.283185307179586 * 440.0 * frame / frequency));
    return sound;
}

void writeOgg(const std::string& path, const SampledSound& sound)
{
    std::string error;
    ASSERT_TRUE(writeOggVorbis(path, sound, 0.1f, error)) << error;
}
