// zlib streams (2-byte header, deflate data, Adler-32) as used by compressed
// FBX arrays.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <thread>
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

// Compressed arrays inflated while a file is still being parsed: the parser
// adds each array as it reads it. Once the arrays added would inflate to
// 64 KiB, a second thread starts taking them in turn from the first; finish()
// has the calling thread take them from the last, until the two meet. A file
// of a few large arrays of unequal cost (indices inflate several times slower
// than smooth coordinates) is then shared far more evenly than by both taking
// the next in turn. Only the adding thread calls the members.
class InflateQueue {
 public:
  // At most `capacity` jobs can be added.
  explicit InflateQueue(size_t capacity);
  // Finishes first: the helper thread may be writing into the arrays.
  ~InflateQueue();
  InflateQueue(const InflateQueue&) = delete;
  InflateQueue& operator=(const InflateQueue&) = delete;

  // `job.out` must stay valid until finish() returns.
  void add(const InflateJob& job);
  // Inflates every job added; throws std::bad_alloc when one ran out of memory.
  void finish();

  size_t size() const { return published_; }
  const InflateJob& operator[](size_t i) const { return slot(i).job; }

 private:
  struct Slot {
    InflateJob job;
    std::atomic<bool> taken{false};
  };
  static constexpr size_t kChunk = 256;
  Slot& slot(size_t i) const { return chunks_[i / kChunk][i % kChunk]; }
  bool run(size_t i);
  void help();

  std::vector<std::unique_ptr<Slot[]>> chunks_;  // sized once: the helper reads it
  std::atomic<size_t> published_{0};             // jobs added
  std::atomic<bool> closed_{false};              // no more jobs will come
  std::atomic<bool> outOfMemory_{false};
  size_t addedBytes_ = 0;
  std::thread helper_;
};

// Compresses `size` bytes into a zlib stream.
std::vector<uint8_t> deflateBytes(const uint8_t* data, size_t size);

}  // namespace fbx::detail
