#include "Engine/Render/RenderObject.h"

#include "Engine/Base/GLError.h"
#include "Engine/Render/Shader.h"
#include "Engine/Render/ShaderManager.h"
#include "Engine/Render/TextureManager.h"
#include "Engine/Scene/CameraState.h"
#include "Engine/Scene/NodeManager.h"

#include <algorithm>
#include <iostream>

namespace {

constexpr int basicProgram = 0;
constexpr float boundsStart = 100000000.0f; // larger than any world coordinate
constexpr GLint colorTextureUnit = 0;
constexpr GLint normalTextureUnit = 1;

struct VertexAttribute {
    const char* name;
    GLint components;
    const std::vector<float> MeshData::*source;
    GLuint RenderObject::*buffer;
};

// A texture id as GL takes it: -1 ("no texture") and ids missing from the
// lists bind texture 0.
GLuint textureName(const std::vector<std::vector<int32_t>>& variants, int32_t variant, size_t group)
{
    if (variant < 0 || static_cast<size_t>(variant) >= variants.size() || group >= variants[variant].size())
        return 0;
    int32_t id = variants[variant][group];
    return id < 0 ? 0 : static_cast<GLuint>(id);
}

// Uploads `values`, padded with zeros to `floatCount` floats, so that a short
// attribute array never lets a draw read past the end of its buffer.
void uploadPadded(const std::vector<float>& values, size_t floatCount)
{
    if (values.size() >= floatCount) {
        glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(values.size() * sizeof(float)), values.data(),
                     GL_STATIC_DRAW);
        return;
    }
    std::vector<float> padded(floatCount, 0.0f);
    std::copy(values.begin(), values.end(), padded.begin());
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(padded.size() * sizeof(float)), padded.data(),
                 GL_STATIC_DRAW);
}

// A copy of `source` with every alpha byte 255; -1 when it has no pixels.
// RGBA rows are whole multiples of four bytes, so the default pixel-store
// alignment serves both the read-back and the upload.
int32_t opaqueCopyOf(GLuint source)
{
    GLint width = 0, height = 0;
    glBindTexture(GL_TEXTURE_2D, source);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
    CHECK_GL_ERROR();
    if (source == 0 || width <= 0 || height <= 0) {
        glBindTexture(GL_TEXTURE_2D, 0);
        return -1;
    }
    std::vector<unsigned char> pixels(static_cast<size_t>(width) * static_cast<size_t>(height) * 4);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    for (size_t alpha = 3; alpha < pixels.size(); alpha += 4)
        pixels[alpha] = 255;

    GLuint copy = 0;
    glGenTextures(1, &copy);
    glBindTexture(GL_TEXTURE_2D, copy);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    if (GLEW_EXT_texture_filter_anisotropic)
        glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MAX_ANISOTROPY_EXT,
                        TextureManager::getInstance()->materialAnisotropy());
    glBindTexture(GL_TEXTURE_2D, 0);
    CHECK_GL_ERROR();
    return static_cast<int32_t>(copy);
}

} // namespace

RenderObject::RenderObject(const MeshData& meshData)
    : SceneGraphNode(meshData.name),
      meshName(meshData.name),
      diffuseTextures(meshData.diffuseTextureIds),
      normalTextures(meshData.normalTextureIds),
      triangleCounts(meshData.triangleCounts),
      localBoundsMin(meshData.boundsMin),
      localBoundsMax(meshData.boundsMax),
      positions(meshData.positions),
      textureVariant(meshData.textureVariant),
      animStack(meshData.animStack),
      fbxNode(meshData.fbxNode),
      fbxMesh(meshData.fbxMesh),
      fbxScene(meshData.fbxScene),
      markers(meshData.markers)
{
    clampTriangleCounts();
    setBounds(localBoundsMin, localBoundsMax);
    takeProgram();
    buildGpuBuffers(meshData);
    NodeManager::getInstance()->addRenderObject(this);
    setAnimationLayer(0);
}

RenderObject::RenderObject(const RenderObject& source) : SceneGraphNode(source)
{
    copyMeshRecord(source);
    shareGpuResources(source);
    NodeManager::getInstance()->addRenderObject(this);
    setAnimationLayer(0);
}

RenderObject::~RenderObject()
{
    if (NodeManager* registry = NodeManager::existingInstance())
        registry->removeRenderObject(this);
}

void RenderObject::copyMeshRecord(const RenderObject& source)
{
    meshName = source.meshName;
    diffuseTextures = source.diffuseTextures;
    normalTextures = source.normalTextures;
    triangleCounts = source.triangleCounts;
    localBoundsMin = source.localBoundsMin;
    localBoundsMax = source.localBoundsMax;
    positions = source.positions;
    textureVariant = source.textureVariant;
    animStack = source.animStack;
    fbxNode = source.fbxNode;
    fbxMesh = source.fbxMesh;
    fbxScene = source.fbxScene;
    markers = source.markers;
}

SceneGraphNode* RenderObject::clone(int /*copyIndex*/) { return new RenderObject(*this); }

void RenderObject::setLooping(bool loop)
{
    looping = loop;
    SceneGraphNode::setLooping(loop);
}

bool RenderObject::findMarker(const std::string& markerName, Vec4& position)
{
    if (markers) {
        auto found = markers->find(markerName);
        if (found != markers->end()) {
            const std::array<float, 4>& p = found->second;
            position = Vec4{p[0], p[1], p[2], p[3]};
            return true;
        }
    }
    return SceneGraphNode::findMarker(markerName, position);
}

void RenderObject::computeBounds()
{
    Mat4 combined = transform * animMatrix;
    Vec3 lowest{boundsStart, boundsStart, boundsStart};
    Vec3 highest{-boundsStart, -boundsStart, -boundsStart};
    for (int corner = 0; corner < 8; ++corner) {
        Vec3 local{corner & 1 ? localBoundsMax.x : localBoundsMin.x, corner & 2 ? localBoundsMax.y : localBoundsMin.y,
                   corner & 4 ? localBoundsMax.z : localBoundsMin.z};
        Vec3 world = combined.transformPoint(local);
        lowest = componentMin(lowest, world);
        highest = componentMax(highest, world);
    }
    for (const SceneGraphNode* child : children) {
        lowest = componentMin(lowest, child->getBoundsMin());
        highest = componentMax(highest, child->getBoundsMax());
    }
    setBounds(lowest, highest);
}

void RenderObject::makeTexturesUnique()
{
    SceneGraphNode::makeTexturesUnique();
    if (textureVariant < 0 || static_cast<size_t>(textureVariant) >= diffuseTextures.size())
        return;
    std::vector<int32_t> normals;
    if (static_cast<size_t>(textureVariant) < normalTextures.size())
        normals = normalTextures[textureVariant];
    std::vector<int32_t> diffuse;
    for (int32_t id : diffuseTextures[textureVariant])
        diffuse.push_back(id < 0 ? -1 : opaqueCopyOf(static_cast<GLuint>(id)));
    normalTextures.resize(diffuseTextures.size()); // variants stay aligned
    diffuseTextures.push_back(diffuse);
    normalTextures.push_back(normals);
    ++textureVariant;
}

void RenderObject::shareGpuResources(const RenderObject& source)
{
    shader = source.shader;
    positionBuffer = source.positionBuffer;
    normalBuffer = source.normalBuffer;
    tangentBuffer = source.tangentBuffer;
    binormalBuffer = source.binormalBuffer;
    texcoordBuffer = source.texcoordBuffer;
    vertexArray = source.vertexArray;
    modelViewLocation = source.modelViewLocation;
    colorTextureLocation = source.colorTextureLocation;
    normalTextureLocation = source.normalTextureLocation;
}

void RenderObject::takeProgram()
{
    shader = ShaderManager::getInstance()->getShader(basicProgram);
    if (!shader || shader->program == 0)
        return;
    modelViewLocation = glGetUniformLocation(shader->program, "modelViewMatrix");
    colorTextureLocation = glGetUniformLocation(shader->program, "tex_color");
    normalTextureLocation = glGetUniformLocation(shader->program, "tex_normal");
    CHECK_GL_ERROR();
}

// Five tightly packed float arrays, one buffer each. An attribute the program
// does not use (location -1) keeps its buffer but is not enabled.
void RenderObject::buildGpuBuffers(const MeshData& meshData)
{
    static const VertexAttribute attributes[] = {
        {"in_position", 4, &MeshData::positions, &RenderObject::positionBuffer},
        {"in_normal", 3, &MeshData::normals, &RenderObject::normalBuffer},
        {"in_texcoord", 2, &MeshData::texcoords, &RenderObject::texcoordBuffer},
        {"in_tangent", 3, &MeshData::tangents, &RenderObject::tangentBuffer},
        {"in_binormal", 3, &MeshData::binormals, &RenderObject::binormalBuffer},
    };
    const size_t vertexCount = meshData.positions.size() / 4;
    GLuint program = shader ? shader->program : 0;

    glGenVertexArrays(1, &vertexArray);
    glBindVertexArray(vertexArray);
    for (const VertexAttribute& attribute : attributes) {
        GLuint& buffer = this->*attribute.buffer;
        glGenBuffers(1, &buffer);
        glBindBuffer(GL_ARRAY_BUFFER, buffer);
        uploadPadded(meshData.*attribute.source, vertexCount * static_cast<size_t>(attribute.components));
        GLint location = program != 0 ? glGetAttribLocation(program, attribute.name) : -1;
        if (location >= 0) {
            glVertexAttribPointer(static_cast<GLuint>(location), attribute.components, GL_FLOAT, GL_FALSE, 0, nullptr);
            glEnableVertexAttribArray(static_cast<GLuint>(location));
        }
    }
    glBindVertexArray(0);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    CHECK_GL_ERROR();
}

void RenderObject::clampTriangleCounts()
{
    int64_t trianglesLeft = static_cast<int64_t>(positions.size() / 4 / 3);
    bool clipped = false;
    for (int32_t& count : triangleCounts) {
        int32_t allowed = static_cast<int32_t>(std::clamp<int64_t>(count, 0, trianglesLeft));
        clipped = clipped || allowed != count;
        count = allowed;
        trianglesLeft -= allowed;
    }
    if (clipped)
        std::cout << "Warning - RenderObject " << meshName << ": triangle counts exceed the "
                  << positions.size() / 4 << " vertices; drawing only those" << std::endl;
}

void RenderObject::draw()
{
    if (!visible || !inScene)
        return;
    glBindVertexArray(vertexArray);
    Mat4 modelView = currentCamera.viewMatrix * (transform * animMatrix);
    glUniformMatrix4fv(modelViewLocation, 1, GL_FALSE, modelView.data());
    GLint first = 0;
    for (size_t group = 0; group < triangleCounts.size(); ++group) {
        glActiveTexture(GL_TEXTURE0 + colorTextureUnit);
        glBindTexture(GL_TEXTURE_2D, textureName(diffuseTextures, textureVariant, group));
        glUniform1i(colorTextureLocation, colorTextureUnit);
        glActiveTexture(GL_TEXTURE0 + normalTextureUnit);
        glBindTexture(GL_TEXTURE_2D, textureName(normalTextures, textureVariant, group));
        glUniform1i(normalTextureLocation, normalTextureUnit);
        GLsizei vertexCount = triangleCounts[group] * 3;
        glDrawArrays(GL_TRIANGLES, first, vertexCount);
        first += vertexCount;
    }
    glBindTexture(GL_TEXTURE_2D, 0);
    glBindVertexArray(0);
    CHECK_GL_ERROR();
}
