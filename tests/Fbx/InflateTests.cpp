// The small-stream decoder against libdeflate: it must decode real streams
// (stored, fixed and dynamic blocks, one block or several) to their bytes,
// and must never accept a damaged stream that libdeflate refuses or decodes
// differently, since its refusals are what hand a stream to libdeflate's
// verdict.
#include <gtest/gtest.h>
#include <libdeflate.h>

#include <random>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "Fbx/Inflate.h"
#include "Fbx/Zlib.h"

namespace fbx::detail {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes compress(const Bytes& data, int level) {
  libdeflate_compressor* c = libdeflate_alloc_compressor(level);
  Bytes out(libdeflate_zlib_compress_bound(c, data.size()));
  out.resize(libdeflate_zlib_compress(c, data.data(), data.size(), out.data(), out.size()));
  libdeflate_free_compressor(c);
  return out;
}

// Accepting a stream is only right where libdeflate gives the same bytes.
void expectNoFalseAccept(const Bytes& stream, size_t size, const std::string& what) {
  static libdeflate_decompressor* d = libdeflate_alloc_decompressor();
  Bytes out(size), reference(size);
  if (!inflateSmallStream(stream.data(), stream.size(), out.data(), size)) return;
  size_t produced = 0;
  ASSERT_EQ(libdeflate_zlib_decompress(d, stream.data(), stream.size(), reference.data(), size, &produced),
            LIBDEFLATE_SUCCESS)
      << what << ": accepted a stream libdeflate refuses";
  ASSERT_EQ(produced, size) << what << ": accepted a stream libdeflate decodes to another size";
  ASSERT_EQ(out, reference) << what << ": decoded differently from libdeflate";
}

// libdeflate picks the block kind: stored for noise, the fixed code for a
// short text, dynamic codes otherwise, several blocks for large input.
// Each payload: its name, its bytes and the compression level.
std::vector<std::tuple<const char*, Bytes, int>> payloads() {
  std::mt19937 rng(7);
  Bytes noise(900), fewSymbols(3000), runs(5000, 0x3f), large(16000);
  for (uint8_t& b : noise) b = static_cast<uint8_t>(rng());
  for (uint8_t& b : fewSymbols) b = static_cast<uint8_t>(rng() % 4);
  for (size_t i = 0; i < large.size(); ++i) large[i] = static_cast<uint8_t>(i % 251 < 40 ? rng() : i / 64);
  const std::string text = "Vertices: *12 { a: 0,0,0,1,0,0,1,1,0,0,1,0 }";
  return {{"empty", {}, 6},
          {"stored noise", noise, 0},
          {"fixed-code text", Bytes(text.begin(), text.end()), 6},
          {"few symbols", fewSymbols, 9},
          {"runs", runs, 6},
          {"several blocks", large, 1}};
}

// The payloads must reach every block kind, though libdeflate picks it (BTYPE,
// after the zlib header); each stream's damaged copies are then tried.
TEST(SmallInflate, DecodesEveryBlockKindAndNeverAcceptsWhatLibdeflateRefuses) {
  std::set<int> kinds;
  for (const auto& [name, bytes, level] : payloads()) {
    const Bytes stream = compress(bytes, level);
    const size_t size = bytes.size();
    kinds.insert(stream.at(2) >> 1 & 3);
    Bytes out(size);
    ASSERT_TRUE(inflateSmallStream(stream.data(), stream.size(), out.data(), size)) << name;
    EXPECT_EQ(out, bytes) << name;
    EXPECT_EQ(inflateExact(stream.data(), stream.size(), out.data(), size), "") << name;
    for (size_t i = 0; i < stream.size(); ++i) {
      for (int bit = 0; bit < 8; ++bit) {
        Bytes flipped = stream;
        flipped[i] ^= static_cast<uint8_t>(1 << bit);
        expectNoFalseAccept(flipped, size, std::string(name) + ", bit flipped at " + std::to_string(i));
      }
      expectNoFalseAccept(Bytes(stream.begin(), stream.begin() + static_cast<long>(i)), size,
                          std::string(name) + ", cut at " + std::to_string(i));
    }
    expectNoFalseAccept(stream, size + 1, std::string(name) + ", one byte more expected");
    if (size > 0) expectNoFalseAccept(stream, size - 1, std::string(name) + ", one byte fewer expected");
  }
  EXPECT_EQ(kinds, (std::set<int>{0, 1, 2}));
}

}  // namespace
}  // namespace fbx::detail
