#include "Engine/Lights/LightManager.h"
#include "Engine/Lights/PointLight.h"
#include "Engine/Lights/SpotLight.h"
#include "Engine/Render/RenderObject.h"
#include "Engine/Render/ShaderManager.h"
#include "Engine/Scene/CameraState.h"
#include "Engine/Scene/NodeManager.h"

#include "GLContext.h"
#include "renderScene.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <utility>

namespace {

constexpr LightFalloff lightFalloff{10.0f, 1.0f, 0.0f, 0.0f}; // range 10

// The real light programs, a registry root, and a camera at (0, 0, 30) looking at the origin.
class LightTest : public GLTest {
protected:
    void SetUp() override
    {
        GLTest::SetUp();
        if (HasFatalFailure())
            return;
        ASSERT_TRUE(renderscene::loadShaders());
        NodeManager::getInstance()->createRoot();
        renderscene::placeCamera({0.0f, 0.0f, 30.0f}, {0.0f, 0.0f, 0.0f});
    }
    void TearDown() override
    {
        if (sharedGLWindow())
            renderscene::tearDown();
    }

    static void buildSphere()
    {
        auto* sphere = new RenderObject(renderscene::unitSphere("Sphere_sphere"));
        sphere->setVisible(false);
        ASSERT_TRUE(LightManager::getInstance()->buildPointLightVolume());
    }

    // Primitives the light manager's light pass (or shaft pass) generates.
    static GLuint primitivesOf(bool shafts)
    {
        GLuint query = 0, count = 0;
        glGenQueries(1, &query);
        glBeginQuery(GL_PRIMITIVES_GENERATED, query);
        if (shafts)
            LightManager::getInstance()->drawLightShafts(0, 0, currentCamera.farPlane, currentCamera.projectionMatrix);
        else
            LightManager::getInstance()->drawLights(0, 0);
        glEndQuery(GL_PRIMITIVES_GENERATED);
        glGetQueryObjectuiv(query, GL_QUERY_RESULT, &count);
        glDeleteQueries(1, &query);
        return count;
    }
};

// A light of a kind the manager does not draw.
class OtherLight : public Light {
public:
    OtherLight() : Light({1.0f, 1.0f, 1.0f}) {}
    void updateVolume() override {}
    void draw(const LightProgram&, const LightPassView&) override { drawn = true; }
    bool isVisible() const override { return true; }
    bool drawn = false;
};

} // namespace

TEST_F(LightTest, SpotLightWorldBoxFollowsPositionRotationRangeAndAngle)
{
    // 90 degrees, range 10: a cone of radius 10 along -Z.
    auto* ahead = new SpotLight({1, 2, 3}, {}, {1, 1, 1}, "ahead", 40.0f, 90.0f, lightFalloff);
    LightManager::getInstance()->addLight(ahead);
    EXPECT_NEAR(ahead->getBoundsMin().x, -9.0f, 1e-4f);
    EXPECT_NEAR(ahead->getBoundsMax().y, 12.0f, 1e-4f);
    EXPECT_NEAR(ahead->getBoundsMin().z, -7.0f, 1e-4f);
    EXPECT_NEAR(ahead->getBoundsMax().z, 3.0f, 1e-4f);

    // -90 degrees about X turns the beam from -Z to straight down.
    auto* spot = new SpotLight({0, 30, 0}, {-90, 0, 0}, {1, 1, 1}, "down", 20.0f, 60.0f, {25.0f, 1.0f, 0.0f, 0.0f});
    LightManager::getInstance()->addLight(spot);
    EXPECT_NEAR(spot->worldDirection().y, -1.0f, 1e-5f);
    EXPECT_NEAR(spot->getBoundsMin().y, 5.0f, 1e-4f);
    EXPECT_NEAR(spot->getBoundsMax().y, 30.0f, 1e-4f);

    spot->falloff[0] = 50.0f;
    spot->outerAngle = 1.5707964f;
    spot->updateVolume();
    EXPECT_NEAR(spot->getBoundsMin().y, -20.0f, 1e-3f);
    EXPECT_NEAR(spot->getBoundsMax().x, 50.0f, 1e-3f);
    EXPECT_NEAR(spot->spotParams[1], std::cos(0.7853982f), 1e-6f);
}

TEST_F(LightTest, PointLightScalesTheSharedSphereToItsRadiusOnceEvenWhenUpdatedAgain)
{
    auto* point = new PointLight({5, 0, 0}, {1, 1, 1}, "point", {4.0f, 1.0f, 0.0f, 0.0f});
    LightManager::getInstance()->addLight(point);
    buildSphere();
    point->updateVolume();
    point->updateVolume();
    EXPECT_EQ(point->getTransform()[0], 4.0f);
    EXPECT_EQ(point->getTransform()[12], 5.0f);
    EXPECT_NEAR(point->getBoundsMin().x, 1.0f, 1e-5f);
    EXPECT_NEAR(point->getBoundsMax().x, 9.0f, 1e-5f);
    EXPECT_NEAR(point->getBoundsMax().y, 4.0f, 1e-5f);
}

TEST(CameraInsideLightVolume, FollowsDistanceAndConeAngle)
{
    EXPECT_TRUE(cameraInsidePointVolume(9.0f, 10.0f));   // 8.19 <= 10
    EXPECT_FALSE(cameraInsidePointVolume(11.0f, 10.0f)); // 10.01 > 10
    const std::pair<Vec3, bool> cameras[] = {
        {{0, -50, 0}, true}, {{std::tan(0.55f), -1, 0}, true}, // within 0.1 rad of the 60 degree edge
        {{1, -1, 0}, false}, {{0, 5, 0}, false},               // beyond the edge; behind the lamp
        {{0, 0, 0}, false},                                    // no direction: no NaN
    };
    for (const auto& [camera, inside] : cameras)
        EXPECT_EQ(cameraInsideSpotVolume({0, 0, 0}, {0, -1, 0}, camera, 1.0471976f), inside) << camera.y;
}

TEST_F(LightTest, PointLightAroundTheCameraDrawsItsFarFacesBehindTheScene)
{
    auto* point = new PointLight({0, 0, 21}, {1, 1, 1}, "near", lightFalloff);
    LightManager::getInstance()->addLight(point);
    buildSphere();
    LightProgram program;
    program.lookUp(ShaderManager::getInstance()->getShader(2));
    const LightPassView pass{currentCamera.viewMatrix, currentCamera.projectionMatrix, currentCamera.eye, {},
                             currentCamera.farPlane};
    program.begin(pass, 0, 0);

    auto stateAfterDraw = [&] {
        point->draw(program, pass);
        GLint frontFace = 0, depthFunc = 0;
        glGetIntegerv(GL_FRONT_FACE, &frontFace);
        glGetIntegerv(GL_DEPTH_FUNC, &depthFunc);
        return std::pair<GLint, GLint>{frontFace, depthFunc};
    };
    EXPECT_EQ(stateAfterDraw(), (std::pair<GLint, GLint>{GL_CW, GL_GEQUAL})) << "camera 9 units away";
    point->translate(0.0f, 0.0f, -2.0f);
    EXPECT_EQ(stateAfterDraw(), (std::pair<GLint, GLint>{GL_CCW, GL_LESS})) << "camera 11 units away";
    LightProgram::end();
}

TEST_F(LightTest, LightsDrawTheirVolumesOnlyWhenInViewAndBrightEnough)
{
    auto* spot = new SpotLight({}, {}, {1, 1, 1}, "spot", 20.0f, 40.0f, lightFalloff);
    auto* point = new PointLight({3, 0, 0}, {1, 1, 1}, "point", lightFalloff);
    LightManager::getInstance()->addLight(spot);
    LightManager::getInstance()->addLight(point);
    buildSphere();
    const GLuint sphereTriangles = static_cast<GLuint>(PointLight::getSphere().getVertexCount() / 3);
    EXPECT_EQ(primitivesOf(false), 70u + sphereTriangles);

    // "lightColour" keeps a marker value: a dimmed light sends nothing.
    spot->intensity = 0.0009f;
    point->intensity = 0.0f;
    GLuint program = ShaderManager::getInstance()->getShader(1)->program;
    GLint colourLocation = glGetUniformLocation(program, "lightColour");
    glUseProgram(program);
    glUniform3f(colourLocation, 7.0f, 7.0f, 7.0f);
    EXPECT_EQ(primitivesOf(false), 0u);
    float colour[3] = {};
    glGetUniformfv(program, colourLocation, colour);
    EXPECT_EQ(colour[0], 7.0f);

    spot->intensity = 0.001f; // the threshold itself draws
    EXPECT_EQ(primitivesOf(false), 70u);

    renderscene::placeCamera({0.0f, 0.0f, 30.0f}, {0.0f, 0.0f, 60.0f}); // looking away
    EXPECT_EQ(primitivesOf(false), 0u);
}

TEST_F(LightTest, ShaftsDrawOnlyForEnabledVisibleBrightSpotLights)
{
    auto* spot = new SpotLight({}, {}, {1, 1, 1}, "spot", 20.0f, 40.0f, lightFalloff);
    LightManager::getInstance()->addLight(spot);
    EXPECT_EQ(primitivesOf(true), 0u);
    spot->shaftEnabled = true;
    EXPECT_EQ(primitivesOf(true), 9u * 46u);
    spot->intensity = 0.0f;
    EXPECT_EQ(primitivesOf(true), 0u);
    GLboolean culling = GL_TRUE;
    glGetBooleanv(GL_CULL_FACE, &culling);
    EXPECT_FALSE(culling); // shafts show both faces of every shell
}

TEST_F(LightTest, ManagerFilesLightsByKindAndKeepsOthersUndrawn)
{
    LightManager* lights = LightManager::getInstance();
    auto* other = new OtherLight();
    testing::internal::CaptureStdout();
    lights->addLight(nullptr);
    EXPECT_NE(testing::internal::GetCapturedStdout().find("addLight(NULL)"), std::string::npos);
    lights->addLight(other);
    lights->addLight(new SpotLight({}, {}, {1, 1, 1}, "s", 10.0f, 20.0f, lightFalloff));
    lights->addLight(new PointLight({}, {1, 1, 1}, "p", lightFalloff));
    EXPECT_EQ(lights->getLights().size(), 3u);
    EXPECT_EQ(lights->getSpotLights().size(), 1u);
    EXPECT_EQ(lights->getPointLights().size(), 1u);
    primitivesOf(false);
    EXPECT_FALSE(other->drawn);
    // The manager's destruction deletes the lights, which leave the registry.
    LightManager::destroyInstance();
    EXPECT_EQ(NodeManager::getInstance()->nodeCount(), 1u); // the root
}

TEST_F(LightTest, MissingSphereLeavesPointLightsUndrawnWithAMessage)
{
    LightManager::getInstance()->addLight(new PointLight({}, {1, 1, 1}, "p", lightFalloff));
    testing::internal::CaptureStdout();
    EXPECT_FALSE(LightManager::getInstance()->buildPointLightVolume());
    EXPECT_NE(testing::internal::GetCapturedStdout().find("Sphere_sphere"), std::string::npos);
    EXPECT_EQ(primitivesOf(false), 0u);
}
