#pragma once
// Decodes a whole Ogg Vorbis file into memory with libvorbisfile, read
// through our own file callbacks in fixed blocks.
#include <cstdint>
#include <string>
#include <vector>

struct DecodedSound {
    std::vector<std::int16_t> samples; // 16-bit signed, host byte order, interleaved when stereo
    int channels = 0;                  // 1 or 2: files with more channels are mixed down to 2
    long frequency = 0;                // frames per second
};

enum class DecodeStatus {
    decoded,
    cannotOpen,      // the file does not exist or cannot be read
    notVorbis,       // empty, not Ogg, or its Vorbis headers are broken
    corruptData,     // a read the decoder fails, a change of layout between sections, or too much audio
};

constexpr long oggReadBytes = 32768;                       // bytes asked of the decoder per read
constexpr std::size_t maxDecodedBytes = 256u << 20;        // largest sound kept in memory, bytes

// Decodes `path` completely into `sound`. Anything but `decoded` leaves
// `sound` empty. Whatever the decoder plays is taken, bytes after the last
// page (a tag, padding) included; a read the decoder fails (a damaged page,
// usually also a cut one) makes the file corrupt.
[[nodiscard]] DecodeStatus decodeOggFile(const std::string& path, DecodedSound& sound);

// The console line for a failed decode of `path`.
std::string decodeFailureMessage(DecodeStatus status, const std::string& path);
