#include "SoundSynth.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace soundsynth {
namespace {

constexpr double pi = 3.14159265358979323846;
constexpr double twoPi = 2.0 * pi;

constexpr double musicSeconds = 24.0;
constexpr double musicLoopFadeSeconds = 2.0; // the tail is blended over the head
constexpr double musicPeak = 0.7;
constexpr double gunshotSeconds = 0.4;
constexpr double gunshotPeak = 0.95;
constexpr double roarSeconds = 1.0;
constexpr double roarPeak = 0.9;

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

long framesFor(double seconds) { return static_cast<long>(std::lround(seconds * sampleRate)); }

// Nearest frequency that completes a whole number of cycles in `seconds`, so
// that a tone at it joins up when the sound loops.
double loopingFrequency(double hz, double seconds) { return std::round(hz * seconds) / seconds; }

void normalise(std::vector<float>& samples, double peak)
{
    float largest = 0.0f;
    for (float sample : samples)
        largest = std::max(largest, std::fabs(sample));
    if (largest > 0.0f)
        for (float& sample : samples)
            sample = static_cast<float>(sample * peak / largest);
}

// A soft organ-like tone: a few odd and even harmonics of `hz` at time `t`.
double padTone(double hz, double t)
{
    return std::sin(twoPi * hz * t) + 0.35 * std::sin(twoPi * 2.0 * hz * t) +
           0.12 * std::sin(twoPi * 3.0 * hz * t);
}

// The music before its loop join: `frames` stereo frames of drone chords,
// wind, a slow heartbeat and a distant bell.
std::vector<double> musicBed(long frames)
{
    const double chordA[] = {73.42, 110.0, 174.61}; // D2 A2 F3: D minor
    const double chordB[] = {58.27, 87.31, 146.83}; // Bb1 F2 D3
    constexpr double heartbeatPeriod = 2.0;          // seconds
    constexpr double bellTimes[] = {6.0, 18.0};      // seconds
    const double bellHz = loopingFrequency(587.33, musicSeconds);
    Noise noise(0x0c4a05u);
    OnePoleLowPass windLeft[2], windRight[2]; // two poles each: a dark rumble, no hiss
    std::vector<double> bed(static_cast<std::size_t>(frames) * 2);
    for (long frame = 0; frame < frames; ++frame) {
        const double t = static_cast<double>(frame) / sampleRate;
        const double blend = 0.5 + 0.5 * std::cos(twoPi * t / musicSeconds); // chord A -> B -> A
        double left = 0.0, right = 0.0;
        for (int voice = 0; voice < 3; ++voice) {
            const double hzA = loopingFrequency(chordA[voice], musicSeconds);
            const double hzB = loopingFrequency(chordB[voice], musicSeconds);
            const double detune = (voice + 1) / musicSeconds; // a slow beat between the ears
            const double swell = 0.75 + 0.25 * std::sin(twoPi * (voice + 2) * t / musicSeconds);
            left += swell * (blend * padTone(hzA, t) + (1.0 - blend) * padTone(hzB, t));
            right += swell * (blend * padTone(hzA + detune, t) + (1.0 - blend) * padTone(hzB + detune, t));
        }
        const double gust = 300.0 + 250.0 * (0.5 + 0.5 * std::sin(twoPi * 3.0 * t / musicSeconds));
        left += 3.0 * windLeft[1].process(windLeft[0].process(noise.next(), gust), gust);
        right += 3.0 * windRight[1].process(windRight[0].process(noise.next(), gust), gust);

        const double beatTime = std::fmod(t, heartbeatPeriod);
        const double thump = std::exp(-beatTime / 0.09) * std::sin(twoPi * (42.0 + 30.0 * std::exp(-beatTime / 0.03)) * beatTime);
        left += 1.2 * thump;
        right += 1.2 * thump;

        for (double bellTime : bellTimes) {
            if (t < bellTime)
                continue;
            const double age = t - bellTime;
            const double bell = std::exp(-age / 1.5) * (std::sin(twoPi * bellHz * age) + 0.4 * std::sin(twoPi * 2.76 * bellHz * age));
            left += 0.25 * bell;
            right += 0.2 * bell;
        }
        bed[2 * frame] = left;
        bed[2 * frame + 1] = right;
    }
    return bed;
}

} // namespace

SampledSound synthesiseMusic()
{
    const long loopFrames = framesFor(musicSeconds);
    const long fadeFrames = framesFor(musicLoopFadeSeconds);
    const std::vector<double> bed = musicBed(loopFrames + fadeFrames);
    SampledSound music{std::vector<float>(static_cast<std::size_t>(loopFrames) * 2), 2, sampleRate};
    for (long frame = 0; frame < loopFrames; ++frame) {
        // The head is blended with what follows the loop's end, so the last
        // frame runs on into the first without a click.
        const double head = frame < fadeFrames ? static_cast<double>(frame) / fadeFrames : 1.0;
        for (int channel = 0; channel < 2; ++channel) {
            const double tail = frame < fadeFrames ? bed[2 * (loopFrames + frame) + channel] : 0.0;
            music.samples[2 * frame + channel] = static_cast<float>(head * bed[2 * frame + channel] + (1.0 - head) * tail);
        }
    }
    normalise(music.samples, musicPeak);
    return music;
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
