#include "Import/FBXLoader.h"

#include "Engine/Collision/CollidableRenderObject.h"
#include "Engine/Render/TextureManager.h"
#include "Engine/Scene/SceneGraphNode.h"
#include "Fbx/Load.h"
#include "Import/CameraManager.h"
#include "Import/GameObjects.h"
#include "Import/LightImport.h"
#include "Import/MaterialImport.h"
#include "Import/MeshExtraction.h"

#include <iostream>

namespace {

const std::string spawnPointsGroup = "SpawnPoints";

void attach(SceneGraphNode* node, SceneGraphNode* parent)
{
    if (node && parent)
        node->setParent(parent);
}

SceneGraphNode* plainNode(const std::string& name, SceneGraphNode* parent)
{
    auto* node = new SceneGraphNode(name);
    attach(node, parent);
    return node;
}

int textureIdOf(const std::string& shortName)
{
    return static_cast<int>(TextureManager::getInstance()->getTexture(shortName));
}

} // namespace

fbx::AnimStack* chooseAnimationStack(fbx::Scene& scene)
{
    std::vector<std::string> names = scene.animStackNames();
    if (names.size() > 1) {
        std::cout << "WARNING: Animation stack bigger than 1, only first animation stack will be considered. "
                     "Additions in code needed to utilize the others."
                  << std::endl;
    }
    if (names.empty())
        return nullptr;
    fbx::AnimStack* stack = scene.findAnimStack(names.front());
    return stack && stack->layerCount() > 1 ? stack : nullptr;
}

FBXLoader::FBXLoader() = default;

FBXLoader::~FBXLoader()
{
    while (!scenes.empty())
        scenes.pop_back();
    markers.clear();
    CameraManager::getInstance()->reset();
}

fbx::Scene* FBXLoader::lastScene() const
{
    return scenes.empty() ? nullptr : scenes.back().scene.get();
}

void FBXLoader::importScene(const std::string& file, const std::string& prefix)
{
    fbx::SceneResult loaded = fbx::loadFile(file);
    LoadedScene record;
    if (loaded) {
        record.scene = std::move(*loaded);
    } else {
        std::cout << "Error while importing FBX scene." << std::endl;
        std::cout << loaded.error() << std::endl;
        record.scene = std::make_unique<fbx::Scene>();
    }
    fbx::Scene& scene = *record.scene;
    preloadTextures(scene.rootNode());
    record.animStack = chooseAnimationStack(scene);
    fbx::AnimStack* stack = record.animStack;
    scenes.push_back(std::move(record));

    SceneGraphNode* root = nullptr;
    convertNode(scene.rootNode(), root, prefix, stack, scene);
}

void FBXLoader::convertNode(const fbx::Node* node, SceneGraphNode*& parentSlot, const std::string& prefix,
                            fbx::AnimStack* stack, fbx::Scene& scene)
{
    if (!node)
        return;
    if (node->name == spawnPointsGroup) {
        collectSpawnPoints(*node);
        return;
    }
    // A skeleton node makes no scene-graph node; its children hang below the
    // nearest converted ancestor instead.
    SceneGraphNode* made = convertAttribute(*node, parentSlot, prefix + "_" + node->name, stack, scene);
    SceneGraphNode* childSlot = made ? made : parentSlot;
    for (const fbx::Node* child : node->children)
        convertNode(child, childSlot, prefix, stack, scene);
    if (!parentSlot)
        parentSlot = made;
}

SceneGraphNode* FBXLoader::convertAttribute(const fbx::Node& node, SceneGraphNode* parent, const std::string& name,
                                            fbx::AnimStack* stack, fbx::Scene& scene)
{
    switch (node.attributeType()) {
    case fbx::AttributeType::Mesh:
        return extractMesh(node, parent, name, stack, scene);
    case fbx::AttributeType::Camera:
        std::cout << "Found camera: \"" << node.camera()->name << "\"" << std::endl;
        return plainNode(name, parent);
    case fbx::AttributeType::Light: {
        SceneGraphNode* made = plainNode(name, parent);
        importLight(node);
        return made;
    }
    case fbx::AttributeType::Skeleton: {
        const fbx::Vec3& t = node.transform.translation;
        markers[node.name] = {static_cast<float>(t.x), static_cast<float>(t.y), static_cast<float>(t.z), 1.0f};
        return nullptr;
    }
    default:
        return plainNode(name, parent);
    }
}

SceneGraphNode* FBXLoader::extractMesh(const fbx::Node& node, SceneGraphNode* parent, const std::string& name,
                                       fbx::AnimStack* stack, fbx::Scene& scene)
{
    MeshData mesh;
    mesh.name = name;
    if (!extractMeshData(node, textureIdOf, mesh)) {
        std::cout << "***** Node " << node.name << " has no Polygons!" << std::endl;
        return plainNode(name, parent);
    }
    mesh.textureVariant = 0;
    mesh.animStack = stack;
    mesh.fbxNode = const_cast<fbx::Node*>(&node);
    mesh.fbxMesh = node.mesh();
    mesh.fbxScene = &scene;
    mesh.markers = &markers;
    auto* object = new CollidableRenderObject(mesh);
    attach(object, parent);
    return object;
}
