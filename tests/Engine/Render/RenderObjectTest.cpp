#include "Engine/Render/RenderObject.h"
#include "Engine/Scene/NodeManager.h"

#include "SceneTestSupport.h"

#include <GL/glew.h>

#include <cmath>

namespace {

SceneGraphNode* root() { return NodeManager::getInstance()->getRoot(); }

} // namespace

class RenderObjectTest : public SceneTest {};

TEST_F(RenderObjectTest, ClonesDrawFromTheTemplatesBuffers)
{
    auto* skull = new RenderObject(closedBoxMesh("Skull_skull", {-1, -1, -1}, {1, 1, 1}));
    auto* eye = new RenderObject(closedBoxMesh("Skull_eye", {0, 0, 0}, {0.1f, 0.1f, 0.1f}));
    skull->addChild(eye);
    auto* clone = static_cast<RenderObject*>(skull->clone(-1));
    EXPECT_EQ(clone->getVertexArray(), skull->getVertexArray());

    // Deleting a copy unlists it and keeps the shared buffers.
    delete clone->getChildren()[0];
    delete clone;
    EXPECT_EQ(NodeManager::getInstance()->getRenderObjects(), (std::vector<RenderObject*>{skull, eye}));
    EXPECT_TRUE(glIsBuffer(skull->getPositionBuffer()));
}

TEST_F(RenderObjectTest, TriangleCountsBeyondTheVerticesAreClipped)
{
    MeshData mesh = closedBoxMesh("broken", {-1, -1, -1}, {1, 1, 1});
    mesh.triangleCounts = {1, 40, 3};
    testing::internal::CaptureStdout();
    RenderObject broken(mesh);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "Warning - RenderObject broken: triangle counts exceed the 36 vertices; drawing only those\n");
    EXPECT_EQ(broken.getTriangleCounts(), (std::vector<int32_t>{1, 11, 0}));
}

// A single texel is a texture too (a plain colour).
TEST_F(RenderObjectTest, UniqueTexturesAreOpaqueCopiesSharedByLaterClones)
{
    GLuint original = 0;
    glGenTextures(1, &original);
    glBindTexture(GL_TEXTURE_2D, original);
    const unsigned char texel[4] = {10, 20, 30, 0};
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, texel);
    MeshData mesh = closedBoxMesh("Skull_skull", {-1, -1, -1}, {1, 1, 1});
    mesh.diffuseTextureIds = {{int(original)}};
    auto* templateRoot = new SceneGraphNode("Skull_RootNode");
    auto* skull = new RenderObject(mesh);
    templateRoot->addChild(skull);
    templateRoot->makeTexturesUnique();
    ASSERT_EQ(skull->getTextureVariant(), 1);
    const int32_t copy = skull->getDiffuseTextures().at(1).at(0);
    unsigned char copied[4] = {};
    glBindTexture(GL_TEXTURE_2D, GLuint(copy));
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, copied);
    EXPECT_EQ(std::vector<unsigned char>(copied, copied + 4), (std::vector<unsigned char>{10, 20, 30, 255}));

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
