// assetpreview <resources folder> <output folder>: renders preview pictures
// of the generated level, skull and armed player model as PNG files.
#include <cstdio>

#include "Fbx/Load.h"
#include "Preview.h"

namespace {

constexpr int kWidth = 1024, kHeight = 768;  // pixels

struct Shot {
  const char* file;
  assetgen::PreviewView view;
  // FBX files below the resources folder, each moved by its offset.
  std::vector<std::pair<const char*, assetgen::Vec3>> scenes;
};

// Where the player code puts the pistol (at the hand marker) and the
// flashlight (mount minus back centre, relative to the pistol).
const assetgen::Vec3 kHand{-0.27, 1.34, 0.56};
const assetgen::Vec3 kFlashlight = kHand + assetgen::Vec3{0, -0.021, 0.06};

bool render(const Shot& shot, const std::string& resources, const std::string& outFolder) {
  assetgen::PreviewRenderer renderer(kWidth, kHeight, shot.view, resources + "/Textures");
  for (const auto& [file, offset] : shot.scenes) {
    auto loaded = fbx::loadFile(resources + "/" + file);
    if (!loaded) {
      std::fprintf(stderr, "assetpreview: %s\n", loaded.error().c_str());
      return false;
    }
    renderer.draw(**loaded, offset);
  }
  std::string error;
  if (!assetgen::writeImage(renderer.finish(), outFolder + "/" + shot.file, error)) {
    std::fprintf(stderr, "assetpreview: %s\n", error.c_str());
    return false;
  }
  std::printf("assetpreview: wrote %s/%s\n", outFolder.c_str(), shot.file);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: assetpreview <resources folder> <output folder>\n");
    return 2;
  }
  const Shot shots[] = {
      {"assetgen-level-overview.png", {{0, 55, 72}, {0, 0, 0}, 60}, {{"testlevel.fbx", {}}}},
      {"assetgen-level-courtyard.png", {{-22, 2.2, 20}, {12, 1.0, -8}, 60}, {{"testlevel.fbx", {}}}},
      {"assetgen-skull.png", {{0.55, 1.7, 1.45}, {0, 1.47, 0}, 40}, {{"GameObjects/Skull.fbx", {}}}},
      {"assetgen-player.png",
       {{-1.6, 1.6, 2.6}, {-0.1, 1.0, 0.2}, 45},
       {{"GameObjects/PlayerDummy.fbx", {}},
        {"GameObjects/Pistol.fbx", kHand},
        {"GameObjects/Flashlight.fbx", kFlashlight},
        {"GameObjects/MuzzleFlash.fbx", kHand + assetgen::Vec3{0, 0.045, 0.17}}}},
  };
  for (const Shot& shot : shots) {
    if (!render(shot, argv[1], argv[2])) return 1;
  }
  return 0;
}
