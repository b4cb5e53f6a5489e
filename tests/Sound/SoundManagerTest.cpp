// The SoundManager on real OpenAL Soft, in a game tree in a temporary folder
// entered at its bin/, so that the sound folder resolves as in the installed game.
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

class SoundManagerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        fs::create_directories(root.path() / "Resources" / "sound");
        fs::create_directories(root.path() / "bin");
        fs::current_path(root.path() / "bin");
        writeOgg(config::soundFolder + config::musicFile, toneSound(44100, 2.0, {0.5f, 0.5f}));
        writeOgg(config::soundFolder + config::gunshotFile, toneSound(22050, 0.4, {0.5f}));
        writeOgg(config::soundFolder + config::thirdSoundFile, toneSound(44100, 0.3, std::vector<float>(6, 0.5f)));
        ::testing::internal::CaptureStdout();
        manager.initSound();
        ASSERT_EQ(::testing::internal::GetCapturedStdout(), "Initialized SoundManager\n");
    }
    void TearDown() override
    {
        manager.shutdownSound();
        fs::current_path(previousDirectory);
    }

    const fs::path previousDirectory = fs::current_path();
    TempFolder root{"umbrant-soundtree"};
    SoundManager manager;
};

TEST_F(SoundManagerTest, SoundsLoadInTableOrderAndAFourthLoadOrSourceNotHeldChangesNothing)
{
    const std::vector<ALuint> sources = manager.getSources();
    ASSERT_EQ(sources.size(), 3u);
    ::testing::internal::CaptureStdout();
    EXPECT_FALSE(manager.loadSound(config::soundFolder + config::gunshotFile));
    EXPECT_EQ(::testing::internal::GetCapturedStdout(),
              "SoundManager: couldnt loadData into buffer becouse already 3 buffers\n");
    manager.playSource(3);
    manager.stopSource(99);
    EXPECT_EQ(alGetError(), AL_NO_ERROR);
    EXPECT_EQ(manager.getSources(), sources);
    // The 5.1 sound arrives mixed down to stereo: two samples per frame.
    const std::array<ALint, 4> formats[] = {
        {2, 16, 44100, 2 * 2 * 88200}, {1, 16, 22050, 2 * 8820}, {2, 16, 44100, 2 * 2 * 13230}};
    for (std::size_t i = 0; i < sources.size(); ++i)
        EXPECT_EQ(formatOf(sources[i]), formats[i]) << i;
}

TEST_F(SoundManagerTest, MusicKeyStopsTheMusicAndPlaysItAgainAlsoAfterItEnded)
{
    musicOn = false; // as the music key left it in the last game
    manager.startMusic();
    EXPECT_TRUE(musicOn);
    EXPECT_TRUE(manager.isPlaying(musicSource));
    manager.toggleMusic();
    EXPECT_FALSE(musicOn);
    EXPECT_FALSE(manager.isPlaying(musicSource));
    manager.toggleMusic();
    // A track that ended by itself is started again, not taken as playing.
    ASSERT_TRUE(waitFor(20.0, [&] { return !manager.isPlaying(musicSource); }));
    manager.toggleMusic();
    EXPECT_TRUE(musicOn);
    EXPECT_TRUE(manager.isPlaying(musicSource));
}

TEST_F(SoundManagerTest, AMissingSoundEndsTheProcessWithStatus255)
{
    manager.shutdownSound();
    fs::remove(config::soundFolder + config::gunshotFile);
    EXPECT_EXIT(manager.initSound(), ::testing::ExitedWithCode(255),
                "Cannot open ../Resources/sound/gunshot.ogg for reading\\.\\.\\.");
}

} // namespace
