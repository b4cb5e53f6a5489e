#pragma once
// The process-wide registry of scene-graph nodes: the scene root "root",
// every node by name, and the list of live render objects that the octree
// and the renderer walk. It owns every node it registered and deletes them
// all, in ascending name order, when it is destroyed; nodes whose name was
// taken over by a later node of the same name follow, newest first.
#include "Engine/Base/Singleton.h"

#include <map>
#include <string>
#include <vector>

class SceneGraphNode;
class RenderObject;

class NodeManager : public Singleton<NodeManager> {
public:
    NodeManager(const NodeManager&) = delete;
    NodeManager& operator=(const NodeManager&) = delete;

    // Creates the scene root "root", which counts as in the scene (called
    // once at start-up).
    void createRoot();
    SceneGraphNode* getRoot() const { return root; }

    // Maps the node's name to it. An earlier node of that name can no longer
    // be found, but the registry still deletes it at shutdown.
    void registerNode(SceneGraphNode* node);
    // Erases the node's name, but only while that name still refers to this
    // node: a node shadowed by a later one of the same name must not take
    // the later node's entry with it.
    void unregisterNode(SceneGraphNode* node);
    // The node registered under `name`; null with a warning when there is none.
    SceneGraphNode* findByName(const std::string& name) const;
    // `name` if free, else name + separator + counter for the first free
    // counter above `counter`.
    std::string makeUniqueName(const std::string& name, int counter) const;
    size_t nodeCount() const { return nodesByName.size(); }

    void addRenderObject(RenderObject* object);
    // Erases the first occurrence; nothing when absent.
    void removeRenderObject(RenderObject* object);
    const std::vector<RenderObject*>& getRenderObjects() const { return renderObjects; }

private:
    friend class Singleton<NodeManager>;
    NodeManager() = default;
    ~NodeManager();

    SceneGraphNode* root = nullptr;
    std::map<std::string, SceneGraphNode*> nodesByName; // byte-wise name order
    std::vector<RenderObject*> renderObjects;           // construction order
    std::vector<SceneGraphNode*> shadowedNodes;         // live nodes whose name a later node took
};
