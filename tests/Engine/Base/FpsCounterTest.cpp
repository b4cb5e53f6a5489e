#include "Engine/Base/FpsCounter.h"

#include <gtest/gtest.h>

// A count is published once more than a whole second has passed; the rest of
// the time carries over, and a long stall publishes once.
TEST(FpsCounter, PublishesAfterMoreThanOneSecondAndCarriesTheFraction)
{
    struct Frame {
        double time;
        bool published;
        int fps; // -1: not checked
    };
    const Frame runs[][5] = {
        {{10.0, false, -1}, {10.5, false, -1}, {11.0, false, 0}, {11.25, true, 4}, {11.26, false, -1}},
        {{0.0, false, -1}, {1.75, true, 2}, {2.0, false, -1}, {2.125, true, 2}, {2.2, false, -1}},
        {{0.0, false, -1}, {5.5, true, -1}, {5.9, false, -1}, {6.0, false, -1}, {6.6, true, -1}},
    };
    for (const auto& run : runs) {
        FpsCounter counter;
        for (const Frame& frame : run) {
            EXPECT_EQ(counter.frame(frame.time), frame.published) << "at " << frame.time;
            if (frame.fps >= 0) {
                EXPECT_EQ(counter.framesPerSecond(), frame.fps) << "at " << frame.time;
            }
        }
    }
}
