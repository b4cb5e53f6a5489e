// Reading Geometry "Mesh" records: control points, polygons, edges and the
// layer elements with their mapping and reference modes.
#include <algorithm>
#include <cstring>
#include <string_view>
#include <vector>

#include "Fbx/SceneReader.h"

namespace fbx::detail {

namespace {

MappingMode mappingFrom(std::string_view s) {
  if (s == "ByPolygonVertex") return MappingMode::ByPolygonVertex;
  if (s == "ByVertice" || s == "ByVertex" || s == "ByControlPoint") return MappingMode::ByControlPoint;
  if (s == "ByPolygon") return MappingMode::ByPolygon;
  if (s == "ByEdge") return MappingMode::ByEdge;
  if (s == "AllSame") return MappingMode::AllSame;
  return MappingMode::None;
}

ReferenceMode referenceFrom(std::string_view s) {
  return s == "IndexToDirect" || s == "Index" ? ReferenceMode::IndexToDirect : ReferenceMode::Direct;
}

Property* firstValue(Record& record, const char* name) {
  Record* c = record.child(name);
  return c && !c->properties.empty() ? &c->properties[0] : nullptr;
}

// The text of the named child's first value; it points into the record tree.
std::string_view childText(const Record& record, const char* name) {
  const Property* p = record.childValue(name);
  return p ? p->toString() : std::string_view();
}

struct ElementKind {
  const char* record;
  const char* data[2];   // accepted names of the direct array
  const char* index[2];  // accepted names of the index array
  int components;
  std::vector<LayerElement> Mesh::*list;
  int Layer::*slot;
};

const ElementKind kElementKinds[] = {
    {"LayerElementNormal", {"Normals", nullptr}, {"NormalsIndex", nullptr}, 3, &Mesh::normals, &Layer::normals},
    {"LayerElementTangent", {"Tangents", "Tangent"}, {"TangentsIndex", "TangentIndex"}, 3, &Mesh::tangents,
     &Layer::tangents},
    {"LayerElementBinormal", {"Binormals", "Binormal"}, {"BinormalsIndex", "BinormalIndex"}, 3, &Mesh::binormals,
     &Layer::binormals},
    {"LayerElementUV", {"UV", nullptr}, {"UVIndex", nullptr}, 2, &Mesh::uvs, &Layer::uvs},
    {"LayerElementColor", {"Colors", nullptr}, {"ColorIndex", nullptr}, 4, &Mesh::colors, &Layer::colors},
};

Property* findEither(Record& record, const char* const names[2]) {
  for (int i = 0; i < 2; ++i) {
    if (!names[i]) continue;
    if (Property* p = firstValue(record, names[i])) return p;
  }
  return nullptr;
}

constexpr const char* kMaterialElement = "LayerElementMaterial";

// Where each typed element ("LayerElementUV: 1") went in the mesh's lists.
struct ElementSlot {
  int64_t typedIndex;
  std::string_view kind;
  int slot;

  bool operator<(const ElementSlot& o) const {
    return typedIndex != o.typedIndex ? typedIndex < o.typedIndex : kind < o.kind;
  }
};

// Slots sorted by typed index and kind; of several elements with the same
// kind and typed index the first one read counts.
class ElementSlots {
 public:
  void reserve(size_t count) { slots_.reserve(count); }
  void add(std::string_view kind, int64_t typedIndex, int slot) { slots_.push_back({typedIndex, kind, slot}); }

  void index() {
    std::stable_sort(slots_.begin(), slots_.end());
    slots_.erase(std::unique(slots_.begin(), slots_.end(),
                             [](const ElementSlot& a, const ElementSlot& b) { return !(a < b) && !(b < a); }),
                 slots_.end());
  }

  int find(std::string_view kind, int64_t typedIndex) const {
    const ElementSlot key{typedIndex, kind, 0};
    auto it = std::lower_bound(slots_.begin(), slots_.end(), key);
    return it != slots_.end() && !(key < *it) ? it->slot : -1;
  }

  const std::vector<ElementSlot>& sorted() const { return slots_; }

 private:
  std::vector<ElementSlot> slots_;
};

void readElement(Mesh& mesh, Record& record, const ElementKind& kind, ElementSlots& slots) {
  LayerElement e;
  e.name = childText(record, "Name");
  e.mapping = mappingFrom(childText(record, "MappingInformationType"));
  e.reference = referenceFrom(childText(record, "ReferenceInformationType"));
  e.components = kind.components;
  if (Property* data = findEither(record, kind.data)) e.direct = data->takeDoubles();
  if (Property* index = findEither(record, kind.index)) e.index = index->takeInt32s();
  auto& list = mesh.*kind.list;
  const int64_t typedIndex = record.properties.empty() ? 0 : record.properties[0].toInt();
  slots.add(kind.record, typedIndex, static_cast<int>(list.size()));
  list.push_back(std::move(e));
}

void readMaterialElement(Mesh& mesh, Record& record, ElementSlots& slots) {
  MaterialElement e;
  e.mapping = mappingFrom(childText(record, "MappingInformationType"));
  e.reference = referenceFrom(childText(record, "ReferenceInformationType"));
  if (Property* data = firstValue(record, "Materials")) e.indices = data->takeInt32s();
  const int64_t typedIndex = record.properties.empty() ? 0 : record.properties[0].toInt();
  slots.add(kMaterialElement, typedIndex, static_cast<int>(mesh.materialElements.size()));
  mesh.materialElements.push_back(std::move(e));
}

void assignSlot(Layer& layer, std::string_view kind, int slot) {
  if (kind == kMaterialElement) {
    layer.materials = slot;
    return;
  }
  for (const ElementKind& k : kElementKinds) {
    if (kind == k.record) layer.*k.slot = slot;
  }
}

void readLayers(Mesh& mesh, const Record& geometry, const ElementSlots& slots) {
  for (const Record& r : geometry.children) {
    if (r.name != "Layer") continue;
    Layer layer;
    for (const Record& entry : r.children) {
      if (entry.name != "LayerElement") continue;
      const std::string_view kind = childText(entry, "Type");
      const Property* typed = entry.childValue("TypedIndex");
      assignSlot(layer, kind, slots.find(kind, typed ? typed->toInt() : 0));
    }
    mesh.layers.push_back(layer);
  }
  if (!mesh.layers.empty()) return;
  // No Layer records: layer n holds the elements with typed index n, for n
  // from 0 up to the first index without elements.
  auto s = std::lower_bound(slots.sorted().begin(), slots.sorted().end(), ElementSlot{0, {}, 0});
  for (int64_t n = 0; s != slots.sorted().end() && s->typedIndex == n; ++n) {
    Layer layer;
    for (; s != slots.sorted().end() && s->typedIndex == n; ++s) assignSlot(layer, s->kind, s->slot);
    mesh.layers.push_back(layer);
  }
}

// Decodes PolygonVertexIndex: the last corner of each polygon is stored as ~index.
bool readPolygons(ReadContext& ctx, Mesh& mesh, Record& geometry) {
  Property* indices = firstValue(geometry, "PolygonVertexIndex");
  if (!indices) return true;
  mesh.polygonVertices = indices->takeInt32s();
  const int32_t cornerCount = static_cast<int32_t>(mesh.polygonVertices.size());
  const auto lastCorners = std::count_if(mesh.polygonVertices.begin(), mesh.polygonVertices.end(),
                                         [](int32_t v) { return v < 0; });
  mesh.polygonStarts.reserve(static_cast<size_t>(lastCorners) + 2);
  mesh.polygonStarts.assign(1, 0);
  const int64_t pointCount = static_cast<int64_t>(mesh.controlPoints.size());
  for (int32_t i = 0; i < cornerCount; ++i) {
    int32_t& v = mesh.polygonVertices[i];
    const bool last = v < 0;
    if (last) v = ~v;
    if (v >= pointCount) {
      return ctx.fail(geometry.offset, "mesh polygon corner " + std::to_string(i) + " uses control point " +
                                           std::to_string(v) + " of only " + std::to_string(pointCount));
    }
    if (last || i + 1 == cornerCount) mesh.polygonStarts.push_back(i + 1);
  }
  return true;
}

}  // namespace

Mesh* readMesh(ReadContext& ctx, Record& record) {
  Mesh* mesh = ctx.scene->addMesh("");
  if (Property* vertices = firstValue(record, "Vertices")) {
    const std::vector<double> xyz = vertices->takeDoubles();
    // Reserved, not resized: zero-filling millions of points first would
    // write (and fault in) the whole array twice.
    const size_t count = xyz.size() / 3;
    mesh->controlPoints.reserve(count);
    for (size_t i = 0; i < count; ++i) mesh->controlPoints.push_back({xyz[3 * i], xyz[3 * i + 1], xyz[3 * i + 2]});
  }
  if (!readPolygons(ctx, *mesh, record)) return nullptr;
  if (Property* edges = firstValue(record, "Edges")) mesh->edges = edges->takeInt32s();
  ElementSlots slots;
  slots.reserve(record.children.size());
  for (Record& child : record.children) {
    if (child.name == "LayerElementMaterial") {
      readMaterialElement(*mesh, child, slots);
      continue;
    }
    for (const ElementKind& kind : kElementKinds) {
      if (child.name == kind.record) readElement(*mesh, child, kind, slots);
    }
  }
  slots.index();
  readLayers(*mesh, record, slots);
  return mesh;
}

}  // namespace fbx::detail
