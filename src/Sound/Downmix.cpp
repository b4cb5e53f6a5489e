#include "Downmix.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

constexpr float side = 1.0f;
constexpr float centre = 0.7071f; // -3 dB into each side
constexpr int largestKnownLayout = 8;

struct StereoWeight {
    float left;
    float right;
};

constexpr StereoWeight L{side, 0.0f};
constexpr StereoWeight R{0.0f, side};
constexpr StereoWeight C{centre, centre};
constexpr StereoWeight LFE{0.0f, 0.0f};

// The Vorbis I channel orders for 3 to 8 channels.
const std::array<std::vector<StereoWeight>, largestKnownLayout + 1> layouts = {{
    {},
    {},
    {},
    {L, C, R},                      // left, centre, right
    {L, R, L, R},                   // quadraphonic
    {L, C, R, L, R},                // 5.0: front, then rear
    {L, C, R, L, R, LFE},           // 5.1
    {L, C, R, L, R, C, LFE},        // 6.1: side left/right, rear centre
    {L, C, R, L, R, L, R, LFE},     // 7.1: side, then rear
}};

std::vector<StereoWeight> weightsFor(int channels)
{
    if (channels <= largestKnownLayout)
        return layouts[channels];
    // No defined layout: alternate the channels between the two sides.
    std::vector<StereoWeight> weights;
    for (int channel = 0; channel < channels; ++channel)
        weights.push_back(channel % 2 == 0 ? L : R);
    return weights;
}

std::int16_t toSample(float value)
{
    return static_cast<std::int16_t>(std::clamp(std::lround(value), -32768L, 32767L));
}

} // namespace

void downmixToStereo(std::vector<std::int16_t>& samples, int channels)
{
    const std::vector<StereoWeight> weights = weightsFor(channels);
    float leftTotal = 0.0f, rightTotal = 0.0f;
    for (const StereoWeight& weight : weights) {
        leftTotal += weight.left;
        rightTotal += weight.right;
    }
    const std::size_t frames = samples.size() / static_cast<std::size_t>(channels);
    // Each output frame is written no later than its input frame is read, so
    // the mix can run in place.
    for (std::size_t frame = 0; frame < frames; ++frame) {
        float left = 0.0f, right = 0.0f;
        for (int channel = 0; channel < channels; ++channel) {
            const float sample = samples[frame * channels + channel];
            left += weights[channel].left * sample;
            right += weights[channel].right * sample;
        }
        samples[2 * frame] = toSample(left / leftTotal);
        samples[2 * frame + 1] = toSample(right / rightTotal);
    }
    samples.resize(2 * frames);
}
