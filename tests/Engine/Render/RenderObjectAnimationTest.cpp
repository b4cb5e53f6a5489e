#include "Engine/Render/RenderObject.h"

#include "Fbx/Scene.h"

#include "SceneTestSupport.h"

#include <tuple>

// A scene with one mesh node and a stack of two layers moving it along X:
// "walk" from 0 to 10 over one second, "attack" from 0 to -5 over two.
class RenderObjectAnimationTest : public SceneTest {
protected:
    void SetUp() override
    {
        SceneTest::SetUp();
        fbx::Scene::setAttribute(node, mesh);
        for (const auto& [name, seconds, distance] : {std::tuple{"walk", 1.0, 10.0f}, {"attack", 2.0, -5.0f}}) {
            fbx::AnimCurveNode* curves = scene.addCurveNode(scene.addAnimLayer(stack, name), node, "Lcl Translation",
                                                            {"X", "Y", "Z"}, {0, 0, 0});
            scene.addChannelCurve(curves, "X")->keys = {fbx::AnimKey{0, 0.0f},
                                                        fbx::AnimKey{fbx::fromSeconds(seconds), distance}};
        }
    }

    MeshData meshData(const std::string& name)
    {
        MeshData data = closedBoxMesh(name, {-1, -1, -1}, {1, 1, 1});
        data.animStack = stack;
        data.fbxNode = node;
        data.fbxMesh = mesh;
        data.fbxScene = &scene;
        return data;
    }

    static float animatedX(const RenderObject& object) { return object.getAnimMatrix()[12]; }

    fbx::Scene scene;
    fbx::Node* node = scene.addNode("skull");
    fbx::Mesh* mesh = scene.addMesh("skull");
    fbx::AnimStack* stack = scene.addAnimStack("Take 001");
};

// Layer 0 plays and holds its last frame; looping wraps by whole spans, even
// after a frame of a million spans, and exactly the stop time stays. Objects
// sharing one stack each play their own layer (an index out of range is
// refused); clones restart, outlive the template and move their world box.
TEST_F(RenderObjectAnimationTest, PlaysOnceOrLoopsTheLayerOfEachObject)
{
    RenderObject once(meshData("Skull_once"));
    RenderObject looping(meshData("Skull_looping"));
    looping.setLooping(true);
    const std::array<std::array<float, 3>, 3> steps = {{{0.5f, 5.0f, 5.0f}, {1.0e6f, 10.0f, 5.0f},
                                                        {0.5f, 10.0f, 10.0f}}}; // seconds, x once, x looping
    for (const auto& [seconds, onceX, loopingX] : steps) {
        once.animate(seconds);
        looping.animate(seconds);
        EXPECT_NEAR(animatedX(once), onceX, 1e-3f) << seconds;
        EXPECT_NEAR(animatedX(looping), loopingX, 1e-2f) << seconds;
    }

    auto* walker = new RenderObject(meshData("Skull_walker"));
    RenderObject attacker(meshData("Skull_attacker"));
    attacker.setAnimationLayer(1);
    attacker.setAnimationLayer(2);
    attacker.setAnimationLayer(-1);
    attacker.animate(1.0);
    walker->animate(0.5);
    EXPECT_NEAR(animatedX(attacker), -2.5f, 1e-3f);
    EXPECT_NEAR(animatedX(*walker), 5.0f, 1e-3f);

    auto* spawned = static_cast<RenderObject*>(walker->clone(-1));
    delete walker;
    spawned->animate(0.25);
    EXPECT_NEAR(animatedX(*spawned), 2.5f, 1e-3f);
    spawned->computeBounds();
    EXPECT_NEAR(spawned->getBoundsMin().x, 1.5f, 1e-3f);
}
