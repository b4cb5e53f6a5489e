// Rendering the surface recipes into 8-bit RGB images and writing them with
// FreeImage in the format that the file name's extension names.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Surfaces.h"

namespace assetgen {

inline constexpr int kTextureSize = 512;  // pixels along each side

// 8-bit RGB pixels; row 0 is v = 0, which is FreeImage's bottom scanline.
struct Image {
  int width = 0, height = 0;
  std::vector<uint8_t> rgb;  // 3 bytes per pixel, rows one after another
};

struct RenderedSurface {
  Image diffuse;
  Image normalMap;
};

// Renders the albedo of `recipe` at size × size pixels and returns the
// relief heights (one per pixel, same order) in `heights`.
Image renderAlbedo(TexelRecipe recipe, int size, std::vector<double>& heights);

// Tangent-space normal map of a height field: x follows +u, y follows +v,
// z points out of the surface; encoded as (n + 1) / 2 in 8 bits.
// `wrap` samples across the borders (tileable surfaces); otherwise the
// border pixels repeat.
Image normalMapFromHeights(const std::vector<double>& heights, int size, double strength, bool wrap);

RenderedSurface renderSurface(const SurfaceInfo& info, int size = kTextureSize);

// Writes PNG, JPEG or TGA by the path's extension. On failure returns false
// with "path: what went wrong" in `error`.
bool writeImage(const Image& image, const std::string& path, std::string& error);

// Renders and writes every surface's two textures into `folder`; appends
// the written paths to `written`.
bool writeSurfaceTextures(const std::string& folder, std::vector<std::string>& written, std::string& error);

}  // namespace assetgen
