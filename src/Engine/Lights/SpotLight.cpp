#include "Engine/Lights/SpotLight.h"

#include "Engine/Base/GLError.h"
#include "Engine/Lights/LightVolumes.h"
#include "Engine/Render/ShaderManager.h"
#include "Engine/Scene/CameraState.h"
#include "Engine/Scene/Frustum.h"

#include <cmath>
#include <vector>

namespace {
constexpr float degreesToRadiansSingle = 0.017453293f; // pi / 180 at single precision
constexpr int spotlightProgramNumber = 1;
constexpr int lightshaftsProgramNumber = 7;

GLint positionAttributeOf(int programNumber)
{
    Shader* shader = ShaderManager::getInstance()->getShader(programNumber);
    if (!shader || !shader->ok)
        return -1;
    return glGetAttribLocation(shader->program, "in_position");
}

std::array<float, 2> spotParameters(float inner, float outer)
{
    return {std::cos(inner * 0.5f) - std::cos(outer * 0.5f), std::cos(outer * 0.5f)};
}
} // namespace

SpotLight::SpotLight(Vec3 position, Vec3 rotationDegrees, Vec3 lightColour, const std::string& name,
                     float innerDegrees, float outerDegrees, const LightFalloff& lightFalloff)
    : Light(lightColour), SceneGraphNode(name), innerAngle(innerDegrees * degreesToRadiansSingle),
      outerAngle(outerDegrees * degreesToRadiansSingle), spotParams(spotParameters(innerAngle, outerAngle)),
      falloff(lightFalloff)
{
    transform = Mat4::translation(position.x, position.y, position.z)
                * Mat4::rotation(rotationDegrees.z, {0.0f, 0.0f, 1.0f})
                * Mat4::rotation(rotationDegrees.y, {0.0f, 1.0f, 0.0f})
                * Mat4::rotation(rotationDegrees.x, {1.0f, 0.0f, 0.0f});
    buildMeshes();
    computeBounds();
}

SpotLight::~SpotLight()
{
    volume.release();
    shaft.release();
}

float SpotLight::getConeRadius() const { return std::tan(outerAngle * 0.5f) * falloff[0]; }

void SpotLight::buildMeshes()
{
    const float radius = getConeRadius();
    const float length = falloff[0];
    std::vector<float> vertices;
    lightvolume::buildSpotVolume(vertices, radius, length);
    lightvolume::vertexBounds(vertices, localBoxMin, localBoxMax);
    volume.upload(vertices.data(), static_cast<int>(vertices.size()), lightvolume::floatsPerVertex,
                  positionAttributeOf(spotlightProgramNumber));
    lightvolume::buildShaft(vertices, radius, length);
    shaft.upload(vertices.data(), static_cast<int>(vertices.size()), lightvolume::floatsPerVertex,
                 positionAttributeOf(lightshaftsProgramNumber));
    CHECK_GL_ERROR();
}

void SpotLight::updateVolume()
{
    spotParams = spotParameters(innerAngle, outerAngle);
    buildMeshes();
    computeBounds();
}

void SpotLight::computeBounds()
{
    lightvolume::transformBox(transform, localBoxMin, localBoxMax, boundsMin, boundsMax);
}

bool SpotLight::isVisible() const { return isBoxVisible(boundsMin, boundsMax); }

Vec3 SpotLight::worldDirection() const { return normalize(transform.transformDirection({0.0f, 0.0f, -1.0f})); }

void SpotLight::draw(const LightProgram& program, const LightPassView& pass)
{
    computeBounds();
    if (!isVisible() || !isBrightEnough())
        return;
    const Mat4 modelView = pass.view * transform;
    program.setLight(modelView, colour * intensity, falloff);
    program.setSpot(modelView, spotParams);
    setVolumeSide(cameraInsideSpotVolume(transform.translationPart(), worldDirection(), pass.eye, outerAngle));
    volume.draw();
}

void SpotLight::drawLightShaft(const LightProgram& program, const LightPassView& pass)
{
    if (!shaftEnabled || !isVisible() || !isBrightEnough())
        return;
    const Mat4 modelView = pass.view * transform;
    program.setLight(modelView, colour * intensity, falloff);
    program.setSpot(modelView, spotParams);
    shaft.draw();
}
