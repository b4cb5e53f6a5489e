// Putting content into an fbx::Scene the way the game's import expects it:
// - mesh nodes keep identity transforms; their vertices are stored where
//   they stand, one control point per triangle corner, triangles only;
// - normals, texture coordinates, tangents and binormals per polygon vertex
//   in layer 0 (the renderer does normal mapping);
// - one material per surface, with its diffuse texture and normal map named
//   by plain file names; meshes of several surfaces map materials per
//   polygon, others use one material for all polygons;
// - markers are skeleton nodes whose local translation is the marker;
// - animation: keyed Lcl properties in the layers of a stack.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "Fbx/Scene.h"
#include "Geometry.h"

namespace assetgen {

// Per-corner tangent frame of a triangle from its positions and texture
// coordinates, made orthogonal to each corner's normal: tangent follows +u,
// binormal +v.
void triangleTangents(const Triangle& triangle, Vec3 tangents[3], Vec3 binormals[3]);

// Fills `mesh` (empty) from `source`; material slots follow
// TriangleMesh::surfaces().
void fillFbxMesh(const TriangleMesh& source, fbx::Mesh& mesh);

// One key of an animated vector property.
struct VectorKey {
  double seconds;
  Vec3 value;
};

class SceneAssembler {
 public:
  explicit SceneAssembler(fbx::Scene& scene) : scene_(scene) {}

  fbx::Scene& scene() { return scene_; }
  // A node without attribute (a group); parent nullptr = the root.
  fbx::Node* addGroup(const std::string& name, fbx::Node* parent = nullptr);
  fbx::Node* addMeshNode(const std::string& name, const TriangleMesh& mesh, fbx::Node* parent = nullptr);
  // A skeleton node directly below `parent` at `position`.
  fbx::Node* addMarker(const std::string& name, Vec3 position, fbx::Node* parent = nullptr);
  // The material of a surface, made on first use with its two textures.
  fbx::Material* material(Surface surface);

  // Keys `property` ("Lcl Translation", "Lcl Rotation") of `node` in
  // `layer` with linear segments.
  void animate(fbx::AnimLayer* layer, fbx::Node* node, const std::string& property, const std::vector<VectorKey>& keys);

 private:
  fbx::Texture* texture(const std::string& fileName);

  fbx::Scene& scene_;
  std::map<Surface, fbx::Material*> materials_;
  std::map<std::string, fbx::Texture*> textures_;
};

}  // namespace assetgen
