#pragma once
// Registry of the game's shader programs under small fixed numbers
// (0 "basic" .. 7 "lightshafts", named in config::shaderProgramNames).
// A lazily created singleton; it owns every Shader and its GL objects.
#include "Engine/Base/Singleton.h"
#include "Engine/Render/Shader.h"

#include <map>
#include <string>

class ShaderManager : public Singleton<ShaderManager> {
public:
    ShaderManager() = default;
    virtual ~ShaderManager();
    ShaderManager(const ShaderManager&) = delete;
    ShaderManager& operator=(const ShaderManager&) = delete;

    // Builds the eight programs from config::shaderFolder. Every program is
    // attempted before the verdict, so each broken file is reported in one run.
    // True when all eight linked; true at once after an earlier success.
    bool loadShaders();
    // Same, from another folder (ends with '/'); used by loadShaders and by tests.
    bool loadShadersFrom(const std::string& folder);
    // Registers a Shader built from `path` under `number`, also when it fails
    // to build. A number registered already keeps its Shader; `path` is then not read.
    void addShader(int number, const std::string& path);
    // The Shader under `number`, or null.
    Shader* getShader(int number);
    // Deletes every program and stage object and every Shader.
    void clearShaders();

private:
    std::map<int, Shader*> shaders;
    bool loaded = false;
};
