#pragma once
// A character's crowd agent: added when the character is made, removed when
// it goes. Characters without an agent (index -1: no navigation mesh, or the
// crowd was full) are never placed and never receive move targets.
#include "Engine/Scene/Math.h"

class PathFindObject {
public:
    static constexpr float kAgentRadius = 0.4f; // metres
    static constexpr float kAgentHeight = 1.7f; // metres

    // Adds the agent to the current crowd (NavigationHolder::crowd()).
    PathFindObject();
    // Marks the agent inactive when its index names an agent of the crowd.
    virtual ~PathFindObject();
    PathFindObject(const PathFindObject&) = delete;
    PathFindObject& operator=(const PathFindObject&) = delete;

    // Remembers `point` as targetPosition and sends the agent to the
    // navigation-mesh point nearest to it.
    void setTarget(Vec3 point);
    // Places the agent on the navigation-mesh point nearest to `point`, which
    // becomes targetPosition, with no move request left over.
    virtual void teleport(Vec3 point);

    Vec3 targetPosition;  // the last move target given to the crowd
    int agentIndex = -1;  // the crowd agent's index; -1 without an agent
};
