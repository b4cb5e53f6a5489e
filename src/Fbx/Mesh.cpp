#include "Fbx/Mesh.h"

namespace fbx {

int32_t LayerElement::directIndex(int32_t mapIndex) const {
  if (mapIndex < 0) return -1;
  int32_t d = mapIndex;
  if (reference == ReferenceMode::IndexToDirect && !index.empty()) {
    if (static_cast<size_t>(mapIndex) >= index.size()) return -1;
    d = index[mapIndex];
  }
  return d >= 0 && static_cast<size_t>(d) < directCount() ? d : -1;
}

Vec3 LayerElement::vec3(int32_t d) const {
  if (d < 0 || static_cast<size_t>(d) >= directCount() || components < 3) return {};
  const double* v = &direct[static_cast<size_t>(d) * components];
  return {v[0], v[1], v[2]};
}

Vec2 LayerElement::vec2(int32_t d) const {
  if (d < 0 || static_cast<size_t>(d) >= directCount() || components < 2) return {};
  const double* v = &direct[static_cast<size_t>(d) * components];
  return {v[0], v[1]};
}

int32_t MaterialElement::materialOf(int32_t polygon) const {
  if (indices.empty() || polygon < 0) return -1;
  if (mapping == MappingMode::AllSame) return indices[0];
  if (mapping != MappingMode::ByPolygon || static_cast<size_t>(polygon) >= indices.size()) return -1;
  return indices[polygon];
}

int Mesh::polygonSize(int polygon) const {
  if (polygon < 0 || polygon >= polygonCount()) return -1;
  return polygonStarts[polygon + 1] - polygonStarts[polygon];
}

int Mesh::cornerIndex(int polygon, int corner) const {
  const int size = polygonSize(polygon);
  if (size < 0 || corner < 0 || corner >= size) return -1;
  return polygonStarts[polygon] + corner;
}

int Mesh::polygonVertex(int polygon, int corner) const {
  const int c = cornerIndex(polygon, corner);
  return c < 0 ? -1 : polygonVertices[c];
}

int32_t Mesh::mappingIndex(MappingMode mapping, int polygon, int corner) const {
  switch (mapping) {
    case MappingMode::ByPolygonVertex: return cornerIndex(polygon, corner);
    case MappingMode::ByControlPoint: return polygonVertex(polygon, corner);
    case MappingMode::ByPolygon: return polygonSize(polygon) < 0 ? -1 : polygon;
    case MappingMode::AllSame: return 0;
    default: return -1;
  }
}

bool Mesh::polygonVertexNormal(int polygon, int corner, Vec3& out) const {
  const LayerElement* n = layerNormals(0);
  if (!n || cornerIndex(polygon, corner) < 0) return false;
  const int32_t d = n->directIndex(mappingIndex(n->mapping, polygon, corner));
  if (d < 0) return false;
  out = n->vec3(d);
  return true;
}

int Mesh::textureUVIndex(int polygon, int corner, int layer) const {
  const LayerElement* uv = layerUVs(layer);
  if (!uv || uv->mapping != MappingMode::ByPolygonVertex) return -1;
  const int c = cornerIndex(polygon, corner);
  if (c < 0) return -1;
  if (uv->reference == ReferenceMode::Direct || uv->index.empty()) return c;
  return static_cast<size_t>(c) < uv->index.size() ? uv->index[c] : -1;
}

const LayerElement* Mesh::elementOf(const std::vector<LayerElement>& list, int layer,
                                    int Layer::*field) const {
  if (layer < 0 || layer >= static_cast<int>(layers.size())) return nullptr;
  const int e = layers[layer].*field;
  return e >= 0 && e < static_cast<int>(list.size()) ? &list[e] : nullptr;
}

const MaterialElement* Mesh::layerMaterials(int layer) const {
  if (layer < 0 || layer >= static_cast<int>(layers.size())) return nullptr;
  const int e = layers[layer].materials;
  return e >= 0 && e < static_cast<int>(materialElements.size()) ? &materialElements[e] : nullptr;
}

void Mesh::addPolygon(const std::vector<int32_t>& corners) {
  polygonVertices.insert(polygonVertices.end(), corners.begin(), corners.end());
  polygonStarts.push_back(static_cast<int32_t>(polygonVertices.size()));
}

}  // namespace fbx
