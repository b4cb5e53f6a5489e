#include "Engine/Pipeline/Renderer.h"

#include "Engine/Base/GLError.h"
#include "Engine/Base/Globals.h"
#include "Engine/Lights/LightManager.h"
#include "Engine/Pipeline/RenderPassTimer.h"
#include "Engine/Pipeline/RenderSettings.h"
#include "Engine/Render/Octree.h"
#include "Engine/Render/RenderObject.h"
#include "Engine/Render/ShaderManager.h"
#include "Engine/Scene/CameraState.h"
#include "Engine/Scene/Frustum.h"
#include "Engine/Scene/NodeManager.h"

namespace {

constexpr int basicProgramNumber = 0;
constexpr int compositorProgramNumber = 3;
constexpr int blurXProgramNumber = 4;
constexpr int blurYProgramNumber = 5;
constexpr int textureDisplayProgramNumber = 6;

constexpr int quadVertexCount = 6;
constexpr int quadComponents = 2;
constexpr float compositorQuadVertices[] = {-1, -1, 1, -1, 1, 1, -1, -1, 1, 1, -1, 1}; // clip space
constexpr float displayQuadVertices[] = {0, 0, 1, 0, 1, 1, 0, 0, 1, 1, 0, 1};          // [0, 1]
constexpr float blurQuadVertices[] = {1, 1, 0, 1, 0, 0, 0, 0, 1, 0, 1, 1};             // [0, 1]

// Separable 7-tap Gaussian read through linear filtering: the centre with the
// first weight, then three offsets (24/17, 56/17, 88/17 texels of the
// half-size target) on both sides; the weights sum to 1 that way.
constexpr float blurOffsetTexels[4] = {0.0f, 1.4117647f, 3.2941177f, 5.1764708f};
constexpr float blurWeights[4] = {0.19648255f, 0.29690698f, 0.094470397f, 0.010381362f};
constexpr int blurTaps = 4;

constexpr const char* renderModeNames[renderModeCount] = {"Frustum Cull Each", "Octree Culling", "Rendering All"};

} // namespace

const char* renderModeName(int mode) { return mode >= 0 && mode < renderModeCount ? renderModeNames[mode] : ""; }

Renderer::Renderer() : renderObjects(&NodeManager::getInstance()->getRenderObjects())
{
    renderStats.renderModeName = renderModeName(renderMode);
}

Renderer::~Renderer()
{
    shutdown();
}

bool Renderer::initialize()
{
    ShaderManager* shaders = ShaderManager::getInstance();
    basic = shaders->getShader(basicProgramNumber);
    compositor = shaders->getShader(compositorProgramNumber);
    textureDisplay = shaders->getShader(textureDisplayProgramNumber);
    lookUpBlurProgram(blurX, blurXProgramNumber);
    lookUpBlurProgram(blurY, blurYProgramNumber);
    if (compositor && compositor->ok) {
        compositorLight = glGetUniformLocation(compositor->program, "tex_light");
        compositorGlow = glGetUniformLocation(compositor->program, "tex_glow");
        compositorGlowBlurred = glGetUniformLocation(compositor->program, "tex_glowBlurred");
    }
    CHECK_GL_ERROR();

    bool complete = targets.create(static_cast<int>(screenWidth), static_cast<int>(screenHeight));
    CHECK_GL_ERROR();
    buildScreenQuads();
    CHECK_GL_ERROR();
    initialized = true;
    return complete;
}

void Renderer::lookUpBlurProgram(BlurProgram& blur, int programNumber)
{
    blur.shader = ShaderManager::getInstance()->getShader(programNumber);
    if (!blur.shader || !blur.shader->ok)
        return;
    blur.texture = glGetUniformLocation(blur.shader->program, "texture");
    blur.offsets = glGetUniformLocation(blur.shader->program, "offsets");
    blur.weights = glGetUniformLocation(blur.shader->program, "weights");
    CHECK_GL_ERROR();
}

void Renderer::buildQuad(StaticMesh& quad, const Shader* shader, const char* attribute, const float* vertices)
{
    if (!shader || !shader->ok)
        return;
    glUseProgram(shader->program);
    quad.upload(vertices, quadVertexCount * quadComponents, quadComponents,
                glGetAttribLocation(shader->program, attribute));
    glUseProgram(0);
    CHECK_GL_ERROR();
}

void Renderer::buildScreenQuads()
{
    buildQuad(compositorQuad, compositor, "in_position", compositorQuadVertices);
    buildQuad(displayQuad, textureDisplay, "in_position", displayQuadVertices);
    buildQuad(blurX.quad, blurX.shader, "inPosition", blurQuadVertices);
    buildQuad(blurY.quad, blurY.shader, "inPosition", blurQuadVertices);
}

void Renderer::render()
{
    if (!initialized)
        return;
    if (cameraUpdate)
        cameraUpdate();
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    geometryPass();
    lightPass();
    shaftPass();
    if (renderSettings.glowEnabled)
        blurGlow();
    GLuint debugTexture = debugTextureFor(renderSettings.debugTexture);
    if (debugTexture == 0)
        compose();
    else
        displayDebugTexture(debugTexture);
}

void Renderer::clearForMenu()
{
    glClearColor(1.0f, 1.0f, 1.0f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT);
}

void Renderer::geometryPass()
{
    beginTiming(GeometryPass);
    CHECK_GL_ERROR();
    // The GUI drawn after the last frame may have left these changed.
    glViewport(0, 0, targets.width, targets.height);
    glDisable(GL_BLEND);
    glDisable(GL_SCISSOR_TEST);
    if (renderSettings.wireframe)
        glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
    glBindFramebuffer(GL_FRAMEBUFFER, targets.gBuffer);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    CHECK_GL_ERROR();
    glEnable(GL_CULL_FACE);
    glFrontFace(GL_CCW);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LESS);
    glDepthMask(GL_TRUE);
    CHECK_GL_ERROR();
    const GLenum drawBuffers[] = {GL_COLOR_ATTACHMENT0, GL_COLOR_ATTACHMENT1, GL_COLOR_ATTACHMENT2};
    glDrawBuffers(3, drawBuffers);

    if (basic && basic->ok) {
        glUseProgram(basic->program);
        CHECK_GL_ERROR();
        glUniform1f(glGetUniformLocation(basic->program, "farClipDistance"), currentCamera.farPlane);
        CHECK_GL_ERROR();
        glUniformMatrix4fv(glGetUniformLocation(basic->program, "projectionMatrix"), 1, GL_FALSE,
                           currentCamera.projectionMatrix.data());
        CHECK_GL_ERROR();
        renderStats.renderedObjects = drawRenderObjects();
    }

    glActiveTexture(GL_TEXTURE1);
    glBindTexture(GL_TEXTURE_2D, 0);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, 0);
    glUseProgram(0);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    if (renderSettings.wireframe)
        glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    CHECK_GL_ERROR();
    endTiming();
}

int Renderer::drawRenderObjects()
{
    Octree* octree = Octree::existingInstance();
    if (renderMode == OctreeCulling && octree) {
        octree->drawCulled();
        renderStats.checkedOctreeNodes = octree->getStats().cellsChecked;
        return octree->getStats().objectsDrawn;
    }
    // Without an octree its mode falls back to testing each object.
    const bool testEach = renderMode != RenderingAll;
    int drawn = 0;
    for (RenderObject* object : *renderObjects) {
        if (!object->isVisible())
            continue;
        if (testEach && !isBoxVisible(object->getBoundsMin(), object->getBoundsMax()))
            continue;
        object->draw();
        ++drawn;
    }
    return drawn;
}

void Renderer::lightPass()
{
    beginTiming(LightPass);
    glBindFramebuffer(GL_FRAMEBUFFER, targets.lightFramebuffer);
    glClear(GL_COLOR_BUFFER_BIT);
    glDrawBuffer(GL_COLOR_ATTACHMENT0);
    glBlendFunc(GL_ONE, GL_ONE);
    glEnable(GL_BLEND);
    glEnable(GL_DEPTH_TEST);
    glDepthMask(GL_FALSE);
    glEnable(GL_CULL_FACE);
    CHECK_GL_ERROR();
    LightManager::getInstance()->drawLights(targets.albedoTexture, targets.normalTexture);
    endTiming();
}

void Renderer::shaftPass()
{
    beginTiming(ShaftPass);
    glBindFramebuffer(GL_FRAMEBUFFER, targets.glowFramebuffer);
    glDrawBuffer(GL_COLOR_ATTACHMENT0);
    CHECK_GL_ERROR();
    LightManager::getInstance()->drawLightShafts(targets.albedoTexture, targets.normalTexture,
                                                 currentCamera.farPlane, currentCamera.projectionMatrix);
    glDisable(GL_BLEND);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glDepthMask(GL_TRUE);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
    glFrontFace(GL_CCW);
    CHECK_GL_ERROR();
    endTiming();
}

void Renderer::blurGlow()
{
    beginTiming(BlurPass);
    glBindTexture(GL_TEXTURE_2D, targets.glowTexture);
    glGenerateMipmap(GL_TEXTURE_2D); // the half-size passes read its first mipmap level
    glViewport(0, 0, targets.halfWidth(), targets.halfHeight());
    CHECK_GL_ERROR();
    blurPass(blurX, targets.blurIntermediateFramebuffer, targets.glowTexture, screenWidth * 0.5f);
    blurPass(blurY, targets.blurredGlowFramebuffer, targets.blurIntermediateTexture, screenHeight * 0.5f);
    endTiming();
}

void Renderer::blurPass(const BlurProgram& blur, GLuint targetFramebuffer, GLuint source, float targetSize)
{
    if (!blur.shader || !blur.shader->ok)
        return;
    float offsets[blurTaps];
    for (int i = 0; i < blurTaps; ++i)
        offsets[i] = blurOffsetTexels[i] / targetSize;
    glUseProgram(blur.shader->program);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, targetFramebuffer);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, source);
    glUniform1i(blur.texture, 0);
    glUniform1fv(blur.offsets, blurTaps, offsets);
    glUniform1fv(blur.weights, blurTaps, blurWeights);
    CHECK_GL_ERROR();
    blur.quad.draw();
    glBindTexture(GL_TEXTURE_2D, 0);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
    glUseProgram(0);
    CHECK_GL_ERROR();
}

void Renderer::compose()
{
    beginTiming(CompositionPass);
    glViewport(0, 0, targets.width, targets.height);
    glDisable(GL_DEPTH_TEST);
    if (compositor && compositor->ok) {
        glUseProgram(compositor->program);
        glActiveTexture(GL_TEXTURE0);
        glBindTexture(GL_TEXTURE_2D, targets.lightTexture);
        glUniform1i(compositorLight, 0);
        if (renderSettings.glowEnabled) {
            glActiveTexture(GL_TEXTURE1);
            glBindTexture(GL_TEXTURE_2D, targets.blurredGlowTexture);
            glUniform1i(compositorGlowBlurred, 1);
            glActiveTexture(GL_TEXTURE2);
            glBindTexture(GL_TEXTURE_2D, targets.glowTexture);
            glUniform1i(compositorGlow, 2);
        }
        CHECK_GL_ERROR();
        compositorQuad.draw();
        for (GLenum unit : {GL_TEXTURE3, GL_TEXTURE2, GL_TEXTURE1, GL_TEXTURE0}) {
            glActiveTexture(unit);
            glBindTexture(GL_TEXTURE_2D, 0);
        }
        glUseProgram(0);
    }
    CHECK_GL_ERROR();
    endTiming();
}

GLuint Renderer::debugTextureFor(int debugTexture) const
{
    switch (debugTexture) {
    case DebugTextureDiffuse:
        return targets.albedoTexture;
    case DebugTextureNormals:
        return targets.normalTexture;
    case DebugTextureLight:
        return targets.lightTexture;
    case DebugTextureGlow:
        return targets.blurredGlowTexture;
    default:
        return 0;
    }
}

void Renderer::displayDebugTexture(GLuint texture)
{
    beginTiming(CompositionPass);
    glViewport(0, 0, targets.width, targets.height);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
    glDisable(GL_DEPTH_TEST);
    if (textureDisplay && textureDisplay->ok) {
        glUseProgram(textureDisplay->program);
        GLint sampler = glGetUniformLocation(textureDisplay->program, "texture");
        glActiveTexture(GL_TEXTURE0);
        glBindTexture(GL_TEXTURE_2D, texture);
        glUniform1i(sampler, 0);
        displayQuad.draw();
        glBindTexture(GL_TEXTURE_2D, 0);
        glUseProgram(0);
    }
    CHECK_GL_ERROR();
    endTiming();
}

void Renderer::cycleRenderMode()
{
    renderMode = (renderMode + 1) % renderModeCount;
    renderStats.renderModeName = renderModeName(renderMode);
    renderStats.checkedOctreeNodes = 0;
}

void Renderer::shutdown()
{
    if (!initialized)
        return;
    CHECK_GL_ERROR();
    targets.release();
    compositorQuad.release();
    displayQuad.release();
    blurX.quad.release();
    blurY.quad.release();
    CHECK_GL_ERROR();
    ShaderManager::getInstance()->clearShaders();
    basic = compositor = textureDisplay = blurX.shader = blurY.shader = nullptr;
    initialized = false;
}

void Renderer::beginTiming(int pass)
{
    if (passTimer)
        passTimer->begin(static_cast<RenderPass>(pass));
}

void Renderer::endTiming()
{
    if (passTimer)
        passTimer->end();
}
