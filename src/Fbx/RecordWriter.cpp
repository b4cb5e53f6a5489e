// Encoding record trees as binary or ASCII FBX. Binary arrays larger than
// 128 bytes are zlib-compressed, as common exporters do.
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <type_traits>

#include "Fbx/Writer.h"
#include "Fbx/Zlib.h"

namespace fbx {

namespace {

constexpr char kBinaryMagic[] = "Kaydara FBX Binary  ";
constexpr size_t kCompressAbove = 128;
constexpr uint8_t kFooterId[16] = {0xfa, 0xbc, 0xab, 0x09, 0xd0, 0xc8, 0xd4, 0x66,
                                   0xb1, 0x76, 0xfb, 0x83, 0x1c, 0xf7, 0x26, 0x7e};
constexpr uint8_t kFooterMagic[16] = {0xf8, 0x5a, 0x8c, 0x6a, 0xde, 0xf5, 0xd9, 0x7e,
                                      0xec, 0xe9, 0x0c, 0xe3, 0x75, 0x8f, 0x29, 0x0b};

class BinaryEncoder {
 public:
  BinaryEncoder(uint32_t version, bool compress) : wide_(version >= 7500), compress_(compress) {}

  std::vector<uint8_t> run(const RecordDocument& doc) {
    out_.assign(kBinaryMagic, kBinaryMagic + sizeof(kBinaryMagic));
    out_.push_back(0x1a);
    out_.push_back(0x00);
    put<uint32_t>(doc.version);
    for (const Record& r : doc.root.children) writeRecord(r);
    writeNullRecord();
    writeFooter(doc.version);
    return std::move(out_);
  }

 private:
  template <typename T>
  void put(T v) {
    uint8_t bytes[sizeof(T)];
    std::memcpy(bytes, &v, sizeof(T));
    out_.insert(out_.end(), bytes, bytes + sizeof(T));
  }

  void putWord(uint64_t v) {
    if (wide_) {
      put<uint64_t>(v);
    } else {
      put<uint32_t>(static_cast<uint32_t>(v));
    }
  }

  void patchWord(size_t at, uint64_t v) {
    if (wide_) {
      std::memcpy(&out_[at], &v, 8);
    } else {
      const uint32_t narrow = static_cast<uint32_t>(v);
      std::memcpy(&out_[at], &narrow, 4);
    }
  }

  void writeNullRecord() { out_.insert(out_.end(), wide_ ? 25 : 13, 0); }

  void writeRecord(const Record& r) {
    const size_t start = out_.size();
    const size_t wordSize = wide_ ? 8 : 4;
    putWord(0);  // end offset, patched below
    putWord(r.properties.size());
    putWord(0);  // property bytes, patched below
    out_.push_back(static_cast<uint8_t>(r.name.size()));
    out_.insert(out_.end(), r.name.begin(), r.name.end());
    const size_t propertiesStart = out_.size();
    for (const Property& p : r.properties) writeProperty(p);
    patchWord(start + 2 * wordSize, out_.size() - propertiesStart);
    if (!r.children.empty()) {
      for (const Record& c : r.children) writeRecord(c);
      writeNullRecord();
    }
    patchWord(start, out_.size());
  }

  void writeProperty(const Property& p) {
    out_.push_back(static_cast<uint8_t>(p.type()));
    switch (p.type()) {
      case 'Y': put<int16_t>(static_cast<int16_t>(p.toInt())); break;
      case 'C': case 'B': out_.push_back(static_cast<uint8_t>(p.toInt())); break;
      case 'I': put<int32_t>(static_cast<int32_t>(p.toInt())); break;
      case 'F': put<float>(static_cast<float>(p.toDouble())); break;
      case 'D': put<double>(p.toDouble()); break;
      case 'L': put<int64_t>(p.toInt()); break;
      case 'S': case 'R': {
        const std::string_view s = p.toString();
        put<uint32_t>(static_cast<uint32_t>(s.size()));
        out_.insert(out_.end(), s.begin(), s.end());
        break;
      }
      default: writeArray(p); break;
    }
  }

  void writeArray(const Property& p) {
    std::visit(
        [this](const auto& v) {
          using V = std::decay_t<decltype(v)>;
          if constexpr (std::is_arithmetic_v<V> || std::is_same_v<V, std::pmr::string>) {
            put<uint32_t>(0);
            put<uint32_t>(0);
            put<uint32_t>(0);
          } else {
            const auto* bytes = reinterpret_cast<const uint8_t*>(v.data());
            const size_t size = v.size() * sizeof(typename V::value_type);
            put<uint32_t>(static_cast<uint32_t>(v.size()));
            if (compress_ && size > kCompressAbove) {
              const std::vector<uint8_t> packed = detail::deflateBytes(bytes, size);
              put<uint32_t>(1);
              put<uint32_t>(static_cast<uint32_t>(packed.size()));
              out_.insert(out_.end(), packed.begin(), packed.end());
            } else {
              put<uint32_t>(0);
              put<uint32_t>(static_cast<uint32_t>(size));
              out_.insert(out_.end(), bytes, bytes + size);
            }
          }
        },
        p.storage());
  }

  void writeFooter(uint32_t version) {
    out_.insert(out_.end(), kFooterId, kFooterId + 16);
    out_.insert(out_.end(), 4, 0);
    out_.insert(out_.end(), 16 - out_.size() % 16, 0);
    put<uint32_t>(version);
    out_.insert(out_.end(), 120, 0);
    out_.insert(out_.end(), kFooterMagic, kFooterMagic + 16);
  }

  bool wide_;
  bool compress_;
  std::vector<uint8_t> out_;
};

class AsciiEncoder {
 public:
  std::string run(const RecordDocument& doc) {
    const uint32_t v = doc.version;
    out_ = "; FBX " + std::to_string(v / 1000) + "." + std::to_string(v / 100 % 10) + "." +
           std::to_string(v / 10 % 10) + " project file\n";
    bitPatternFloats_ = v >= 7200;
    for (const Record& r : doc.root.children) writeRecord(r, 0);
    return std::move(out_);
  }

 private:
  void writeRecord(const Record& r, int depth) {
    out_.append(depth, '\t');
    out_ += r.name + ":";
    const bool floatBits = bitPatternFloats_ && r.name == "KeyAttrDataFloat";
    for (size_t i = 0; i < r.properties.size(); ++i) {
      out_ += i == 0 ? " " : ",";
      writeValue(r.properties[i], depth, floatBits);
    }
    if (!r.children.empty() || r.properties.empty()) {
      out_ += " {\n";
      for (const Record& c : r.children) writeRecord(c, depth + 1);
      out_.append(depth, '\t');
      out_ += "}";
    }
    out_ += "\n";
  }

  // Non-finite values use the spellings FBX ASCII files use.
  void number(double v) {
    if (std::isnan(v)) {
      out_ += "-1.#IND";
      return;
    }
    if (std::isinf(v)) {
      out_ += v > 0 ? "1.#INF" : "-1.#INF";
      return;
    }
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.17g", v);
    out_ += buf;
  }

  void writeValue(const Property& p, int depth, bool floatBits) {
    if (p.isArray()) {
      writeArray(p, depth, floatBits);
    } else if (p.type() == 'S' || p.type() == 'R') {
      // Raw bytes (only the binary FileId) have no ASCII spelling here.
      writeString(p.type() == 'S' ? p.toString() : std::string_view());
    } else if (p.type() == 'C' && std::isalpha(static_cast<unsigned char>(p.toInt()))) {
      out_ += static_cast<char>(p.toInt());
    } else if (p.type() == 'F' || p.type() == 'D') {
      number(p.toDouble());
    } else {
      out_ += std::to_string(p.toInt());
    }
  }

  // "Name\x00\x01Class" is written the ASCII way, "Class::Name".
  void writeString(std::string_view s) {
    const size_t separator = s.find(std::string_view("\x00\x01", 2));
    const std::string text = separator == std::string_view::npos
                                 ? std::string(s)
                                 : std::string(s.substr(separator + 2)).append("::").append(s.substr(0, separator));
    out_ += '"';
    for (char c : text) {
      if (c == '"') {
        out_ += "&quot;";
      } else {
        out_ += c;
      }
    }
    out_ += '"';
  }

  void writeArray(const Property& p, int depth, bool floatBits) {
    out_ += "*" + std::to_string(p.arraySize()) + " {\n";
    out_.append(depth + 1, '\t');
    out_ += "a: ";
    if (floatBits) {
      const std::vector<float> values = p.toFloats();
      for (size_t i = 0; i < values.size(); ++i) {
        uint32_t bits;
        std::memcpy(&bits, &values[i], sizeof bits);
        out_ += (i ? "," : "") + std::to_string(static_cast<int32_t>(bits));
      }
    } else if (p.type() == 'f' || p.type() == 'd') {
      const std::vector<double> values = p.toDoubles();
      for (size_t i = 0; i < values.size(); ++i) {
        if (i) out_ += ",";
        number(values[i]);
      }
    } else {
      const std::vector<int64_t> values = p.toInt64s();
      for (size_t i = 0; i < values.size(); ++i) out_ += (i ? "," : "") + std::to_string(values[i]);
    }
    out_ += "\n";
    out_.append(depth, '\t');
    out_ += "}";
  }

  std::string out_;
  bool bitPatternFloats_ = false;
};

}  // namespace

std::vector<uint8_t> encodeBinary(const RecordDocument& document, bool compressArrays) {
  return BinaryEncoder(document.version, compressArrays).run(document);
}

std::string encodeAscii(const RecordDocument& document) { return AsciiEncoder().run(document); }

}  // namespace fbx
