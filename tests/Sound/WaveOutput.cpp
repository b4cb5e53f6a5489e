#include "WaveOutput.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

void writeWaveConfig(const std::filesystem::path& config, const std::filesystem::path& wave)
{
    std::ofstream(config) << "[general]\nchannels = stereo\nsample-type = float32\nfrequency = " << waveFrequency
                          << "\n[wave]\nfile = " << wave.string() << "\n";
}

std::vector<float> readWaveSamples(const std::filesystem::path& wave)
{
    std::ifstream in(wave, std::ios::binary);
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
    if (!samples.empty()) // an empty vector's data() may be null, which memcpy must not get
        std::memcpy(samples.data(), bytes.data() + begin, samples.size() * sizeof(float));
    return samples;
}

double rms(const std::vector<float>& samples, std::size_t first, std::size_t end, std::size_t stride)
{
    double sum = 0.0;
    std::size_t count = 0;
    for (std::size_t i = first; i < end && i < samples.size(); i += stride, ++count)
        sum += static_cast<double>(samples[i]) * samples[i];
    return count ? std::sqrt(sum / count) : 0.0;
}
