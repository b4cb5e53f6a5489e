// Whole-file Ogg Vorbis decoding of files written by libvorbisenc, and its
// answers to files that are missing, empty, cut off or not Vorbis at all.
#include "Sound/OggDecoder.h"
#include "Sound/SoundManager.h"

#include "SoundFiles.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>

namespace {

class OggDecoderTest : public ::testing::Test {
protected:
    std::string path(const std::string& name) const { return folder.file(name); }

    std::string bytesOf(const std::string& name) const
    {
        std::ifstream in(path(name), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    void writeBytes(const std::string& name, const std::string& bytes) const
    {
        std::ofstream(path(name), std::ios::binary) << bytes;
    }

    TempFolder folder{"umbrant-ogg"};
};

// Level of every `stride`-th 16-bit sample from `first`.
double level(const DecodedSound& sound, std::size_t first, std::size_t stride)
{
    return rms({sound.samples.begin(), sound.samples.end()}, first, sound.samples.size(), stride);
}

TEST_F(OggDecoderTest, FilesKeepTheirRateFramesAndSidesAndSurroundIsMixedDown)
{
    // Left alone in stereo; front left alone and centre alone in 5.1, whose LFE tone must vanish.
    struct Case {
        const char* name;
        long frequency;
        double seconds;
        std::vector<float> amplitudes;
        int channels;
        double leftOverRight; // at least this ratio of left to right level; 0: equal sides
    };
    const Case cases[] = {
        {"mono.ogg", 22050, 0.5, {0.5f}, 1, 0},
        {"stereo.ogg", 44100, 0.5, {0.6f, 0.0f}, 2, 100},
        {"left.ogg", 48000, 0.25, {0.8f, 0, 0, 0, 0, 0.8f}, 2, 50},
        {"centre.ogg", 48000, 0.25, {0, 0.8f, 0, 0, 0, 0}, 2, 0},
    };
    for (const Case& c : cases) {
        writeOgg(path(c.name), toneSound(c.frequency, c.seconds, c.amplitudes));
        DecodedSound sound;
        ASSERT_EQ(decodeOggFile(path(c.name), sound), DecodeStatus::decoded) << c.name;
        EXPECT_EQ(sound.channels, c.channels) << c.name;
        EXPECT_EQ(sound.frequency, c.frequency) << c.name;
        ASSERT_EQ(sound.samples.size(), std::size_t(c.channels * c.frequency * c.seconds)) << c.name;
        if (c.channels == 1)
            EXPECT_NEAR(level(sound, 0, 1) / 32768.0, 0.5 / std::sqrt(2.0), 0.02) << c.name;
        else if (c.leftOverRight > 0)
            EXPECT_GT(level(sound, 0, 2), c.leftOverRight * level(sound, 1, 2)) << c.name;
        else
            EXPECT_NEAR(level(sound, 0, 2), level(sound, 1, 2), 0.05 * level(sound, 0, 2)) << c.name;
    }
}

TEST_F(OggDecoderTest, WhatTheDecoderPlaysIsTaken)
{
    writeOgg(path("plain.ogg"), toneSound(44100, 10.0, {0.5f})); // several audio pages
    const std::string plain = bytesOf("plain.ogg");
    writeBytes("tagged.ogg", plain + "TAG" + std::string(125, 'x'));
    writeBytes("padded.ogg", plain + std::string(4096, '\0'));
    DecodedSound whole;
    ASSERT_EQ(decodeOggFile(path("plain.ogg"), whole), DecodeStatus::decoded);
    for (const char* name : {"tagged.ogg", "padded.ogg"}) {
        DecodedSound sound;
        EXPECT_EQ(decodeOggFile(path(name), sound), DecodeStatus::decoded) << name;
        EXPECT_EQ(sound.samples, whole.samples) << name;
    }

    // Cut inside its last page, a file plays up to its last whole page.
    writeBytes("cut.ogg", plain.substr(0, plain.size() - 100));
    DecodedSound cut;
    ASSERT_EQ(decodeOggFile(path("cut.ogg"), cut), DecodeStatus::decoded);
    EXPECT_GT(cut.samples.size(), 0u);
    EXPECT_LT(cut.samples.size(), whole.samples.size());
    EXPECT_TRUE(std::equal(cut.samples.begin(), cut.samples.end(), whole.samples.begin()));
}

TEST_F(OggDecoderTest, BadFilesAreRefusedWithTheirLine)
{
    writeOgg(path("good.ogg"), toneSound(44100, 10.0, {0.5f}));
    const std::string good = bytesOf("good.ogg");
    std::string flipped = good;
    flipped[good.size() / 2] ^= 0x5a; // inside an audio page: its checksum fails, a hole follows
    writeBytes("empty.ogg", "");
    writeBytes("text.ogg", "This is not an Ogg file, only some text.\n");
    writeBytes("cut-in-headers.ogg", good.substr(0, 100));
    writeBytes("flipped.ogg", flipped);

    struct Case {
        std::string name;
        DecodeStatus status;
        std::string line;
    };
    const Case cases[] = {
        {"missing.ogg", DecodeStatus::cannotOpen, "Cannot open " + path("missing.ogg") + " for reading..."},
        {"empty.ogg", DecodeStatus::notVorbis, "Error opening " + path("empty.ogg") + " for decoding..."},
        {"text.ogg", DecodeStatus::notVorbis, "Error opening " + path("text.ogg") + " for decoding..."},
        {"cut-in-headers.ogg", DecodeStatus::notVorbis, "Error opening " + path("cut-in-headers.ogg") + " for decoding..."},
        {"flipped.ogg", DecodeStatus::corruptData, "Error decoding " + path("flipped.ogg") + "..."},
    };
    for (const Case& c : cases) {
        DecodedSound sound;
        EXPECT_EQ(decodeOggFile(path(c.name), sound), c.status) << c.name;
        EXPECT_TRUE(sound.samples.empty()) << c.name;
        EXPECT_EQ(decodeFailureMessage(c.status, path(c.name)), c.line);
    }
}

TEST_F(OggDecoderTest, UndecodableSoundEndsTheProcessWithStatusMinusOne)
{
    writeBytes("text.ogg", "not vorbis");
    std::vector<std::int16_t> data;
    ALenum format = 0;
    ALsizei frequency = 0;
    SoundManager manager;
    EXPECT_EXIT(manager.decodeOgg(path("missing.ogg"), data, format, frequency),
                ::testing::ExitedWithCode(255), "Cannot open .*missing\\.ogg for reading\\.\\.\\.");
    EXPECT_EXIT(manager.decodeOgg(path("text.ogg"), data, format, frequency),
                ::testing::ExitedWithCode(255), "Error opening .*text\\.ogg for decoding\\.\\.\\.");
}

} // namespace
