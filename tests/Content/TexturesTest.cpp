// Textures decode with FreeImage at the expected size and format, and the
// normal maps point the way the height fields slope.
#include <FreeImage.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <set>

#include "GeneratedContent.h"
#include "TextureImages.h"

namespace {

using assetgen::Image;

TEST(Textures, EveryFileDecodesAt512SquareIn24BitsWithTheFormatOfItsName) {
  std::set<int> formats;
  for (const assetgen::SurfaceInfo& info : assetgen::allSurfaces()) {
    for (const char* file : {info.diffuseFile, info.normalFile}) {
      const std::string path = contenttest::generatedFolder() + "/Textures/" + file;
      const FREE_IMAGE_FORMAT format = FreeImage_GetFileType(path.c_str(), 0);
      EXPECT_EQ(format, FreeImage_GetFIFFromFilename(file)) << file;
      formats.insert(format);
      FIBITMAP* bitmap = FreeImage_Load(format, path.c_str(), 0);
      ASSERT_NE(bitmap, nullptr) << file;
      EXPECT_EQ(FreeImage_GetWidth(bitmap), 512u) << file;
      EXPECT_EQ(FreeImage_GetHeight(bitmap), 512u) << file;
      EXPECT_EQ(FreeImage_GetBPP(bitmap), 24u) << file;
      FreeImage_Unload(bitmap);
    }
  }
  EXPECT_EQ(formats, (std::set<int>{FIF_PNG, FIF_JPEG, FIF_TARGA}));
}

TEST(Textures, NormalMapsFaceOutOfTheSurfaceAndAverageFlat) {
  for (const assetgen::SurfaceInfo& info : assetgen::allSurfaces()) {
    const std::string path = contenttest::generatedFolder() + "/Textures/" + info.normalFile;
    FIBITMAP* bitmap = FreeImage_Load(FreeImage_GetFIFFromFilename(info.normalFile), path.c_str(), 0);
    ASSERT_NE(bitmap, nullptr) << info.normalFile;
    double red = 0, green = 0;
    int count = 0, inward = 0;
    for (unsigned y = 0; y < FreeImage_GetHeight(bitmap); ++y) {
      const BYTE* line = FreeImage_GetScanLine(bitmap, y);
      for (unsigned x = 0; x < FreeImage_GetWidth(bitmap); ++x, ++count) {
        red += line[x * 3 + FI_RGBA_RED];
        green += line[x * 3 + FI_RGBA_GREEN];
        inward += line[x * 3 + FI_RGBA_BLUE] < 128;
      }
    }
    FreeImage_Unload(bitmap);
    EXPECT_EQ(inward, 0) << info.normalFile;
    EXPECT_NEAR(red / count, 127.5, 6) << info.normalFile;
    EXPECT_NEAR(green / count, 127.5, 6) << info.normalFile;
  }
}

// Pixel (x, y) of an RGB image: {r, g, b}.
const uint8_t* pixel(const Image& image, int x, int y) { return &image.rgb[(static_cast<size_t>(y) * image.width + x) * 3]; }

TEST(NormalMapFromHeights, TiltsAwayFromRisingHeight) {
  constexpr int kSize = 8;
  std::vector<double> risingInU(kSize * kSize), risingInV(kSize * kSize), flat(kSize * kSize, 0.5);
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      risingInU[y * kSize + x] = x * 0.1;
      risingInV[y * kSize + x] = y * 0.1;
    }
  }
  const Image u = assetgen::normalMapFromHeights(risingInU, kSize, 5, false);
  const Image v = assetgen::normalMapFromHeights(risingInV, kSize, 5, false);
  const Image f = assetgen::normalMapFromHeights(flat, kSize, 5, true);
  EXPECT_LT(pixel(u, 4, 4)[0], 100);  // normal leans towards -u
  EXPECT_LT(pixel(v, 4, 4)[1], 100);  // towards -v
  EXPECT_NEAR(pixel(v, 4, 4)[0], 128, 1);
  EXPECT_EQ(pixel(f, 0, 0)[2], 255);
  // Wrapping sees the jump from the last column back to the first.
  const Image wrapped = assetgen::normalMapFromHeights(risingInU, kSize, 5, true);
  EXPECT_GT(pixel(wrapped, 0, 4)[0], 128);
  EXPECT_LT(pixel(u, 0, 4)[0], 128);
}

// Mean absolute difference between two columns (or rows) of an image.
double lineDifference(const Image& image, bool columns, int a, int b) {
  double sum = 0;
  for (int i = 0; i < image.width; ++i) {
    const uint8_t* p = columns ? pixel(image, a, i) : pixel(image, i, a);
    const uint8_t* q = columns ? pixel(image, b, i) : pixel(image, i, b);
    for (int c = 0; c < 3; ++c) sum += std::abs(p[c] - q[c]);
  }
  return sum / image.width;
}

TEST(SurfaceRecipes, TileableSurfacesRepeatWithoutVisibleSeams) {
  constexpr int kSize = 128;
  for (const assetgen::SurfaceInfo& info : assetgen::allSurfaces()) {
    if (!info.tiles) continue;
    std::vector<double> heights;
    const Image image = assetgen::renderAlbedo(info.recipe, kSize, heights);
    for (bool columns : {true, false}) {
      double inside = 0;
      for (int i = 1; i < kSize; ++i) inside += lineDifference(image, columns, i - 1, i);
      inside /= kSize - 1;
      EXPECT_LT(lineDifference(image, columns, kSize - 1, 0), 2.5 * inside + 2)
          << info.materialName << (columns ? " left/right" : " top/bottom");
    }
  }
}

TEST(SurfaceRecipes, OnlyTheFlameIsBrightEnoughToGlow) {
  constexpr int kSize = 128;
  for (const assetgen::SurfaceInfo& info : assetgen::allSurfaces()) {
    std::vector<double> heights;
    const Image image = assetgen::renderAlbedo(info.recipe, kSize, heights);
    const uint8_t brightest = *std::max_element(image.rgb.begin(), image.rgb.end());
    const bool glows = brightest >= assetgen::kGlowBrightness * 255;
    EXPECT_EQ(glows, info.surface == assetgen::Surface::Flame) << info.materialName << " peaks at " << int(brightest);
  }
}

TEST(WriteImage, RefusesUnknownFormatsAndUnwritablePaths) {
  Image image{4, 4, std::vector<uint8_t>(4 * 4 * 3, 100)};
  std::string error;
  EXPECT_FALSE(assetgen::writeImage(image, "/tmp/texture.dds", error));
  EXPECT_NE(error.find("/tmp/texture.dds"), std::string::npos) << error;
  EXPECT_FALSE(assetgen::writeImage(image, "/nonexistent-folder/texture.png", error));
  EXPECT_NE(error.find("/nonexistent-folder/texture.png"), std::string::npos) << error;
  Image empty;
  EXPECT_FALSE(assetgen::writeImage(empty, "/tmp/empty.png", error));
}

}  // namespace
