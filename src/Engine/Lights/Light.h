#pragma once
// A light the deferred renderer draws as a volume into the light texture.
// Spot and point lights are also scene-graph nodes (SpotLight, PointLight);
// the LightManager owns every light.
#include "Engine/Lights/LightProgram.h"
#include "Engine/Scene/Math.h"

class Light {
public:
    // Lights dimmer than this draw neither volume nor shaft.
    static constexpr float minimumIntensity = 0.001f;

    explicit Light(Vec3 lightColour) : colour(lightColour) {}
    Light(const Light&) = delete;
    Light& operator=(const Light&) = delete;
    virtual ~Light() = default;

    // Rebuilds the volume from the current shape values and recomputes the world box.
    virtual void updateVolume() = 0;
    // Adds this light to the light texture with `program` current (its pass
    // values set); nothing when outside the view or too dim.
    virtual void draw(const LightProgram& program, const LightPassView& pass) = 0;
    // Whether the light's world box touches the current view frustum.
    virtual bool isVisible() const = 0;

    bool isBrightEnough() const { return intensity >= minimumIntensity; }

    Vec3 colour;            // red, green, blue
    float intensity = 1.0f; // scales the colour; the game dims and flashes lights with it

protected:
    // Front face and depth function of a volume draw. With the camera inside
    // the volume its near faces are behind the camera, so the far faces are
    // drawn (GL_CW) where the scene lies in front of them (GL_GEQUAL).
    static void setVolumeSide(bool cameraInside);
};

// The camera counts as inside a point light's sphere when
// 0.91 * distance <= radius (the tessellated sphere lies inside the true one).
bool cameraInsidePointVolume(float cameraDistance, float radius);
// The camera counts as inside a spot light's cone when its direction from the
// light is within the outer angle (radians, full cone), with 0.1 rad to spare.
bool cameraInsideSpotVolume(Vec3 lightPosition, Vec3 lightDirection, Vec3 cameraPosition, float outerAngle);
