#pragma once
// src/Engine/Scene: the placed world without drawing: math, scene-graph nodes, their registry,
// the camera state and frustum. Uses only the engine base.
//
// Base of everything placed in the 3D scene: a named node with a world
// transform, a world-space bounding box, a parent and ordered children, and
// visibility and in-scene flags.
//
// Every node's `transform` is its world transform: moving a node applies the
// same change to each descendant's own matrix, so nothing is composed at draw
// time. A parent does not own its children; the node registry (NodeManager)
// owns every node and deletes them all at shutdown.
#include "Engine/Scene/Math.h"

#include <string>
#include <vector>

class SceneGraphNode {
public:
    // A detached node: zero bounds, identity transform, unit scale, visible,
    // not in the scene; registered under `name` (replacing any earlier entry).
    explicit SceneGraphNode(const std::string& name);
    // Deep copy of `source`'s subtree under a unique name derived from the
    // source's ("name", else "name_1", "name_2", ...); detached, visible.
    SceneGraphNode(const SceneGraphNode& source);
    SceneGraphNode& operator=(const SceneGraphNode&) = delete;
    // Leaves the parent, detaches (does not delete) the children, unregisters.
    virtual ~SceneGraphNode();

    // Virtual operations; the base versions forward to the children so that a
    // call on a group node reaches every mesh below it.
    // A new node copied from this one (copyIndex is -1 from the base class).
    virtual SceneGraphNode* clone(int copyIndex);
    virtual void setAnimationLayer(int index);
    virtual void setLooping(bool loop);
    virtual void animate(double dt); // dt in seconds
    // Position of the named marker below this node, if one holds it.
    virtual bool findMarker(const std::string& markerName, Vec4& position);
    // Post-order: every child's subtree first, then this node's bounds.
    virtual void update();
    // Base: union of the children's boxes; all zero without children.
    virtual void computeBounds();
    virtual void makeTexturesUnique();
    // Clones each child of `source` (in order) and adds the clone here.
    virtual void copyChildren(const SceneGraphNode& source);

    // Appends `child` (null: warning) and gives its subtree this node's
    // in-scene flag. The child is not taken from a previous parent.
    void addChild(SceneGraphNode* child);
    // Removes every occurrence of `child` (null: warning); its in-scene flag stays.
    void removeChild(SceneGraphNode* child);
    // Leaves the current parent, becomes `newParent`'s last child (null:
    // detached) and refreshes the subtree's in-scene flags.
    void setParent(SceneGraphNode* newParent);
    // Sets `node`'s in-scene flag from this node (the new parent, may be
    // null): cleared for a null parent, set when the topmost ancestor is the
    // registry root; then copies it to all of `node`'s descendants.
    static void refreshInScene(SceneGraphNode* newParent, SceneGraphNode* node);

    void setVisible(bool isVisible); // this node and all descendants
    void setOwnVisible(bool isVisible) { visible = isVisible; } // this node only
    // World-space move of this node, its bounds and every descendant.
    void translate(float x, float y, float z);
    // Rotation about each node's own Y axis at its own origin, recursively.
    void rotateY(float angleDegrees);
    // Post-multiplies a scale; this node only, bounds unchanged.
    void setScale(float x, float y, float z);
    // Upper-left 3x3 becomes identity, recursively.
    void resetRotation();
    // Translation becomes (0, 0, 0), recursively.
    void resetTranslation();
    // Turns the node about Y to head from its position towards `target` in
    // the X-Z plane; a target at the node's own X-Z position changes nothing.
    void faceTowards(Vec3 target);
    // Deletes every descendant, deepest and last first.
    void deleteDescendants();

    const std::string& getName() const { return name; }
    SceneGraphNode* getParent() const { return parent; }
    const std::vector<SceneGraphNode*>& getChildren() const { return children; }
    const Mat4& getTransform() const { return transform; }
    void setTransform(const Mat4& worldTransform) { transform = worldTransform; }
    Vec3 getScale() const { return scale; }
    Vec3 getBoundsMin() const { return boundsMin; }
    Vec3 getBoundsMax() const { return boundsMax; }
    void setBounds(Vec3 minimum, Vec3 maximum);
    bool isVisible() const { return visible; }
    bool isInScene() const { return inScene; }

protected:
    Vec3 boundsMin;
    Vec3 boundsMax;
    Mat4 transform;
    Vec3 scale{1.0f, 1.0f, 1.0f};
    bool visible = true;
    SceneGraphNode* parent = nullptr;
    std::vector<SceneGraphNode*> children;
    bool inScene = false;
    std::string name;

private:
    void setInSceneRecursive(bool flag);
};
