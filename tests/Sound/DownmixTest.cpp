// Surround frames folded to stereo, checked on exact 16-bit samples.
#include "Sound/Downmix.h"

#include <gtest/gtest.h>

namespace {

TEST(Downmix, FullScaleStaysInRangeAndFramesGoToTheirSidesInOrder)
{
    for (int channels : {3, 4, 5, 6, 7, 8, 9, 11}) {
        for (std::int16_t level : {std::int16_t(32767), std::int16_t(-32768)}) {
            std::vector<std::int16_t> samples(static_cast<std::size_t>(channels) * 3, level);
            downmixToStereo(samples, channels);
            for (std::int16_t sample : samples)
                EXPECT_NEAR(sample, level, 1) << channels << " channels";
        }
    }
    // Front and rear go to their side, the centre to both at -3 dB, the LFE
    // nowhere; each side is divided by the total weight it gets (1 + 0.7071 + 1
    // for 5.1). Frames keep their order; channels beyond the known layouts
    // alternate sides.
    struct Case {
        int channels;
        std::vector<std::int16_t> samples, stereo;
    };
    const Case cases[] = {
        // 5.1 frames in the Vorbis order (front left, centre, front right, rear
        // left, rear right, LFE), each with one channel sounding.
        {6,
         {27071, 0, 0, 0, 0, 0, 0, 27071, 0, 0, 0, 0, 0, 0, 27071, 0, 0, 0,
          0, 0, 0, 27071, 0, 0, 0, 0, 0, 0, 27071, 0, 0, 0, 0, 0, 0, 27071},
         {10000, 0, 7071, 7071, 0, 10000, 10000, 0, 0, 10000, 0, 0}},
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
