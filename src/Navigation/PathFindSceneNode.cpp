#include "Navigation/PathFindSceneNode.h"

#include "Navigation/CrowdAgent.h"

PathFindSceneNode::PathFindSceneNode(const std::string& name) : SceneGraphNode(name) {}

PathFindSceneNode::PathFindSceneNode(const SceneGraphNode& source) : SceneGraphNode(source) {}

// The agent goes first (PathFindObject), then the node leaves the scene graph.
PathFindSceneNode::~PathFindSceneNode() = default;

void PathFindSceneNode::teleport(Vec3 point)
{
    PathFindObject::teleport(point);
    followAgent();
}

void PathFindSceneNode::followAgent()
{
    Vec3 offset = agentPosition(agentIndex, position()) - position();
    translate(offset.x, offset.y, offset.z);
}
