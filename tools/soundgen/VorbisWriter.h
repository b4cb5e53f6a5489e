#pragma once
// Encodes float samples as an Ogg Vorbis file with libvorbisenc. The output is
// deterministic (fixed stream serial number), so the same samples always give
// the same bytes, and a file appears only when it was written completely.
#include <string>
#include <vector>

struct SampledSound {
    std::vector<float> samples; // interleaved frames, each sample in [-1, 1]
    int channels = 1;           // 1 to 255, in Vorbis channel order
    long frequency = 44100;     // frames per second
};

// Writes `sound` to `path` at VBR `quality` [Limit: -0.1 to 1.0]. Returns false
// and leaves `path` untouched when encoding or writing fails; `error` says why.
[[nodiscard]] bool writeOggVorbis(const std::string& path, const SampledSound& sound, float quality,
                                  std::string& error);
