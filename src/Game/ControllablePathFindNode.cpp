#include "Game/ControllablePathFindNode.h"

#include "Navigation/CrowdAgent.h"

#include <cmath>

void ControllablePathFindNode::steer(float cameraYaw)
{
    Vec3 here = agentPosition(agentIndex, position());
    Vec3 candidate = here;
    if (sidewaysInput != 0.0f || forwardInput != 0.0f) {
        Vec3 input = normalize({sidewaysInput, 0.0f, forwardInput});
        float c = std::cos(cameraYaw), s = std::sin(cameraYaw);
        moveDirection = {c * input.x + s * input.z, input.y, -s * input.x + c * input.z, 1.0f};
        candidate = here + Vec3{moveDirection.x, 0.0f, moveDirection.z};
    }
    if (length(targetPosition - candidate) > retargetDistance)
        setTarget(candidate);
}
