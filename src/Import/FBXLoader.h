#pragma once
// Imports FBX files into the scene graph. Every FBX node becomes a node named
// prefix + "_" + its name; meshes become collidable render objects; light
// nodes add engine lights; skeleton nodes become named markers; the group
// "SpawnPoints" yields spawn positions instead of nodes. The imported FBX
// scenes stay alive with the loader: render objects and the camera module
// read them every frame.
#include "Engine/Render/MeshData.h"

#include <memory>
#include <string>
#include <vector>

class SceneGraphNode;

namespace fbx {
class AnimStack;
class Node;
class Scene;
} // namespace fbx

class FBXLoader {
public:
    FBXLoader();
    // Releases the scenes (last loaded first) and the markers, and empties the
    // camera module's camera list.
    ~FBXLoader();
    FBXLoader(const FBXLoader&) = delete;
    FBXLoader& operator=(const FBXLoader&) = delete;

    // Reads `file` and converts its node tree; the root becomes the node
    // prefix + "_RootNode", without a parent. A file that cannot be read is
    // reported and imported as an empty scene.
    void importScene(const std::string& file, const std::string& prefix);
    // The scene imported last, or null before the first import.
    fbx::Scene* lastScene() const;
    const MarkerMap& getMarkers() const { return markers; }

private:
    struct LoadedScene {
        std::unique_ptr<fbx::Scene> scene;
        fbx::AnimStack* animStack = nullptr; // the file's first stack, when it has 2+ layers
    };

    // `parentSlot` receives the node made for `node` when it holds none yet.
    void convertNode(const fbx::Node* node, SceneGraphNode*& parentSlot, const std::string& prefix,
                     fbx::AnimStack* stack, fbx::Scene& scene);
    SceneGraphNode* convertAttribute(const fbx::Node& node, SceneGraphNode* parent, const std::string& name,
                                     fbx::AnimStack* stack, fbx::Scene& scene);
    SceneGraphNode* extractMesh(const fbx::Node& node, SceneGraphNode* parent, const std::string& name,
                                fbx::AnimStack* stack, fbx::Scene& scene);

    std::vector<LoadedScene> scenes; // load order
    MarkerMap markers;               // marker name (no prefix) -> (x, y, z, 1), shared by all files
};

// The first animation stack of `scene` when it has two or more layers, else null.
// Warns when the file has more than one stack.
fbx::AnimStack* chooseAnimationStack(fbx::Scene& scene);
