#include "Engine/Pipeline/RenderTargets.h"

#include "Engine/Base/GLError.h"
#include "Engine/Render/TextureManager.h"

#include <iostream>
#include <string>

namespace {

constexpr float noAnisotropy = 0.0f;
constexpr GLint glowLevelsRead = 2; // the full-size glow and the half-size level the blur reads

// A render target of the TextureManager; one registered by an earlier
// renderer set-up is used again.
GLuint renderTexture(GLenum internalFormat, const std::string& name, int width, int height, GLint minFilter)
{
    TextureManager* textures = TextureManager::getInstance();
    GLuint texture = textures->createTexture(internalFormat, name, width, height, GL_CLAMP_TO_EDGE, minFilter,
                                             noAnisotropy);
    return texture != noTexture ? texture : textures->getTexture(name);
}

void attachColour(int index, GLuint texture)
{
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0 + index, GL_TEXTURE_2D, texture, 0);
}

// A framebuffer with one colour texture and, when given, the depth renderbuffer.
GLuint singleTargetFramebuffer(GLuint texture, GLuint depthBuffer, bool& complete)
{
    GLuint framebuffer = 0;
    glGenFramebuffers(1, &framebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    attachColour(0, texture);
    if (depthBuffer != 0)
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, depthBuffer);
    complete = checkFramebufferStatus() && complete;
    CHECK_GL_ERROR();
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    return framebuffer;
}

} // namespace

const char* framebufferStatusText(GLenum status)
{
    switch (status) {
    case GL_FRAMEBUFFER_UNDEFINED:
        return "\nGL_FRAMEBUFFER_UNDEFINED \n";
    case GL_FRAMEBUFFER_INCOMPLETE_ATTACHMENT:
        return "\nGL_FRAMEBUFFER_INCOMPLETE_ATTACHMENT\n";
    case GL_FRAMEBUFFER_INCOMPLETE_MISSING_ATTACHMENT:
        return "\nGL_FRAMEBUFFER_INCOMPLETE_MISSING_ATTACHMENT\n";
    case GL_FRAMEBUFFER_INCOMPLETE_DRAW_BUFFER:
        return "\nGL_FRAMEBUFFER_INCOMPLETE_DRAW_BUFFER \n";
    case GL_FRAMEBUFFER_INCOMPLETE_READ_BUFFER:
        return "\nGL_FRAMEBUFFER_INCOMPLETE_READ_BUFFER\n";
    case GL_FRAMEBUFFER_UNSUPPORTED:
        return "\nGL_FRAMEBUFFER_UNSUPPORTED\n";
    default:
        return "\nUndefined Framebuffer error\n";
    }
}

bool checkFramebufferStatus()
{
    GLenum status = glCheckFramebufferStatus(GL_FRAMEBUFFER);
    bool complete = status == GL_FRAMEBUFFER_COMPLETE;
    if (!complete)
        std::cout << "\nLight Framebuffer is NOT complete\n" << std::endl;
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    if (!complete)
        std::cout << framebufferStatusText(status) << std::endl;
    return complete;
}

bool RenderTargets::create(int fullWidth, int fullHeight)
{
    width = fullWidth;
    height = fullHeight;
    albedoTexture = renderTexture(GL_RGBA, "fbo_albedo", width, height, GL_NEAREST);
    normalTexture = renderTexture(GL_RGBA32F, "fbo_normal", width, height, GL_NEAREST);
    lightTexture = renderTexture(GL_RGB, "fbo_light", width, height, GL_NEAREST);
    glowTexture = renderTexture(GL_RGB, "fbo_glow", width, height, GL_LINEAR_MIPMAP_NEAREST);
    // The blur reads only level 1; the mipmap rebuilt every frame stops there.
    glBindTexture(GL_TEXTURE_2D, glowTexture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, glowLevelsRead - 1);
    glBindTexture(GL_TEXTURE_2D, 0);
    blurIntermediateTexture = renderTexture(GL_RGB, "glowBlurredIntermediate", halfWidth(), halfHeight(), GL_LINEAR);
    blurredGlowTexture = renderTexture(GL_RGB, "glowBlurred", halfWidth(), halfHeight(), GL_LINEAR);
    CHECK_GL_ERROR();

    bool complete = true;
    glGenFramebuffers(1, &gBuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, gBuffer);
    glGenRenderbuffers(1, &depthBuffer);
    glBindRenderbuffer(GL_RENDERBUFFER, depthBuffer);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT, width, height);
    glBindRenderbuffer(GL_RENDERBUFFER, 0);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, depthBuffer);
    attachColour(0, albedoTexture);
    attachColour(1, normalTexture);
    attachColour(2, glowTexture);
    complete = checkFramebufferStatus() && complete;
    CHECK_GL_ERROR();
    glBindFramebuffer(GL_FRAMEBUFFER, 0);

    lightFramebuffer = singleTargetFramebuffer(lightTexture, depthBuffer, complete);
    glowFramebuffer = singleTargetFramebuffer(glowTexture, depthBuffer, complete);
    blurredGlowFramebuffer = singleTargetFramebuffer(blurredGlowTexture, 0, complete);
    blurIntermediateFramebuffer = singleTargetFramebuffer(blurIntermediateTexture, 0, complete);
    return complete;
}

void RenderTargets::release()
{
    GLuint framebuffers[] = {gBuffer, lightFramebuffer, glowFramebuffer, blurIntermediateFramebuffer,
                             blurredGlowFramebuffer};
    glDeleteFramebuffers(5, framebuffers);
    glDeleteRenderbuffers(1, &depthBuffer);
    CHECK_GL_ERROR();
    *this = RenderTargets{};
}
