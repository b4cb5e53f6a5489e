// The low-level record tree shared by the binary and ASCII parsers: every FBX
// file is a tree of named records, each with a list of typed property values
// and child records. The scene model is built from this tree.
#pragma once

#include <cstdint>
#include <memory>
#include <memory_resource>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace fbx {

enum class Format { Binary, Ascii };

// One property value. The type code is the binary one ('Y','C','B','I','F',
// 'D','L','S','R','f','d','l','i','b','c'); ASCII values use 'L' for
// integers, 'D' for reals, 'S' for strings, 'C' for bare words and 'l'/'d'
// for arrays.
class Property {
 public:
  using Storage = std::variant<int64_t, double, std::pmr::string, std::vector<int32_t>,
                               std::vector<int64_t>, std::vector<float>, std::vector<double>,
                               std::vector<uint8_t>>;

  Property() : type_('L'), value_(int64_t{0}) {}
  Property(char type, Storage value) : type_(type), value_(std::move(value)) {}
  // A string value; parsers place its bytes in their document's arena.
  Property(char type, std::string_view text, std::pmr::memory_resource* memory = std::pmr::get_default_resource())
      : type_(type), value_(std::in_place_type<std::pmr::string>, text, memory) {}

  char type() const { return type_; }
  bool isArray() const { return type_ >= 'a' && type_ <= 'z'; }
  bool isString() const { return type_ == 'S' || type_ == 'R'; }
  bool isNumber() const { return !isArray() && !isString(); }

  // Scalar conversions; a string or an array converts to 0.
  int64_t toInt() const;
  double toDouble() const;
  // String content; a non-string gives an empty string.
  std::string_view toString() const;

  // Number of array elements (1 for a scalar number, 0 for a string).
  size_t arraySize() const;
  // Converting array copies (any numeric array, or a scalar as one element).
  std::vector<double> toDoubles() const;
  std::vector<float> toFloats() const;
  std::vector<int32_t> toInt32s() const;
  std::vector<int64_t> toInt64s() const;

  // Moves the content out when it already has the asked-for element type,
  // otherwise converts. The property is left empty.
  std::vector<double> takeDoubles();
  std::vector<int32_t> takeInt32s();

  const Storage& storage() const { return value_; }

 private:
  char type_;
  Storage value_;
};

// The name, property and child lists of a parsed record come from its
// document's arena (see RecordDocument::memory); records built in code use
// the heap.
struct Record {
  Record() = default;
  explicit Record(std::pmr::memory_resource* memory) : name(memory), properties(memory), children(memory) {}

  std::pmr::string name;
  std::pmr::vector<Property> properties;
  std::pmr::vector<Record> children;
  uint64_t offset = 0;  // byte offset of the record in its file

  const Record* child(std::string_view childName) const;
  Record* child(std::string_view childName);
  // The first property of the named child, or nullptr.
  const Property* childValue(std::string_view childName) const;
  const Property* property(size_t index) const {
    return index < properties.size() ? &properties[index] : nullptr;
  }
};

// A parsed file: its encoding, its version (7400 = 7.4) and its top-level
// records as the children of an unnamed root.
struct RecordDocument {
  RecordDocument() = default;
  RecordDocument(RecordDocument&&) = default;
  RecordDocument& operator=(RecordDocument&&) = default;
  // A tree that lives in the arena is not destroyed record by record: only
  // its array vectors own heap memory; they are freed, and the arena then
  // releases everything else at once. (So whatever is added to a parsed
  // tree must come from `memory` too, or be an array.)
  ~RecordDocument();

  Format format = Format::Binary;
  uint32_t version = 0;
  std::string fileName;
  // Bump arena for the record lists of a parsed file: tens of thousands of
  // small lists are carved from a few blocks and freed with the document.
  // Declared before `root` so that it outlives the records.
  std::unique_ptr<std::pmr::monotonic_buffer_resource> memory;
  Record root;
};

}  // namespace fbx
