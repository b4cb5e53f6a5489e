#include "Import/MeshExtraction.h"

#include "Fbx/Mesh.h"
#include "Fbx/Scene.h"

#include <algorithm>

namespace {

// One triangle of the output and the textures it draws with.
struct TriangleRecord {
    int diffuseId;
    int normalId;
    int triangle; // index into the work arrays, 3 corners each
};

// Vertex attributes of every triangle corner, before grouping.
struct CornerArrays {
    std::vector<float> positions, normals, tangents, binormals, texcoords;

    void append(Vec3 position, Vec3 normal, Vec3 tangent, Vec3 binormal, float u, float v)
    {
        positions.insert(positions.end(), {position.x, position.y, position.z, 1.0f});
        normals.insert(normals.end(), {normal.x, normal.y, normal.z});
        tangents.insert(tangents.end(), {tangent.x, tangent.y, tangent.z});
        binormals.insert(binormals.end(), {binormal.x, binormal.y, binormal.z});
        texcoords.insert(texcoords.end(), {u, v});
    }
};

Vec3 toVec3(const fbx::Vec3& v)
{
    return {static_cast<float>(v.x), static_cast<float>(v.y), static_cast<float>(v.z)};
}

// True when every corner of `polygon` names an existing control point.
bool cornersValid(const fbx::Mesh& mesh, int polygon, int size)
{
    for (int corner = 0; corner < size; ++corner) {
        int point = mesh.polygonVertex(polygon, corner);
        if (point < 0 || point >= static_cast<int>(mesh.controlPoints.size()))
            return false;
    }
    return true;
}

bool materialsPerPolygon(const fbx::Mesh& mesh)
{
    for (const fbx::MaterialElement& element : mesh.materialElements) {
        if (element.mapping == fbx::MappingMode::ByPolygon)
            return true;
    }
    return false;
}

// The value of `element` at one polygon corner, following its mapping and
// reference modes; `fallback` when the element has no value there.
Vec3 elementValue(const fbx::Mesh& mesh, const fbx::LayerElement* element, int polygon, int corner,
                  Vec3 fallback)
{
    if (!element)
        return fallback;
    int32_t index = element->directIndex(mesh.mappingIndex(element->mapping, polygon, corner));
    return index < 0 ? fallback : toVec3(element->vec3(index));
}

using LayerAccessor = const fbx::LayerElement* (fbx::Mesh::*)(int) const;

// The element of the first layer that has one, or null. Further layers
// carry extra sets (a light map's UVs, say) that must not replace the first.
const fbx::LayerElement* firstLayerElement(const fbx::Mesh& mesh, LayerAccessor element)
{
    for (int layer = 0; layer < static_cast<int>(mesh.layers.size()); ++layer) {
        if (const fbx::LayerElement* found = (mesh.*element)(layer))
            return found;
    }
    return nullptr;
}

// The per-corner elements a mesh is drawn with.
struct CornerElements {
    const fbx::LayerElement* tangents;
    const fbx::LayerElement* binormals;
    const fbx::LayerElement* uvs;

    explicit CornerElements(const fbx::Mesh& mesh)
        : tangents(firstLayerElement(mesh, &fbx::Mesh::layerTangents)),
          binormals(firstLayerElement(mesh, &fbx::Mesh::layerBinormals)),
          uvs(firstLayerElement(mesh, &fbx::Mesh::layerUVs))
    {
    }
};

// Writes one corner: position, normal, tangent frame and texture coordinates.
void appendCorner(const fbx::Mesh& mesh, const CornerElements& elements, int polygon, int corner, CornerArrays& out,
                  Vec3& boundsMin, Vec3& boundsMax)
{
    Vec3 position = toVec3(mesh.controlPoints[mesh.polygonVertex(polygon, corner)]);
    fbx::Vec3 fbxNormal;
    Vec3 normal = mesh.polygonVertexNormal(polygon, corner, fbxNormal) ? normalize(toVec3(fbxNormal)) : Vec3{};
    Vec3 tangent = elementValue(mesh, elements.tangents, polygon, corner, {});
    Vec3 binormal = elementValue(mesh, elements.binormals, polygon, corner, {});
    float u = 0.0f, v = 0.0f;
    if (elements.uvs) {
        int32_t index = elements.uvs->directIndex(mesh.mappingIndex(elements.uvs->mapping, polygon, corner));
        if (index >= 0) {
            fbx::Vec2 uv = elements.uvs->vec2(index);
            u = static_cast<float>(uv.x);
            v = static_cast<float>(uv.y);
        }
    }
    boundsMin = componentMin(boundsMin, position);
    boundsMax = componentMax(boundsMax, position);
    out.append(position, normal, tangent, binormal, u, v);
}

// Per-polygon material ids: each layer's material element overrides the defaults.
void polygonTextureIds(const fbx::Node& node, const fbx::Mesh& mesh, int polygon,
                       const TextureIdLookup& lookup, int& diffuseId, int& normalId)
{
    for (int layer = 0; layer < static_cast<int>(mesh.layers.size()); ++layer) {
        const fbx::MaterialElement* element = mesh.layerMaterials(layer);
        if (!element)
            continue;
        int slot = element->materialOf(polygon);
        if (slot >= 0 && slot < static_cast<int>(node.materials.size()))
            materialTextureIds(*node.materials[slot], lookup, diffuseId, normalId);
    }
}

void appendTriangle(const CornerArrays& corners, int triangle, MeshData& mesh)
{
    auto copy = [triangle](const std::vector<float>& from, std::vector<float>& to, int width) {
        auto first = from.begin() + triangle * 3 * width;
        to.insert(to.end(), first, first + 3 * width);
    };
    copy(corners.positions, mesh.positions, 4);
    copy(corners.normals, mesh.normals, 3);
    copy(corners.tangents, mesh.tangents, 3);
    copy(corners.binormals, mesh.binormals, 3);
    copy(corners.texcoords, mesh.texcoords, 2);
}

// Consecutive records with the same texture pair form one material group.
void buildGroups(const std::vector<TriangleRecord>& records, const CornerArrays& corners, MeshData& mesh)
{
    mesh.diffuseTextureIds.assign(1, {});
    mesh.normalTextureIds.assign(1, {});
    mesh.triangleCounts.clear();
    int previousDiffuse = -2, previousNormal = -2;
    for (const TriangleRecord& record : records) {
        if (record.diffuseId != previousDiffuse || record.normalId != previousNormal) {
            mesh.diffuseTextureIds[0].push_back(record.diffuseId);
            mesh.normalTextureIds[0].push_back(record.normalId);
            mesh.triangleCounts.push_back(0);
            previousDiffuse = record.diffuseId;
            previousNormal = record.normalId;
        }
        ++mesh.triangleCounts.back();
        appendTriangle(corners, record.triangle, mesh);
    }
}

} // namespace

std::string fileNamePart(const std::string& fileName)
{
    std::size_t slash = fileName.find_last_of('/');
    return slash == std::string::npos ? fileName : fileName.substr(slash + 1);
}

void materialTextureIds(const fbx::Material& material, const TextureIdLookup& lookup, int& diffuseId,
                        int& normalId)
{
    for (const fbx::Texture* texture : material.diffuseTextures())
        diffuseId = lookup(fileNamePart(texture->fileName));
    for (const fbx::Texture* texture : material.normalMapTextures())
        normalId = lookup(fileNamePart(texture->fileName));
}

bool extractMeshData(const fbx::Node& node, const TextureIdLookup& lookup, MeshData& mesh)
{
    const fbx::Mesh* fbxMesh = node.mesh();
    if (!fbxMesh)
        return false;
    bool perPolygon = materialsPerPolygon(*fbxMesh);
    int defaultDiffuse = -1, defaultNormal = -1;
    if (!perPolygon) {
        for (const fbx::Material* material : node.materials)
            materialTextureIds(*material, lookup, defaultDiffuse, defaultNormal);
    }

    mesh.boundsMin = {boundsSentinel, boundsSentinel, boundsSentinel};
    mesh.boundsMax = {-boundsSentinel, -boundsSentinel, -boundsSentinel};
    const CornerElements elements(*fbxMesh);
    CornerArrays corners;
    std::vector<TriangleRecord> records;
    for (int polygon = 0; polygon < fbxMesh->polygonCount(); ++polygon) {
        int size = fbxMesh->polygonSize(polygon);
        if (size < 3 || !cornersValid(*fbxMesh, polygon, size))
            continue;
        int diffuseId = defaultDiffuse, normalId = defaultNormal;
        if (perPolygon)
            polygonTextureIds(node, *fbxMesh, polygon, lookup, diffuseId, normalId);
        for (int k = 1; k + 1 < size; ++k) {
            for (int corner : {0, k, k + 1})
                appendCorner(*fbxMesh, elements, polygon, corner, corners, mesh.boundsMin, mesh.boundsMax);
            records.push_back({diffuseId, normalId, static_cast<int>(records.size())});
        }
    }
    if (records.empty())
        return false;
    if (perPolygon) {
        std::stable_sort(records.begin(), records.end(),
                         [](const TriangleRecord& a, const TriangleRecord& b) { return a.diffuseId < b.diffuseId; });
    }
    buildGroups(records, corners, mesh);
    return true;
}
