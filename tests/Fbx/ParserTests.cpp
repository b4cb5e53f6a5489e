// Record parsing: binary and ASCII encodings, header widths, and the error
// for each kind of malformed input.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

#include "Fbx/Parse.h"
#include "Fbx/Writer.h"
#include "Fbx/WriterRecords.h"
#include "TestScene.h"

namespace fbx {
namespace {

using detail::record;

std::vector<uint8_t> binaryOf(std::vector<Record> top) {
  RecordDocument doc;
  doc.root.children.assign(std::make_move_iterator(top.begin()), std::make_move_iterator(top.end()));
  return encodeBinary(doc);
}

size_t find(const std::vector<uint8_t>& bytes, const std::string& needle) {
  auto it = std::search(bytes.begin(), bytes.end(), needle.begin(), needle.end());
  return static_cast<size_t>(it - bytes.begin());
}

void put32(std::vector<uint8_t>& bytes, size_t at, uint32_t v) { std::memcpy(&bytes[at], &v, 4); }

std::string parseError(const std::vector<uint8_t>& bytes) {
  Result<RecordDocument> r = parseRecords(bytes.data(), bytes.size(), "bad.fbx");
  EXPECT_FALSE(r.ok());
  return r.ok() ? "" : r.error();
}

TEST(RecordParsing, BinaryKeepsEveryPropertyType) {
  // The scene writer emits the other types; the double array is long enough to be written compressed.
  std::vector<Property> props = {Property('Y', int64_t{-7}), Property('B', int64_t{1}), Property('F', 1.5),
                                 Property('S', std::string("a\0b", 3)), Property('d', std::vector<double>(100, 0.125)),
                                 Property('b', std::vector<uint8_t>{1, 0, 1})};
  const auto bytes = binaryOf({record("Everything", props)});
  auto doc = parseRecords(bytes.data(), bytes.size(), "all.fbx");
  ASSERT_TRUE(doc.ok()) << doc.error();
  const Record& r = doc->root.children.at(0);
  ASSERT_EQ(r.properties.size(), props.size());
  for (size_t i = 0; i < props.size(); ++i) {
    EXPECT_EQ(r.properties[i].type(), props[i].type()) << i;
    EXPECT_TRUE(r.properties[i].storage() == props[i].storage()) << "property " << i;
  }
}

// Integer arrays stay 32-bit while every value fits and widen on the first
// value that does not; an announced count beyond what the text can hold is
// only a hint.
TEST(RecordParsing, AsciiValueSpellingsAndArrayTypes) {
  const std::string text =
      "; FBX 7.3.0 project file\n"
      "Values: 12, -3.5e2, \"say &quot;hi&quot;\", Y, 1.#INF, -1.#IND ; comment\n"
      "Content: , \"abc\"\n"
      "Reals: *3 {\n  a: 1,2.5,3\n}\n"
      "Ints: *2 {\n a: 2147483647,-2147483648\n}\n"
      "Longs: *3 {\n a: 7,46186158000,-5\n}\n"
      "Widened: *4 {\n a: 1,46186158000,2.5,3\n}\n"
      "Hint: *1000000000 {\n a: 4\n}\n";
  const auto bytes = test::toBytes(text);
  auto doc = parseRecords(bytes.data(), bytes.size(), "a.fbx");
  ASSERT_TRUE(doc.ok()) << doc.error();
  const Record& v = doc->root.children.at(0);
  ASSERT_EQ(v.properties.size(), 6u);
  EXPECT_EQ(v.properties[0].toInt(), 12);
  EXPECT_DOUBLE_EQ(v.properties[1].toDouble(), -350);
  EXPECT_EQ(v.properties[2].toString(), "say \"hi\"");
  EXPECT_EQ(v.properties[3].toInt(), 'Y');
  EXPECT_TRUE(std::isinf(v.properties[4].toDouble()));
  EXPECT_TRUE(std::isnan(v.properties[5].toDouble()));
  EXPECT_EQ(doc->root.children.at(1).properties.at(0).toString(), "abc");
  const std::pair<char, std::vector<double>> arrays[] = {
      {'d', {1, 2.5, 3}}, {'i', {2147483647.0, -2147483648.0}}, {'l', {7, 46186158000.0, -5}},
      {'d', {1, 46186158000.0, 2.5, 3}}, {'i', {4}}};
  for (size_t i = 0; i < std::size(arrays); ++i) {
    const Record& array = doc->root.children.at(2 + i);
    EXPECT_EQ(array.properties.at(0).type(), arrays[i].first) << array.name;
    EXPECT_EQ(array.properties.at(0).toDoubles(), arrays[i].second) << array.name;
  }
}

void collectOffsets(const Record& r, std::vector<size_t>& out) {
  for (const Record& c : r.children) {
    out.push_back(c.offset);
    collectOffsets(c, out);
  }
}

// Every cut is an error naming the file and offset; no flipped byte crashes.
TEST(RecordParsing, TruncatedAndFlippedCopiesOfAWrittenScene) {
  const auto scene = test::makeTestScene();
  for (uint32_t version : {7400u, 7500u}) {
    WriteOptions options;
    options.version = version;
    const auto bytes = writeMemory(*scene, options);
    const auto whole = parseRecords(bytes.data(), bytes.size(), "whole.fbx");
    ASSERT_TRUE(whole.ok()) << whole.error();
    std::vector<size_t> cuts;
    collectOffsets(whole->root, cuts);  // every record start (and so every previous record's end)
    const size_t footer = 176;          // at most: id 16, zeros 4, padding 16, version 4, zeros 120, magic 16
    for (size_t cut = 0; cut + footer < bytes.size(); cut += 7) cuts.push_back(cut);
    for (size_t cut : cuts) {
      for (size_t length : {cut, cut + 1}) {
        auto r = parseRecords(bytes.data(), length, "cut.fbx");
        ASSERT_FALSE(r.ok()) << "cut at " << length << " of " << bytes.size();
        EXPECT_EQ(r.error().rfind("cut.fbx: offset ", 0), 0u) << r.error();
      }
    }
    for (size_t at = 27; at < bytes.size(); at += 3) {
      auto copy = bytes;
      copy[at] ^= 0xff;
      SceneResult r = loadMemory(copy.data(), copy.size(), "flip.fbx");
      EXPECT_TRUE(r.ok() || r.error().rfind("flip.fbx: ", 0) == 0) << r.error();
    }
  }
}

// Every binary case damages one copy of the same two records: an int array,
// then a compressed double array. Then records nested too deep, in binary and
// ASCII, and ASCII syntax errors.
TEST(RecordParsingErrors, BinaryLengthsAndEncodingsAndAsciiSyntax) {
  using Damage = void (*)(std::vector<uint8_t>&);
  const std::pair<Damage, const char*> cases[] = {
      {[](auto& b) { put32(b, find(b, "Arrays") + 7, 4000000000u); }, "array length 4000000000 exceeds remaining"},
      {[](auto& b) { put32(b, find(b, "Arrays") + 15, 1000); }, "array data length 1000 exceeds remaining"},
      {[](auto& b) { put32(b, find(b, "Arrays") + 11, 7); }, "unknown array encoding 7"},
      {[](auto& b) { b[find(b, "Packed") + 6 + 13 + 2] ^= 0x55; }, "compressed array"},
      {[](auto& b) { put32(b, find(b, "Packed") + 7, 65); }, "compressed array inflates to"},
      {[](auto& b) { put32(b, find(b, "Packed") + 7, 0x7fffffff); }, "is impossible for its"},
      {[](auto& b) { b[find(b, "Arrays") + 6] = 'Q'; }, "unknown property type code 0x51"},
      {[](auto& b) { put32(b, 27, 0x7fffffff); }, "lies past the end"},
      {[](auto& b) { put32(b, 35, 5000); }, "property list length 5000 exceeds"},
  };
  for (const auto& [damage, expected] : cases) {
    auto bytes = binaryOf({record("Arrays", {Property('i', std::vector<int32_t>{1, 2, 3, 4})}),
                           record("Packed", {Property('d', std::vector<double>(64, 1.0))})});
    damage(bytes);
    const std::string error = parseError(bytes);
    EXPECT_NE(error.find(expected), std::string::npos) << error;
    EXPECT_EQ(error.rfind("bad.fbx: offset ", 0), 0u) << error;
  }
  Record inner = record("Leaf", {Property('I', int64_t{1})});
  for (int i = 0; i < kMaxRecordDepth + 2; ++i) inner = record("N", {}, {inner});
  EXPECT_NE(parseError(binaryOf({inner})).find("nested deeper than"), std::string::npos);

  std::string tooDeep;
  for (int i = 0; i < kMaxRecordDepth + 2; ++i) tooDeep += "N: {\n";
  const std::pair<std::string, const char*> asciiCases[] = {
      {"Name: \"open string\n", "unterminated string"},
      {"Outer: {\n Inner: 1\n", "missing '}'"},
      {"Name: 1,\n", "value expected"},
      {"}\n", "unexpected '}'"},
      {"Name: 1.2.3e\n", "malformed number"},
      {"\x01\x02\x03garbage", "expected a record name"},
      {"", "not an FBX file"},
      {tooDeep, "nested deeper than"},
  };
  for (const auto& [text, expected] : asciiCases) {
    const std::string error = parseError(test::toBytes(text));
    EXPECT_NE(error.find(expected), std::string::npos) << text << " -> " << error;
  }
}

// Compressed arrays are inflated once the file is parsed, large files' on two
// threads: the error is still the first damaged array's, ahead of a later
// damaged one and of a fault further on where the parse stopped.
TEST(RecordParsingErrors, TheFirstDamagedCompressedArrayIsTheError) {
  std::vector<double> values(40000);
  for (size_t i = 0; i < values.size(); ++i) values[i] = static_cast<double>(i % 977) * 0.5;
  auto bytes = binaryOf({record("BigOne", {Property('d', values)}), record("BadOne", {Property('d', values)}),
                         record("BigTwo", {Property('d', values)}), record("BadTwo", {Property('d', values)}),
                         record("Tail", {Property('I', int64_t{1})})});
  for (const char* name : {"BadOne", "BadTwo"}) bytes[find(bytes, name) + 6 + 13 + 2] ^= 0x55;
  put32(bytes, find(bytes, "Tail") - 13, 0x7fffffff);
  const std::string error = parseError(bytes);
  EXPECT_EQ(error.rfind("bad.fbx: offset " + std::to_string(find(bytes, "BadOne") + 7) + ": ", 0), 0u) << error;
  EXPECT_NE(error.find("compressed array"), std::string::npos) << error;
}

TEST(SceneLoadingErrors, OldVersionsAreRefusedAndAMissingFileIsNamed) {
  auto binary = writeMemory(*test::makeTestScene());
  put32(binary, 23, 6100);
  for (const auto& bytes : {binary, test::toBytes("; FBX 6.1.0 project file\nFBXHeaderExtension: {\n}\n")}) {
    SceneResult r = loadMemory(bytes.data(), bytes.size(), "old.fbx");
    ASSERT_FALSE(r.ok());
    EXPECT_NE(r.error().find("unsupported FBX version 6100"), std::string::npos) << r.error();
  }
  EXPECT_EQ(loadFile("/nonexistent/level.fbx").error(), "/nonexistent/level.fbx: cannot open file (No such file or directory)");
}

}  // namespace
}  // namespace fbx
