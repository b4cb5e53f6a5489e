#include "Engine/Lights/PointLight.h"

#include "Engine/Lights/LightVolumes.h"
#include "Engine/Scene/Frustum.h"

StaticMesh PointLight::sphere;
Vec3 PointLight::sphereMin;
Vec3 PointLight::sphereMax;

PointLight::PointLight(Vec3 position, Vec3 lightColour, const std::string& name, const LightFalloff& lightFalloff)
    : Light(lightColour), SceneGraphNode(name), falloff(lightFalloff)
{
    transform = Mat4::translation(position.x, position.y, position.z);
    updateVolume();
}

void PointLight::updateVolume()
{
    // resetRotation also drops the previous scale, so repeated updates do not compound.
    resetRotation();
    setScale(falloff[0], falloff[0], falloff[0]);
    computeBounds();
}

void PointLight::computeBounds()
{
    lightvolume::transformBox(transform, sphereMin, sphereMax, boundsMin, boundsMax);
}

bool PointLight::isVisible() const { return isBoxVisible(boundsMin, boundsMax); }

void PointLight::draw(const LightProgram& program, const LightPassView& pass)
{
    computeBounds();
    if (sphere.getVertexCount() == 0 || !isVisible() || !isBrightEnough())
        return;
    const Mat4 modelView = pass.view * transform;
    program.setLight(modelView, colour * intensity, falloff);
    setVolumeSide(cameraInsidePointVolume(length(transform.translationPart() - pass.eye), falloff[0]));
    sphere.draw();
}

void PointLight::setSphere(const std::vector<float>& vertices, Vec3 boxMin, Vec3 boxMax, GLint attribute)
{
    sphere.upload(vertices.data(), static_cast<int>(vertices.size()), lightvolume::floatsPerVertex, attribute);
    sphereMin = boxMin;
    sphereMax = boxMax;
}

void PointLight::releaseSphere()
{
    sphere.release();
    sphereMin = {};
    sphereMax = {};
}
