// Textures decode with FreeImage in the format of their names, and a texture
// that cannot be written is reported. How the surfaces look (and that only
// the flame glows) shows in the reference pictures.
#include <FreeImage.h>
#include <gtest/gtest.h>

#include <set>

#include "GeneratedContent.h"
#include "TextureImages.h"

namespace {

using assetgen::Image;

TEST(Textures, EveryFileDecodesIn24BitsWithTheFormatOfItsName) {
  std::set<int> formats;
  for (const assetgen::SurfaceInfo& info : assetgen::allSurfaces()) {
    for (const char* file : {info.diffuseFile, info.normalFile}) {
      const std::string path = contenttest::kGeneratedFolder + "/Textures/" + file;
      const FREE_IMAGE_FORMAT format = FreeImage_GetFileType(path.c_str(), 0);
      EXPECT_EQ(format, FreeImage_GetFIFFromFilename(file)) << file;
      formats.insert(format);
      FIBITMAP* bitmap = FreeImage_Load(format, path.c_str(), 0);
      ASSERT_NE(bitmap, nullptr) << file;
      EXPECT_EQ(FreeImage_GetBPP(bitmap), 24u) << file;
      FreeImage_Unload(bitmap);
    }
  }
  EXPECT_EQ(formats, (std::set<int>{FIF_PNG, FIF_JPEG, FIF_TARGA}));
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
