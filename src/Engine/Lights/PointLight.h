#pragma once
// A point light: a scene-graph node drawn as the shared unit sphere scaled to
// the light's radius. The sphere mesh comes from the light-volume scene and is
// set once for all point lights (LightManager::buildPointLightVolume); until
// then point lights draw nothing.
#include "Engine/Lights/Light.h"
#include "Engine/Render/StaticMesh.h"
#include "Engine/Scene/SceneGraphNode.h"

#include <string>
#include <vector>

class PointLight : public Light, public SceneGraphNode {
public:
    // position: world units; falloff: (radius, constant, linear, quadratic).
    PointLight(Vec3 position, Vec3 lightColour, const std::string& name, const LightFalloff& lightFalloff);
    ~PointLight() override = default;

    // Scales the node to the radius (replacing any earlier scale) and
    // recomputes the world box.
    void updateVolume() override;
    void draw(const LightProgram& program, const LightPassView& pass) override;
    // The frustum test of the world box (hides the node's flag accessor, as in SpotLight).
    bool isVisible() const override;
    // World box of the shared sphere moved by the node's transform.
    void computeBounds() override;

    LightFalloff falloff; // (radius, constant, linear, quadratic)

    // The shared sphere: vertices (x, y, z, 1) of a unit sphere, its box, and
    // the "pointlight" program's "in_position" location.
    static void setSphere(const std::vector<float>& vertices, Vec3 boxMin, Vec3 boxMax, GLint attribute);
    static void releaseSphere();
    static const StaticMesh& getSphere() { return sphere; }

private:
    static StaticMesh sphere;
    static Vec3 sphereMin;
    static Vec3 sphereMax;
};
