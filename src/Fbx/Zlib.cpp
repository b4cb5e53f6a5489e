#include "Fbx/Zlib.h"

#include <zlib.h>

#include <limits>

namespace fbx::detail {

std::string inflateExact(const uint8_t* data, size_t size, uint8_t* out, size_t expectedSize) {
  if (size > std::numeric_limits<uInt>::max() || expectedSize > std::numeric_limits<uInt>::max()) {
    return "compressed array too large";
  }
  z_stream stream{};
  if (inflateInit(&stream) != Z_OK) return "zlib initialisation failed";
  stream.next_in = const_cast<Bytef*>(data);
  stream.avail_in = static_cast<uInt>(size);
  stream.next_out = out;
  stream.avail_out = static_cast<uInt>(expectedSize);
  const int status = inflate(&stream, Z_FINISH);
  const size_t produced = expectedSize - stream.avail_out;
  inflateEnd(&stream);
  if (status == Z_STREAM_END) {
    if (produced != expectedSize) {
      return "compressed array inflates to " + std::to_string(produced) + " bytes, expected " +
             std::to_string(expectedSize);
    }
    return {};
  }
  if (status == Z_BUF_ERROR && stream.avail_out == 0) {
    return "compressed array inflates to more than the expected " + std::to_string(expectedSize) +
           " bytes";
  }
  if (status == Z_BUF_ERROR) return "compressed array data is truncated";
  return std::string("bad compressed array data (") + (stream.msg ? stream.msg : "zlib error") + ")";
}

std::vector<uint8_t> deflateBytes(const uint8_t* data, size_t size) {
  uLongf bound = compressBound(static_cast<uLong>(size));
  std::vector<uint8_t> out(bound);
  if (compress2(out.data(), &bound, data, static_cast<uLong>(size), Z_DEFAULT_COMPRESSION) != Z_OK) {
    return {};
  }
  out.resize(bound);
  return out;
}

}  // namespace fbx::detail
