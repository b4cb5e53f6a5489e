#pragma once
// A scene-graph node that walks on the navigation mesh as a crowd agent
// (radius 0.4 m, height 1.7 m). The node's owner moves it after its agent;
// the agent is released when the node is deleted.
#include "Engine/Scene/SceneGraphNode.h"
#include "Navigation/PathFindObject.h"

#include <string>

class PathFindSceneNode : public SceneGraphNode, public PathFindObject {
public:
    explicit PathFindSceneNode(const std::string& name);
    // A copy of `source`'s subtree (a game-object template) with its own agent.
    explicit PathFindSceneNode(const SceneGraphNode& source);
    ~PathFindSceneNode() override;

    // Places the agent and brings the node along at once, so that a new
    // character is drawn and can be hit where it was placed, not where its
    // template stood, before its first update.
    void teleport(Vec3 point) override;
    // Moves the node to its agent's position; without an agent it stays.
    void followAgent();
    Vec3 position() const { return getTransform().translationPart(); }
};
