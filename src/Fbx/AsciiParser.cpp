// ASCII FBX record parser. A record is `Name: value, value, ... { children }`;
// 7.x arrays are written `Name: *N { a: v, v, ... }` and become one array
// property so that the tree matches the binary parser's.
#include <algorithm>
#include <charconv>
#include <cstring>
#include <limits>
#include <string_view>
#include <vector>

#include "Fbx/Parse.h"

namespace fbx {

namespace {

bool isNameChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
         c == '|' || c == '-' || c == '.';
}

bool isNumberStart(char c) { return (c >= '0' && c <= '9') || c == '-' || c == '+' || c == '.'; }

// The values of one ASCII array in the narrowest element type that holds
// them all: 32-bit integers (index arrays, half the memory), 64-bit integers
// (times) or reals. Widening copies what was read so far.
class NumberArray {
 public:
  // Makes room for `room` values at once.
  explicit NumberArray(size_t room) : room_(room) { narrow_.reserve(room); }

  void addInteger(int64_t v) {
    if (kind_ == Kind::Narrow && v >= INT32_MIN && v <= INT32_MAX) {
      narrow_.push_back(static_cast<int32_t>(v));
      return;
    }
    if (kind_ == Kind::Narrow) widenTo(Kind::Wide);
    if (kind_ == Kind::Wide) {
      wide_.push_back(v);
    } else {
      reals_.push_back(static_cast<double>(v));
    }
  }

  void addReal(double v) {
    if (kind_ != Kind::Real) widenTo(Kind::Real);
    reals_.push_back(v);
  }

  Property take() {
    switch (kind_) {
      case Kind::Narrow: return Property('i', std::move(narrow_));
      case Kind::Wide: return Property('l', std::move(wide_));
      default: return Property('d', std::move(reals_));
    }
  }

 private:
  enum class Kind { Narrow, Wide, Real };

  void widenTo(Kind kind) {
    if (kind == Kind::Wide) {
      wide_.reserve(std::max(room_, narrow_.size()));
      wide_.assign(narrow_.begin(), narrow_.end());
    } else {
      reals_.reserve(std::max(room_, narrow_.size() + wide_.size()));
      reals_.assign(narrow_.begin(), narrow_.end());
      reals_.insert(reals_.end(), wide_.begin(), wide_.end());
      wide_ = {};
    }
    narrow_ = {};
    kind_ = kind;
  }

  size_t room_;
  Kind kind_ = Kind::Narrow;
  std::vector<int32_t> narrow_;
  std::vector<int64_t> wide_;
  std::vector<double> reals_;
};

class AsciiParser {
 public:
  AsciiParser(const uint8_t* data, size_t size, const std::string& name, const ConsumedRange& consumed)
      : text_(reinterpret_cast<const char*>(data), size), name_(name), consumed_(consumed) {}

  Result<RecordDocument> run() {
    RecordDocument doc;
    doc.format = Format::Ascii;
    doc.fileName = name_;
    doc.version = headerVersion();
    if (!parseList(doc.root, 0)) return Result<RecordDocument>::failure(error_);
    if (doc.root.children.empty()) return fail(0, "not an FBX file: no binary header and no ASCII records");
    if (doc.version == 0) doc.version = versionFromHeaderRecord(doc.root);
    return doc;
  }

 private:
  Result<RecordDocument> fail(size_t offset, const std::string& what) {
    setError(offset, what);
    return Result<RecordDocument>::failure(error_);
  }

  bool setError(size_t offset, const std::string& what) {
    if (error_.empty()) error_ = name_ + ": offset " + std::to_string(offset) + ": " + what;
    return false;
  }

  // "; FBX 7.4.0 project file" on the first line gives 7400.
  uint32_t headerVersion() const {
    const std::string_view prefix = "; FBX ";
    if (text_.substr(0, prefix.size()) != prefix) return 0;
    uint32_t version = 0;
    uint32_t scale = 1000;
    for (size_t i = prefix.size(); i < text_.size() && scale > 0; ++i) {
      const char c = text_[i];
      if (c >= '0' && c <= '9') {
        version += static_cast<uint32_t>(c - '0') * scale;
        scale /= 10;
      } else if (c != '.') {
        break;
      }
    }
    return version;
  }

  static uint32_t versionFromHeaderRecord(const Record& root) {
    const Record* header = root.child("FBXHeaderExtension");
    const Property* version = header ? header->childValue("FBXVersion") : nullptr;
    const int64_t v = version ? version->toInt() : 0;
    return v > 0 && v < 100000 ? static_cast<uint32_t>(v) : 0;
  }

  void skipSpace() {
    while (pos_ < text_.size()) {
      const char c = text_[pos_];
      if (c == ';') {
        while (pos_ < text_.size() && text_[pos_] != '\n') ++pos_;
      } else if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
        ++pos_;
      } else {
        return;
      }
    }
  }

  bool atEnd() {
    skipSpace();
    return pos_ >= text_.size();
  }

  char peek() { return atEnd() ? '\0' : text_[pos_]; }

  // Records until '}' (inside a block) or the end of the text (top level).
  bool parseList(Record& parent, int depth) {
    if (depth > kMaxRecordDepth) {
      return setError(pos_, "records nested deeper than " + std::to_string(kMaxRecordDepth) + " levels");
    }
    while (!atEnd()) {
      if (text_[pos_] == '}') {
        if (depth == 0) return setError(pos_, "unexpected '}' at top level");
        ++pos_;
        return true;
      }
      parent.children.emplace_back();
      if (!parseRecord(parent.children.back(), depth, announcedLength(parent))) return false;
    }
    if (depth > 0) return setError(pos_, "file truncated: missing '}' of record '" + std::string(parent.name) + "'");
    return true;
  }

  // The element count `*N` of an array record, or 0.
  static size_t announcedLength(const Record& record) {
    if (record.properties.size() != 1 || record.properties[0].type() != '*') return 0;
    return static_cast<size_t>(std::max<int64_t>(record.properties[0].toInt(), 0));
  }

  // `arrayLength`: the count announced by the enclosing array record, if any.
  bool parseRecord(Record& record, int depth, size_t arrayLength) {
    record.offset = pos_;
    const size_t nameStart = pos_;
    while (pos_ < text_.size() && isNameChar(text_[pos_])) ++pos_;
    if (pos_ == nameStart || pos_ >= text_.size() || text_[pos_] != ':') {
      return setError(nameStart, "expected a record name followed by ':'");
    }
    record.name.assign(text_.substr(nameStart, pos_ - nameStart));
    ++pos_;
    if (record.name == "a" && depth > 0) {
      if (!parseNumberArray(record, arrayLength)) return false;
    } else if (!parseValues(record)) {
      return false;
    }
    if (peek() == '{') {
      ++pos_;
      if (!parseList(record, depth + 1)) return false;
      foldArray(record);
    }
    return true;
  }

  // True when the text at the cursor is `identifier:` (the next record).
  bool atRecordName() {
    size_t p = pos_;
    while (p < text_.size() && isNameChar(text_[p])) ++p;
    return p > pos_ && p < text_.size() && text_[p] == ':';
  }

  bool parseValues(Record& record) {
    skipSpace();
    if (peek() == ',') ++pos_;  // "Content: , "..."": a leading comma
    if (atEnd() || peek() == '{' || peek() == '}' || atRecordName()) return true;
    while (true) {
      record.properties.emplace_back();
      if (!parseValue(record.properties.back())) return false;
      if (peek() != ',') return true;
      ++pos_;
      skipSpace();
    }
  }

  bool parseValue(Property& property) {
    skipSpace();
    const size_t start = pos_;
    if (pos_ >= text_.size()) return setError(pos_, "file truncated: value expected");
    const char c = text_[pos_];
    if (c == '"') return parseString(property);
    if (c == '*') {
      ++pos_;
      int64_t count = 0;
      if (!parseInteger(count)) return setError(start, "bad array length after '*'");
      property = Property('*', count);
      return true;
    }
    if (isNumberStart(c)) return parseNumber(property);
    while (pos_ < text_.size() && isNameChar(text_[pos_])) ++pos_;
    if (pos_ == start) return setError(start, std::string("unexpected character '") + c + "'");
    const std::string_view word = text_.substr(start, pos_ - start);
    property = word.size() == 1 ? Property('C', int64_t{static_cast<unsigned char>(word[0])})
                                : Property('S', word);
    return true;
  }

  bool parseString(Property& property) {
    const size_t start = pos_++;
    const size_t close = text_.find('"', pos_);
    if (close == std::string_view::npos) return setError(start, "unterminated string");
    std::string value(text_.substr(pos_, close - pos_));
    for (size_t at = value.find("&quot;"); at != std::string::npos; at = value.find("&quot;", at + 1)) {
      value.replace(at, 6, "\"");
    }
    pos_ = close + 1;
    property = Property('S', value);
    return true;
  }

  bool parseInteger(int64_t& out) {
    const char* first = text_.data() + pos_;
    const auto [ptr, ec] = std::from_chars(first, text_.data() + text_.size(), out);
    if (ec != std::errc() || ptr == first) return false;
    pos_ += static_cast<size_t>(ptr - first);
    return true;
  }

  // A number token: integer, real, or a special spelling such as 1.#INF.
  // Sets isInteger accordingly.
  bool scanNumber(int64_t& integer, double& real, bool& isInteger) {
    const size_t start = pos_;
    size_t end = pos_;
    bool hasRealPart = false;
    while (end < text_.size()) {
      const char c = text_[end];
      if ((c >= '0' && c <= '9') || c == '-' || c == '+') {
        ++end;
      } else if (c == '.' || c == 'e' || c == 'E' || c == '#' || (c >= 'A' && c <= 'Z')) {
        hasRealPart = true;
        ++end;
      } else {
        break;
      }
    }
    const std::string_view token = text_.substr(start, end - start);
    pos_ = end;
    isInteger = !hasRealPart;
    if (isInteger) {
      const char* first = token.data() + (token[0] == '+' ? 1 : 0);
      const auto [ptr, ec] = std::from_chars(first, token.data() + token.size(), integer);
      if (ec == std::errc() && ptr == token.data() + token.size()) return true;
      isInteger = false;  // out of int64 range: keep it as a real
    }
    const size_t hash = token.find('#');
    if (hash != std::string_view::npos) {
      const std::string_view kind = token.substr(hash + 1);
      const bool negative = token[0] == '-';
      if (kind.substr(0, 3) == "INF") {
        real = negative ? -std::numeric_limits<double>::infinity() : std::numeric_limits<double>::infinity();
      } else {
        real = std::numeric_limits<double>::quiet_NaN();
      }
      return true;
    }
    const char* first = token.data() + (!token.empty() && token[0] == '+' ? 1 : 0);
    const auto [ptr, ec] = std::from_chars(first, token.data() + token.size(), real);
    if (ec == std::errc::result_out_of_range) {
      real = token[0] == '-' ? -std::numeric_limits<double>::infinity() : std::numeric_limits<double>::infinity();
      return true;
    }
    return ec == std::errc() && ptr == token.data() + token.size();
  }

  bool parseNumber(Property& property) {
    const size_t start = pos_;
    int64_t integer = 0;
    double real = 0;
    bool isInteger = false;
    if (!scanNumber(integer, real, isInteger)) return setError(start, "malformed number");
    property = isInteger ? Property('L', integer) : Property('D', real);
    return true;
  }

  // The `a:` record of a 7.x array: numbers straight into one vector, kept
  // as 32-bit integers while they fit, then as 64-bit integers, and as reals
  // from the first real value on. Room for the announced count is made at
  // once, as far as the remaining text can hold that many numbers.
  bool parseNumberArray(Record& record, size_t announced) {
    const size_t room = std::min(announced, (text_.size() - pos_ + 1) / 2);
    const size_t textStart = pos_;
    NumberArray values(room);
    skipSpace();
    while (pos_ < text_.size() && isNumberStart(text_[pos_])) {
      const size_t start = pos_;
      int64_t integer = 0;
      double real = 0;
      bool isInteger = false;
      if (!scanNumber(integer, real, isInteger)) return setError(start, "malformed number in array");
      if (isInteger) {
        values.addInteger(integer);
      } else {
        values.addReal(real);
      }
      if (peek() != ',') break;
      ++pos_;
      skipSpace();
    }
    record.properties.push_back(values.take());
    // The array's text is not read again: a caller holding a file mapping
    // may drop those pages, so that the text and the numbers are not both
    // resident.
    if (consumed_ && pos_ - textStart >= kReleaseAtLeast) consumed_(textStart, pos_);
    return true;
  }

  // `Name: *N { a: ... }` becomes `Name` with the array as its one property.
  static void foldArray(Record& record) {
    if (record.properties.size() != 1 || record.properties[0].type() != '*') return;
    if (record.children.size() == 1 && record.children[0].name == "a" &&
        record.children[0].properties.size() == 1) {
      Property values = std::move(record.children[0].properties[0]);
      record.properties[0] = std::move(values);
      record.children.clear();
    } else if (record.children.empty()) {
      record.properties[0] = Property('d', std::vector<double>{});
    }
  }

  std::string_view text_;
  const std::string& name_;
  const ConsumedRange& consumed_;
  size_t pos_ = 0;
  std::string error_;
};

}  // namespace

Result<RecordDocument> parseAsciiRecords(const uint8_t* data, size_t size, const std::string& name,
                                         const ConsumedRange& consumed) {
  return AsciiParser(data, size, name, consumed).run();
}

}  // namespace fbx
