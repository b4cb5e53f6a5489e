#pragma once
// Turns one FBX mesh node into the engine's non-indexed triangle lists,
// grouped by material (diffuse and normal-map texture ids). Polygons are
// fan-triangulated (corners 0, k, k + 1), each triangle keeping its
// polygon's material; polygons with fewer than three corners are skipped.
#include "Engine/Render/MeshData.h"

#include <functional>
#include <string>

namespace fbx {
class Material;
class Node;
} // namespace fbx

// Answers the texture id (-1: none) of a texture's short file name.
using TextureIdLookup = std::function<int(const std::string& shortName)>;

// Start values of the bounds: a box that any real vertex widens.
constexpr float boundsSentinel = 1e6f;

// The text after the last "/" of a stored texture file name (a backslash is
// not a separator), or the whole name.
std::string fileNamePart(const std::string& fileName);

// The diffuse and normal-map ids of `material`: every texture on the channel
// overwrites the id, so the last one decides; ids without textures keep
// their values.
void materialTextureIds(const fbx::Material& material, const TextureIdLookup& lookup, int& diffuseId,
                        int& normalId);

// Fills the geometry and material groups of `mesh` (name, texture ids,
// triangle counts, vertex lists, bounds) from `node`'s mesh. False, leaving
// the vertex lists empty, when the mesh has no whole triangle.
bool extractMeshData(const fbx::Node& node, const TextureIdLookup& lookup, MeshData& mesh);
