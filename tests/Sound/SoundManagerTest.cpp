// The SoundManager on real OpenAL Soft, whose wave-file back end stands in
// for sound hardware and lets the tests read back what was played.
#include "Sound/SoundManager.h"

#include "Engine/Base/Config.h"
#include "Engine/Base/Globals.h"
#include "Process.h"
#include "SoundFiles.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

constexpr double waitSeconds = 20.0;
constexpr double mixLatencySeconds = 0.15; // mixed but not yet in the file, plus one mixer update
constexpr double listenSeconds = 0.5;
constexpr double silence = 1e-4;           // RMS of a stopped output
constexpr double loud = 0.1;               // RMS of the test music

std::size_t seconds(double value) { return static_cast<std::size_t>(value * waveFrequency); }

// Channels, bits, frequency and size in bytes of the buffer the source plays.
std::array<ALint, 4> formatOf(ALuint source)
{
    ALint buffer = 0;
    alGetSourcei(source, AL_BUFFER, &buffer);
    std::array<ALint, 4> format{};
    const ALenum fields[] = {AL_CHANNELS, AL_BITS, AL_FREQUENCY, AL_SIZE};
    for (std::size_t i = 0; i < format.size(); ++i)
        alGetBufferi(static_cast<ALuint>(buffer), fields[i], &format[i]);
    return format;
}

ALint stateOf(ALuint source)
{
    ALint state = 0;
    alGetSourcei(source, AL_SOURCE_STATE, &state);
    return state;
}

// Frames the device has written so far, once at least `frames` are there.
std::size_t waveFramesAfter(std::size_t frames)
{
    std::size_t written = 0;
    waitFor(waitSeconds, [&] { return (written = waveOutputSamples().size() / 2) >= frames; });
    return written;
}

// RMS of the output from `mixLatencySeconds` after frame `from` to `listenSeconds` after it.
double levelAfter(std::size_t from)
{
    waveFramesAfter(from + seconds(listenSeconds));
    const std::vector<float> samples = waveOutputSamples();
    return rms(samples, 2 * (from + seconds(mixLatencySeconds)), 2 * (from + seconds(listenSeconds)));
}

// A game tree in a temporary folder, entered at its bin/ so that the sound
// folder resolves as in the installed game.
class SoundManagerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        fs::create_directories(root.path() / "bin");
        fs::create_directories(root.path() / "Resources" / "sound");
        fs::current_path(root.path() / "bin");
        musicOn = true;
    }
    void TearDown() override
    {
        manager.shutdownSound();
        fs::current_path(previousDirectory);
    }

    void writeSound(const std::string& file, const SampledSound& sound) { writeOgg(config::soundFolder + file, sound); }

    void initWithSounds()
    {
        writeSound(config::musicFile, toneSound(44100, 2.0, {0.5f, 0.5f}));
        writeSound(config::gunshotFile, toneSound(22050, 0.4, {0.5f}));
        writeSound(config::thirdSoundFile, toneSound(44100, 0.3, {0.5f, 0.5f, 0.5f, 0.5f, 0.5f, 0.5f}));
        ::testing::internal::CaptureStdout();
        manager.initSound();
        ASSERT_EQ(::testing::internal::GetCapturedStdout(), "Initialized SoundManager\n");
        ASSERT_EQ(manager.getSources().size(), 3u);
    }

    const fs::path previousDirectory = fs::current_path();
    TempFolder root{"umbrant-soundtree"};
    SoundManager manager;
};

TEST_F(SoundManagerTest, InitLoadsTheSoundsInTableOrderInTheirFormats)
{
    initWithSounds();
    const std::vector<ALuint>& sources = manager.getSources();
    EXPECT_EQ(formatOf(sources[musicSource]), (std::array<ALint, 4>{2, 16, 44100, 2 * 2 * 88200}));
    EXPECT_EQ(formatOf(sources[gunshotSource]), (std::array<ALint, 4>{1, 16, 22050, 2 * 8820}));
    // 5.1 arrives mixed down to stereo: two samples per frame.
    EXPECT_EQ(formatOf(sources[thirdSoundSource]), (std::array<ALint, 4>{2, 16, 44100, 2 * 2 * 13230}));
    EXPECT_EQ(alGetError(), AL_NO_ERROR);
}

TEST_F(SoundManagerTest, FourthLoadAndSourceNumbersNotHeldChangeNothing)
{
    manager.toggleMusic(); // nothing loaded yet
    EXPECT_TRUE(musicOn);
    initWithSounds();
    const std::vector<ALuint> sources = manager.getSources();
    std::vector<std::array<ALint, 4>> formats;
    for (ALuint source : sources)
        formats.push_back(formatOf(source));

    ::testing::internal::CaptureStdout();
    EXPECT_FALSE(manager.loadSound(config::soundFolder + config::gunshotFile));
    EXPECT_EQ(::testing::internal::GetCapturedStdout(),
              "SoundManager: couldnt loadData into buffer becouse already 3 buffers\n");
    EXPECT_EQ(manager.getSources(), sources);
    for (std::size_t i = 0; i < sources.size(); ++i)
        EXPECT_EQ(formatOf(sources[i]), formats[i]);
    manager.playSource(musicSource);
    manager.playSource(3);
    manager.stopSource(99);
    EXPECT_EQ(alGetError(), AL_NO_ERROR);
    EXPECT_EQ(stateOf(sources[musicSource]), AL_PLAYING);
}

TEST_F(SoundManagerTest, MusicKeyStopsTheMusicAndPlaysItAgainAlsoAfterItEnded)
{
    initWithSounds();
    const ALuint music = manager.getSources()[musicSource];
    musicOn = false; // as the music key left it in the last game
    std::size_t mark = waveFramesAfter(0);
    manager.startMusic();
    EXPECT_TRUE(musicOn);
    EXPECT_GT(levelAfter(mark), loud);

    mark = waveFramesAfter(0);
    manager.toggleMusic();
    EXPECT_FALSE(musicOn);
    EXPECT_EQ(stateOf(music), AL_STOPPED);
    EXPECT_LT(levelAfter(mark), silence);

    mark = waveFramesAfter(0);
    manager.toggleMusic();
    EXPECT_TRUE(musicOn);
    EXPECT_EQ(stateOf(music), AL_PLAYING);
    EXPECT_GT(levelAfter(mark), loud);

    // A track that ended by itself is started again, not taken as playing.
    ASSERT_TRUE(waitFor(waitSeconds, [&] { return stateOf(music) == AL_STOPPED; }));
    manager.toggleMusic();
    EXPECT_TRUE(musicOn);
    EXPECT_EQ(stateOf(music), AL_PLAYING);
}

} // namespace
