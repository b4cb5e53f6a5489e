// Read-only memory mapping of a whole file (internal). Loading maps the file
// instead of copying it, and gives back the pages of array payloads once they
// have been copied out, so a large load holds little more than its result.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace fbx::detail {

class FileMapping {
 public:
  FileMapping() = default;
  FileMapping(const FileMapping&) = delete;
  FileMapping& operator=(const FileMapping&) = delete;
  ~FileMapping();

  // Maps `path`; returns an empty string or "path: what went wrong".
  std::string open(const std::string& path);
  const uint8_t* data() const { return data_; }
  size_t size() const { return size_; }
  // Drops the whole pages inside [begin, end) from memory; they are not
  // read again.
  void release(size_t begin, size_t end) const;

 private:
  const uint8_t* data_ = nullptr;
  size_t size_ = 0;
};

}  // namespace fbx::detail
