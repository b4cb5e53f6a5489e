// Whole-file Ogg Vorbis decoding of files written by libvorbisenc, its
// answers to files that are missing, cut off or not Vorbis at all, and the
// generated music as the game decodes it.
#include "Sound/OggDecoder.h"

#include "Engine/Base/Config.h"
#include "SoundFiles.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>

namespace {

class OggDecoderTest : public ::testing::Test {
protected:
    std::string path(const std::string& name) const { return folder.file(name); }

    void writeBytes(const std::string& name, const std::string& bytes) const
    {
        std::ofstream(path(name), std::ios::binary) << bytes;
    }

    TempFolder folder{"umbrant-ogg"};
};

// Root-mean-square level, full scale 1, of every `stride`-th sample in [first, end).
double level(const std::vector<std::int16_t>& samples, std::size_t first, std::size_t end, std::size_t stride = 1)
{
    double sum = 0.0;
    for (std::size_t i = first; i < end; i += stride)
        sum += double(samples[i]) * samples[i];
    return std::sqrt(sum * stride / (end - first)) / 32768.0;
}

// A stereo tone of several audio pages, on the left only, keeps its rate and
// sides; padded copies play whole, a cut one up to its last page.
TEST_F(OggDecoderTest, FilesPlayWhatTheyHoldWholeAndBadOnesAreRefused)
{
    writeOgg(path("plain.ogg"), toneSound(48000, 10.0, {0.5f, 0.0f}));
    std::ifstream in(path("plain.ogg"), std::ios::binary);
    const std::string plain{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    writeBytes("tagged.ogg", plain + "TAG" + std::string(125, 'x'));
    writeBytes("padded.ogg", plain + std::string(4096, '\0'));
    writeBytes("cut.ogg", plain.substr(0, plain.size() - 100));
    DecodedSound whole, sound;
    ASSERT_EQ(decodeOggFile(path("plain.ogg"), whole), DecodeStatus::decoded);
    EXPECT_EQ(whole.channels, 2);
    EXPECT_EQ(whole.frequency, 48000);
    ASSERT_EQ(whole.samples.size(), 2u * 480000);
    EXPECT_NEAR(level(whole.samples, 0, whole.samples.size(), 2), 0.5 / std::sqrt(2.0), 0.02);
    EXPECT_LT(level(whole.samples, 1, whole.samples.size(), 2), 0.01);
    for (const char* name : {"tagged.ogg", "padded.ogg"}) {
        EXPECT_EQ(decodeOggFile(path(name), sound), DecodeStatus::decoded) << name;
        EXPECT_EQ(sound.samples, whole.samples) << name;
    }
    ASSERT_EQ(decodeOggFile(path("cut.ogg"), sound), DecodeStatus::decoded);
    EXPECT_GT(sound.samples.size(), 0u);
    EXPECT_LT(sound.samples.size(), whole.samples.size());
    EXPECT_TRUE(std::equal(sound.samples.begin(), sound.samples.end(), whole.samples.begin()));

    // Bad files are refused with their line.
    std::string flipped = plain;
    flipped[plain.size() / 2] ^= 0x5a; // inside an audio page: its checksum fails, a hole follows
    writeBytes("flipped.ogg", flipped);
    writeBytes("text.ogg", "This is not an Ogg file, only some text.\n");
    writeBytes("cut-in-headers.ogg", plain.substr(0, 100));
    struct Case {
        std::string name;
        DecodeStatus status;
        std::string line;
    };
    const Case cases[] = {
        {"missing.ogg", DecodeStatus::cannotOpen, "Cannot open " + path("missing.ogg") + " for reading..."},
        {"text.ogg", DecodeStatus::notVorbis, "Error opening " + path("text.ogg") + " for decoding..."},
        {"cut-in-headers.ogg", DecodeStatus::notVorbis, "Error opening " + path("cut-in-headers.ogg") + " for decoding..."},
        {"flipped.ogg", DecodeStatus::corruptData, "Error decoding " + path("flipped.ogg") + "..."},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(decodeOggFile(path(c.name), sound), c.status) << c.name;
        EXPECT_TRUE(sound.samples.empty()) << c.name;
        EXPECT_EQ(decodeFailureMessage(c.status, path(c.name)), c.line);
    }
}

// The generated music as the game plays it: a piece of at least two minutes
// whose sections differ in loudness, not one short loop repeated.
TEST(GeneratedMusic, LastsTwoMinutesInSectionsThatDiffer)
{
    const std::string path = std::string(UMBRANT_RESOURCES_DIR) + "/sound/" + config::musicFile;
    DecodedSound music;
    ASSERT_EQ(decodeOggFile(path, music), DecodeStatus::decoded) << path;
    ASSERT_EQ(music.channels, 2);
    EXPECT_GE(music.samples.size() / 2.0 / music.frequency, 120.0);
    // Loudness of each 8-second bar, leaving out the first and last (fades).
    const std::size_t bar = 2 * 8 * music.frequency;
    std::vector<double> loudness;
    for (std::size_t start = bar; start + 2 * bar <= music.samples.size(); start += bar)
        loudness.push_back(level(music.samples, start, start + bar));
    ASSERT_FALSE(loudness.empty());
    const auto [quietest, loudest] = std::minmax_element(loudness.begin(), loudness.end());
    EXPECT_GT(*loudest, 1.5 * *quietest);
}

} // namespace
