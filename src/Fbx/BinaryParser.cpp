// Binary FBX record parser: a bounds-checked cursor walks the node records,
// validating every end offset, length and inflated size against the bytes that
// remain.
#include <cstring>
#include <iterator>
#include <string_view>

#include "Fbx/Parse.h"
#include "Fbx/Zlib.h"

namespace fbx {

namespace {

constexpr char kBinaryMagic[] = "Kaydara FBX Binary  ";  // followed by NUL, 0x1A, 0x00
constexpr size_t kHeaderSize = 27;
constexpr uint32_t kWideHeaderVersion = 7500;

template <typename T>
T load(const uint8_t* p) {
  T v;
  std::memcpy(&v, p, sizeof(T));
  return v;
}

// An array's header: element count, encoding and stored byte length.
constexpr uint64_t kArrayHeaderSize = 12;
// The fewest bytes an array takes in a file: its type code and header.
constexpr uint64_t kSmallestArray = 1 + kArrayHeaderSize;

size_t elementSize(char type) {
  switch (type) {
    case 'f': case 'i': return 4;
    case 'd': case 'l': return 8;
    case 'b': case 'c': return 1;
    default: return 0;
  }
}

class BinaryParser {
 public:
  BinaryParser(const uint8_t* data, size_t size, const std::string& name, const ConsumedRange& consumed)
      : data_(data), size_(size), name_(name), consumed_(consumed) {}

  Result<RecordDocument> run() {
    RecordDocument doc;
    doc.format = Format::Binary;
    doc.fileName = name_;
    if (size_ < kHeaderSize) return fail(size_, "file shorter than the 27-byte binary header");
    doc.version = load<uint32_t>(data_ + 23);
    wide_ = doc.version >= kWideHeaderVersion;
    pos_ = kHeaderSize;
    // Declared after the document: on an exception it finishes first, while
    // the arrays it fills still exist.
    detail::InflateQueue inflates(size_ / kSmallestArray + 1);
    inflates_ = &inflates;
    const bool parsed = parseList(doc.root, size_, 0, true);
    if (!inflateArrays() || !parsed) return Result<RecordDocument>::failure(error_);
    doc.memory = std::move(memory_);
    return doc;
  }

 private:
  Result<RecordDocument> fail(uint64_t offset, const std::string& what) {
    setError(offset, what);
    return Result<RecordDocument>::failure(error_);
  }

  // Inflates the compressed arrays. Every one lies before any fault the
  // parse stopped at, so the first that fails is the file's error, as it
  // would be had each been inflated where it was read.
  bool inflateArrays() {
    inflates_->finish();
    for (size_t i = 0; i < inflates_->size(); ++i) {
      const detail::InflateJob& job = (*inflates_)[i];
      const uint64_t begin = static_cast<uint64_t>(job.data - data_);
      if (!job.problem.empty()) {
        error_.clear();
        return setError(begin - kArrayHeaderSize, job.problem);
      }
      if (consumed_ && job.size >= kReleaseAtLeast) consumed_(begin, begin + job.size);
    }
    return true;
  }

  bool setError(uint64_t offset, const std::string& what) {
    if (error_.empty()) error_ = name_ + ": offset " + std::to_string(offset) + ": " + what;
    return false;
  }

  size_t headerSize() const { return wide_ ? 25 : 13; }

  uint64_t readWord() {
    uint64_t v = wide_ ? load<uint64_t>(data_ + pos_) : load<uint32_t>(data_ + pos_);
    pos_ += wide_ ? 8 : 4;
    return v;
  }

  // Parses records until a null record (required for the top-level list) or
  // until `end` is reached. The records are counted first by following their
  // end offsets, so that the child list is allocated once at its final size
  // and each record is parsed in place.
  bool parseList(Record& parent, uint64_t end, int depth, bool topLevel) {
    if (depth > kMaxRecordDepth) {
      return setError(pos_, "records nested deeper than " + std::to_string(kMaxRecordDepth) + " levels");
    }
    parent.children.reserve(countRecords(end));
    while (true) {
      if (!topLevel && pos_ == end) break;
      if (end - pos_ < headerSize()) {
        return setError(pos_, topLevel ? "file truncated: top-level record list has no end marker"
                                       : "record header runs past the end of its parent record");
      }
      if (isNullRecord(pos_)) {
        pos_ += headerSize();
        break;
      }
      parent.children.emplace_back(memory_.get());
      if (!parseRecord(parent.children.back(), end, depth)) return false;
    }
    return true;
  }

  // The number of records from the cursor to a null record or to `end`,
  // following each one's end offset; stops early at an offset that does not
  // move forward or leaves the list, where parsing will report the fault.
  size_t countRecords(uint64_t end) const {
    size_t count = 0;
    for (uint64_t at = pos_; end - at >= headerSize() && !isNullRecord(at); ++count) {
      const uint64_t next = wide_ ? load<uint64_t>(data_ + at) : load<uint32_t>(data_ + at);
      if (next <= at || next > end) return count + 1;
      at = next;
    }
    return count;
  }

  bool isNullRecord(uint64_t at) const {
    const uint8_t* p = data_ + at;
    if (wide_) return load<uint64_t>(p) == 0 && load<uint64_t>(p + 8) == 0 && load<uint64_t>(p + 16) == 0 && p[24] == 0;
    return load<uint64_t>(p) == 0 && load<uint32_t>(p + 8) == 0 && p[12] == 0;
  }

  bool parseRecord(Record& record, uint64_t parentEnd, int depth) {
    const uint64_t start = pos_;
    record.offset = start;
    const uint64_t endOffset = readWord();
    const uint64_t propertyCount = readWord();
    const uint64_t propertyBytes = readWord();
    const size_t nameLength = data_[pos_++];
    if (endOffset > parentEnd) {
      return setError(start, "record end offset " + std::to_string(endOffset) + " lies past the end (" +
                                 std::to_string(parentEnd) + ") of the enclosing data");
    }
    if (endOffset < pos_ + nameLength) {
      return setError(start, "record end offset " + std::to_string(endOffset) +
                                 " lies before the end of its header");
    }
    record.name.assign(reinterpret_cast<const char*>(data_ + pos_), nameLength);
    pos_ += nameLength;
    if (propertyBytes > endOffset - pos_) {
      return setError(start, "property list length " + std::to_string(propertyBytes) +
                                 " exceeds the record's remaining " + std::to_string(endOffset - pos_) +
                                 " bytes");
    }
    if (propertyCount > propertyBytes) {
      return setError(start, std::to_string(propertyCount) + " properties cannot fit in " +
                                 std::to_string(propertyBytes) + " bytes");
    }
    const uint64_t propertyEnd = pos_ + propertyBytes;
    record.properties.reserve(propertyCount);
    for (uint64_t i = 0; i < propertyCount; ++i) {
      if (!parseProperty(record.properties, propertyEnd)) return false;
    }
    if (pos_ != propertyEnd) {
      return setError(pos_, "properties end " + std::to_string(propertyEnd - pos_) +
                                " bytes before their stated length");
    }
    if (pos_ < endOffset) {
      if (!parseList(record, endOffset, depth + 1, false)) return false;
      if (pos_ != endOffset) {
        return setError(pos_, "child records end at " + std::to_string(pos_) +
                                  ", not at the record end offset " + std::to_string(endOffset));
      }
    }
    return true;
  }

  bool need(uint64_t bytes, uint64_t end, const char* what) {
    return bytes <= end - pos_ || tooShort(bytes, end, what);
  }

  [[gnu::noinline]] bool tooShort(uint64_t bytes, uint64_t end, const char* what) {
    return setError(pos_, std::string(what) + " needs " + std::to_string(bytes) + " bytes, only " +
                              std::to_string(end - pos_) + " remain");
  }

  // Appends the property at the cursor to `properties`.
  bool parseProperty(std::pmr::vector<Property>& properties, uint64_t end) {
    if (!need(1, end, "property type code")) return false;
    const char type = static_cast<char>(data_[pos_++]);
    const uint8_t* p = data_ + pos_;
    switch (type) {
      case 'Y':
        if (!need(2, end, "int16 property")) return false;
        properties.emplace_back(type, int64_t{load<int16_t>(p)});
        pos_ += 2;
        return true;
      case 'C': case 'B':
        if (!need(1, end, "byte property")) return false;
        properties.emplace_back(type, int64_t{*p});
        pos_ += 1;
        return true;
      case 'I':
        if (!need(4, end, "int32 property")) return false;
        properties.emplace_back(type, int64_t{load<int32_t>(p)});
        pos_ += 4;
        return true;
      case 'F':
        if (!need(4, end, "float property")) return false;
        properties.emplace_back(type, double{load<float>(p)});
        pos_ += 4;
        return true;
      case 'D':
        if (!need(8, end, "double property")) return false;
        properties.emplace_back(type, load<double>(p));
        pos_ += 8;
        return true;
      case 'L':
        if (!need(8, end, "int64 property")) return false;
        properties.emplace_back(type, load<int64_t>(p));
        pos_ += 8;
        return true;
      case 'S': case 'R':
        return parseString(properties, type, end);
      case 'f': case 'd': case 'l': case 'i': case 'b': case 'c':
        return parseArray(properties, type, end);
      default:
        return setError(pos_ - 1, "unknown property type code 0x" + hexByte(static_cast<uint8_t>(type)));
    }
  }

  static std::string hexByte(uint8_t b) {
    const char* digits = "0123456789abcdef";
    return {digits[b >> 4], digits[b & 15]};
  }

  bool parseString(std::pmr::vector<Property>& properties, char type, uint64_t end) {
    if (!need(4, end, "string length")) return false;
    const uint32_t length = load<uint32_t>(data_ + pos_);
    if (length > end - pos_ - 4) {
      return setError(pos_, "string length " + std::to_string(length) + " exceeds remaining " +
                                std::to_string(end - pos_ - 4) + " bytes");
    }
    pos_ += 4;
    properties.emplace_back(type, std::string_view(reinterpret_cast<const char*>(data_ + pos_), length), memory_.get());
    pos_ += length;
    return true;
  }

  bool parseArray(std::pmr::vector<Property>& properties, char type, uint64_t end) {
    const uint64_t headerOffset = pos_;
    if (!need(kArrayHeaderSize, end, "array header")) return false;
    const uint64_t count = load<uint32_t>(data_ + pos_);
    const uint32_t encoding = load<uint32_t>(data_ + pos_ + 4);
    const uint64_t storedBytes = load<uint32_t>(data_ + pos_ + 8);
    pos_ += kArrayHeaderSize;
    const uint64_t remaining = end - pos_;
    const uint64_t rawBytes = count * elementSize(type);
    if (storedBytes > remaining) {
      return setError(headerOffset, "array data length " + std::to_string(storedBytes) +
                                        " exceeds remaining " + std::to_string(remaining) + " bytes");
    }
    if (encoding == 0 && rawBytes != storedBytes) {
      return setError(headerOffset, rawBytes > remaining
                                        ? "array length " + std::to_string(count) + " exceeds remaining " +
                                              std::to_string(remaining) + " bytes"
                                        : "array of " + std::to_string(count) + " elements does not fill its " +
                                              std::to_string(storedBytes) + " stored bytes");
    }
    if (encoding == 1 && (rawBytes > storedBytes * kMaxInflateRatio + 64 || rawBytes > kMaxArrayBytes)) {
      return setError(headerOffset, "compressed array length " + std::to_string(count) +
                                        " is impossible for its " + std::to_string(storedBytes) +
                                        " compressed bytes");
    }
    if (encoding > 1) return setError(headerOffset + 4, "unknown array encoding " + std::to_string(encoding));
    switch (type) {
      case 'f': return fillArray<float>(properties, type, count, encoding, storedBytes);
      case 'd': return fillArray<double>(properties, type, count, encoding, storedBytes);
      case 'l': return fillArray<int64_t>(properties, type, count, encoding, storedBytes);
      case 'i': return fillArray<int32_t>(properties, type, count, encoding, storedBytes);
      default: return fillArray<uint8_t>(properties, type, count, encoding, storedBytes);
    }
  }

  template <typename T>
  bool fillArray(std::pmr::vector<Property>& properties, char type, uint64_t count, uint32_t encoding,
                 uint64_t storedBytes) {
    // Raw values are copied straight into a new vector rather than into a
    // zero-filled one: one pass over the memory instead of two. The stored
    // values lie at any alignment; a vector of trivially copyable values is
    // built from a pointer range with a byte copy (memmove), which never
    // reads them as T.
    const T* stored = reinterpret_cast<const T*>(data_ + pos_);
    std::vector<T> values = encoding == 0 ? std::vector<T>(stored, stored + count) : std::vector<T>(count);
    // The values keep their storage when they move into the property.
    uint8_t* out = reinterpret_cast<uint8_t*>(values.data());
    properties.emplace_back(type, std::move(values));
    if (encoding != 0) {
      inflates_->add({data_ + pos_, storedBytes, out, count * sizeof(T), {}});
    } else if (consumed_ && storedBytes >= kReleaseAtLeast) {
      consumed_(pos_, pos_ + storedBytes);
    }
    pos_ += storedBytes;
    return true;
  }

  const uint8_t* data_;
  uint64_t size_;
  const std::string& name_;
  const ConsumedRange& consumed_;
  uint64_t pos_ = 0;
  bool wide_ = false;
  std::string error_;
  // The compressed arrays, inflated while the parse goes on.
  detail::InflateQueue* inflates_ = nullptr;
  // Passed to the document on success.
  std::unique_ptr<std::pmr::monotonic_buffer_resource> memory_ =
      std::make_unique<std::pmr::monotonic_buffer_resource>();
};

}  // namespace

bool isBinaryFbx(const uint8_t* data, size_t size) {
  return size >= sizeof(kBinaryMagic) && std::memcmp(data, kBinaryMagic, sizeof(kBinaryMagic)) == 0;
}

Result<RecordDocument> parseBinaryRecords(const uint8_t* data, size_t size, const std::string& name,
                                          const ConsumedRange& consumed) {
  if (!isBinaryFbx(data, size)) {
    return Result<RecordDocument>::failure(name + ": offset 0: missing the binary FBX header");
  }
  return BinaryParser(data, size, name, consumed).run();
}

Result<RecordDocument> parseRecords(const uint8_t* data, size_t size, const std::string& name,
                                    const ConsumedRange& consumed) {
  if (isBinaryFbx(data, size)) return parseBinaryRecords(data, size, name, consumed);
  return parseAsciiRecords(data, size, name, consumed);
}

}  // namespace fbx
