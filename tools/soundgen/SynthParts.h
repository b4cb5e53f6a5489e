#pragma once
// Building blocks of the synthesised sounds: a seeded noise source, filters
// and small helpers. Everything is deterministic, so the same code gives the
// same samples on every machine.
#include "SoundSynth.h"

#include <cmath>
#include <cstdint>
#include <vector>

namespace soundsynth {

constexpr double pi = 3.14159265358979323846;
constexpr double twoPi = 2.0 * pi;

// Small deterministic white-noise source (xorshift32); std distributions are
// implementation-defined and would change the bytes between libraries.
class Noise {
public:
    explicit Noise(std::uint32_t seed) : state(seed) {}
    double next() // in [-1, 1)
    {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return static_cast<double>(state >> 8) / 8388608.0 - 1.0;
    }

private:
    std::uint32_t state;
};

class OnePoleLowPass {
public:
    double process(double input, double cutoffHz)
    {
        const double coefficient = 1.0 - std::exp(-twoPi * cutoffHz / sampleRate);
        value += coefficient * (input - value);
        return value;
    }

private:
    double value = 0.0;
};

// Constant-peak band-pass biquad (Audio EQ Cookbook).
class BandPass {
public:
    BandPass(double centreHz, double q)
    {
        const double w0 = twoPi * centreHz / sampleRate;
        const double alpha = std::sin(w0) / (2.0 * q);
        const double a0 = 1.0 + alpha;
        b0 = alpha / a0;
        b2 = -alpha / a0;
        a1 = -2.0 * std::cos(w0) / a0;
        a2 = (1.0 - alpha) / a0;
    }
    double process(double input)
    {
        const double output = b0 * input + b2 * x2 - a1 * y1 - a2 * y2;
        x2 = x1;
        x1 = input;
        y2 = y1;
        y1 = output;
        return output;
    }

private:
    double b0, b2, a1, a2;
    double x1 = 0.0, x2 = 0.0, y1 = 0.0, y2 = 0.0;
};

inline long framesFor(double seconds) { return static_cast<long>(std::lround(seconds * sampleRate)); }

// Scales `samples` so that the loudest one reaches `peak`.
void normalise(std::vector<float>& samples, double peak);

} // namespace soundsynth
