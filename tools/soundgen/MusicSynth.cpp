// The game's music: a dark ambient piece of 128 s in five sections (intro,
// theme, pulse, climax, outro) over eight-second bars, one chord per bar.
// Each section sets which voices play and how fast the heartbeat runs; at a
// section's start its levels fade in from the previous section's, and each
// chord fades in from the one before, so the piece runs on without seams.
#include "SynthParts.h"

#include <algorithm>
#include <array>

namespace soundsynth {
namespace {

constexpr double barSeconds = 8.0;
constexpr double sectionFadeSeconds = 4.0;
constexpr double chordFadeSeconds = 1.5;
constexpr double pieceFadeInSeconds = 3.0;
constexpr double pieceFadeOutSeconds = 6.0;
constexpr double musicPeak = 0.7;

using Chord = std::array<double, 3>; // Hz, low to high
const Chord Dm{73.42, 110.00, 174.61}; // D2 A2 F3
const Chord Bb{58.27, 87.31, 146.83};  // Bb1 F2 D3
const Chord Gm{49.00, 116.54, 146.83}; // G1 Bb2 D3
const Chord Aa{55.00, 82.41, 138.59};  // A1 E2 C#3: the dominant
const Chord Ff{43.65, 110.00, 130.81}; // F1 A2 C3

// How loud each voice plays in a section (0: silent).
struct Levels {
    double pad, wind, heartbeat, arpeggio, bells;
};

struct Section {
    std::vector<Chord> bars;
    double beatSeconds; // heartbeat period
    Levels levels;
};

const std::vector<Section>& sections()
{
    static const std::vector<Section> piece = {
        {{Dm, Dm}, 2.0, {0.6, 1.0, 0.0, 0.0, 0.0}},                 // intro: wind and a drone
        {{Dm, Bb, Gm, Aa}, 2.0, {1.0, 0.7, 1.0, 0.0, 0.5}},         // theme
        {{Dm, Bb, Dm, Aa}, 1.2, {0.8, 0.5, 1.2, 1.0, 0.0}},         // pulse: faster heart, arpeggio
        {{Gm, Ff, Bb, Aa}, 0.8, {1.2, 0.8, 1.4, 1.0, 1.0}},         // climax
        {{Dm, Dm}, 2.4, {0.7, 1.0, 0.6, 0.0, 0.3}},                 // outro
    };
    return piece;
}

double pieceSeconds()
{
    double seconds = 0.0;
    for (const Section& section : sections())
        seconds += barSeconds * static_cast<double>(section.bars.size());
    return seconds;
}

double mix(double a, double b, double f) { return a + (b - a) * f; }

Levels mix(const Levels& a, const Levels& b, double f)
{
    return {mix(a.pad, b.pad, f), mix(a.wind, b.wind, f), mix(a.heartbeat, b.heartbeat, f),
            mix(a.arpeggio, b.arpeggio, f), mix(a.bells, b.bells, f)};
}

// Where the piece stands at time t: the section's levels (faded in from the
// previous section's), the bar's chord and the one before it, how far the
// chord fade has come, and the time within the bar.
struct Moment {
    Levels levels;
    Chord chord, previousChord;
    double chordFade;
    double barTime;
    double beatSeconds;
    int bar; // counted from the start of the piece
};

Moment momentAt(double t)
{
    const std::vector<Section>& piece = sections();
    double sectionStart = 0.0;
    int firstBar = 0;
    const Chord* previousChord = &piece.front().bars.front();
    const Levels* previousLevels = &piece.front().levels;
    for (const Section& section : piece) {
        const double sectionEnd = sectionStart + barSeconds * static_cast<double>(section.bars.size());
        if (t < sectionEnd || &section == &piece.back()) {
            const int barInSection = std::min(static_cast<int>((t - sectionStart) / barSeconds),
                                              static_cast<int>(section.bars.size()) - 1);
            const double barTime = t - sectionStart - barSeconds * barInSection;
            const Chord& before = barInSection > 0 ? section.bars[barInSection - 1] : *previousChord;
            const double sectionFade = std::min(1.0, (t - sectionStart) / sectionFadeSeconds);
            return {mix(*previousLevels, section.levels, sectionFade), section.bars[barInSection], before,
                    std::min(1.0, barTime / chordFadeSeconds), barTime, section.beatSeconds, firstBar + barInSection};
        }
        previousChord = &section.bars.back();
        previousLevels = &section.levels;
        firstBar += static_cast<int>(section.bars.size());
        sectionStart = sectionEnd;
    }
    return {};
}

// A soft organ-like tone: a few odd and even harmonics of `hz` at time `t`.
double padTone(double hz, double t)
{
    return std::sin(twoPi * hz * t) + 0.35 * std::sin(twoPi * 2.0 * hz * t) + 0.12 * std::sin(twoPi * 3.0 * hz * t);
}

// One voice of the chord, blended from the previous chord's while it fades.
double chordVoice(const Moment& m, int voice, double detune, double t)
{
    const double now = padTone(m.chord[voice] + detune, t);
    return m.chordFade < 1.0 ? mix(padTone(m.previousChord[voice] + detune, t), now, m.chordFade) : now;
}

// The chord on both sides, the right side slightly detuned.
void pad(const Moment& m, double t, double& left, double& right)
{
    for (int voice = 0; voice < 3; ++voice) {
        const double swell = 0.75 + 0.25 * std::sin(twoPi * t / (11.0 + 3.0 * voice));
        const double gain = m.levels.pad * swell;
        left += gain * chordVoice(m, voice, 0.0, t);
        right += gain * chordVoice(m, voice, 0.04 * (voice + 1), t);
    }
}

// Plucked chord tones two octaves up, four a second: root, third, fifth, third.
double arpeggio(const Moment& m)
{
    constexpr double noteSeconds = 0.25;
    constexpr int pattern[] = {0, 1, 2, 1};
    const int note = static_cast<int>(m.barTime / noteSeconds);
    const double age = m.barTime - note * noteSeconds;
    const double hz = 4.0 * m.chord[pattern[note % 4]];
    return m.levels.arpeggio * std::exp(-age / 0.15) * (std::sin(twoPi * hz * age) + 0.3 * std::sin(twoPi * 2.0 * hz * age));
}

// A bell two octaves above the chord's top note at the start of each bar
// and, every other bar, a fifth higher halfway through.
double bells(const Moment& m)
{
    const bool second = m.bar % 2 == 1 && m.barTime >= barSeconds / 2;
    const double age = second ? m.barTime - barSeconds / 2 : m.barTime;
    const double hz = (second ? 6.0 : 4.0) * m.chord[2];
    return m.levels.bells * std::exp(-age / 1.5) * (std::sin(twoPi * hz * age) + 0.4 * std::sin(twoPi * 2.76 * hz * age));
}

// A low thump with a falling pitch, once per beat.
double heartbeat(double beatTime)
{
    return std::exp(-beatTime / 0.09) * std::sin(twoPi * (42.0 + 30.0 * std::exp(-beatTime / 0.03)) * beatTime);
}

} // namespace

SampledSound synthesiseMusic()
{
    const double seconds = pieceSeconds();
    const long frames = framesFor(seconds);
    SampledSound music{std::vector<float>(static_cast<std::size_t>(frames) * 2), 2, sampleRate};
    Noise noise(0x0c4a05u);
    OnePoleLowPass windLeft[2], windRight[2]; // two poles each: a dark rumble, no hiss
    double beatTime = 0.0;
    for (long frame = 0; frame < frames; ++frame) {
        const double t = static_cast<double>(frame) / sampleRate;
        const Moment m = momentAt(t);
        double left = 0.0, right = 0.0;
        pad(m, t, left, right);
        const double gust = 300.0 + 250.0 * (0.5 + 0.5 * std::sin(twoPi * t / 17.0));
        left += 3.0 * m.levels.wind * windLeft[1].process(windLeft[0].process(noise.next(), gust), gust);
        right += 3.0 * m.levels.wind * windRight[1].process(windRight[0].process(noise.next(), gust), gust);
        beatTime += 1.0 / sampleRate;
        if (beatTime >= m.beatSeconds)
            beatTime -= m.beatSeconds;
        const double thump = 1.2 * m.levels.heartbeat * heartbeat(beatTime);
        const double pluck = arpeggio(m), bell = bells(m);
        left += thump + 0.35 * pluck + 0.25 * bell;
        right += thump + 0.25 * pluck + 0.2 * bell;
        const double envelope = std::min({1.0, t / pieceFadeInSeconds, (seconds - t) / pieceFadeOutSeconds});
        music.samples[2 * frame] = static_cast<float>(envelope * left);
        music.samples[2 * frame + 1] = static_cast<float>(envelope * right);
    }
    normalise(music.samples, musicPeak);
    return music;
}

} // namespace soundsynth
