#include "Import/CameraManager.h"

#include "Engine/Base/Globals.h"
#include "Engine/Scene/CameraState.h"
#include "Fbx/Scene.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

class CameraManagerTest : public ::testing::Test {
protected:
    void TearDown() override { CameraManager::destroyInstance(); }

    fbx::Node* addCamera(const std::string& name, fbx::Node* parent = nullptr)
    {
        fbx::Node* node = scene.addNode(name, parent);
        fbx::Scene::setAttribute(node, scene.addCamera(name + "Attr"));
        return node;
    }

    // Hands the scene to the manager and starts its cameras; gives the producer camera.
    fbx::Camera* start()
    {
        cameras->setCameraScene(&scene);
        cameras->initCameras(1024, 768);
        return cameras->producerPerspective();
    }

    fbx::Scene scene;
    CameraManager* cameras = CameraManager::getInstance();
};

TEST_F(CameraManagerTest, TheSecondCameraInPreOrderStartsElseTheProducerPerspective)
{
    fbx::Node* group = scene.addNode("Group");
    addCamera("Inner", group);
    cameraState = 0;
    start();
    EXPECT_EQ(cameras->defaultCamera(), fbx::kProducerPerspective);
    EXPECT_EQ(cameraState, 1);
    EXPECT_EQ(cameras->producerPerspective()->position.x, 1.0) << "placed only when it starts";
    addCamera("Outer");
    addCamera("Nested", group); // order: Inner, Nested, Outer
    start();
    EXPECT_EQ(cameras->defaultCamera(), "Nested");
}

TEST_F(CameraManagerTest, ClockRunsOnlyOnceAStackIsChosenAndWraps)
{
    scene.addAnimLayer(scene.addAnimStack("Take"), "Base");
    fbx::TakeInfo take;
    take.name = "Take";
    take.localStop = 2 * fbx::kTicksPerSecond;
    scene.takes.push_back(take);
    cameras->setCameraScene(&scene);
    cameras->advanceClock(0.4);
    EXPECT_EQ(cameras->currentTime(), 0);
    cameras->selectAnimationStack();
    cameras->advanceClock(0.4);
    EXPECT_NEAR(fbx::toSeconds(cameras->currentTime()), 1.2, 1e-9);
    cameras->advanceClock(0.4);
    EXPECT_EQ(cameras->currentTime(), 0);
}

// Free look turns the view about the camera. Orbiting turns the position
// about the interest point: a vertical drag about the X axis, a horizontal
// one about the Y axis, by degrees.
TEST_F(CameraManagerTest, FreeLookTurnsTheViewAndOrbitTurnsAboutTheAxisOfTheDrag)
{
    fbx::Camera* producer = start();
    producer->position = {0, 0, 10};
    producer->interestPosition = {0, 0, 0};
    cameras->lookAround(10, 20);
    EXPECT_EQ(producer->position, (fbx::Vec3{0, 0, 10}));
    EXPECT_NE(producer->interestPosition.x, 0.0);
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

// A scene camera sits at its node and looks along +X; its field of view
// follows the first layer once a stack is chosen.
TEST_F(CameraManagerTest, SceneCamerasFollowTheirNodesAndTheirFirstLayer)
{
    fbx::Node* node = addCamera("Animated");
    addCamera("Second");
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
