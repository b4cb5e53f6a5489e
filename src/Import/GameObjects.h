#pragma once
// Game-object templates and spawn points. The six templates are loaded once,
// taken out of the scene and kept for copying (the enemies, the player's body
// and equipment). Below a group named "SpawnPoints" every mesh marks one
// place where an enemy may appear.
#include "Engine/Scene/Math.h"

#include <array>
#include <string>
#include <vector>

class SceneGraphNode;

namespace fbx {
class Node;
} // namespace fbx

enum class GameObject { Skull, PlayerDummy, Pistol, Flashlight, MuzzleFlash, Ammo, Count };

struct GameObjectTemplate {
    const std::string* file; // in config::gameObjectFolder
    const char* prefix;
};

// The template table, in load order.
const std::array<GameObjectTemplate, static_cast<size_t>(GameObject::Count)>& gameObjectTemplates();

// Loads the six templates, detaches each from the scene and gives the
// ammunition template private textures.
void loadGameObjects();
// The detached root of a template, or null before loading.
SceneGraphNode* gameObjectTemplate(GameObject which);
// The template, or an empty detached root standing in for one never loaded.
SceneGraphNode& requireGameObjectTemplate(GameObject which);
// Forgets the templates (the node registry deletes the nodes).
void clearGameObjects();

// Adds one spawn point per mesh in the subtree of `node`.
void collectSpawnPoints(const fbx::Node& node);
// The mean x and z and the lowest y of the first three corners of every
// polygon, in the mesh's own coordinates. A mesh without polygons adds nothing.
void addSpawnPoint(const fbx::Node& node);
// Spawn points collected so far, in the order the meshes were met.
std::vector<Vec3>& spawnPoints();
