#include "Engine/Render/RenderObject.h"

#include "Fbx/Scene.h"

#include "SceneTestSupport.h"

using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStdout;

namespace {

// A scene with one mesh node and a stack of two layers moving it along X:
// "walk" from 0 to 10 over one second, "attack" from 0 to -5 over two.
struct AnimatedScene {
    fbx::Scene scene;
    fbx::Node* node = nullptr;
    fbx::Mesh* mesh = nullptr;
    fbx::AnimStack* stack = nullptr;

    AnimatedScene()
    {
        node = scene.addNode("skull");
        mesh = scene.addMesh("skull");
        fbx::Scene::setAttribute(node, mesh);
        stack = scene.addAnimStack("Take 001");
        addMove(scene.addAnimLayer(stack, "walk"), 1.0, 10.0);
        addMove(scene.addAnimLayer(stack, "attack"), 2.0, -5.0);
    }

    void addMove(fbx::AnimLayer* layer, double seconds, double distance)
    {
        fbx::AnimCurveNode* curveNode = scene.addCurveNode(layer, node, "Lcl Translation", {"X", "Y", "Z"}, {0, 0, 0});
        fbx::AnimCurve* curve = scene.addChannelCurve(curveNode, "X");
        curve->keys.push_back(fbx::AnimKey{0, 0.0f});
        curve->keys.push_back(fbx::AnimKey{fbx::fromSeconds(seconds), static_cast<float>(distance)});
    }

    MeshData meshData(const std::string& name)
    {
        MeshData data = boxMesh(name, {-1, -1, -1}, {1, 1, 1});
        data.animStack = stack;
        data.fbxNode = node;
        data.fbxMesh = mesh;
        data.fbxScene = &scene;
        return data;
    }
};

float animatedX(const RenderObject& object) { return object.getAnimMatrix()[12]; }

} // namespace

class RenderObjectAnimationTest : public SceneTest {
protected:
    AnimatedScene fbxScene;
};

TEST_F(RenderObjectAnimationTest, PlaysLayerZeroAndHoldsTheLastFrame)
{
    RenderObject skull(fbxScene.meshData("Skull_skull"));
    EXPECT_EQ(skull.getAnimMatrix(), Mat4::identity()); // nothing evaluated yet
    skull.animate(0.5);
    EXPECT_NEAR(animatedX(skull), 5.0f, 1e-3f);
    skull.animate(10.0);
    EXPECT_NEAR(animatedX(skull), 10.0f, 1e-3f);
    skull.animate(0.25);
    EXPECT_NEAR(animatedX(skull), 10.0f, 1e-3f);
    EXPECT_TRUE(fbxScene.stack->layer(0)->solo);
    EXPECT_TRUE(fbxScene.stack->layer(1)->mute);
}

TEST_F(RenderObjectAnimationTest, LoopingWrapsByWholeSpansAfterLongFrames)
{
    RenderObject skull(fbxScene.meshData("Skull_skull"));
    skull.setLooping(true);
    skull.animate(2.25);
    EXPECT_NEAR(animatedX(skull), 2.5f, 1e-3f);
    skull.animate(1.0e6 + 0.5); // a million spans: computed, not counted down
    EXPECT_NEAR(animatedX(skull), 7.5f, 1e-2f);
    skull.animate(0.25);
    EXPECT_NEAR(animatedX(skull), 10.0f, 1e-2f); // exactly the stop time stays
}

TEST_F(RenderObjectAnimationTest, LayersAreChosenPerObjectAndOutOfRangeIsRefused)
{
    RenderObject walker(fbxScene.meshData("Skull_walker"));
    RenderObject attacker(fbxScene.meshData("Skull_attacker"));
    attacker.setAnimationLayer(1);
    CaptureStdout();
    attacker.setAnimationLayer(2);
    attacker.setAnimationLayer(-1);
    EXPECT_EQ(GetCapturedStdout(), "Warning: Layer index out of range\nWarning: Layer index out of range\n");

    // Both share one stack; each still plays its own layer.
    attacker.animate(1.0);
    walker.animate(0.5);
    EXPECT_NEAR(animatedX(attacker), -2.5f, 1e-3f);
    EXPECT_NEAR(animatedX(walker), 5.0f, 1e-3f);
    attacker.animate(0.5);
    EXPECT_NEAR(animatedX(attacker), -3.75f, 1e-3f);
}

TEST_F(RenderObjectAnimationTest, ClonesRestartAndSharedStacksOutliveObjects)
{
    auto* skull = new RenderObject(fbxScene.meshData("Skull_skull"));
    skull->animate(0.5);
    auto* spawned = static_cast<RenderObject*>(skull->clone(-1));
    EXPECT_EQ(spawned->getAnimMatrix(), Mat4::identity());
    delete skull;
    ASSERT_EQ(fbxScene.stack->layerCount(), 2); // the scene still owns the stack
    spawned->animate(0.25);
    EXPECT_NEAR(animatedX(*spawned), 2.5f, 1e-3f);

    // The world box follows the animated mesh.
    spawned->computeBounds();
    EXPECT_NEAR(spawned->getBoundsMin().x, 1.5f, 1e-3f);
}
