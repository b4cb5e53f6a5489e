#include "SceneTestSupport.h"

#include "Engine/Render/Octree.h"
#include "Engine/Scene/CameraState.h"
#include "Engine/Scene/NodeManager.h"

void SceneTest::SetUp()
{
    GLTest::SetUp();
    if (HasFatalFailure())
        return; // no context: nothing below may touch GL
    currentCamera = CameraView{};
    NodeManager::getInstance()->createRoot();
}

void SceneTest::TearDown()
{
    Octree::destroyInstance();
    NodeManager::destroyInstance();
    currentCamera = CameraView{};
}

void expectNear(Vec3 actual, Vec3 expected, float tolerance)
{
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
}

MeshData closedBoxMesh(const std::string& name, Vec3 lo, Vec3 hi)
{
    MeshData mesh;
    mesh.name = name;
    const Vec3 corner[8] = {{lo.x, lo.y, lo.z}, {hi.x, lo.y, lo.z}, {hi.x, hi.y, lo.z}, {lo.x, hi.y, lo.z},
                            {lo.x, lo.y, hi.z}, {hi.x, lo.y, hi.z}, {hi.x, hi.y, hi.z}, {lo.x, hi.y, hi.z}};
    const int faces[6][4] = {{0, 1, 2, 3}, {4, 5, 6, 7}, {0, 1, 5, 4}, {3, 2, 6, 7}, {0, 3, 7, 4}, {1, 2, 6, 5}};
    for (const auto& face : faces)
        for (int index : {face[0], face[1], face[2], face[0], face[2], face[3]})
            mesh.positions.insert(mesh.positions.end(), {corner[index].x, corner[index].y, corner[index].z, 1.0f});
    mesh.texcoords.assign(36 * 2, 0.5f);
    mesh.triangleCounts = {12};
    mesh.diffuseTextureIds = {{-1}};
    mesh.normalTextureIds = {{-1}};
    mesh.boundsMin = lo;
    mesh.boundsMax = hi;
    return mesh;
}
