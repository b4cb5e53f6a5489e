#include "SynthParts.h"

#include <algorithm>
#include <cmath>

namespace soundsynth {
namespace {

constexpr double gunshotSeconds = 0.4;
constexpr double gunshotPeak = 0.95;
constexpr double roarSeconds = 1.0;
constexpr double roarPeak = 0.9;

} // namespace

void normalise(std::vector<float>& samples, double peak)
{
    float largest = 0.0f;
    for (float sample : samples)
        largest = std::max(largest, std::fabs(sample));
    if (largest > 0.0f)
        for (float& sample : samples)
            sample = static_cast<float>(sample * peak / largest);
}

SampledSound synthesiseGunshot()
{
    const long frames = framesFor(gunshotSeconds);
    constexpr double clickSeconds = 0.002;
    constexpr double fadeOutSeconds = 0.02;
    Noise noise(0x9a45u);
    OnePoleLowPass crackFilter, tailFilter;
    SampledSound shot{std::vector<float>(static_cast<std::size_t>(frames)), 1, sampleRate};
    double bodyPhase = 0.0;
    for (long frame = 0; frame < frames; ++frame) {
        const double t = static_cast<double>(frame) / sampleRate;
        const double white = noise.next();
        const double click = t < clickSeconds ? white : 0.0;
        const double crack = std::exp(-t / 0.012) * crackFilter.process(white, 1000.0 + 7000.0 * std::exp(-t / 0.02));
        bodyPhase += twoPi * (55.0 + 95.0 * std::exp(-t / 0.025)) / sampleRate;
        const double body = std::exp(-t / 0.06) * std::sin(bodyPhase);
        const double tail = std::exp(-t / 0.12) * tailFilter.process(white, 600.0);
        const double fade = std::min(1.0, (gunshotSeconds - t) / fadeOutSeconds);
        shot.samples[frame] = static_cast<float>(fade * std::tanh(2.5 * (0.6 * click + 1.4 * crack + body + 1.5 * tail)));
    }
    normalise(shot.samples, gunshotPeak);
    return shot;
}

SampledSound synthesiseRoar()
{
    const long frames = framesFor(roarSeconds);
    constexpr double attackSeconds = 0.06;
    constexpr double releaseStart = 0.6; // seconds
    Noise noise(0x5c011u);
    OnePoleLowPass jitterFilter, body;
    BandPass formants[] = {{700.0, 4.0}, {1150.0, 5.0}, {2500.0, 6.0}}; // an open "aa"
    const double formantGains[] = {1.0, 0.7, 0.3};
    BandPass breath(1500.0, 1.5);
    SampledSound roar{std::vector<float>(static_cast<std::size_t>(frames)), 1, sampleRate};
    double phase = 0.0;
    for (long frame = 0; frame < frames; ++frame) {
        const double t = static_cast<double>(frame) / sampleRate;
        const double glide = t < 0.2 ? 80.0 + 200.0 * t : 120.0 - 62.5 * (t - 0.2);
        const double jitter = 1.0 + 0.6 * jitterFilter.process(noise.next(), 30.0);
        phase += glide * jitter / sampleRate;
        const double saw = 2.0 * (phase - std::floor(phase)) - 1.0;
        const double growl = 1.0 + 0.5 * std::sin(twoPi * 28.0 * t);
        const double source = saw * growl;
        double voice = 0.6 * body.process(source, 400.0);
        for (int i = 0; i < 3; ++i)
            voice += formantGains[i] * formants[i].process(source);
        voice += 0.15 * breath.process(noise.next());
        const double attack = std::min(1.0, t / attackSeconds);
        const double release = t < releaseStart ? 1.0 : 0.5 + 0.5 * std::cos(pi * (t - releaseStart) / (roarSeconds - releaseStart));
        roar.samples[frame] = static_cast<float>(attack * release * std::tanh(3.0 * voice));
    }
    normalise(roar.samples, roarPeak);
    return roar;
}

} // namespace soundsynth
