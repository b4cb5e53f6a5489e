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

    // Hands the scene to the manager and starts its cameras on a 1024 x 768 screen.
    void start()
    {
        cameras->setCameraScene(&scene);
        cameras->initCameras(1024, 768);
    }

    fbx::Scene scene;
    CameraManager* cameras = CameraManager::getInstance();
};

TEST_F(CameraManagerTest, CameraListIsPreOrderAndTheSecondCameraStarts)
{
    fbx::Node* group = scene.addNode("Group");
    addCamera("Inner", group);
    addCamera("Outer");
    scene.addNode("Child", addCamera("Nested", group)); // order: Inner, Nested, Outer
    cameras->setCameraScene(&scene);
    ASSERT_EQ(cameras->cameraNodes().size(), 3u);
    EXPECT_EQ(cameras->cameraNodes()[1]->name, "Nested");
    cameraState = 0;
    cameras->initCameras(800, 600);
    EXPECT_EQ(cameras->defaultCamera(), "Nested");
    EXPECT_EQ(cameraState, 1);
    EXPECT_EQ(screenWidth, 800.0f);
}

TEST_F(CameraManagerTest, OneCameraStartsOnTheProducerPerspective)
{
    addCamera("Only");
    start();
    EXPECT_EQ(cameras->defaultCamera(), fbx::kProducerPerspective);
    EXPECT_EQ(cameras->producerPerspective()->position.x, 1.0) << "placed only when it starts";
}

TEST_F(CameraManagerTest, ClockRunsThreeTimesRealTimeAndWraps)
{
    fbx::AnimStack* stack = scene.addAnimStack("Take");
    scene.addAnimLayer(stack, "Base");
    fbx::TakeInfo take;
    take.name = "Take";
    take.localStart = 0;
    take.localStop = 2 * fbx::kTicksPerSecond;
    scene.takes.push_back(take);
    cameras->setCameraScene(&scene);
    cameras->advanceClock(0.4); // no stack selected: the clock stands still
    EXPECT_EQ(cameras->currentTime(), 0);
    cameras->selectAnimationStack();
    cameras->advanceClock(0.4);
    EXPECT_NEAR(fbx::toSeconds(cameras->currentTime()), 1.2, 1e-9);
    cameras->advanceClock(0.4);
    EXPECT_EQ(cameras->currentTime(), 0);
}

TEST_F(CameraManagerTest, FollowDistanceIsClampedAndSmoothed)
{
    start();
    Vec3 player{10, 1.8f, -4};
    cameras->followPlayer(0, 10, &player, 0.0f); // +2000 stops at 1000
    EXPECT_EQ(cameras->followTargetDistance(), 1000.0f);
    EXPECT_EQ(cameras->followDistance(), 750.0f);
    for (int frame = 0; frame < 30; ++frame) // half a second
        cameras->followPlayer(0, 0, &player, 1.0f / 60);
    EXPECT_GT(cameras->followDistance(), 900.0f); // 71 % of the way after 0.5 s
    EXPECT_LT(cameras->followDistance(), 1000.0f);
    for (int frame = 0; frame < 300; ++frame)
        cameras->followPlayer(0, 0, &player, 1.0f / 60);
    EXPECT_NEAR(cameras->followDistance(), 1000.0f, 0.5f);

    fbx::Camera* producer = cameras->producerPerspective();
    EXPECT_NEAR(producer->interestPosition.y, 1.65, 1e-6);
    EXPECT_GT(producer->position.y, 1.65 + 10); // steep above the player at the far distance
    cameras->followPlayer(0, -10, &player, 0.0f);
    EXPECT_EQ(cameras->followTargetDistance(), 100.0f);
}

TEST_F(CameraManagerTest, ApplyCameraPublishesTheProducerView)
{
    start();
    fbx::Camera* producer = cameras->producerPerspective();
    producer->position = {0, 0, 10};
    producer->interestPosition = {0, 0, 0};
    cameras->applyCamera();
    EXPECT_EQ(currentCamera.eye, (Vec3{0, 0, 10}));
    EXPECT_NEAR(currentCamera.direction.z, -1.0f, 1e-6f);
    Vec3 origin = currentCamera.viewMatrix.transformPoint({0, 0, 0});
    EXPECT_NEAR(origin.z, -10.0f, 1e-5f);

    cameras->moveForward(4); // free camera: both points move
    EXPECT_NEAR(producer->position.z, 6.0, 1e-6);
    EXPECT_NEAR(producer->interestPosition.z, -4.0, 1e-6);
}

TEST_F(CameraManagerTest, MouseStatusChoosesWhatLookingAroundDoes)
{
    enum Moved { Nothing, Interest, Position, Both, FieldOfView };
    struct Case {
        bool alt;
        CameraManager::MouseButtons held;
        Moved expected;
    };
    const Case cases[] = {
        {false, {}, Interest},                  // free look turns the view
        {false, {true, false, false}, Nothing}, // a button without Alt
        {true, {true, true, true}, Position},   // Alt + left: orbit, the left button wins
        {true, {false, true, true}, Both},      // Alt + middle: pan
        {true, {false, true, false}, FieldOfView}, // Alt + right: zoom
    };
    start();
    for (const Case& c : cases) {
        fbx::Camera* producer = cameras->producerPerspective();
        producer->position = {0, 0, 10};
        producer->interestPosition = {0, 0, 0};
        producer->fieldOfView = 60.0;
        cameras->updateMouseStatus(c.alt, c.held);
        cameras->lookAround(10, 20);
        bool position = producer->position.x != 0.0 || producer->position.y != 0.0;
        bool interest = producer->interestPosition.x != 0.0 || producer->interestPosition.y != 0.0;
        Moved moved = producer->fieldOfView != 60.0 ? FieldOfView
                      : position && interest         ? Both
                      : position                     ? Position
                      : interest                     ? Interest
                                                     : Nothing;
        EXPECT_EQ(moved, c.expected) << "alt " << c.alt << ", buttons " << c.held.left << c.held.middle << c.held.right;
    }
}

// Orbiting turns the position about the interest point: a vertical drag
// about the X axis, a horizontal one about the Y axis, by degrees.
TEST_F(CameraManagerTest, OrbitTurnsAboutTheAxisOfTheDrag)
{
    start();
    fbx::Camera* producer = cameras->producerPerspective();
    cameras->updateMouseStatus(true, {true, false, false});
    const std::pair<float, float> drags[] = {{0, 30}, {30, 0}};
    for (const auto& [dx, dy] : drags) {
        producer->position = {0, 0, 10};
        producer->interestPosition = {0, 0, 0};
        cameras->lookAround(dx, dy);
        EXPECT_NEAR(std::fabs(producer->position.x), dx == 0 ? 0.0 : 5.0, 1e-3) << dx << ", " << dy;
        EXPECT_NEAR(std::fabs(producer->position.y), dy == 0 ? 0.0 : 5.0, 1e-3) << dx << ", " << dy;
        EXPECT_NEAR(producer->position.z, 8.660254, 1e-3) << dx << ", " << dy;
    }
}

TEST_F(CameraManagerTest, SceneCamerasFollowTheirNodesAndIgnoreFreeSteering)
{
    fbx::Node* node = addCamera("Fixed");
    addCamera("Second");
    node->transform.translation = {3, 4, 5};
    cameras->setCameraScene(&scene);
    cameras->setDefaultCamera("Fixed");
    cameras->applyCamera();
    EXPECT_EQ(currentCamera.eye, (Vec3{3, 4, 5}));
    EXPECT_NEAR(currentCamera.direction.x, 1.0f, 1e-6f); // scene cameras look along +X
    fbx::Camera* producer = cameras->producerPerspective();
    fbx::Vec3 before = producer->position;
    cameras->moveForward(3);
    EXPECT_EQ(producer->position.x, before.x);
}

TEST_F(CameraManagerTest, FieldOfViewFollowsTheCurrentLayerOnlyOnceAStackIsChosen)
{
    fbx::Node* node = addCamera("Animated");
    addCamera("Second");
    fbx::Camera* camera = node->camera();
    camera->apertureMode = fbx::ApertureMode::Vertical;
    camera->fieldOfView = 40;
    fbx::AnimStack* stack = scene.addAnimStack("Take");
    fbx::AnimLayer* base = scene.addAnimLayer(stack, "Base");
    fbx::AnimLayer* extra = scene.addAnimLayer(stack, "Extra");
    scene.addCurveNode(base, camera, "FieldOfView", {"FieldOfView"}, {30});
    scene.addCurveNode(extra, camera, "FieldOfView", {"FieldOfView"}, {20});
    cameras->setCameraScene(&scene);
    cameras->setDefaultCamera("Animated");
    cameras->applyCamera();
    EXPECT_EQ(camera->fieldOfView, 40.0); // no stack chosen: the stored value stands
    cameras->selectAnimationStack();
    cameras->applyCamera();
    EXPECT_EQ(camera->fieldOfView, 30.0); // the first layer alone, not blended with the second
}

} // namespace
