#pragma once
// src/Import: FBX files into the engine: scene graph, materials, lights, the camera module,
// game-object templates and spawn points. Uses the engine and src/Fbx, never input.
//
// Loads FBX files into the scene graph through one FBXLoader, which keeps
// every imported scene alive until shutdown, and logs each load with its
// duration.
#include "Engine/Base/Singleton.h"

#include <string>

class FBXLoader;

class SceneLoader : public Singleton<SceneLoader> {
public:
    // Imports `file`, naming its nodes prefix + "_" + name, then points the
    // camera module at the new scene.
    void loadScene(const std::string& file, const std::string& prefix);
    FBXLoader* getLoader() const { return loader; }

private:
    friend class Singleton<SceneLoader>;
    SceneLoader() = default;
    ~SceneLoader();

    FBXLoader* loader = nullptr;
};
