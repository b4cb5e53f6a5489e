#pragma once
// Loads FBX files into the scene graph through one FBXLoader, which keeps
// every imported scene alive until shutdown, and logs each load with its
// duration.
#include <string>

class FBXLoader;

class SceneLoader {
public:
    static SceneLoader* getInstance();
    static SceneLoader* existingInstance();
    // Destroys the loader with every imported scene.
    static void destroyInstance();

    // Imports `file`, naming its nodes prefix + "_" + name, then points the
    // camera module at the new scene.
    void loadScene(const std::string& file, const std::string& prefix);
    FBXLoader* getLoader() const { return loader; }

private:
    SceneLoader() = default;
    ~SceneLoader();

    FBXLoader* loader = nullptr;
};
