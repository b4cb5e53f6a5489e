// zlib streams: whole-buffer inflate into a buffer of the announced size is
// all FBX arrays need. Small arrays go to our small-stream decoder first;
// large ones, and anything it refuses, to libdeflate, which is several times
// faster than zlib's streaming inflate and gives the error verdicts.
#include "Fbx/Zlib.h"

#include <libdeflate.h>

#include <memory>
#include <new>
#include <system_error>

#include "Fbx/Inflate.h"

namespace fbx::detail {

namespace {

constexpr int kCompressionLevel = 6;
// The small-stream decoder, whose set-up is cheap, is faster than libdeflate
// on streams up to this inflated size that shrank at least twofold; on larger
// or nearly incompressible data libdeflate's literal loop wins, except on the
// shortest streams, where libdeflate's table set-up costs more than decoding.
constexpr size_t kSmallStream = 16384;
constexpr size_t kSmallStreamMinRatio = 2;
constexpr size_t kTinyStream = 2048;
// Below this much inflated data a second thread costs more than it saves.
constexpr size_t kTwoThreadBytes = 1 << 16;

struct DecompressorDeleter {
  void operator()(libdeflate_decompressor* d) const { libdeflate_free_decompressor(d); }
};

libdeflate_decompressor* decompressor() {
  thread_local std::unique_ptr<libdeflate_decompressor, DecompressorDeleter> instance(
      libdeflate_alloc_decompressor());
  return instance.get();
}

}  // namespace

std::string inflateExact(const uint8_t* data, size_t size, uint8_t* out, size_t expectedSize) {
  const bool small = expectedSize <= kTinyStream ||
                     (expectedSize <= kSmallStream && expectedSize >= size * kSmallStreamMinRatio);
  if (small && inflateSmallStream(data, size, out, expectedSize)) return {};
  // Large arrays, and every stream the small decoder refuses: libdeflate
  // decodes or judges it.
  libdeflate_decompressor* d = decompressor();
  if (!d) return "out of memory for the zlib decompressor";
  size_t produced = 0;
  switch (libdeflate_zlib_decompress(d, data, size, out, expectedSize, &produced)) {
    case LIBDEFLATE_SUCCESS:
      if (produced == expectedSize) return {};
      return "compressed array inflates to " + std::to_string(produced) + " bytes, expected " +
             std::to_string(expectedSize);
    case LIBDEFLATE_INSUFFICIENT_SPACE:
      return "compressed array inflates to more than the expected " + std::to_string(expectedSize) + " bytes";
    default:
      return "bad compressed array data (corrupt or truncated zlib stream)";
  }
}

InflateQueue::InflateQueue(size_t capacity) : chunks_(capacity / kChunk + 1) {}

InflateQueue::~InflateQueue() {
  try {
    finish();
  } catch (const std::bad_alloc&) {
  }
}

void InflateQueue::add(const InflateJob& job) {
  const size_t i = published_.load(std::memory_order_relaxed);
  std::unique_ptr<Slot[]>& chunk = chunks_.at(i / kChunk);
  if (!chunk) chunk = std::make_unique<Slot[]>(kChunk);
  chunk[i % kChunk].job = job;
  published_.store(i + 1, std::memory_order_release);
  addedBytes_ += job.expectedSize;
  if (!helper_.joinable() && addedBytes_ >= kTwoThreadBytes && std::thread::hardware_concurrency() > 1) {
    try {
      helper_ = std::thread(&InflateQueue::help, this);
    } catch (const std::system_error&) {
      // No thread to be had: finish() inflates everything.
    }
  }
}

// Inflates job `i` unless the other thread has taken it; false then.
bool InflateQueue::run(size_t i) {
  Slot& s = slot(i);
  if (s.taken.exchange(true, std::memory_order_relaxed)) return false;
  try {
    s.job.problem = inflateExact(s.job.data, s.job.size, s.job.out, s.job.expectedSize);
  } catch (const std::bad_alloc&) {
    outOfMemory_ = true;
  }
  return true;
}

// From the first job on. The calling thread takes jobs only once the queue is
// closed, and from the last one down: a job it has taken means that it has
// taken every later one too.
void InflateQueue::help() {
  for (size_t i = 0;; ++i) {
    while (i >= published_.load(std::memory_order_acquire)) {
      if (closed_.load(std::memory_order_acquire) && i >= published_.load(std::memory_order_acquire)) return;
      std::this_thread::yield();
    }
    if (!run(i)) return;
  }
}

void InflateQueue::finish() {
  closed_.store(true, std::memory_order_release);
  // A job the helper has taken means that it has taken every earlier one.
  for (size_t i = published_.load(std::memory_order_relaxed); i > 0 && run(i - 1); --i) {
  }
  if (helper_.joinable()) helper_.join();
  if (outOfMemory_.exchange(false)) throw std::bad_alloc();
}

std::vector<uint8_t> deflateBytes(const uint8_t* data, size_t size) {
  libdeflate_compressor* c = libdeflate_alloc_compressor(kCompressionLevel);
  if (!c) return {};
  std::vector<uint8_t> out(libdeflate_zlib_compress_bound(c, size));
  out.resize(libdeflate_zlib_compress(c, data, size, out.data(), out.size()));
  libdeflate_free_compressor(c);
  return out;
}

}  // namespace fbx::detail
