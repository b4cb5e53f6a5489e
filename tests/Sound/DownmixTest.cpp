// Surround frames folded to stereo, checked on exact 16-bit samples.
#include "Sound/Downmix.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr float centreShare = 0.7071f;
constexpr float fiveOneSideWeight = 1.0f + centreShare + 1.0f; // front, centre, rear

std::int16_t scaled(float value) { return static_cast<std::int16_t>(std::lround(value)); }

// One 5.1 frame with `level` on `channel` alone, in Vorbis order
// (front left, centre, front right, rear left, rear right, LFE).
std::vector<std::int16_t> fiveOneImpulse(int channel, std::int16_t level)
{
    std::vector<std::int16_t> frame(6, 0);
    frame[channel] = level;
    return frame;
}

TEST(Downmix, FiveOneSendsEachChannelToItsSide)
{
    constexpr std::int16_t level = 20000;
    const std::int16_t sideShare = scaled(level / fiveOneSideWeight);
    const std::int16_t centreToSide = scaled(level * centreShare / fiveOneSideWeight);
    struct Case {
        int channel;
        std::int16_t left;
        std::int16_t right;
    };
    const Case cases[] = {
        {0, sideShare, 0}, {1, centreToSide, centreToSide}, {2, 0, sideShare},
        {3, sideShare, 0}, {4, 0, sideShare},                {5, 0, 0}, // LFE is left out
    };
    for (const Case& c : cases) {
        std::vector<std::int16_t> samples = fiveOneImpulse(c.channel, level);
        downmixToStereo(samples, 6);
        EXPECT_EQ(samples, (std::vector<std::int16_t>{c.left, c.right})) << "channel " << c.channel;
    }
}

TEST(Downmix, FullScaleOnEveryChannelStaysInRange)
{
    for (int channels : {3, 4, 5, 6, 7, 8, 9, 11}) {
        for (std::int16_t level : {std::int16_t(32767), std::int16_t(-32768)}) {
            std::vector<std::int16_t> samples(static_cast<std::size_t>(channels) * 3, level);
            downmixToStereo(samples, channels);
            ASSERT_EQ(samples.size(), 6u) << channels << " channels";
            for (std::int16_t sample : samples)
                EXPECT_NEAR(sample, level, 1) << channels << " channels";
        }
    }
}

TEST(Downmix, FramesKeepTheirOrderAndChannelsBeyondKnownLayoutsAlternateSides)
{
    struct Case {
        int channels;
        std::vector<std::int16_t> samples, stereo;
    };
    const Case cases[] = {
        // Quadraphonic frames (front left, front right, rear left, rear right), mixed in place.
        {4, {100, 0, 100, 0, 0, 300, 0, 300, 50, 60, 70, 80}, {100, 0, 0, 300, 60, 70}},
        {10, {900, 0, 900, 0, 900, 0, 900, 0, 900, 0}, {900, 0}},
    };
    for (Case c : cases) {
        downmixToStereo(c.samples, c.channels);
        EXPECT_EQ(c.samples, c.stereo) << c.channels << " channels";
    }
}

} // namespace
