#include "Generator.h"

#include <filesystem>
#include <system_error>

#include "ContentScenes.h"
#include "Fbx/Writer.h"
#include "TextureImages.h"

namespace assetgen {

std::vector<ContentFile> buildAllScenes() {
  std::vector<ContentFile> files;
  files.push_back({"testlevel.fbx", buildLevelScene(designLevel())});
  files.push_back({"sphere.fbx", buildSphereScene()});
  files.push_back({"GameObjects/Skull.fbx", buildSkullScene()});
  files.push_back({"GameObjects/PlayerDummy.fbx", buildPlayerDummyScene()});
  files.push_back({"GameObjects/Pistol.fbx", buildPistolScene()});
  files.push_back({"GameObjects/Flashlight.fbx", buildFlashlightScene()});
  files.push_back({"GameObjects/MuzzleFlash.fbx", buildMuzzleFlashScene()});
  files.push_back({"GameObjects/Ammo9mm.fbx", buildAmmoScene()});
  return files;
}

bool generateContent(const std::string& resourcesFolder, GeneratedFiles& generated, std::string& error) {
  namespace fs = std::filesystem;
  for (const char* sub : {"Textures", "GameObjects"}) {
    std::error_code code;
    const fs::path folder = fs::path(resourcesFolder) / sub;
    fs::create_directories(folder, code);
    if (code) {
      error = folder.string() + ": cannot create folder: " + code.message();
      return false;
    }
  }
  if (!writeSurfaceTextures(resourcesFolder + "/Textures", generated.paths, error)) return false;
  for (const ContentFile& file : buildAllScenes()) {
    const std::string path = resourcesFolder + "/" + file.path;
    auto written = fbx::writeFile(*file.scene, path);
    if (!written) {
      error = written.error();
      return false;
    }
    generated.paths.push_back(path);
  }
  generated.totalBytes = 0;
  for (const std::string& path : generated.paths) {
    std::error_code code;
    const auto size = fs::file_size(path, code);
    if (!code) generated.totalBytes += size;
  }
  return true;
}

}  // namespace assetgen
