#pragma once
// Folds surround sound down to stereo, so that every sound fits one of
// OpenAL's two 16-bit formats.
#include <cstdint>
#include <vector>

// Mixes interleaved frames of `channels` samples [Limit: >= 3], laid out in
// Vorbis channel order, down to interleaved stereo frames in place; `samples`
// shrinks to two samples per frame. Centre channels feed both sides, the LFE
// channel is left out, and each side is scaled by its total weight so that
// the result never clips.
void downmixToStereo(std::vector<std::int16_t>& samples, int channels);
