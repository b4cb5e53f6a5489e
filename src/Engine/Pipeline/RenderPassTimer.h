#pragma once
// GPU time of each pass of a rendered frame, measured with GL_TIME_ELAPSED
// queries. The renderer brackets its passes with begin/end when a timer is
// attached (the benchmark attaches one); the figures of a frame are read
// back after the frame with collect.
#include <GL/glew.h>

#include <array>

enum RenderPass { GeometryPass, LightPass, ShaftPass, BlurPass, CompositionPass, renderPassCount };

const char* renderPassName(int pass);

class RenderPassTimer {
public:
    RenderPassTimer() = default;
    RenderPassTimer(const RenderPassTimer&) = delete;
    RenderPassTimer& operator=(const RenderPassTimer&) = delete;
    ~RenderPassTimer();

    void begin(RenderPass pass);
    void end();
    // Waits for this frame's queries; milliseconds per pass, 0 for a pass
    // that did not run this frame.
    std::array<double, renderPassCount> collect();

private:
    std::array<GLuint, renderPassCount> queries{};
    std::array<bool, renderPassCount> ran{};
};
