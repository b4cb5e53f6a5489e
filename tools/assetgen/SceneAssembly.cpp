#include "SceneAssembly.h"

#include <cmath>

namespace assetgen {
namespace {

// Any unit vector perpendicular to n (for faces without usable texture
// coordinates).
Vec3 anyPerpendicular(Vec3 n) {
  const Vec3 axis = std::fabs(n.x) < 0.9 ? Vec3{1, 0, 0} : Vec3{0, 1, 0};
  return normalized(cross(axis, n));
}

fbx::LayerElement vectorElement(const char* name, int components) {
  fbx::LayerElement e;
  e.name = name;
  e.mapping = fbx::MappingMode::ByPolygonVertex;
  e.reference = fbx::ReferenceMode::Direct;
  e.components = components;
  return e;
}

void push(fbx::LayerElement& e, Vec3 v) { e.direct.insert(e.direct.end(), {v.x, v.y, v.z}); }

}  // namespace

void triangleTangents(const Triangle& t, Vec3 tangents[3], Vec3 binormals[3]) {
  const Vec3 e1 = t.corners[1].position - t.corners[0].position;
  const Vec3 e2 = t.corners[2].position - t.corners[0].position;
  const double du1 = t.corners[1].uv.x - t.corners[0].uv.x, dv1 = t.corners[1].uv.y - t.corners[0].uv.y;
  const double du2 = t.corners[2].uv.x - t.corners[0].uv.x, dv2 = t.corners[2].uv.y - t.corners[0].uv.y;
  const double det = du1 * dv2 - du2 * dv1;
  Vec3 faceTangent, faceBinormal;
  if (std::fabs(det) > 1e-12) {
    faceTangent = (e1 * dv2 - e2 * dv1) * (1.0 / det);
    faceBinormal = (e2 * du1 - e1 * du2) * (1.0 / det);
  }
  for (int i = 0; i < 3; ++i) {
    const Vec3 n = t.corners[i].normal;
    Vec3 tangent = normalized(faceTangent - n * dot(n, faceTangent));
    if (length(tangent) < 0.5) tangent = anyPerpendicular(n);
    Vec3 binormal = cross(n, tangent);
    if (dot(binormal, faceBinormal) < 0) binormal = binormal * -1.0;  // mirrored texture mapping
    tangents[i] = tangent;
    binormals[i] = binormal;
  }
}

void fillFbxMesh(const TriangleMesh& source, fbx::Mesh& mesh) {
  const std::vector<Surface> slots = source.surfaces();
  fbx::LayerElement normals = vectorElement("", 3), tangents = vectorElement("", 3);
  fbx::LayerElement binormals = vectorElement("", 3), uvs = vectorElement("map1", 2);
  fbx::MaterialElement materials;
  const bool perPolygon = slots.size() > 1;
  materials.mapping = perPolygon ? fbx::MappingMode::ByPolygon : fbx::MappingMode::AllSame;
  materials.reference = fbx::ReferenceMode::IndexToDirect;
  if (!perPolygon) materials.indices.push_back(0);
  for (const Triangle& t : source.triangles) {
    Vec3 tangent[3], binormal[3];
    triangleTangents(t, tangent, binormal);
    const int32_t first = static_cast<int32_t>(mesh.controlPoints.size());
    for (int i = 0; i < 3; ++i) {
      mesh.controlPoints.push_back(t.corners[i].position);
      push(normals, t.corners[i].normal);
      push(tangents, tangent[i]);
      push(binormals, binormal[i]);
      uvs.direct.insert(uvs.direct.end(), {t.corners[i].uv.x, t.corners[i].uv.y});
    }
    mesh.addPolygon({first, first + 1, first + 2});
    if (perPolygon) {
      for (size_t s = 0; s < slots.size(); ++s) {
        if (slots[s] == t.surface) materials.indices.push_back(static_cast<int32_t>(s));
      }
    }
  }
  mesh.normals.push_back(std::move(normals));
  mesh.tangents.push_back(std::move(tangents));
  mesh.binormals.push_back(std::move(binormals));
  mesh.uvs.push_back(std::move(uvs));
  mesh.materialElements.push_back(std::move(materials));
  fbx::Layer layer;
  layer.normals = layer.tangents = layer.binormals = layer.uvs = layer.materials = 0;
  mesh.layers.push_back(layer);
}

fbx::Node* SceneAssembler::addGroup(const std::string& name, fbx::Node* parent) { return scene_.addNode(name, parent); }

fbx::Node* SceneAssembler::addMeshNode(const std::string& name, const TriangleMesh& mesh, fbx::Node* parent) {
  fbx::Node* node = scene_.addNode(name, parent);
  fbx::Mesh* geometry = scene_.addMesh(name);
  fillFbxMesh(mesh, *geometry);
  fbx::Scene::setAttribute(node, geometry);
  for (Surface s : mesh.surfaces()) node->materials.push_back(material(s));
  return node;
}

fbx::Node* SceneAssembler::addMarker(const std::string& name, Vec3 position, fbx::Node* parent) {
  fbx::Node* node = scene_.addNode(name, parent);
  fbx::Skeleton* skeleton = scene_.addSkeleton(name);
  skeleton->skeletonType = fbx::SkeletonType::LimbNode;
  fbx::Scene::setAttribute(node, skeleton);
  node->transform.translation = position;
  return node;
}

fbx::Texture* SceneAssembler::texture(const std::string& fileName) {
  auto found = textures_.find(fileName);
  if (found != textures_.end()) return found->second;
  fbx::Texture* t = scene_.addTexture(fileName, fileName);
  t->relativeFileName = fileName;
  textures_[fileName] = t;
  return t;
}

fbx::Material* SceneAssembler::material(Surface surface) {
  auto found = materials_.find(surface);
  if (found != materials_.end()) return found->second;
  const SurfaceInfo& info = surfaceInfo(surface);
  fbx::Material* m = scene_.addMaterial(info.materialName);
  m->diffuseColor = {1, 1, 1};
  m->emissiveColor = info.emissive;
  m->textures[fbx::Material::kDiffuse].push_back(texture(info.diffuseFile));
  m->textures[fbx::Material::kNormalMap].push_back(texture(info.normalFile));
  if (info.emissive != Vec3{}) m->textures["EmissiveColor"].push_back(texture(info.diffuseFile));
  materials_[surface] = m;
  return m;
}

void SceneAssembler::animate(fbx::AnimLayer* layer, fbx::Node* node, const std::string& property,
                             const std::vector<VectorKey>& keys) {
  const Vec3 start = keys.empty() ? Vec3{} : keys.front().value;
  fbx::AnimCurveNode* curveNode =
      scene_.addCurveNode(layer, node, property, {"X", "Y", "Z"}, {start.x, start.y, start.z});
  curveNode->name = property == "Lcl Translation" ? "T" : property == "Lcl Rotation" ? "R" : property;
  static const char* const kChannels[] = {"X", "Y", "Z"};
  for (int axis = 0; axis < 3; ++axis) {
    fbx::AnimCurve* curve = scene_.addChannelCurve(curveNode, kChannels[axis]);
    curve->defaultValue = start[axis];
    for (const VectorKey& k : keys) {
      fbx::AnimKey key;
      key.time = fbx::fromSeconds(k.seconds);
      key.value = static_cast<float>(k.value[axis]);
      key.interpolation = fbx::Interpolation::Linear;
      curve->keys.push_back(key);
    }
  }
}

}  // namespace assetgen
