#pragma once
// src/Engine/Lights: the spot and point lights, their volumes and programs, and their owner.
// Uses the engine base, scene and render resources.
//
// Owner of every light, with the lights sorted by kind, and the two per-frame
// light passes of the renderer: the light volumes into the light texture and
// the light shafts into the glow texture. A lazily created singleton; creating
// it looks up the uniforms of the "spotlight", "pointlight" and "lightshafts"
// programs, so the ShaderManager must have loaded them.
#include "Engine/Base/Singleton.h"
#include "Engine/Lights/LightProgram.h"

#include <GL/glew.h>

#include <vector>

class Light;
class SpotLight;
class PointLight;

class LightManager : public Singleton<LightManager> {
public:
    LightManager(const LightManager&) = delete;
    LightManager& operator=(const LightManager&) = delete;
    virtual ~LightManager();

    // Takes ownership; files the light by kind (a light of another kind is
    // kept but never drawn). Null is refused.
    void addLight(Light* light);

    // Builds the shared point-light sphere from the render object
    // "Sphere_sphere" (its mesh-space positions and box). Without that
    // object: a message, false, and point lights stay undrawn.
    bool buildPointLightVolume();

    // Light pass (light framebuffer bound, additive blending, depth test
    // without writes, face culling): point lights, then spot lights, reading
    // the G-buffer's albedo and normal textures.
    void drawLights(GLuint albedoTexture, GLuint normalTexture);
    // Shaft pass (glow framebuffer bound, additive blending): the shafts of the
    // spot lights that have one enabled.
    void drawLightShafts(GLuint albedoTexture, GLuint normalTexture, float farClipDistance, const Mat4& projection);

    const std::vector<Light*>& getLights() const { return lights; }
    const std::vector<SpotLight*>& getSpotLights() const { return spotLights; }
    const std::vector<PointLight*>& getPointLights() const { return pointLights; }

private:
    friend class Singleton<LightManager>;
    LightManager();
    // The current camera in the form the light programs want.
    static LightPassView currentPassView();

    std::vector<Light*> lights; // owned, in order of adding
    std::vector<SpotLight*> spotLights;
    std::vector<PointLight*> pointLights;
    LightProgram spotProgram;
    LightProgram pointProgram;
    LightProgram shaftProgram;
};
