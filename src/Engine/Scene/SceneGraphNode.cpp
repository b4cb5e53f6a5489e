#include "Engine/Scene/SceneGraphNode.h"

#include "Engine/Scene/NodeManager.h"

#include <algorithm>
#include <cmath>
#include <iostream>

namespace {

// Below this horizontal distance `faceTowards` has no defined heading.
constexpr float minimumHeadingDistance = 1e-6f;

} // namespace

SceneGraphNode::SceneGraphNode(const std::string& nodeName) : name(nodeName)
{
    NodeManager::getInstance()->registerNode(this);
}

SceneGraphNode::SceneGraphNode(const SceneGraphNode& source)
    : boundsMin(source.boundsMin),
      boundsMax(source.boundsMax),
      transform(source.transform),
      scale(source.scale),
      name(NodeManager::getInstance()->makeUniqueName(source.name, 0))
{
    NodeManager::getInstance()->registerNode(this);
    copyChildren(source);
}

SceneGraphNode::~SceneGraphNode()
{
    if (parent)
        parent->removeChild(this);
    while (!children.empty()) {
        children.front()->parent = nullptr;
        children.erase(children.begin());
    }
    if (NodeManager* registry = NodeManager::existingInstance())
        registry->unregisterNode(this);
}

SceneGraphNode* SceneGraphNode::clone(int /*copyIndex*/) { return new SceneGraphNode(*this); }

void SceneGraphNode::setAnimationLayer(int index)
{
    for (SceneGraphNode* child : children)
        child->setAnimationLayer(index);
}

void SceneGraphNode::setLooping(bool loop)
{
    for (SceneGraphNode* child : children)
        child->setLooping(loop);
}

void SceneGraphNode::animate(double dt)
{
    for (SceneGraphNode* child : children)
        child->animate(dt);
}

bool SceneGraphNode::findMarker(const std::string& markerName, Vec4& position)
{
    for (SceneGraphNode* child : children) {
        if (child->findMarker(markerName, position))
            return true;
    }
    return false;
}

void SceneGraphNode::update()
{
    for (SceneGraphNode* child : children)
        child->update();
    computeBounds();
}

void SceneGraphNode::computeBounds()
{
    if (children.empty()) {
        boundsMin = Vec3{};
        boundsMax = Vec3{};
        return;
    }
    boundsMin = Vec3{100000.0f, 100000.0f, 100000.0f};
    boundsMax = Vec3{-100000.0f, -100000.0f, -100000.0f};
    for (const SceneGraphNode* child : children) {
        boundsMin = componentMin(boundsMin, child->boundsMin);
        boundsMax = componentMax(boundsMax, child->boundsMax);
    }
}

void SceneGraphNode::makeTexturesUnique()
{
    for (SceneGraphNode* child : children)
        child->makeTexturesUnique();
}

void SceneGraphNode::copyChildren(const SceneGraphNode& source)
{
    for (SceneGraphNode* child : source.children)
        addChild(child->clone(-1));
}

void SceneGraphNode::addChild(SceneGraphNode* child)
{
    if (!child) {
        std::cout << "Warning - SceneGraphNode: addChild(NULL)" << std::endl;
        return;
    }
    child->parent = this;
    child->setInSceneRecursive(inScene);
    children.push_back(child);
}

void SceneGraphNode::removeChild(SceneGraphNode* child)
{
    if (!child)
        std::cout << "Warning - SceneGraphNode: removeChild(NULL)" << std::endl;
    auto removed = std::remove_if(children.begin(), children.end(), [child](SceneGraphNode* c) {
        if (c != child)
            return false;
        c->parent = nullptr;
        return true;
    });
    children.erase(removed, children.end());
}

void SceneGraphNode::setParent(SceneGraphNode* newParent)
{
    if (parent)
        parent->removeChild(this);
    if (newParent)
        newParent->addChild(this);
    parent = newParent;
    refreshInScene(newParent, this);
}

void SceneGraphNode::refreshInScene(SceneGraphNode* newParent, SceneGraphNode* node)
{
    if (!newParent) {
        node->inScene = false;
    } else {
        SceneGraphNode* top = newParent;
        while (top->parent)
            top = top->parent;
        NodeManager* registry = NodeManager::existingInstance();
        if (registry && top == registry->getRoot())
            node->inScene = true;
    }
    node->setInSceneRecursive(node->inScene);
}

void SceneGraphNode::setInSceneRecursive(bool flag)
{
    inScene = flag;
    for (SceneGraphNode* child : children)
        child->setInSceneRecursive(flag);
}

void SceneGraphNode::setVisible(bool isVisible)
{
    visible = isVisible;
    for (SceneGraphNode* child : children)
        child->setVisible(isVisible);
}

void SceneGraphNode::translate(float x, float y, float z)
{
    transform = Mat4::translation(x, y, z) * transform;
    Vec3 offset{x, y, z};
    boundsMin = boundsMin + offset;
    boundsMax = boundsMax + offset;
    for (SceneGraphNode* child : children)
        child->translate(x, y, z);
}

void SceneGraphNode::rotateY(float angleDegrees)
{
    transform = transform * Mat4::rotationY(angleDegrees);
    for (SceneGraphNode* child : children)
        child->rotateY(angleDegrees);
}

void SceneGraphNode::setScale(float x, float y, float z)
{
    scale = Vec3{x, y, z};
    transform = transform * Mat4::scaling(x, y, z);
}

void SceneGraphNode::resetRotation()
{
    for (int column = 0; column < 3; ++column) {
        for (int row = 0; row < 3; ++row)
            transform[column * 4 + row] = column == row ? 1.0f : 0.0f;
    }
    for (SceneGraphNode* child : children)
        child->resetRotation();
}

void SceneGraphNode::resetTranslation()
{
    transform[12] = 0.0f;
    transform[13] = 0.0f;
    transform[14] = 0.0f;
    transform[15] = 1.0f;
    for (SceneGraphNode* child : children)
        child->resetTranslation();
}

void SceneGraphNode::faceTowards(Vec3 target)
{
    float dx = target.x - transform[12];
    float dz = target.z - transform[14];
    float distance = std::sqrt(dx * dx + dz * dz);
    if (distance < minimumHeadingDistance)
        return;
    float angle = std::acos(std::clamp(dz / distance, -1.0f, 1.0f));
    if (dx / distance < 0.0f)
        angle = -angle;
    resetRotation();
    rotateY(angle * radiansToDegrees);
}

void SceneGraphNode::deleteDescendants()
{
    while (!children.empty()) {
        SceneGraphNode* last = children.back();
        last->deleteDescendants();
        delete last;
    }
}

void SceneGraphNode::setBounds(Vec3 minimum, Vec3 maximum)
{
    boundsMin = minimum;
    boundsMax = maximum;
}
