#include "Engine/Lights/Light.h"

#include "Engine/Base/GLError.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr float pointInsideFactor = 0.91f;
constexpr float spotInsideMargin = 0.1f; // radians
} // namespace

void Light::setVolumeSide(bool cameraInside)
{
    glFrontFace(cameraInside ? GL_CW : GL_CCW);
    glDepthFunc(cameraInside ? GL_GEQUAL : GL_LESS);
    CHECK_GL_ERROR();
}

bool cameraInsidePointVolume(float cameraDistance, float radius)
{
    return pointInsideFactor * cameraDistance <= radius;
}

bool cameraInsideSpotVolume(Vec3 lightPosition, Vec3 lightDirection, Vec3 cameraPosition, float outerAngle)
{
    Vec3 toCamera = normalize(cameraPosition - lightPosition);
    float cosine = std::clamp(dot(toCamera, normalize(lightDirection)), -1.0f, 1.0f);
    return outerAngle - 2.0f * std::acos(cosine) >= -spotInsideMargin;
}
