#include "Import/CameraManager.h"

#include "Engine/Scene/CameraState.h"
#include "Fbx/Scene.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

class CameraManagerTest : public ::testing::Test {
protected:
    void TearDown() override { CameraManager::destroyInstance(); }

    fbx::Node* addCamera(const std::string& name)
    {
        fbx::Node* node = scene.addNode(name);
        fbx::Scene::setAttribute(node, scene.addCamera(name + "Attr"));
        return node;
    }

    fbx::Scene scene;
    CameraManager* cameras = CameraManager::getInstance();
};

// With one camera in the scene the producer perspective starts, placed only
// then. Orbiting turns its position about the interest point: a vertical
// drag about the X axis, a horizontal one about the Y axis, by degrees.
TEST_F(CameraManagerTest, StartingCameraAndOrbit)
{
    addCamera("Only");
    cameras->setCameraScene(&scene);
    cameras->initCameras(1024, 768);
    fbx::Camera* producer = cameras->producerPerspective();
    EXPECT_EQ(cameras->defaultCamera(), fbx::kProducerPerspective);
    EXPECT_EQ(producer->position.x, 1.0);
    const std::pair<float, float> drags[] = {{0, 30}, {30, 0}};
    for (const auto& [dx, dy] : drags) {
        producer->position = {0, 0, 10};
        producer->interestPosition = {0, 0, 0};
        cameras->orbit(dx, dy);
        EXPECT_NEAR(std::fabs(producer->position.x), dx == 0 ? 0.0 : 5.0, 1e-3) << dx << ", " << dy;
        EXPECT_NEAR(std::fabs(producer->position.y), dy == 0 ? 0.0 : 5.0, 1e-3) << dx << ", " << dy;
        EXPECT_NEAR(producer->position.z, 8.660254, 1e-3) << dx << ", " << dy;
    }
}

// A scene camera sits at its node and looks along +X; once a stack is chosen
// its field of view follows the first layer.
TEST_F(CameraManagerTest, SceneCamerasFollowTheirNodesAndTheirFirstLayer)
{
    fbx::Node* node = addCamera("Animated");
    node->transform.translation = {3, 4, 5};
    fbx::Camera* camera = node->camera();
    camera->apertureMode = fbx::ApertureMode::Vertical;
    camera->fieldOfView = 40;
    fbx::AnimStack* stack = scene.addAnimStack("Take");
    scene.addCurveNode(scene.addAnimLayer(stack, "Base"), camera, "FieldOfView", {"FieldOfView"}, {30});
    scene.addCurveNode(scene.addAnimLayer(stack, "Extra"), camera, "FieldOfView", {"FieldOfView"}, {20});
    cameras->setCameraScene(&scene);
    cameras->setDefaultCamera("Animated");
    cameras->applyCamera();
    EXPECT_EQ(currentCamera.eye, (Vec3{3, 4, 5}));
    EXPECT_NEAR(currentCamera.direction.x, 1.0f, 1e-6f);
    EXPECT_EQ(camera->fieldOfView, 40.0);
    cameras->selectAnimationStack();
    cameras->applyCamera();
    EXPECT_EQ(camera->fieldOfView, 30.0); // the first layer alone, not blended with the second
}

} // namespace
