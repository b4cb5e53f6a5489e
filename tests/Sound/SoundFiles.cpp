#include "SoundFiles.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace fs = std::filesystem;

namespace {

constexpr double twoPi = 6.283185307179586;
constexpr float testQuality = 0.1f;

// Points OpenAL Soft at its wave-file writer before anything opens a device:
// the tests need no sound hardware, and can read back what was mixed. Every
// process writes into a folder of its own, removed at exit.
struct WaveOutput {
    fs::path folder = fs::temp_directory_path() / ("umbrant-sound-" + std::to_string(getpid()));
    fs::path file = folder / "output.wav";

    WaveOutput()
    {
        fs::create_directories(folder);
        const fs::path conf = folder / "alsoft.conf";
        std::ofstream(conf) << "[general]\nchannels = stereo\nsample-type = float32\nfrequency = "
                            << waveFrequency << "\n[wave]\nfile = " << file.string() << "\n";
        setenv("ALSOFT_DRIVERS", "wave", 1);
        setenv("ALSOFT_CONF", conf.c_str(), 1);
    }
    ~WaveOutput()
    {
        std::error_code ignored;
        fs::remove_all(folder, ignored);
    }
};

const WaveOutput waveOutput;

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

double rms(const std::vector<float>& samples, std::size_t first, std::size_t end, std::size_t stride)
{
    double sum = 0.0;
    std::size_t count = 0;
    for (std::size_t i = first; i < end && i < samples.size(); i += stride, ++count)
        sum += static_cast<double>(samples[i]) * samples[i];
    return count ? std::sqrt(sum / count) : 0.0;
}

std::vector<float> waveOutputSamples()
{
    std::ifstream in(waveOutput.file, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    // RIFF chunks after the 12-byte file header; the data chunk runs to the
    // end of the file while the device is open.
    std::size_t chunk = 12;
    while (chunk + 8 <= bytes.size() && bytes.compare(chunk, 4, "data") != 0) {
        std::uint32_t size = 0;
        std::memcpy(&size, bytes.data() + chunk + 4, sizeof size);
        chunk += 8 + size;
    }
    if (chunk + 8 > bytes.size())
        return {};
    const std::size_t begin = chunk + 8;
    std::vector<float> samples((bytes.size() - begin) / sizeof(float) / 2 * 2);
    std::memcpy(samples.data(), bytes.data() + begin, samples.size() * sizeof(float));
    return samples;
}
