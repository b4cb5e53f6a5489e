#pragma once
// A spot light: a scene-graph node whose beam shines along its local -Z axis,
// drawn as a cone of the beam's outer angle and range. It can also draw a
// light shaft (nine thin nested cones) into the glow texture; the player's
// flashlight does.
#include "Engine/Lights/Light.h"
#include "Engine/Render/StaticMesh.h"
#include "Engine/Scene/SceneGraphNode.h"

#include <array>
#include <string>

class SpotLight : public Light, public SceneGraphNode {
public:
    // position: world units; rotationDegrees: about X, Y and Z (applied in
    // that order); inner and outer: full cone angles in degrees; falloff:
    // (range, constant, linear, quadratic). Builds both meshes with the
    // "spotlight" and "lightshafts" programs' attribute locations.
    SpotLight(Vec3 position, Vec3 rotationDegrees, Vec3 lightColour, const std::string& name,
              float innerDegrees, float outerDegrees, const LightFalloff& lightFalloff);
    ~SpotLight() override;

    void updateVolume() override;
    void draw(const LightProgram& program, const LightPassView& pass) override;
    // The frustum test of the world box. (This hides the node's visibility
    // flag accessor on a SpotLight; SceneGraphNode::isVisible() still reads it.)
    bool isVisible() const override;
    // Adds the shaft to the glow texture with the "lightshafts" program current;
    // only when enabled, in view and bright enough.
    virtual void drawLightShaft(const LightProgram& program, const LightPassView& pass);
    // World box of the cone: its local box moved by the node's transform.
    void computeBounds() override;

    // The light's direction in world space (the transform's -Z axis), unit length.
    Vec3 worldDirection() const;
    float getConeRadius() const;

    float innerAngle;                 // full inner cone angle, radians
    float outerAngle;                 // full outer cone angle, radians
    std::array<float, 2> spotParams;  // (cos(inner/2) - cos(outer/2), cos(outer/2))
    LightFalloff falloff;             // (range, constant, linear, quadratic)
    bool shaftEnabled = false;

    const StaticMesh& getVolume() const { return volume; }
    const StaticMesh& getShaft() const { return shaft; }
    Vec3 getLocalBoxMin() const { return localBoxMin; }
    Vec3 getLocalBoxMax() const { return localBoxMax; }

private:
    void buildMeshes();

    StaticMesh volume;
    StaticMesh shaft;
    Vec3 localBoxMin;
    Vec3 localBoxMax;
};
