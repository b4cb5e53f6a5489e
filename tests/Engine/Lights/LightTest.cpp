#include "Engine/Lights/LightManager.h"
#include "Engine/Lights/PointLight.h"
#include "Engine/Lights/SpotLight.h"
#include "Engine/Render/RenderObject.h"
#include "Engine/Scene/CameraState.h"
#include "Engine/Scene/NodeManager.h"

#include "GLContext.h"
#include "renderScene.h"

#include <gtest/gtest.h>

namespace {

constexpr LightFalloff lightFalloff{10.0f, 1.0f, 0.0f, 0.0f}; // range 10

// Primitives the light manager's light pass (or shaft pass) generates.
GLuint primitivesOf(bool shafts)
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

} // namespace

// With the real light programs and a camera at (0, 0, 30) looking at the
// origin: a null light is refused; without the sphere mesh point lights stay
// undrawn with a message; lights and shafts draw only when in view and bright
// enough; the shared sphere is scaled to the radius once, however often the
// light updates; the manager's destruction deletes the lights, which leave the
// registry.
class LightTest : public GLTest {};

TEST_F(LightTest, LightsDrawTheirVolumesOnlyWhenInViewAndBrightEnough)
{
    ASSERT_TRUE(renderscene::loadShaders());
    NodeManager::getInstance()->createRoot();
    renderscene::placeCamera({0.0f, 0.0f, 30.0f}, {0.0f, 0.0f, 0.0f});
    LightManager* lights = LightManager::getInstance();
    auto* spot = new SpotLight({}, {}, {1, 1, 1}, "spot", 20.0f, 40.0f, lightFalloff);
    auto* point = new PointLight({3, 0, 0}, {1, 1, 1}, "point", lightFalloff);
    testing::internal::CaptureStdout();
    for (Light* light : {static_cast<Light*>(nullptr), static_cast<Light*>(spot), static_cast<Light*>(point)})
        lights->addLight(light);
    EXPECT_FALSE(lights->buildPointLightVolume());
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("addLight(NULL)"), std::string::npos);
    EXPECT_NE(out.find("Sphere_sphere"), std::string::npos);
    EXPECT_EQ(primitivesOf(false), 70u);
    (new RenderObject(renderscene::unitSphere("Sphere_sphere")))->setVisible(false);
    ASSERT_TRUE(lights->buildPointLightVolume());
    const GLuint sphereTriangles = static_cast<GLuint>(PointLight::getSphere().getVertexCount() / 3);
    EXPECT_EQ(primitivesOf(false), 70u + sphereTriangles);
    EXPECT_EQ(primitivesOf(true), 0u);
    spot->shaftEnabled = true;
    EXPECT_EQ(primitivesOf(true), 9u * 46u);

    point->intensity = 0.0f;
    spot->intensity = 0.001f; // the threshold itself draws
    EXPECT_EQ(primitivesOf(false), 70u);
    spot->intensity = 0.0009f;
    EXPECT_EQ(primitivesOf(false), 0u);
    EXPECT_EQ(primitivesOf(true), 0u);

    point->intensity = 1.0f;
    point->updateVolume();
    EXPECT_NEAR(point->getBoundsMin().x, -7.0f, 1e-5f);

    renderscene::placeCamera({0.0f, 0.0f, 30.0f}, {0.0f, 0.0f, 60.0f}); // looking away
    EXPECT_EQ(primitivesOf(false), 0u);
    LightManager::destroyInstance();
    EXPECT_EQ(NodeManager::getInstance()->nodeCount(), 2u); // the root and the sphere
    renderscene::tearDown();
}
