#include "Import/GameObjects.h"

#include "Engine/Base/Config.h"
#include "Engine/Scene/NodeManager.h"
#include "Engine/Scene/SceneGraphNode.h"
#include "Fbx/Scene.h"
#include "Import/SceneLoader.h"

namespace {

constexpr size_t templateCount = static_cast<size_t>(GameObject::Count);
std::array<SceneGraphNode*, templateCount> templates{};
std::vector<Vec3> points;

} // namespace

const std::array<GameObjectTemplate, templateCount>& gameObjectTemplates()
{
    static const std::array<GameObjectTemplate, templateCount> table = {{
        {&config::skullFile, "GAMEOBJECT_SKULL"},
        {&config::playerDummyFile, "GAMEOBJECT_PLAYERDUMMY"},
        {&config::pistolFile, "GAMEOBJECT_PISTOL"},
        {&config::flashlightFile, "GAMEOBJECT_FLASHLIGHT"},
        {&config::muzzleFlashFile, "GAMEOBJECT_MUZZLEFLASH"},
        {&config::ammoFile, "GAMEOBJECT_AMMO9mm"},
    }};
    return table;
}

void loadGameObjects()
{
    SceneLoader* loader = SceneLoader::getInstance();
    NodeManager* registry = NodeManager::getInstance();
    for (size_t i = 0; i < templateCount; ++i) {
        const GameObjectTemplate& entry = gameObjectTemplates()[i];
        loader->loadScene(config::gameObjectFolder + *entry.file, entry.prefix);
        SceneGraphNode* root = registry->findByName(std::string(entry.prefix) + "_RootNode");
        if (root)
            root->setParent(nullptr);
        templates[i] = root;
    }
    if (SceneGraphNode* ammo = gameObjectTemplate(GameObject::Ammo))
        ammo->makeTexturesUnique();
}

SceneGraphNode* gameObjectTemplate(GameObject which) { return templates[static_cast<size_t>(which)]; }

SceneGraphNode& requireGameObjectTemplate(GameObject which)
{
    SceneGraphNode*& slot = templates[static_cast<size_t>(which)];
    if (!slot)
        slot = new SceneGraphNode(std::string(gameObjectTemplates()[static_cast<size_t>(which)].prefix) + "_RootNode");
    return *slot;
}

void clearGameObjects() { templates.fill(nullptr); }

void collectSpawnPoints(const fbx::Node& node)
{
    if (node.attributeType() == fbx::AttributeType::Mesh)
        addSpawnPoint(node);
    for (const fbx::Node* child : node.children)
        collectSpawnPoints(*child);
}

void addSpawnPoint(const fbx::Node& node)
{
    const fbx::Mesh* mesh = node.mesh();
    if (!mesh)
        return;
    double sumX = 0.0, sumZ = 0.0, minY = 9999999.0;
    int count = 0;
    for (int polygon = 0; polygon < mesh->polygonCount(); ++polygon) {
        for (int corner = 0; corner < 3; ++corner) {
            int point = mesh->polygonVertex(polygon, corner);
            if (point < 0 || point >= static_cast<int>(mesh->controlPoints.size()))
                continue;
            const fbx::Vec3& p = mesh->controlPoints[point];
            ++count;
            sumX += p.x;
            sumZ += p.z;
            if (p.y <= minY)
                minY = p.y;
        }
    }
    if (count > 0)
        points.push_back({float(sumX / count), float(minY), float(sumZ / count)});
}

std::vector<Vec3>& spawnPoints() { return points; }
