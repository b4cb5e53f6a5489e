#pragma once
// One non-indexed triangle mesh as the FBX import hands it to the render
// objects, which copy what they need. Every triangle contributes three
// consecutive vertices; material group 0's triangles come first, then group
// 1's, and so on. Positions, normals, tangents and binormals are in the
// mesh's own (node-local) space.
#include "Engine/Scene/Math.h"

#include <array>
#include <map>
#include <string>
#include <vector>

namespace fbx {
class AnimStack;
class Node;
class Mesh;
class Scene;
} // namespace fbx

// Skeleton markers of one imported file: name -> position (x, y, z, w).
using MarkerMap = std::map<std::string, std::array<float, 4>>;

struct MeshData {
    std::string name; // prefixed name of the mesh node
    // Texture ids (-1: none) per variant and material group; the import
    // fills only variant 0.
    std::vector<std::vector<int>> diffuseTextureIds;
    std::vector<std::vector<int>> normalTextureIds;
    std::vector<int> triangleCounts; // per material group, in draw order
    std::vector<float> positions;    // 4 per vertex: x, y, z, 1
    std::vector<float> normals;      // 3 per vertex
    std::vector<float> tangents;     // 3 per vertex
    std::vector<float> binormals;    // 3 per vertex
    std::vector<float> texcoords;    // 2 per vertex: u, v
    Vec3 boundsMin;                  // box of the positions, mesh space
    Vec3 boundsMax;
    int textureVariant = 0;

    // Not owned: the FBX scene owns these until the loader is destroyed.
    fbx::AnimStack* animStack = nullptr; // none: the mesh is not animated
    fbx::Node* fbxNode = nullptr;
    fbx::Mesh* fbxMesh = nullptr;
    fbx::Scene* fbxScene = nullptr;
    const MarkerMap* markers = nullptr;
};
