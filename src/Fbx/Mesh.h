// Polygon meshes with their layers of per-vertex data.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Fbx/Math.h"
#include "Fbx/Object.h"

namespace fbx {

// What one value of a layer element is attached to.
enum class MappingMode { None, ByControlPoint, ByPolygonVertex, ByPolygon, ByEdge, AllSame };
// Direct: value = direct[mapIndex]; IndexToDirect: value = direct[index[mapIndex]].
enum class ReferenceMode { Direct, IndexToDirect };

// Normals, tangents, binormals, UVs or colours: `components` doubles per value.
struct LayerElement {
  std::string name;  // for UVs the UV set name
  MappingMode mapping = MappingMode::None;
  ReferenceMode reference = ReferenceMode::Direct;
  int components = 3;
  std::vector<double> direct;  // components * value count
  std::vector<int32_t> index;  // used with IndexToDirect; -1 = unmapped

  size_t directCount() const { return components > 0 ? direct.size() / components : 0; }
  // Index into `direct` for a mapping index, or -1 when unmapped or out of range.
  int32_t directIndex(int32_t mapIndex) const;
  Vec3 vec3(int32_t directIdx) const;
  Vec2 vec2(int32_t directIdx) const;
};

// Per-polygon material slots; values index the node's material list.
struct MaterialElement {
  MappingMode mapping = MappingMode::None;
  ReferenceMode reference = ReferenceMode::IndexToDirect;
  std::vector<int32_t> indices;
  // Material slot of a polygon, or -1.
  int32_t materialOf(int32_t polygon) const;
};

// One layer groups at most one element of each kind (indices into the mesh's
// element lists, -1 when the layer has none).
struct Layer {
  int normals = -1, tangents = -1, binormals = -1, uvs = -1, colors = -1, materials = -1;
};

class Mesh : public NodeAttribute {
 public:
  Mesh() : NodeAttribute(AttributeType::Mesh) {}

  std::vector<Vec3> controlPoints;
  // Control-point index of every polygon corner, polygons one after another.
  std::vector<int32_t> polygonVertices;
  // First corner of each polygon; polygonStarts.size() == polygon count + 1.
  std::vector<int32_t> polygonStarts{0};
  // Per edge: the corner where the edge starts (see the FBX Edges array).
  std::vector<int32_t> edges;

  std::vector<LayerElement> normals, tangents, binormals, uvs, colors;
  std::vector<MaterialElement> materialElements;
  std::vector<Layer> layers;

  int polygonCount() const { return static_cast<int>(polygonStarts.size()) - 1; }
  int polygonVertexCount() const { return static_cast<int>(polygonVertices.size()); }
  // Corners of polygon p, or -1 when p is out of range.
  int polygonSize(int polygon) const;
  // Control point of corner k of polygon p, or -1 when out of range.
  int polygonVertex(int polygon, int corner) const;
  // Corner counter ("polygon vertex index") of corner k of polygon p, or -1.
  int cornerIndex(int polygon, int corner) const;

  // Index used to look a value up in an element with the given mapping, or -1.
  int32_t mappingIndex(MappingMode mapping, int polygon, int corner) const;
  // The normal of layer 0 at a corner; false (out unchanged) when missing.
  bool polygonVertexNormal(int polygon, int corner, Vec3& out) const;
  // UV index of a corner in the UV element of `layer`; -1 unless that element
  // is mapped by polygon vertex.
  int textureUVIndex(int polygon, int corner, int layer = 0) const;

  const LayerElement* layerNormals(int layer) const { return elementOf(normals, layer, &Layer::normals); }
  const LayerElement* layerTangents(int layer) const { return elementOf(tangents, layer, &Layer::tangents); }
  const LayerElement* layerBinormals(int layer) const { return elementOf(binormals, layer, &Layer::binormals); }
  const LayerElement* layerUVs(int layer) const { return elementOf(uvs, layer, &Layer::uvs); }
  const LayerElement* layerColors(int layer) const { return elementOf(colors, layer, &Layer::colors); }
  const MaterialElement* layerMaterials(int layer) const;

  // Appends a polygon from control-point indices (for building meshes).
  void addPolygon(const std::vector<int32_t>& corners);

 private:
  const LayerElement* elementOf(const std::vector<LayerElement>& list, int layer, int Layer::*field) const;
};

}  // namespace fbx
