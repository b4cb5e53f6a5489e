#include "Engine/Scene/NodeManager.h"

#include "Engine/Base/Config.h"
#include "Engine/Scene/SceneGraphNode.h"

#include <algorithm>
#include <iostream>

namespace {

const std::string rootName = "root";

} // namespace

// Deleting a node erases its own entry, so the map shrinks by one per step;
// nodes are never deleted through their parents.
NodeManager::~NodeManager()
{
    while (!nodesByName.empty())
        delete nodesByName.begin()->second;
    while (!shadowedNodes.empty())
        delete shadowedNodes.back();
    root = nullptr;
    renderObjects.clear();
}

// The root is itself part of the scene, so that a child added to it with
// addChild inherits a true in-scene flag, just as one attached with setParent.
void NodeManager::createRoot()
{
    root = new SceneGraphNode(rootName);
    SceneGraphNode::refreshInScene(root, root);
}

void NodeManager::registerNode(SceneGraphNode* node)
{
    SceneGraphNode*& entry = nodesByName[node->getName()];
    if (entry && entry != node)
        shadowedNodes.push_back(entry);
    entry = node;
}

void NodeManager::unregisterNode(SceneGraphNode* node)
{
    auto entry = nodesByName.find(node->getName());
    if (entry != nodesByName.end() && entry->second == node)
        nodesByName.erase(entry);
    else
        shadowedNodes.erase(std::remove(shadowedNodes.begin(), shadowedNodes.end(), node), shadowedNodes.end());
    if (node == root)
        root = nullptr;
}

SceneGraphNode* NodeManager::findByName(const std::string& name) const
{
    auto entry = nodesByName.find(name);
    if (entry == nodesByName.end()) {
        std::cout << "Warning - NodeManager findByName(string initialName): Name not in map (returnvalue = NULL)"
                  << std::endl;
        return nullptr;
    }
    return entry->second;
}

std::string NodeManager::makeUniqueName(const std::string& name, int counter) const
{
    std::string candidate = name;
    while (nodesByName.count(candidate) != 0) {
        ++counter;
        candidate = name + config::nameSeparator + std::to_string(counter);
    }
    return candidate;
}

void NodeManager::addRenderObject(RenderObject* object) { renderObjects.push_back(object); }

void NodeManager::removeRenderObject(RenderObject* object)
{
    auto found = std::find(renderObjects.begin(), renderObjects.end(), object);
    if (found != renderObjects.end())
        renderObjects.erase(found);
}
