#include "TextureImages.h"

#include <FreeImage.h>

#include <algorithm>
#include <cmath>

namespace assetgen {
namespace {

uint8_t toByte(double x) { return static_cast<uint8_t>(std::lround(std::clamp(x, 0.0, 1.0) * 255.0)); }

bool endsWith(const std::string& s, const char* suffix) {
  const std::string tail(suffix);
  return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

}  // namespace

Image renderAlbedo(TexelRecipe recipe, int size, std::vector<double>& heights) {
  Image image{size, size, std::vector<uint8_t>(static_cast<size_t>(size) * size * 3)};
  heights.assign(static_cast<size_t>(size) * size, 0.0);
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      const Texel t = recipe((x + 0.5) / size, (y + 0.5) / size);
      const size_t i = static_cast<size_t>(y) * size + x;
      image.rgb[i * 3 + 0] = toByte(t.r);
      image.rgb[i * 3 + 1] = toByte(t.g);
      image.rgb[i * 3 + 2] = toByte(t.b);
      heights[i] = t.height;
    }
  }
  return image;
}

Image normalMapFromHeights(const std::vector<double>& heights, int size, double strength, bool wrap) {
  Image image{size, size, std::vector<uint8_t>(static_cast<size_t>(size) * size * 3)};
  auto at = [&](int x, int y) {
    if (wrap) {
      x = (x % size + size) % size;
      y = (y % size + size) % size;
    } else {
      x = std::clamp(x, 0, size - 1);
      y = std::clamp(y, 0, size - 1);
    }
    return heights[static_cast<size_t>(y) * size + x];
  };
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      const double dx = (at(x + 1, y) - at(x - 1, y)) * 0.5 * strength;
      const double dy = (at(x, y + 1) - at(x, y - 1)) * 0.5 * strength;
      const double length = std::sqrt(dx * dx + dy * dy + 1.0);
      const size_t i = (static_cast<size_t>(y) * size + x) * 3;
      image.rgb[i + 0] = toByte((-dx / length + 1) * 0.5);
      image.rgb[i + 1] = toByte((-dy / length + 1) * 0.5);
      image.rgb[i + 2] = toByte((1 / length + 1) * 0.5);
    }
  }
  return image;
}

RenderedSurface renderSurface(const SurfaceInfo& info, int size) {
  std::vector<double> heights;
  RenderedSurface out;
  out.diffuse = renderAlbedo(info.recipe, size, heights);
  out.normalMap = normalMapFromHeights(heights, size, info.bumpStrength, info.tiles);
  return out;
}

bool writeImage(const Image& image, const std::string& path, std::string& error) {
  FREE_IMAGE_FORMAT format = FIF_UNKNOWN;
  int flags = 0;
  if (endsWith(path, ".png")) {
    format = FIF_PNG;
    flags = PNG_DEFAULT;
  } else if (endsWith(path, ".jpg")) {
    format = FIF_JPEG;
    flags = JPEG_QUALITYGOOD;
  } else if (endsWith(path, ".tga")) {
    format = FIF_TARGA;
    flags = TARGA_DEFAULT;
  } else {
    error = path + ": unsupported image file extension";
    return false;
  }
  if (image.width <= 0 || image.height <= 0 ||
      image.rgb.size() != static_cast<size_t>(image.width) * image.height * 3) {
    error = path + ": image has no pixels";
    return false;
  }
  FIBITMAP* bitmap = FreeImage_Allocate(image.width, image.height, 24);
  if (!bitmap) {
    error = path + ": cannot allocate a " + std::to_string(image.width) + "x" + std::to_string(image.height) + " bitmap";
    return false;
  }
  for (int y = 0; y < image.height; ++y) {
    BYTE* line = FreeImage_GetScanLine(bitmap, y);
    const uint8_t* source = image.rgb.data() + static_cast<size_t>(y) * image.width * 3;
    for (int x = 0; x < image.width; ++x) {
      line[x * 3 + FI_RGBA_RED] = source[x * 3 + 0];
      line[x * 3 + FI_RGBA_GREEN] = source[x * 3 + 1];
      line[x * 3 + FI_RGBA_BLUE] = source[x * 3 + 2];
    }
  }
  const bool saved = FreeImage_Save(format, bitmap, path.c_str(), flags) != 0;
  FreeImage_Unload(bitmap);
  if (!saved) error = path + ": cannot write image file";
  return saved;
}

bool writeSurfaceTextures(const std::string& folder, std::vector<std::string>& written, std::string& error) {
  for (const SurfaceInfo& info : allSurfaces()) {
    const RenderedSurface rendered = renderSurface(info);
    const std::string diffusePath = folder + "/" + info.diffuseFile;
    const std::string normalPath = folder + "/" + info.normalFile;
    if (!writeImage(rendered.diffuse, diffusePath, error) || !writeImage(rendered.normalMap, normalPath, error)) {
      return false;
    }
    written.push_back(diffusePath);
    written.push_back(normalPath);
  }
  return true;
}

}  // namespace assetgen
