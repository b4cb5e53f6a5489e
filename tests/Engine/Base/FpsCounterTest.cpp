#include "Engine/Base/FpsCounter.h"

#include <gtest/gtest.h>

TEST(FpsCounter, ExactlyOneSecondDoesNotYetPublish)
{
    FpsCounter counter;
    EXPECT_FALSE(counter.frame(10.0)); // first frame starts the clock
    EXPECT_FALSE(counter.frame(10.5));
    EXPECT_FALSE(counter.frame(11.0)); // accumulated exactly 1.0
    EXPECT_EQ(counter.framesPerSecond(), 0);
    EXPECT_TRUE(counter.frame(11.25));
    EXPECT_EQ(counter.framesPerSecond(), 4);
}

TEST(FpsCounter, KeepsTheFractionForTheNextSecond)
{
    FpsCounter counter;
    counter.frame(0.0);
    EXPECT_TRUE(counter.frame(1.75)); // 0.75 carried over
    EXPECT_EQ(counter.framesPerSecond(), 2);
    EXPECT_FALSE(counter.frame(2.0)); // 1.0 accumulated: not more than one second
    EXPECT_TRUE(counter.frame(2.125));
    EXPECT_EQ(counter.framesPerSecond(), 2);
}

TEST(FpsCounter, ALongStallPublishesOnce)
{
    FpsCounter counter;
    counter.frame(0.0);
    EXPECT_TRUE(counter.frame(5.5));
    EXPECT_FALSE(counter.frame(5.9)); // 0.9 s since: the whole seconds were dropped
}
