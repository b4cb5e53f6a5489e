#include "Navigation/PathFindObject.h"

#include "Navigation/NavigationHolder.h"

PathFindObject::PathFindObject()
{
    if (PathfindTool* crowd = NavigationHolder::crowd())
        agentIndex = crowd->addAgent(kAgentRadius, kAgentHeight);
}

PathFindObject::~PathFindObject()
{
    // The crowd may be gone already when characters outlive the holder at shutdown.
    if (PathfindTool* crowd = NavigationHolder::crowd())
        crowd->removeAgent(agentIndex);
}

void PathFindObject::setTarget(Vec3 point)
{
    targetPosition = point;
    const float p[3] = {point.x, point.y, point.z};
    if (PathfindTool* crowd = NavigationHolder::crowd())
        crowd->setMoveTarget(agentIndex, p);
}

// The placed agent's last target is where it now stands: a later target near
// its old one (a player standing at the origin) is then not taken for one
// already under way.
void PathFindObject::teleport(Vec3 point)
{
    targetPosition = point;
    const float p[3] = {point.x, point.y, point.z};
    if (PathfindTool* crowd = NavigationHolder::crowd())
        crowd->teleport(agentIndex, p);
}
