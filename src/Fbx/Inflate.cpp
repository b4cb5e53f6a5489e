// Strict small-stream inflate (RFC 1950 and 1951). Every failure returns
// false at once; the caller lets libdeflate judge such streams.
#include "Fbx/Inflate.h"

#include <libdeflate.h>

#include <algorithm>
#include <array>
#include <cstring>

namespace fbx::detail {

namespace {

constexpr int kMaxCodeLength = 15;
constexpr int kMaxSymbols = 288;
constexpr int kLitLenTableBits = 11;  // tables shrink to the longest code word
constexpr int kDistanceTableBits = 9;
constexpr int kPrecodeTableBits = 7;
constexpr int kLitLenSymbols = 286;   // 286 and 287 may appear in a code but never in data
constexpr int kDistanceSymbols = 30;  // likewise 30 and 31
constexpr int kEndOfBlock = 256;
// A length code, its extra bits, a distance code and its extra bits.
constexpr unsigned kMostBitsPerSymbol = kMaxCodeLength + 5 + kMaxCodeLength + 13;

// Table entries: symbol << 4 | code length, or one of these.
constexpr uint16_t kNoCode = 0;        // unused code word: the stream is refused
constexpr uint16_t kLongCode = 0xffff;  // longer than the table: decoded bit by bit

constexpr uint16_t kLengthBase[29] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                      31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr uint8_t kLengthExtra[29] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                      2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr uint16_t kDistanceBase[30] = {1,   2,   3,   4,   5,   7,    9,    13,   17,   25,
                                        33,  49,  65,  97,  129, 193,  257,  385,  513,  769,
                                        1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
constexpr uint8_t kDistanceExtra[30] = {0, 0, 0, 0, 1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6,
                                        6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};
constexpr uint8_t kPrecodeOrder[19] = {16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15};

// The bit stream, least significant bit first, from a 64-bit buffer that
// never holds a byte past `end`.
class BitReader {
 public:
  BitReader(const uint8_t* begin, const uint8_t* end) : next_(begin), end_(end) {}

  // Fills the buffer to at least 56 bits, or with all that remains.
  void refill() {
    if (end_ - next_ >= 8) {
      uint64_t word;
      std::memcpy(&word, next_, 8);
      bits_ |= word << count_;
      next_ += (63 - count_) >> 3;
      count_ |= 56;
    } else {
      while (count_ <= 56 && next_ < end_) {
        bits_ |= uint64_t{*next_++} << count_;
        count_ += 8;
      }
    }
  }

  unsigned available() const { return count_; }
  uint64_t peek() const { return bits_; }
  void drop(unsigned n) {
    bits_ >>= n;
    count_ -= n;
  }
  // Takes n bits (after a refill, up to 56 are at hand); -1 past the end.
  int take(unsigned n) {
    if (n > count_) return -1;
    const int v = static_cast<int>(bits_ & ((uint64_t{1} << n) - 1));
    drop(n);
    return v;
  }
  // Skips to the next byte boundary and returns the position of the first
  // unread byte, emptying the buffer.
  const uint8_t* alignToByte() {
    drop(count_ & 7);
    next_ -= count_ >> 3;
    bits_ = 0;
    count_ = 0;
    return next_;
  }
  void resumeAt(const uint8_t* p) { next_ = p; }
  const uint8_t* end() const { return end_; }

 private:
  const uint8_t* next_;
  const uint8_t* end_;
  uint64_t bits_ = 0;
  unsigned count_ = 0;
};

// A canonical Huffman code: a lookup table for short code words and the
// counts and sorted symbols (filled only when some word is longer than the
// table) for decoding longer ones bit by bit.
// Filled by buildCode: left uninitialised, since clearing them for every
// block costs more than decoding a small one.
struct HuffmanCode {
  std::array<uint16_t, kMaxCodeLength + 1> count;
  std::array<uint16_t, kMaxSymbols> symbols;
  std::array<uint16_t, 1 << kLitLenTableBits> table;
  unsigned tableBits;
};

constexpr unsigned kReverseBits = kLitLenTableBits;  // widest reversal the tables need

constexpr std::array<uint16_t, 1 << kReverseBits> reversedWords() {
  std::array<uint16_t, 1 << kReverseBits> r{};
  for (unsigned v = 0; v < r.size(); ++v) {
    for (unsigned i = 0; i < kReverseBits; ++i) r[v] = static_cast<uint16_t>(r[v] | ((v >> i) & 1) << (kReverseBits - 1 - i));
  }
  return r;
}
constexpr std::array<uint16_t, 1 << kReverseBits> kReversed = reversedWords();

// The `length`-bit code word with its bits in stream order (length <= 11).
unsigned reverseBits(unsigned code, unsigned length) { return kReversed[code << (kReverseBits - length)]; }

uint64_t loadWord(const uint8_t* p) {
  uint64_t w;
  std::memcpy(&w, p, 8);
  return w;
}

// Lists the symbols that have a code word, in symbol order, as
// symbol << 4 | length (the form of a table entry), and tallies the lengths.
// Small streams use few symbols, so most lengths are zero: each word of eight
// lengths is tested at once and only its non-zero bytes are visited.
int listCoded(const uint8_t* lengths, int symbolCount, uint16_t* coded, uint16_t (&tally)[2][kMaxCodeLength + 1]) {
  constexpr uint64_t kLow7 = 0x7f7f7f7f7f7f7f7full, kHigh = 0x8080808080808080ull;
  int n = 0;
  for (int base = 0; base < symbolCount; base += 8) {
    uint64_t word = 0;
    if (symbolCount - base >= 8) {
      word = loadWord(lengths + base);
    } else {
      std::memcpy(&word, lengths + base, static_cast<size_t>(symbolCount - base));
    }
    // The high bit of each non-zero byte.
    for (uint64_t nonZero = (((word & kLow7) + kLow7) | word) & kHigh; nonZero != 0; nonZero &= nonZero - 1) {
      const int s = base + (__builtin_ctzll(nonZero) >> 3);
      const unsigned len = lengths[s];
      coded[n] = static_cast<uint16_t>(s << 4 | len);
      ++tally[n & 1][len];
      ++n;
    }
  }
  return n;
}

// Builds the code from its code lengths. Refuses over-subscribed codes and
// incomplete ones, except the two forms decoders accept: no code words at
// all, or a single one-bit word (its unused twin stays unmapped).
bool buildCode(HuffmanCode& code, const uint8_t* lengths, int symbolCount, unsigned tableBits) {
  // Two interleaved tallies: runs of equal lengths would otherwise wait on
  // one counter's previous increment.
  uint16_t tally[2][kMaxCodeLength + 1] = {};
  uint16_t coded[kMaxSymbols];
  const int codedCount = listCoded(lengths, symbolCount, coded, tally);
  code.count[0] = 0;
  for (int len = 1; len <= kMaxCodeLength; ++len) code.count[len] = static_cast<uint16_t>(tally[0][len] + tally[1][len]);
  int left = 1;
  for (int len = 1; len <= kMaxCodeLength; ++len) {
    left = (left << 1) - code.count[len];
    if (left < 0) return false;
  }
  if (left > 0) {
    int words = 0;
    for (int len = 1; len <= kMaxCodeLength; ++len) words += code.count[len];
    if (words > 1 || (words == 1 && code.count[1] != 1)) return false;
  }
  // A table no wider than the longest code word: small blocks have short
  // codes, and filling the table is most of a small block's set-up.
  unsigned longest = kMaxCodeLength;
  while (longest > 0 && code.count[longest] == 0) --longest;
  tableBits = std::min(tableBits, longest);
  code.tableBits = tableBits;
  const unsigned tableSize = 1u << tableBits;
  if (left > 0) std::fill_n(code.table.begin(), tableSize, kNoCode);  // a complete code fills every slot
  // Canonical code words: each length's words follow the shorter ones', and
  // within a length they go to the symbols in increasing order.
  std::array<uint16_t, kMaxCodeLength + 1> nextWord{};
  for (unsigned len = 1, word = 0; len <= kMaxCodeLength; ++len) {
    word = (word + code.count[len - 1]) << 1;
    nextWord[len] = static_cast<uint16_t>(word);
  }
  for (int i = 0; i < codedCount; ++i) {
    const uint16_t entry = coded[i];
    const unsigned len = entry & 15;
    const unsigned word = nextWord[len]++;
    if (len <= tableBits) {
      for (unsigned slot = reverseBits(word, len); slot < tableSize; slot += 1u << len) code.table[slot] = entry;
    } else {
      code.table[reverseBits(word >> (len - tableBits), tableBits)] = kLongCode;
    }
  }
  if (longest <= tableBits) return true;
  // Words longer than the table are decoded bit by bit from the symbols
  // sorted by code length.
  std::array<uint16_t, kMaxCodeLength + 2> offset{};
  for (int len = 1; len <= kMaxCodeLength; ++len) offset[len + 1] = offset[len] + code.count[len];
  for (int i = 0; i < codedCount; ++i) code.symbols[offset[coded[i] & 15]++] = static_cast<uint16_t>(coded[i] >> 4);
  return true;
}

// Decodes one symbol; -1 for an unused code word or one past the end.
// `mask` selects the table's bits (see tableMask).
inline int decodeSymbol(BitReader& in, const HuffmanCode& code, unsigned mask) {
  const uint64_t bits = in.peek();
  const uint16_t entry = code.table[bits & mask];
  if (entry == kNoCode) return -1;
  if (entry != kLongCode) {
    const unsigned length = entry & 15;
    if (length > in.available()) return -1;
    in.drop(length);
    return entry >> 4;
  }
  int word = 0, first = 0, index = 0;
  for (unsigned len = 1; len <= kMaxCodeLength && len <= in.available(); ++len) {
    word |= static_cast<int>((bits >> (len - 1)) & 1);
    const int n = code.count[len];
    if (word - n < first) {
      in.drop(len);
      return code.symbols[index + word - first];
    }
    index += n;
    first = (first + n) << 1;
    word <<= 1;
  }
  return -1;
}

inline unsigned tableMask(const HuffmanCode& code) { return (1u << code.tableBits) - 1; }

struct BlockCodes {
  HuffmanCode litLen;
  HuffmanCode distance;
};

const BlockCodes& fixedCodes() {
  static const BlockCodes codes = [] {
    BlockCodes c;
    uint8_t lengths[kMaxSymbols];
    std::fill(lengths, lengths + 144, 8);
    std::fill(lengths + 144, lengths + 256, 9);
    std::fill(lengths + 256, lengths + 280, 7);
    std::fill(lengths + 280, lengths + 288, 8);
    buildCode(c.litLen, lengths, 288, kLitLenTableBits);
    std::fill(lengths, lengths + 32, 5);
    buildCode(c.distance, lengths, 32, kDistanceTableBits);
    return c;
  }();
  return codes;
}

// Reads a dynamic block's code lengths and builds its two codes.
bool readDynamicCodes(BitReader& in, BlockCodes& codes) {
  in.refill();
  const int litLenField = in.take(5), distanceField = in.take(5), precodeField = in.take(4);
  if (precodeField < 0) return false;  // the fields before it were read, too
  const int litLenCount = litLenField + 257, distanceCount = distanceField + 1, precodeCount = precodeField + 4;
  if (litLenCount > kLitLenSymbols || distanceCount > kDistanceSymbols) return false;
  uint8_t precodeLengths[19] = {};
  for (int i = 0; i < precodeCount; ++i) {
    in.refill();
    const int len = in.take(3);
    if (len < 0) return false;
    precodeLengths[kPrecodeOrder[i]] = static_cast<uint8_t>(len);
  }
  HuffmanCode precode;
  if (!buildCode(precode, precodeLengths, 19, kPrecodeTableBits)) return false;
  uint8_t lengths[kLitLenSymbols + kDistanceSymbols];
  const int total = litLenCount + distanceCount;
  for (int i = 0; i < total;) {
    in.refill();
    const int symbol = decodeSymbol(in, precode, tableMask(precode));
    if (symbol < 0) return false;
    if (symbol < 16) {
      lengths[i++] = static_cast<uint8_t>(symbol);
      continue;
    }
    // 16 repeats the previous length 3-6 times, 17 and 18 give 3-10 and 11-138 zeros.
    if (symbol == 16 && i == 0) return false;
    const uint8_t value = symbol == 16 ? lengths[i - 1] : 0;
    const int extra = in.take(symbol == 16 ? 2 : symbol == 17 ? 3 : 7);
    const int repeat = (symbol == 18 ? 11 : 3) + extra;
    if (extra < 0 || repeat > total - i) return false;
    std::memset(lengths + i, value, static_cast<size_t>(repeat));
    i += repeat;
  }
  return buildCode(codes.litLen, lengths, litLenCount, kLitLenTableBits) &&
         buildCode(codes.distance, lengths + litLenCount, distanceCount, kDistanceTableBits);
}

// Copies `length` bytes from `distance` bytes back; the source may overlap
// the destination, which repeats its pattern. With a word of slack in the
// output it writes eight bytes at a time: a pattern of 1, 2 or 4 bytes is
// spread over a word once; otherwise the copy repeats with period
// `distance`, so also with its first multiple of at least eight (`step`),
// and after the first `step` bytes every word comes from bytes already written.
inline void copyMatch(uint8_t* out, size_t distance, size_t length, const uint8_t* outEnd) {
  const uint8_t* from = out - distance;
  if (static_cast<size_t>(outEnd - out) < length + 8) {
    for (size_t i = 0; i < length; ++i) out[i] = from[i];
    return;
  }
  if (distance < 8 && 8 % distance == 0) {
    constexpr uint64_t kSpread[5] = {0, 0x0101010101010101ull, 0x0001000100010001ull, 0, 0x0000000100000001ull};
    uint64_t pattern = 0;
    std::memcpy(&pattern, from, distance);
    pattern *= kSpread[distance];
    for (size_t i = 0; i < length; i += 8) std::memcpy(out + i, &pattern, 8);
    return;
  }
  constexpr uint8_t kShortStep[8] = {0, 8, 8, 9, 8, 10, 12, 14};
  const size_t step = distance >= 8 ? distance : kShortStep[distance];
  size_t i = 0;
  if (step != distance) {
    for (; i < step && i < length; ++i) out[i] = from[i];
  }
  for (; i < length; i += 8) {
    uint64_t word;
    std::memcpy(&word, out + i - step, 8);
    std::memcpy(out + i, &word, 8);
  }
}

// Decodes one Huffman-coded block's symbols into [out, outEnd).
[[gnu::always_inline]] inline bool decodeSymbols(BitReader& in, const BlockCodes& codes, const uint8_t* outBegin, uint8_t*& out,
                                                const uint8_t* outEnd) {
  // Read once: a byte written through `out` could alias the codes, so they
  // would otherwise be read again for every symbol.
  const unsigned litLenMask = tableMask(codes.litLen), distanceMask = tableMask(codes.distance);
  while (true) {
    if (in.available() < kMostBitsPerSymbol) in.refill();
    const int symbol = decodeSymbol(in, codes.litLen, litLenMask);
    if (symbol < 0) return false;
    if (symbol < kEndOfBlock) {
      if (out == outEnd) return false;
      *out++ = static_cast<uint8_t>(symbol);
      continue;
    }
    if (symbol == kEndOfBlock) return true;
    const int lengthCode = symbol - 257;
    if (lengthCode >= 29) return false;
    const int lengthExtra = in.take(kLengthExtra[lengthCode]);
    const int distanceCode = decodeSymbol(in, codes.distance, distanceMask);
    if (lengthExtra < 0 || distanceCode < 0 || distanceCode >= kDistanceSymbols) return false;
    const int distanceExtra = in.take(kDistanceExtra[distanceCode]);
    if (distanceExtra < 0) return false;
    const size_t length = kLengthBase[lengthCode] + static_cast<size_t>(lengthExtra);
    const size_t distance = kDistanceBase[distanceCode] + static_cast<size_t>(distanceExtra);
    if (distance > static_cast<size_t>(out - outBegin) || length > static_cast<size_t>(outEnd - out)) return false;
    copyMatch(out, distance, length, outEnd);
    out += length;
  }
}

// The bit reader and output cursor are worked on as local copies: a byte
// written through `out` might otherwise alias them, and the compiler would
// reload and store them around every output byte.
bool decodeBlock(BitReader& stream, const BlockCodes& codes, const uint8_t* outBegin, uint8_t*& outCursor,
                 const uint8_t* outEnd) {
  BitReader in = stream;
  uint8_t* out = outCursor;
  const bool ok = decodeSymbols(in, codes, outBegin, out, outEnd);
  stream = in;
  outCursor = out;
  return ok;
}

bool copyStoredBlock(BitReader& in, uint8_t*& out, const uint8_t* outEnd) {
  const uint8_t* p = in.alignToByte();
  if (in.end() - p < 4) return false;
  const unsigned length = p[0] | p[1] << 8;
  const unsigned complement = p[2] | p[3] << 8;
  p += 4;
  if ((length ^ 0xffff) != complement || length > static_cast<size_t>(outEnd - out) ||
      length > static_cast<size_t>(in.end() - p)) {
    return false;
  }
  if (length > 0) std::memcpy(out, p, length);
  out += length;
  in.resumeAt(p + length);
  return true;
}

}  // namespace

bool inflateSmallStream(const uint8_t* data, size_t size, uint8_t* out, size_t expectedSize) {
  constexpr size_t kHeader = 2, kTrailer = 4;
  if (size < kHeader + kTrailer) return false;
  const unsigned header = data[0] << 8 | data[1];
  const bool deflateMethod = (header >> 8 & 15) == 8 && (header >> 12) <= 7;
  if (header % 31 != 0 || !deflateMethod || (header & 0x20) != 0) return false;
  BitReader in(data + kHeader, data + size - kTrailer);
  uint8_t* const outBegin = out;
  const uint8_t* const outEnd = out + expectedSize;
  BlockCodes dynamic;
  bool last = false;
  while (!last) {
    in.refill();
    const int blockHeader = in.take(3);
    if (blockHeader < 0) return false;
    last = (blockHeader & 1) != 0;
    switch (blockHeader >> 1) {
      case 0:
        if (!copyStoredBlock(in, out, outEnd)) return false;
        break;
      case 1:
        if (!decodeBlock(in, fixedCodes(), outBegin, out, outEnd)) return false;
        break;
      case 2:
        if (!readDynamicCodes(in, dynamic) || !decodeBlock(in, dynamic, outBegin, out, outEnd)) return false;
        break;
      default:
        return false;
    }
  }
  const uint8_t* trailer = in.alignToByte();
  if (out != outEnd) return false;
  const uint32_t stored = uint32_t{trailer[0]} << 24 | uint32_t{trailer[1]} << 16 | uint32_t{trailer[2]} << 8 | trailer[3];
  return libdeflate_adler32(1, outBegin, expectedSize) == stored;
}

}  // namespace fbx::detail
