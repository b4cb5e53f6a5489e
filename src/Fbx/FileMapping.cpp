#include "Fbx/FileMapping.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace fbx::detail {

FileMapping::~FileMapping() {
  if (data_ && size_ > 0) munmap(const_cast<uint8_t*>(data_), size_);
}

std::string FileMapping::open(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return path + ": cannot open file (" + std::strerror(errno) + ")";
  struct stat info {};
  if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(fd);
    return path + ": not a regular file";
  }
  size_ = static_cast<size_t>(info.st_size);
  if (size_ == 0) {
    ::close(fd);
    static const uint8_t kEmpty = 0;
    data_ = &kEmpty;
    return {};
  }
  void* mapped = mmap(nullptr, size_, PROT_READ, MAP_PRIVATE, fd, 0);
  ::close(fd);
  if (mapped == MAP_FAILED) {
    size_ = 0;
    return path + ": cannot map file (" + std::strerror(errno) + ")";
  }
  data_ = static_cast<const uint8_t*>(mapped);
  madvise(mapped, size_, MADV_SEQUENTIAL);
  return {};
}

void FileMapping::release(size_t begin, size_t end) const {
  const size_t page = static_cast<size_t>(sysconf(_SC_PAGESIZE));
  const size_t first = (begin + page - 1) / page * page;
  const size_t last = end / page * page;
  if (size_ > 0 && first < last && last <= size_) {
    madvise(const_cast<uint8_t*>(data_) + first, last - first, MADV_DONTNEED);
  }
}

}  // namespace fbx::detail
