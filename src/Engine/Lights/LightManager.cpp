#include "Engine/Lights/LightManager.h"

#include "Engine/Base/Config.h"
#include "Engine/Base/GLError.h"
#include "Engine/Lights/PointLight.h"
#include "Engine/Lights/SpotLight.h"
#include "Engine/Render/RenderObject.h"
#include "Engine/Render/ShaderManager.h"
#include "Engine/Scene/CameraState.h"
#include "Engine/Scene/NodeManager.h"

#include <iostream>

namespace {
constexpr int spotlightProgramNumber = 1;
constexpr int pointlightProgramNumber = 2;
constexpr int lightshaftsProgramNumber = 7;

} // namespace

LightManager::LightManager()
{
    ShaderManager* shaders = ShaderManager::getInstance();
    spotProgram.lookUp(shaders->getShader(spotlightProgramNumber));
    pointProgram.lookUp(shaders->getShader(pointlightProgramNumber));
    shaftProgram.lookUp(shaders->getShader(lightshaftsProgramNumber));
}

LightManager::~LightManager()
{
    spotLights.clear();
    pointLights.clear();
    for (Light* light : lights)
        delete light;
    lights.clear();
    PointLight::releaseSphere();
}

void LightManager::addLight(Light* light)
{
    if (!light) {
        std::cout << "Warning - LightManager: addLight(NULL)" << std::endl;
        return;
    }
    lights.push_back(light);
    if (auto* spot = dynamic_cast<SpotLight*>(light))
        spotLights.push_back(spot);
    else if (auto* point = dynamic_cast<PointLight*>(light))
        pointLights.push_back(point);
}

bool LightManager::buildPointLightVolume()
{
    NodeManager* nodes = NodeManager::getInstance();
    auto* sphere = dynamic_cast<RenderObject*>(nodes->findByName(config::sphereNode));
    if (!sphere || sphere->getPositions().empty()) {
        std::cout << "LightManager: no render object \"" << config::sphereNode
                  << "\" to build the point-light volume from; point lights will not be drawn" << std::endl;
        return false;
    }
    PointLight::setSphere(sphere->getPositions(), sphere->getLocalBoundsMin(), sphere->getLocalBoundsMax(),
                          pointProgram.positionAttribute);
    for (PointLight* light : pointLights)
        light->computeBounds();
    return true;
}

LightPassView LightManager::currentPassView()
{
    LightPassView pass;
    pass.view = currentCamera.viewMatrix;
    pass.projection = currentCamera.projectionMatrix;
    pass.eye = currentCamera.eye;
    pass.viewEyeDir = normalize(currentCamera.viewMatrix.transformDirection(currentCamera.direction));
    pass.farClip = currentCamera.farPlane;
    return pass;
}

void LightManager::drawLights(GLuint albedoTexture, GLuint normalTexture)
{
    const LightPassView pass = currentPassView();
    if (pointProgram.program != 0 && !pointLights.empty()) {
        pointProgram.begin(pass, albedoTexture, normalTexture);
        for (PointLight* light : pointLights)
            light->draw(pointProgram, pass);
        LightProgram::end();
    }
    if (spotProgram.program != 0 && !spotLights.empty()) {
        spotProgram.begin(pass, albedoTexture, normalTexture);
        for (SpotLight* light : spotLights)
            light->draw(spotProgram, pass);
    }
    glEnable(GL_CULL_FACE);
    glFrontFace(GL_CCW);
    glDepthFunc(GL_LESS);
    LightProgram::end();
}

void LightManager::drawLightShafts(GLuint albedoTexture, GLuint normalTexture, float farClipDistance,
                                   const Mat4& projection)
{
    if (shaftProgram.program == 0)
        return;
    LightPassView pass = currentPassView();
    pass.farClip = farClipDistance;
    pass.projection = projection;
    shaftProgram.begin(pass, albedoTexture, normalTexture);
    glDisable(GL_CULL_FACE);
    glDepthFunc(GL_LESS);
    CHECK_GL_ERROR();
    for (SpotLight* light : spotLights)
        light->drawLightShaft(shaftProgram, pass);
    LightProgram::end();
}
