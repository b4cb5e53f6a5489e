#pragma once
// The uniform locations of one light program ("spotlight", "pointlight" or
// "lightshafts"), looked up once, and the calls that feed them: the per-pass
// camera values and G-buffer samplers, and the per-light values.
#include "Engine/Scene/Math.h"

#include <GL/glew.h>

#include <array>

class Shader;

// Camera values of one light pass, in the form the light programs want.
struct LightPassView {
    Mat4 view;          // world -> eye
    Mat4 projection;    // eye -> clip
    Vec3 eye;           // camera position, world space
    Vec3 viewEyeDir;    // viewing direction turned into eye space, unit length
    float farClip = 0.0f;
};

// Falloff of a light: (range or radius, constant, linear, quadratic).
using LightFalloff = std::array<float, 4>;

struct LightProgram {
    GLuint program = 0; // 0: the program is missing and the light kind draws nothing
    GLint positionAttribute = -1; // "in_position"
    GLint farClipDistance = -1;
    GLint eyeDir = -1;
    GLint projectionMatrix = -1;
    GLint texAlbedo = -1;
    GLint texNormal = -1;
    GLint viewLightPos = -1;
    GLint viewLightDir = -1;
    GLint lightColour = -1;
    GLint lightFalloff = -1;
    GLint spotLightParams = -1;
    GLint modelViewMatrix = -1;

    // Looks every location up in `shader` (null or unbuilt: all stay -1).
    void lookUp(const Shader* shader);
    // Makes the program current and sets the camera values and the samplers:
    // unit 0 albedo ("tex_albedo"), unit 1 normal ("tex_normal").
    void begin(const LightPassView& pass, GLuint albedoTexture, GLuint normalTexture) const;
    // Unbinds units 1 and 0 and makes program 0 current.
    static void end();
    // "modelViewMatrix", "view_lightPos" (the light's origin in eye space),
    // "lightColour" and "lightFalloff".
    void setLight(const Mat4& modelView, Vec3 colour, const LightFalloff& falloff) const;
    // "view_lightDir" (the light's -Z axis in eye space) and "spotLightParams".
    void setSpot(const Mat4& modelView, const std::array<float, 2>& spotParams) const;
};
