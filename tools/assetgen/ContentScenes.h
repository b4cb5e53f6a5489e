// The FBX scenes of the game's content, built in memory.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "Fbx/Scene.h"
#include "LevelDesign.h"

namespace assetgen {

// Names the game and its tools rely on.
inline constexpr const char* kSpawnPointsGroup = "SpawnPoints";
inline constexpr const char* kOverviewCamera = "OverviewCamera";
inline constexpr const char* kSphereNode = "sphere";

std::unique_ptr<fbx::Scene> buildLevelScene(const LevelDesign& design);
// Unit sphere (radius 1) for the point-light volume.
std::unique_ptr<fbx::Scene> buildSphereScene();

std::unique_ptr<fbx::Scene> buildSkullScene();
std::unique_ptr<fbx::Scene> buildPlayerDummyScene();
std::unique_ptr<fbx::Scene> buildPistolScene();
std::unique_ptr<fbx::Scene> buildFlashlightScene();
std::unique_ptr<fbx::Scene> buildMuzzleFlashScene();
std::unique_ptr<fbx::Scene> buildAmmoScene();

struct ContentFile {
  std::string path;  // relative to the resources folder
  std::unique_ptr<fbx::Scene> scene;
};

// Every FBX file of the content, with its path below "Resources/".
std::vector<ContentFile> buildAllScenes();

}  // namespace assetgen
