#include "Engine/Render/RenderObject.h"
#include "Engine/Scene/CameraState.h"
#include "Engine/Scene/NodeManager.h"

#include "SceneTestSupport.h"

#include <cmath>

namespace {

constexpr int targetSize = 30; // pixels; three columns of ten

SceneGraphNode* root() { return NodeManager::getInstance()->getRoot(); }

// Two triangles covering the clip-space rectangle.
std::vector<Triangle2D> quad(float x0, float y0, float x1, float y1)
{
    return {{x0, y0, x1, y0, x1, y1}, {x0, y0, x1, y1, x0, y1}};
}

using Rgba = std::array<unsigned char, 4>;
const Rgba red{255, 0, 0, 255}, green{0, 255, 0, 255}, blue{0, 0, 255, 255}, black{0, 0, 0, 255},
    white{255, 255, 255, 255};

} // namespace

class RenderObjectTest : public SceneTest {};

TEST_F(RenderObjectTest, ClonesDrawFromTheTemplatesBuffers)
{
    auto* skull = new RenderObject(closedBoxMesh("Skull_skull", {-1, -1, -1}, {1, 1, 1}));
    auto* eye = new RenderObject(closedBoxMesh("Skull_eye", {0, 0, 0}, {0.1f, 0.1f, 0.1f}));
    skull->addChild(eye);
    GLuint probeBefore = 0, probeAfter = 0;
    glGenBuffers(1, &probeBefore);
    auto* clone = static_cast<RenderObject*>(skull->clone(-1));
    glGenBuffers(1, &probeAfter);
    EXPECT_EQ(probeAfter, probeBefore + 1) << "cloning created GPU buffers";
    glDeleteBuffers(1, &probeBefore);
    glDeleteBuffers(1, &probeAfter);
    EXPECT_EQ(clone->getVertexArray(), skull->getVertexArray());

    // Deleting a copy unlists it and keeps the shared buffers.
    delete clone->getChildren()[0];
    delete clone;
    EXPECT_EQ(NodeManager::getInstance()->getRenderObjects(), (std::vector<RenderObject*>{skull, eye}));
    EXPECT_TRUE(glIsBuffer(skull->getPositionBuffer()));
}

TEST_F(RenderObjectTest, EachMaterialGroupDrawsItsOwnVertexRangeWithItsTextureWhereItIsPlaced)
{
    std::vector<Triangle2D> middle = quad(-0.33f, -1, 0.33f, 1);
    middle.insert(middle.end(), {middle[0], middle[1], middle[0]}); // five triangles
    MeshData mesh = groupedMesh("columns", {quad(-1, -1, -0.34f, 1), middle, {{0.4f, -1, 1, -1, 0.4f, 1}}},
                                {int(solidTexture(1, 1, red)), int(solidTexture(1, 1, green)),
                                 int(solidTexture(1, 1, blue))});
    auto* columns = new RenderObject(mesh);
    root()->addChild(columns);
    OffscreenTarget target(targetSize);
    EXPECT_EQ(target.countPrimitives([&] { columns->draw(); }), 8u);
    EXPECT_EQ(target.pixel(5, 15), red);    // vertices [0, 6)
    EXPECT_EQ(target.pixel(15, 15), green); // vertices [6, 21)
    EXPECT_EQ(target.pixel(22, 5), blue);   // vertices [21, 24)
    EXPECT_EQ(target.pixel(28, 28), black); // beyond the last triangle
    // Placed by the view and its own transform: half a view each to the right.
    columns->translate(0.5f, 0, 0);
    currentCamera.viewMatrix = Mat4::translation(0.5f, 0, 0);
    target.countPrimitives([&] { columns->draw(); });
    EXPECT_EQ(target.pixel(20, 15), red);
    // Hidden or detached objects draw nothing.
    columns->setVisible(false);
    auto* detached = new RenderObject(mesh);
    EXPECT_EQ(target.countPrimitives([&] { columns->draw(), detached->draw(); }), 0u);
}

TEST_F(RenderObjectTest, TriangleCountsBeyondTheVerticesAreClipped)
{
    MeshData mesh = groupedMesh("broken", {quad(-1, -1, 1, 1)}, {int(solidTexture(1, 1, white))});
    mesh.triangleCounts = {1, 40, 3};
    testing::internal::CaptureStdout();
    auto* broken = new RenderObject(mesh);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "Warning - RenderObject broken: triangle counts exceed the 6 vertices; drawing only those\n");
    EXPECT_EQ(broken->getTriangleCounts(), (std::vector<int32_t>{1, 1, 0}));
    root()->addChild(broken);
    EXPECT_EQ(OffscreenTarget(targetSize).countPrimitives([&] { broken->draw(); }), 2u);
}

// A single texel is a texture too (a plain colour).
TEST_F(RenderObjectTest, UniqueTexturesAreOpaqueCopiesSharedByLaterClones)
{
    const GLuint original = solidTexture(1, 1, {10, 20, 30, 0});
    auto* templateRoot = new SceneGraphNode("Skull_RootNode");
    auto* skull = new RenderObject(groupedMesh("Skull_skull", {quad(-1, -1, 1, 1)}, {int(original)}));
    templateRoot->addChild(skull);
    templateRoot->makeTexturesUnique();
    ASSERT_EQ(skull->getTextureVariant(), 1);
    const int32_t copy = skull->getDiffuseTextures().at(1).at(0);
    int width = 0, height = 0;
    EXPECT_EQ(texturePixels(GLuint(copy), width, height), (std::vector<unsigned char>{10, 20, 30, 255}));

    auto* spawned = static_cast<RenderObject*>(templateRoot->clone(-1)->getChildren().at(0));
    EXPECT_EQ(spawned->getTextureVariant(), 1);
    EXPECT_EQ(spawned->getDiffuseTextures()[1][0], copy);
}

TEST_F(RenderObjectTest, WorldBoxIsTheTransformedLocalBoxWidenedByChildren)
{
    auto* crate = new RenderObject(closedBoxMesh("crate", {-1, -1, -1}, {1, 1, 1}));
    crate->addChild(new RenderObject(closedBoxMesh("lid", {-1, 1, -1}, {1, 3, 1})));
    root()->addChild(crate);
    crate->translate(10, 0, 0);
    crate->rotateY(45);
    root()->update();
    float diagonal = std::sqrt(2.0f);
    expectNear(crate->getBoundsMin(), {10 - diagonal, -1, -diagonal}, 1e-4f);
    expectNear(crate->getBoundsMax(), {10 + diagonal, 3, diagonal}, 1e-4f);
    EXPECT_NEAR(root()->getBoundsMax().x, 10 + diagonal, 1e-4f);
}
