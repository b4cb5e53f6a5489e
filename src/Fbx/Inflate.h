// A zlib decoder for the short compressed arrays that make up most of a game
// file (thousands of streams of a few hundred bytes). Its Huffman tables are a
// fraction of the size of libdeflate's, so setting up a block costs little.
//
// It is strict: it accepts only complete, well-formed streams (the subset of
// what libdeflate accepts) and refuses anything else without saying why, so
// that the caller hands refused streams to libdeflate, which decides and words
// the error. A stream it accepts decodes to the bytes any conforming decoder
// gives.
#pragma once

#include <cstddef>
#include <cstdint>

namespace fbx::detail {

// True when `data` holds a zlib stream that inflates to exactly
// `expectedSize` bytes at `out` with a matching Adler-32. On false, `out`
// holds undefined bytes.
bool inflateSmallStream(const uint8_t* data, size_t size, uint8_t* out, size_t expectedSize);

}  // namespace fbx::detail
