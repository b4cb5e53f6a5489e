#include "Navigation/PathFindSceneNode.h"

PathFindSceneNode::PathFindSceneNode(const std::string& name) : SceneGraphNode(name) {}

PathFindSceneNode::PathFindSceneNode(const SceneGraphNode& source) : SceneGraphNode(source) {}

// The agent goes first (PathFindObject), then the node leaves the scene graph.
PathFindSceneNode::~PathFindSceneNode() = default;
