#include "Engine/Render/ShaderManager.h"

#include "Engine/Base/Config.h"

#include <iostream>

namespace {

} // namespace

ShaderManager::~ShaderManager()
{
    clearShaders();
}

bool ShaderManager::loadShaders()
{
    return loadShadersFrom(config::shaderFolder);
}

bool ShaderManager::loadShadersFrom(const std::string& folder)
{
    if (loaded)
        return true;
    const int programCount = static_cast<int>(config::shaderProgramNames.size());
    for (int number = 0; number < programCount; ++number)
        addShader(number, folder + config::shaderProgramNames[number]);

    bool allBuilt = true;
    for (int number = 0; number < programCount; ++number)
        allBuilt = allBuilt && getShader(number)->ok;
    if (!allBuilt) {
        std::cout << "\n--- One or multiple shader programs weren't created successfully. "
                     "Exiting program now. ---"
                  << std::endl;
        return false;
    }
    std::cout << "Finished loading shaders.\n" << std::endl;
    loaded = true;
    return true;
}

void ShaderManager::addShader(int number, const std::string& path)
{
    if (shaders.count(number) == 0)
        shaders[number] = new Shader(path);
}

Shader* ShaderManager::getShader(int number)
{
    auto found = shaders.find(number);
    return found == shaders.end() ? nullptr : found->second;
}

void ShaderManager::clearShaders()
{
    for (auto& [number, shader] : shaders) {
        shader->release();
        delete shader;
    }
    shaders.clear();
    loaded = false;
}
