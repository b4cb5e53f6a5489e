#pragma once
// The current camera's results, written by the camera module whenever it
// updates its matrices and read by render objects, the octree, the lights,
// the renderer and the game session.
#include "Engine/Scene/Frustum.h"
#include "Engine/Scene/Math.h"

struct CameraView {
    Mat4 viewMatrix;       // world -> eye, column-major
    Mat4 projectionMatrix; // eye -> clip, column-major
    Vec3 eye;              // camera position, world space
    Vec3 direction;        // unit viewing direction, world space
    float nearPlane = 1.0f; // distances along the viewing direction, world units
    float farPlane = 1000.0f;
    Frustum frustum;       // from projectionMatrix * viewMatrix

    // Stores both matrices and recomputes the frustum planes from them.
    void setMatrices(const Mat4& view, const Mat4& projection);
};

// The one camera the frame is drawn from.
extern CameraView currentCamera;
