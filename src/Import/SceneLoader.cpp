#include "Import/SceneLoader.h"

#include "Engine/Base/Timer.h"
#include "Import/CameraManager.h"
#include "Import/FBXLoader.h"

#include <iostream>

namespace {
}

SceneLoader::~SceneLoader() { delete loader; }

void SceneLoader::loadScene(const std::string& file, const std::string& prefix)
{
    std::cout << "Loading " << file << std::endl;
    std::cout << "Please wait until " << file << " has been loaded... (Prefix: \"" << prefix << "\")" << std::endl;
    Timer timer;
    if (!loader)
        loader = new FBXLoader();
    loader->importScene(file, prefix);
    CameraManager::getInstance()->setCameraScene(loader->lastScene());
    timer.stop();
    std::cout << "Loaded " << file << " - Duration: " << timer.elapsed() << " seconds." << std::endl;
}
