// Parsing FBX bytes into the record tree. Binary files (versions 7100..7700,
// 32-bit record headers below 7500, 64-bit from 7500) and ASCII 7.x files give
// the same tree. Every length in the file is checked before it is used; bad
// input gives an error "name: offset N: problem", never a crash.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "Fbx/Records.h"
#include "Fbx/Result.h"

namespace fbx {

// Limits that bound what hostile input can make the parser do.
inline constexpr int kMaxRecordDepth = 64;
// Largest array the parser allocates, in bytes after inflating.
inline constexpr uint64_t kMaxArrayBytes = uint64_t{1} << 31;
// Deflate cannot expand more than about 1032:1; a larger claim is a lie.
inline constexpr uint64_t kMaxInflateRatio = 1032;

// Told the byte ranges of large array payloads once they are copied out, so
// that a caller holding a file mapping can drop those pages early.
using ConsumedRange = std::function<void(size_t begin, size_t end)>;
inline constexpr size_t kReleaseAtLeast = 1 << 16;  // smaller arrays are not reported

bool isBinaryFbx(const uint8_t* data, size_t size);

Result<RecordDocument> parseRecords(const uint8_t* data, size_t size, const std::string& name,
                                    const ConsumedRange& consumed = {});
Result<RecordDocument> parseBinaryRecords(const uint8_t* data, size_t size, const std::string& name,
                                          const ConsumedRange& consumed = {});
Result<RecordDocument> parseAsciiRecords(const uint8_t* data, size_t size, const std::string& name,
                                         const ConsumedRange& consumed = {});

}  // namespace fbx
