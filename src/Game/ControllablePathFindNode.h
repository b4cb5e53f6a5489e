#pragma once
// A crowd-driven node steered by movement input relative to a camera's yaw:
// it walks one unit ahead of itself in the input direction and stops where
// it stands when there is no input.
#include "Navigation/PathFindSceneNode.h"

class ControllablePathFindNode : public PathFindSceneNode {
public:
    explicit ControllablePathFindNode(const SceneGraphNode& source) : PathFindSceneNode(source) {}

    // Gives the crowd a new target when the wanted one moved by more than
    // `retargetDistance`. `cameraYaw` in radians.
    void steer(float cameraYaw);

    static constexpr float retargetDistance = 0.3f; // metres

    float sidewaysInput = 0.0f; // -1, 0 or +1 (+1: left)
    float forwardInput = 0.0f;  // -1, 0 or +1
    Vec4 moveDirection;
};
