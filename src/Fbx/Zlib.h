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
// adds each array as it reads it. Once the arrays added would inflate to a
// few hundred kilobytes, a second thread starts taking them in turn; finish()
// has the calling thread inflate what is left beside it. Only the adding
// thread calls the members.
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
  const InflateJob& operator[](size_t i) const { return chunks_[i / kChunk][i % kChunk]; }

 private:
  static constexpr size_t kChunk = 256;
  bool runOne();
  void help();

  std::vector<std::unique_ptr<InflateJob[]>> chunks_;  // sized once: the helper reads it
  std::atomic<size_t> published_{0};                   // jobs added
  std::atomic<size_t> next_{0};                        // jobs taken
  std::atomic<bool> closed_{false};                    // no more jobs will come
  std::atomic<bool> outOfMemory_{false};
  size_t addedBytes_ = 0;
  std::thread helper_;
};

// Compresses `size` bytes into a zlib stream.
std::vector<uint8_t> deflateBytes(const uint8_t* data, size_t size);

}  // namespace fbx::detail
