// zlib streams (2-byte header, deflate data, Adler-32) as used by compressed
// FBX arrays.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace fbx::detail {

// Inflates `size` bytes of zlib data into exactly `expectedSize` bytes at
// `out`. Returns an empty string on success, otherwise what went wrong.
std::string inflateExact(const uint8_t* data, size_t size, uint8_t* out, size_t expectedSize);

// One compressed array to inflate, with what went wrong (empty on success).
struct InflateJob {
  const uint8_t* data;
  size_t size;
  uint8_t* out;
  size_t expectedSize;
  std::string problem;
};

// Inflates every job: those of a large file on two threads, each taking the
// next job in turn, so that a file's arrays inflate in about half the time.
void inflateAll(std::vector<InflateJob>& jobs);

// Compresses `size` bytes into a zlib stream.
std::vector<uint8_t> deflateBytes(const uint8_t* data, size_t size);

}  // namespace fbx::detail
