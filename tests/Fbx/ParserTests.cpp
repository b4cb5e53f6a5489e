// Record parsing: binary and ASCII encodings, header widths, and the error
// for each kind of malformed input.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <string>

#include "Fbx/Parse.h"
#include "Fbx/Writer.h"
#include "Fbx/WriterRecords.h"
#include "TestScene.h"

namespace fbx {
namespace {

using detail::record;

std::vector<uint8_t> binaryOf(std::vector<Record> top, uint32_t version = 7400) {
  RecordDocument doc;
  doc.version = version;
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
  std::vector<Property> props = {
      Property('Y', int64_t{-7}),      Property('C', int64_t{'T'}),
      Property('B', int64_t{1}),       Property('I', int64_t{-123456}),
      Property('F', 1.5),              Property('D', 2.25),
      Property('L', int64_t{1} << 40), Property('S', std::string("a\0b", 3)),
      Property('R', std::string("\x01\x02")),
      Property('f', std::vector<float>{1.5f, 2.5f}),
      Property('d', std::vector<double>(100, 0.125)),  // compressed: over 128 bytes
      Property('l', std::vector<int64_t>{-1, 2}),
      Property('i', std::vector<int32_t>(64, 7)),
      Property('b', std::vector<uint8_t>{1, 0, 1})};
  for (uint32_t version : {7400u, 7500u}) {
    const auto bytes = binaryOf({record("Everything", props)}, version);
    auto doc = parseRecords(bytes.data(), bytes.size(), "all.fbx");
    ASSERT_TRUE(doc.ok()) << doc.error();
    EXPECT_EQ(doc->version, version);
    const Record& r = doc->root.children.at(0);
    ASSERT_EQ(r.properties.size(), props.size());
    for (size_t i = 0; i < props.size(); ++i) {
      EXPECT_EQ(r.properties[i].type(), props[i].type()) << i;
      EXPECT_TRUE(r.properties[i].storage() == props[i].storage()) << "property " << i;
    }
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
      "Empty: {\n}\n"
      "Reals: *3 {\n  a: 1,2.5,3\n}\n"
      "Ints: *2 {\n a: 2147483647,-2147483648\n}\n"
      "Longs: *3 {\n a: 7,46186158000,-5\n}\n"
      "Widened: *4 {\n a: 1,46186158000,2.5,3\n}\n"
      "Hint: *1000000000 {\n a: 4\n}\n";
  const auto bytes = test::toBytes(text);
  auto doc = parseRecords(bytes.data(), bytes.size(), "a.fbx");
  ASSERT_TRUE(doc.ok()) << doc.error();
  EXPECT_EQ(doc->version, 7300u);
  const Record& v = doc->root.children.at(0);
  ASSERT_EQ(v.properties.size(), 6u);
  EXPECT_EQ(v.properties[0].toInt(), 12);
  EXPECT_DOUBLE_EQ(v.properties[1].toDouble(), -350);
  EXPECT_EQ(v.properties[2].toString(), "say \"hi\"");
  EXPECT_EQ(v.properties[3].toInt(), 'Y');
  EXPECT_TRUE(std::isinf(v.properties[4].toDouble()));
  EXPECT_TRUE(std::isnan(v.properties[5].toDouble()));
  EXPECT_EQ(doc->root.children.at(1).properties.at(0).toString(), "abc");
  EXPECT_TRUE(doc->root.children.at(2).properties.empty());
  const std::pair<char, std::vector<double>> arrays[] = {{'d', {1, 2.5, 3}},
                                                         {'i', {2147483647.0, -2147483648.0}},
                                                         {'l', {7, 46186158000.0, -5}},
                                                         {'d', {1, 46186158000.0, 2.5, 3}},
                                                         {'i', {4}}};
  for (size_t i = 0; i < std::size(arrays); ++i) {
    const Property& p = doc->root.children.at(3 + i).properties.at(0);
    EXPECT_EQ(p.type(), arrays[i].first) << doc->root.children[3 + i].name;
    EXPECT_EQ(p.toDoubles(), arrays[i].second) << doc->root.children[3 + i].name;
  }
}

// A caller that holds a file mapping drops the pages of every large array
// once the parser reports them read: the reported bytes must be the array's
// own, never a record header or text the parser still needs.
TEST(RecordParsing, LargeArraysAreReportedReadOnlyOverTheirOwnBytes) {
  std::vector<double> values(20000);
  for (size_t i = 0; i < values.size(); ++i) values[i] = 1000 * std::sin(static_cast<double>(i));  // compresses poorly
  RecordDocument doc;
  doc.root.children = {record("Big", {Property('d', values)}), record("After", {Property('I', int64_t{7})})};
  const std::string ascii = encodeAscii(doc);
  const std::vector<uint8_t> encodings[] = {encodeBinary(doc, false), encodeBinary(doc, true), test::toBytes(ascii)};
  for (const std::vector<uint8_t>& bytes : encodings) {
    std::vector<std::pair<size_t, size_t>> ranges;
    auto parsed = parseRecords(bytes.data(), bytes.size(), "big.fbx",
                               [&](size_t begin, size_t end) { ranges.emplace_back(begin, end); });
    ASSERT_TRUE(parsed.ok()) << parsed.error();
    const Record& big = parsed->root.children.at(0);
    const Record& after = parsed->root.children.at(1);
    EXPECT_EQ(big.properties.at(0).toDoubles(), values);
    EXPECT_EQ(after.properties.at(0).toInt(), 7);
    ASSERT_EQ(ranges.size(), 1u);
    const auto [begin, end] = ranges[0];
    EXPECT_GT(begin, big.offset);
    EXPECT_LE(end, after.offset);
    if (isBinaryFbx(bytes.data(), bytes.size())) continue;
    const std::string text(bytes.begin() + static_cast<std::ptrdiff_t>(begin), bytes.begin() + static_cast<std::ptrdiff_t>(end));
    EXPECT_EQ(text.find_first_not_of("0123456789.,-e \t\r\n"), std::string::npos);
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

TEST(RecordParsingErrors, BinaryLengthsAndEncodings) {
  const Record arrays = record("Arrays", {Property('i', std::vector<int32_t>{1, 2, 3, 4})});
  const Record packed = record("Packed", {Property('d', std::vector<double>(64, 1.0))});
  struct Case {
    const char* what;
    std::vector<Record> records;
    std::function<void(std::vector<uint8_t>&)> damage;
    const char* expected;
  };
  const Case cases[] = {
      {"array count past the end", {arrays},
       [](auto& b) { put32(b, find(b, "Arrays") + 7, 4000000000u); },
       "array length 4000000000 exceeds remaining"},
      {"array stored length past the end", {arrays},
       [](auto& b) { put32(b, find(b, "Arrays") + 15, 1000); },
       "array data length 1000 exceeds remaining"},
      {"unknown encoding", {arrays}, [](auto& b) { put32(b, find(b, "Arrays") + 11, 7); },
       "unknown array encoding 7"},
      {"corrupt zlib stream", {packed}, [](auto& b) { b[find(b, "Packed") + 6 + 13 + 2] ^= 0x55; },
       "compressed array"},
      {"inflated size disagrees", {packed}, [](auto& b) { put32(b, find(b, "Packed") + 7, 65); },
       "compressed array inflates to"},
      {"impossible compression ratio", {packed}, [](auto& b) { put32(b, find(b, "Packed") + 7, 0x7fffffff); },
       "is impossible for its"},
      {"unknown type code", {arrays}, [](auto& b) { b[find(b, "Arrays") + 6] = 'Q'; },
       "unknown property type code 0x51"},
      {"end offset past the file", {arrays}, [](auto& b) { put32(b, 27, 0x7fffffff); },
       "lies past the end"},
      {"property bytes beyond the record", {arrays}, [](auto& b) { put32(b, 35, 5000); },
       "property list length 5000 exceeds"},
  };
  for (const Case& c : cases) {
    auto bytes = binaryOf(c.records);
    c.damage(bytes);
    const std::string error = parseError(bytes);
    EXPECT_NE(error.find(c.expected), std::string::npos) << c.what << ": " << error;
    EXPECT_EQ(error.rfind("bad.fbx: offset ", 0), 0u) << error;
  }
}

TEST(RecordParsingErrors, NestingDeeperThanTheLimit) {
  Record inner = record("Leaf", {Property('I', int64_t{1})});
  for (int i = 0; i < kMaxRecordDepth + 2; ++i) inner = record("N", {}, {inner});
  EXPECT_NE(parseError(binaryOf({inner})).find("nested deeper than"), std::string::npos);
  std::string text;
  for (int i = 0; i < kMaxRecordDepth + 2; ++i) text += "N: {\n";
  EXPECT_NE(parseError(test::toBytes(text)).find("nested deeper than"), std::string::npos);
}

TEST(RecordParsingErrors, AsciiSyntax) {
  const std::pair<const char*, const char*> cases[] = {
      {"Name: \"open string\n", "unterminated string"},
      {"Outer: {\n Inner: 1\n", "missing '}'"},
      {"Name: 1,\n", "value expected"},
      {"}\n", "unexpected '}'"},
      {"Name: 1.2.3e\n", "malformed number"},
      {"\x01\x02\x03garbage", "expected a record name"},
      {"", "not an FBX file"},
  };
  for (const auto& [text, expected] : cases) {
    const std::string error = parseError(test::toBytes(text));
    EXPECT_NE(error.find(expected), std::string::npos) << text << " -> " << error;
  }
}

TEST(SceneLoadingErrors, OldVersionsAreRefusedNotMisread) {
  auto binary = writeMemory(*test::makeTestScene());
  put32(binary, 23, 6100);
  for (const auto& bytes : {binary, test::toBytes("; FBX 6.1.0 project file\nFBXHeaderExtension: {\n}\n")}) {
    SceneResult r = loadMemory(bytes.data(), bytes.size(), "old.fbx");
    ASSERT_FALSE(r.ok());
    EXPECT_NE(r.error().find("unsupported FBX version 6100"), std::string::npos) << r.error();
  }
}

TEST(SceneLoadingErrors, MissingFileNamesThePath) {
  SceneResult r = loadFile("/nonexistent/level.fbx");
  ASSERT_FALSE(r.ok());
  EXPECT_EQ(r.error(), "/nonexistent/level.fbx: cannot open file (No such file or directory)");
}

}  // namespace
}  // namespace fbx
