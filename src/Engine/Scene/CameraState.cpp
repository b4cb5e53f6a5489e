#include "Engine/Scene/CameraState.h"

CameraView currentCamera;

void CameraView::setMatrices(const Mat4& view, const Mat4& projection)
{
    viewMatrix = view;
    projectionMatrix = projection;
    frustum = frustumFromMatrices(projection, view);
}
