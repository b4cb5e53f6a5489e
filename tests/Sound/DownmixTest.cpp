// Surround frames folded to stereo, checked on exact 16-bit samples.
#include "Sound/Downmix.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// Front and rear go to their side, the centre to both at -3 dB, the LFE
// nowhere; each side is divided by the total weight it gets.
TEST(Downmix, FiveOneSendsEachChannelToItsSide)
{
    constexpr float level = 20000.0f, sideWeight = 1.0f + 0.7071f + 1.0f;
    const auto side = std::int16_t(std::lround(level / sideWeight));
    const auto centre = std::int16_t(std::lround(level * 0.7071f / sideWeight));
    const std::vector<std::int16_t> stereo[6] = {{side, 0}, {centre, centre}, {0, side}, {side, 0}, {0, side}, {0, 0}};
    for (int channel = 0; channel < 6; ++channel) {
        std::vector<std::int16_t> samples(6, 0);
        samples[channel] = std::int16_t(level);
        downmixToStereo(samples, 6);
        EXPECT_EQ(samples, stereo[channel]) << "channel " << channel;
    }
}

TEST(Downmix, FullScaleStaysInRangeAndFramesKeepTheirOrder)
{
    for (int channels : {3, 4, 5, 6, 7, 8, 9, 11}) {
        for (std::int16_t level : {std::int16_t(32767), std::int16_t(-32768)}) {
            std::vector<std::int16_t> samples(static_cast<std::size_t>(channels) * 3, level);
            downmixToStereo(samples, channels);
            for (std::int16_t sample : samples)
                EXPECT_NEAR(sample, level, 1) << channels << " channels";
        }
    }
    // Frames keep their order; channels beyond the known layouts alternate sides.
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
