#include "Engine/Render/RenderObject.h"
#include "Engine/Scene/CameraState.h"
#include "Engine/Scene/NodeManager.h"

#include "SceneTestSupport.h"

#include <cmath>

using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStdout;

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
    auto* skull = new RenderObject(boxMesh("Skull_skull", {-1, -1, -1}, {1, 1, 1}));
    auto* eye = new RenderObject(boxMesh("Skull_eye", {0, 0, 0}, {0.1f, 0.1f, 0.1f}));
    skull->addChild(eye);
    ASSERT_NE(skull->getPositionBuffer(), 0u);
    EXPECT_TRUE(glIsBuffer(skull->getPositionBuffer()));
    EXPECT_NE(skull->getPositionBuffer(), eye->getPositionBuffer());

    GLuint probeBefore = 0, probeAfter = 0;
    glGenBuffers(1, &probeBefore);
    std::vector<RenderObject*> clones;
    for (int i = 0; i < 10; ++i)
        clones.push_back(static_cast<RenderObject*>(skull->clone(-1)));
    glGenBuffers(1, &probeAfter);
    EXPECT_EQ(probeAfter, probeBefore + 1) << "cloning created GPU buffers";
    glDeleteBuffers(1, &probeBefore);
    glDeleteBuffers(1, &probeAfter);

    for (RenderObject* clone : clones) {
        EXPECT_EQ(clone->getPositionBuffer(), skull->getPositionBuffer());
        EXPECT_EQ(clone->getVertexArray(), skull->getVertexArray());
        auto* eyeCopy = static_cast<RenderObject*>(clone->getChildren().at(0));
        EXPECT_EQ(eyeCopy->getPositionBuffer(), eye->getPositionBuffer());
        EXPECT_EQ(clone->getPositions(), skull->getPositions());
    }
    // Construction order: a clone's children are copied before it is listed.
    const auto& listed = NodeManager::getInstance()->getRenderObjects();
    ASSERT_EQ(listed.size(), 22u);
    EXPECT_EQ(listed[0], skull);
    EXPECT_EQ(listed[2], clones[0]->getChildren()[0]);
    EXPECT_EQ(listed[3], clones[0]);

    // Deleting a copy unlists it and leaves the shared buffers alone.
    delete clones[0]->getChildren()[0];
    delete clones[0];
    EXPECT_EQ(listed.size(), 20u);
    EXPECT_TRUE(glIsBuffer(skull->getPositionBuffer()));
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(RenderObjectTest, EachMaterialGroupDrawsItsOwnVertexRangeWithItsTexture)
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
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(RenderObjectTest, InvisibleOrDetachedObjectsDrawNothing)
{
    MeshData mesh = groupedMesh("panel", {quad(-1, -1, 1, 1)}, {int(solidTexture(1, 1, white))});
    auto* detached = new RenderObject(mesh);
    auto* hidden = new RenderObject(mesh);
    root()->addChild(hidden);
    hidden->setVisible(false);

    OffscreenTarget target(targetSize);
    EXPECT_EQ(target.countPrimitives([&] { detached->draw(), hidden->draw(); }), 0u);
    EXPECT_EQ(target.pixel(15, 15), black);

    hidden->setVisible(true);
    EXPECT_EQ(target.countPrimitives([&] { hidden->draw(); }), 2u);
    EXPECT_EQ(target.pixel(15, 15), white);
}

TEST_F(RenderObjectTest, ModelViewIsViewTimesTransformTimesAnimation)
{
    MeshData mesh = groupedMesh("panel", {quad(-0.2f, -0.2f, 0.2f, 0.2f)}, {int(solidTexture(1, 1, white))});
    auto* panel = new RenderObject(mesh);
    root()->addChild(panel);
    panel->translate(0.6f, 0, 0);
    currentCamera.viewMatrix = Mat4::translation(0, 0.6f, 0);

    OffscreenTarget target(targetSize);
    target.countPrimitives([&] { panel->draw(); });
    EXPECT_EQ(target.pixel(24, 24), white); // centre at clip (0.6, 0.6)
    EXPECT_EQ(target.pixel(15, 15), black);
}

TEST_F(RenderObjectTest, TriangleCountsBeyondTheVerticesAreClipped)
{
    MeshData mesh = groupedMesh("broken", {quad(-1, -1, 1, 1)}, {int(solidTexture(1, 1, white))});
    mesh.triangleCounts = {1, 40, 3};
    CaptureStdout();
    auto* broken = new RenderObject(mesh);
    EXPECT_EQ(GetCapturedStdout(),
              "Warning - RenderObject broken: triangle counts exceed the 6 vertices; drawing only those\n");
    EXPECT_EQ(broken->getTriangleCounts(), (std::vector<int32_t>{1, 1, 0}));
    root()->addChild(broken);
    OffscreenTarget target(targetSize);
    EXPECT_EQ(target.countPrimitives([&] { broken->draw(); }), 2u);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(RenderObjectTest, UniqueTexturesAreOpaqueCopiesSharedByLaterClones)
{
    const std::vector<unsigned char> translucent = {10, 20, 30, 0,   40, 50, 60, 10,
                                                    70, 80, 90, 128, 1,  2,  3,  254};
    GLuint original = 0;
    glGenTextures(1, &original);
    glBindTexture(GL_TEXTURE_2D, original);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, 2, 2, 0, GL_RGBA, GL_UNSIGNED_BYTE, translucent.data());
    GLuint normalMap = solidTexture(1, 1, {128, 128, 255, 255});

    MeshData mesh = groupedMesh("Skull_skull", {quad(-1, -1, 1, 1)}, {int(original)});
    mesh.normalTextureIds = {{int(normalMap)}};
    auto* templateRoot = new SceneGraphNode("Skull_RootNode");
    auto* skull = new RenderObject(mesh);
    templateRoot->addChild(skull);
    templateRoot->makeTexturesUnique();

    ASSERT_EQ(skull->getTextureVariant(), 1);
    ASSERT_EQ(skull->getDiffuseTextures().size(), 2u);
    int32_t copy = skull->getDiffuseTextures()[1][0];
    EXPECT_NE(copy, int32_t(original));
    EXPECT_EQ(skull->getNormalTextures()[1], (std::vector<int32_t>{int32_t(normalMap)}));

    int width = 0, height = 0;
    std::vector<unsigned char> opaque = translucent;
    for (size_t i = 3; i < opaque.size(); i += 4)
        opaque[i] = 255;
    EXPECT_EQ(texturePixels(GLuint(copy), width, height), opaque);
    EXPECT_EQ(std::pair(width, height), std::pair(2, 2));
    EXPECT_EQ(texturePixels(original, width, height), translucent);

    auto* spawned = static_cast<RenderObject*>(templateRoot->clone(-1)->getChildren().at(0));
    EXPECT_EQ(spawned->getTextureVariant(), 1);
    EXPECT_EQ(spawned->getDiffuseTextures()[1][0], copy);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(RenderObjectTest, WorldBoxIsTheTransformedLocalBoxWidenedByChildren)
{
    auto* crate = new RenderObject(boxMesh("crate", {-1, -1, -1}, {1, 1, 1}));
    EXPECT_EQ(crate->getBoundsMax(), (Vec3{1, 1, 1}));
    auto* lid = new RenderObject(boxMesh("lid", {-1, 1, -1}, {1, 3, 1}));
    crate->addChild(lid);
    root()->addChild(crate);

    crate->translate(10, 0, 0);
    crate->rotateY(45);
    root()->update();
    float diagonal = std::sqrt(2.0f);
    EXPECT_NEAR(lid->getBoundsMin().x, 10 - diagonal, 1e-4f);
    EXPECT_NEAR(lid->getBoundsMax().y, 3, 1e-4f);
    EXPECT_NEAR(crate->getBoundsMin().x, 10 - diagonal, 1e-4f);
    EXPECT_NEAR(crate->getBoundsMin().y, -1, 1e-4f);
    EXPECT_NEAR(crate->getBoundsMax().y, 3, 1e-4f);
    EXPECT_NEAR(crate->getBoundsMax().z, diagonal, 1e-4f);
    EXPECT_NEAR(root()->getBoundsMax().x, 10 + diagonal, 1e-4f);
}

TEST_F(RenderObjectTest, MarkersAreFoundOnTheMeshOrBelowIt)
{
    MarkerMap pistolMarkers = {{"ShotSource", {1, 2, 3, 1}}};
    MeshData pistolMesh = boxMesh("Pistol_pistol", {0, 0, 0}, {1, 1, 1});
    pistolMesh.markers = &pistolMarkers;
    auto* body = new RenderObject(boxMesh("Player_body", {0, 0, 0}, {1, 1, 1}));
    body->addChild(new RenderObject(pistolMesh));

    Vec4 position;
    ASSERT_TRUE(body->findMarker("ShotSource", position));
    EXPECT_EQ(position.y, 2.0f);
    EXPECT_FALSE(body->findMarker("Muzzle", position));
}
