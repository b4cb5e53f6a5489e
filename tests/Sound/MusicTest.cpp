// The generated music as the game plays it: a piece of at least two minutes
// whose sections differ in loudness, not one short loop repeated.
#include "Sound/OggDecoder.h"

#include "Engine/Base/Config.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

TEST(GeneratedMusic, LastsTwoMinutesInSectionsThatDiffer)
{
    const std::string path = std::string(UMBRANT_RESOURCES_DIR) + "/sound/" + config::musicFile;
    DecodedSound music;
    ASSERT_EQ(decodeOggFile(path, music), DecodeStatus::decoded) << path;
    ASSERT_EQ(music.channels, 2);
    const long frames = static_cast<long>(music.samples.size()) / 2;
    EXPECT_GE(static_cast<double>(frames) / music.frequency, 120.0);

    // Loudness of each 8-second bar, leaving out the first and last (fades).
    const long bar = 8 * music.frequency;
    std::vector<double> loudness;
    for (long start = bar; start + 2 * bar <= frames; start += bar) {
        double sum = 0.0;
        for (long i = 2 * start; i < 2 * (start + bar); ++i)
            sum += double(music.samples[i]) * music.samples[i];
        loudness.push_back(std::sqrt(sum / (2.0 * bar)));
    }
    ASSERT_FALSE(loudness.empty());
    const auto [quietest, loudest] = std::minmax_element(loudness.begin(), loudness.end());
    EXPECT_GT(*loudest, 1.5 * *quietest);
}

} // namespace
