#pragma once
// src/Engine/Render: what the GPU draws with: shaders, textures, mesh buffers, render objects
// and their octree culling. Uses the engine base and scene, and src/Fbx.
//
// A scene-graph node that draws one non-indexed triangle mesh with the
// "basic" program (number 0). The vertex data lives in five GPU buffers
// bound by one vertex array; clones draw from the same buffers. Each
// material group is one glDrawArrays with its own diffuse and normal-map
// textures. The node's FBX animation, when it has one, moves the mesh
// through `animMatrix`, evaluated by the FBX reader.
#include "Engine/Render/MeshData.h"
#include "Engine/Scene/SceneGraphNode.h"

#include <GL/glew.h>

#include <cstdint>
#include <string>
#include <vector>

class Shader;

namespace fbx {
class AnimLayer;
} // namespace fbx

class RenderObject : public SceneGraphNode {
public:
    // Cull marks of the octree: not in the octree, undecided this frame,
    // visible this frame, tested invisible this frame.
    static constexpr int32_t notInOctree = -10;
    static constexpr int32_t cullUndecided = 0;
    static constexpr int32_t cullVisible = 1;
    static constexpr int32_t cullInvisible = -1;

    // Copies what it needs from `meshData`, uploads the vertex arrays into new
    // buffers, lists itself in the registry and selects animation layer 0.
    explicit RenderObject(const MeshData& meshData);
    // A deep copy of `source`'s subtree that shares its GPU buffers.
    RenderObject(const RenderObject& source);
    // Leaves the registry's list. GPU buffers and textures stay (clones may
    // use them) and the FBX animation stays with the FBX scene that owns it.
    ~RenderObject() override;

    SceneGraphNode* clone(int copyIndex) override;
    void setAnimationLayer(int index) override;
    void setLooping(bool loop) override;
    void animate(double dt) override;
    bool findMarker(const std::string& markerName, Vec4& position) override;
    // World box of the animated local box, widened by the children's boxes.
    void computeBounds() override;
    // Children first; then a new texture variant whose diffuse textures are
    // private copies with alpha 255 (normal maps stay shared).
    void makeTexturesUnique() override;
    // Uses `source`'s program, buffers, vertex array and uniform locations.
    virtual void shareGpuResources(const RenderObject& source);

    // Draws every material group; nothing unless visible and in the scene.
    // The caller has bound the "basic" program and set its other uniforms.
    void draw();

    int32_t getCullMark() const { return cullMark; }
    void setCullMark(int32_t mark) { cullMark = mark; }
    const std::string& getMeshName() const { return meshName; }
    // Positions in mesh space, four floats (x, y, z, 1) per vertex.
    const std::vector<float>& getPositions() const { return positions; }
    const std::vector<int32_t>& getTriangleCounts() const { return triangleCounts; }
    const std::vector<std::vector<int32_t>>& getDiffuseTextures() const { return diffuseTextures; }
    const std::vector<std::vector<int32_t>>& getNormalTextures() const { return normalTextures; }
    int32_t getTextureVariant() const { return textureVariant; }
    Vec3 getLocalBoundsMin() const { return localBoundsMin; }
    Vec3 getLocalBoundsMax() const { return localBoundsMax; }
    const Mat4& getAnimMatrix() const { return animMatrix; }
    GLuint getPositionBuffer() const { return positionBuffer; }
    GLuint getVertexArray() const { return vertexArray; }
    bool isLooping() const { return looping; }

protected:
    int32_t cullMark = notInOctree;
    std::string meshName;
    std::vector<std::vector<int32_t>> diffuseTextures; // [variant][material group]
    std::vector<std::vector<int32_t>> normalTextures;
    std::vector<int32_t> triangleCounts;
    Vec3 localBoundsMin;
    Vec3 localBoundsMax;
    std::vector<float> positions;
    int32_t textureVariant = 0;
    fbx::AnimStack* animStack = nullptr; // not owned (FBX scene)
    fbx::Node* fbxNode = nullptr;
    fbx::Mesh* fbxMesh = nullptr;
    fbx::Scene* fbxScene = nullptr;
    const MarkerMap* markers = nullptr;
    Shader* shader = nullptr; // program 0 "basic"; not owned
    GLuint positionBuffer = 0;
    GLuint normalBuffer = 0;
    GLuint tangentBuffer = 0;
    GLuint binormalBuffer = 0;
    GLuint texcoordBuffer = 0;
    GLuint vertexArray = 0;
    GLint modelViewLocation = -1;
    GLint colorTextureLocation = -1;
    GLint normalTextureLocation = -1;
    int64_t animStart = 0; // FBX time (ticks)
    int64_t animStop = 0;
    int64_t animTime = 0;
    bool looping = false;
    fbx::AnimLayer* currentLayer = nullptr; // not owned (FBX scene)
    Mat4 animMatrix;
    // The layer this object plays. The stack (and its solo and mute flags)
    // is shared by every clone and mesh of one file, so the selection is
    // applied again before each evaluation.
    int layerIndex = 0;

private:
    void copyMeshRecord(const RenderObject& source);
    void takeProgram();
    void buildGpuBuffers(const MeshData& meshData);
    // Limits the triangle counts to the vertices the mesh has.
    void clampTriangleCounts();
    // Solo for layer `index`, mute for the others.
    void applyLayerSelection(int index);
    // The FBX node whose global transform animates the mesh, or null.
    const fbx::Node* animatedNode() const;
    // Re-evaluates `animMatrix` at `animTime` (identity without a stack).
    void evaluateAnimation();
};
