// Geometry and curve records for the writer: the two object kinds whose
// content is large arrays rather than properties.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "Fbx/KeyAttrFlags.h"
#include "Fbx/WriterRecords.h"

namespace fbx::detail {

namespace {

constexpr float kDefaultWeight = 1.0f / 3;

const char* mappingName(MappingMode m) {
  switch (m) {
    case MappingMode::ByControlPoint: return "ByVertice";
    case MappingMode::ByPolygonVertex: return "ByPolygonVertex";
    case MappingMode::ByPolygon: return "ByPolygon";
    case MappingMode::ByEdge: return "ByEdge";
    case MappingMode::AllSame: return "AllSame";
    default: return "NoMappingInformation";
  }
}

const char* referenceName(ReferenceMode r) { return r == ReferenceMode::Direct ? "Direct" : "IndexToDirect"; }

Record elementRecord(const char* name, int typedIndex, const LayerElement& e, const char* dataName,
                     const char* indexName) {
  std::vector<Record> c = {record("Version", {i32(101)}), record("Name", {str(e.name)}),
                           record("MappingInformationType", {str(mappingName(e.mapping))}),
                           record("ReferenceInformationType", {str(referenceName(e.reference))}),
                           record(dataName, {Property('d', e.direct)})};
  if (e.reference == ReferenceMode::IndexToDirect) c.push_back(record(indexName, {Property('i', e.index)}));
  return record(name, {i32(typedIndex)}, std::move(c));
}

}  // namespace

std::vector<Record> meshRecords(const Mesh& m) {
  std::vector<double> xyz;
  xyz.reserve(m.controlPoints.size() * 3);
  for (const Vec3& p : m.controlPoints) xyz.insert(xyz.end(), {p.x, p.y, p.z});
  std::vector<int32_t> corners = m.polygonVertices;
  for (int p = 0; p < m.polygonCount(); ++p) {
    const int32_t last = m.polygonStarts[p + 1] - 1;
    if (last >= m.polygonStarts[p]) corners[last] = ~corners[last];
  }
  std::vector<Record> c = {record("Vertices", {Property('d', std::move(xyz))}),
                           record("PolygonVertexIndex", {Property('i', std::move(corners))}),
                           record("GeometryVersion", {i32(124)})};
  if (!m.edges.empty()) c.push_back(record("Edges", {Property('i', m.edges)}));
  struct Kind {
    const std::vector<LayerElement>& list;
    const char *record, *data, *index;
    int Layer::*slot;
  };
  const Kind kinds[] = {{m.normals, "LayerElementNormal", "Normals", "NormalsIndex", &Layer::normals},
                        {m.binormals, "LayerElementBinormal", "Binormals", "BinormalsIndex", &Layer::binormals},
                        {m.tangents, "LayerElementTangent", "Tangents", "TangentsIndex", &Layer::tangents},
                        {m.colors, "LayerElementColor", "Colors", "ColorIndex", &Layer::colors},
                        {m.uvs, "LayerElementUV", "UV", "UVIndex", &Layer::uvs}};
  for (const Kind& k : kinds) {
    for (size_t i = 0; i < k.list.size(); ++i) c.push_back(elementRecord(k.record, int(i), k.list[i], k.data, k.index));
  }
  for (size_t i = 0; i < m.materialElements.size(); ++i) {
    const MaterialElement& e = m.materialElements[i];
    c.push_back(record("LayerElementMaterial", {i32(i)},
                       {record("Version", {i32(101)}), record("Name", {str("")}),
                        record("MappingInformationType", {str(mappingName(e.mapping))}),
                        record("ReferenceInformationType", {str(referenceName(e.reference))}),
                        record("Materials", {Property('i', e.indices)})}));
  }
  for (size_t n = 0; n < m.layers.size(); ++n) {
    std::vector<Record> entries = {record("Version", {i32(100)})};
    auto entry = [&](const char* type, int slot) {
      if (slot >= 0) entries.push_back(record("LayerElement", {}, {record("Type", {str(type)}), record("TypedIndex", {i32(slot)})}));
    };
    for (const Kind& k : kinds) entry(k.record, m.layers[n].*k.slot);
    entry("LayerElementMaterial", m.layers[n].materials);
    c.push_back(record("Layer", {i32(n)}, std::move(entries)));
  }
  return c;
}

std::vector<Record> curveRecords(const AnimCurve& c) {
  std::vector<int64_t> times;
  std::vector<float> values, data;
  std::vector<int32_t> flags, counts;
  for (const AnimKey& k : c.keys) {
    times.push_back(k.time);
    values.push_back(k.value);
    int32_t f = kLinear;
    if (k.interpolation == Interpolation::Constant) f = kConstant | (k.constantNext ? kConstantNextOrAuto : 0);
    if (k.interpolation == Interpolation::Cubic) f = kCubic | (k.autoTangent ? kConstantNextOrAuto : kTangentUser);
    const uint32_t right = static_cast<uint32_t>(std::lround(std::clamp(k.rightWeight, 0.0f, 1.0f) * kWeightDivider));
    const uint32_t left = static_cast<uint32_t>(std::lround(std::clamp(k.nextLeftWeight, 0.0f, 1.0f) * kWeightDivider));
    if (k.rightWeight != kDefaultWeight) f |= kRightWeighted;
    if (k.nextLeftWeight != kDefaultWeight) f |= kNextLeftWeighted;
    const uint32_t bits = right | (left << 16);
    float packed;
    std::memcpy(&packed, &bits, sizeof packed);
    flags.push_back(f);
    counts.push_back(1);
    data.insert(data.end(), {k.rightSlope, k.nextLeftSlope, packed, 0.0f});
  }
  std::vector<Record> out;
  out.push_back(record("Default", {f64(c.defaultValue)}));
  out.push_back(record("KeyVer", {i32(4009)}));
  out.push_back(record("KeyTime", {Property('l', std::move(times))}));
  out.push_back(record("KeyValueFloat", {Property('f', std::move(values))}));
  out.push_back(record("KeyAttrFlags", {Property('i', std::move(flags))}));
  out.push_back(record("KeyAttrDataFloat", {Property('f', std::move(data))}));
  out.push_back(record("KeyAttrRefCount", {Property('i', std::move(counts))}));
  return out;
}

}  // namespace fbx::detail
