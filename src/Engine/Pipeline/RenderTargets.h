#pragma once
// The deferred renderer's render targets: six textures (owned by the
// TextureManager under their names) and five framebuffers, the first three
// sharing one depth renderbuffer.
//
//   G-buffer          colour 0 "fbo_albedo", 1 "fbo_normal", 2 "fbo_glow", depth
//   light             colour 0 "fbo_light", the same depth
//   glow              colour 0 "fbo_glow", the same depth
//   blurred glow      colour 0 "glowBlurred"                (half size)
//   blur intermediate colour 0 "glowBlurredIntermediate"    (half size)
#include <GL/glew.h>

// The message lines for an incomplete framebuffer status (the second line
// names the status).
const char* framebufferStatusText(GLenum status);
// Reports an incomplete framebuffer bound to GL_FRAMEBUFFER on standard
// output and binds framebuffer 0. Returns whether it was complete; rendering
// goes on either way.
bool checkFramebufferStatus();

struct RenderTargets {
    int width = 0;  // full size, pixels
    int height = 0;
    GLuint depthBuffer = 0;
    GLuint albedoTexture = 0;
    GLuint normalTexture = 0;
    GLuint lightTexture = 0;
    GLuint glowTexture = 0;
    GLuint blurIntermediateTexture = 0;
    GLuint blurredGlowTexture = 0;
    GLuint gBuffer = 0;
    GLuint lightFramebuffer = 0;
    GLuint glowFramebuffer = 0;
    GLuint blurIntermediateFramebuffer = 0;
    GLuint blurredGlowFramebuffer = 0;

    // Creates the textures, then the framebuffers (each checked for
    // completeness). Half size is (width * 0.5, height * 0.5) truncated.
    // Returns whether every framebuffer is complete.
    bool create(int fullWidth, int fullHeight);
    // Deletes the framebuffers and the depth renderbuffer; the textures stay
    // with the TextureManager that owns them. A second call does nothing.
    void release();

    int halfWidth() const { return static_cast<int>(static_cast<float>(width) * 0.5f); }
    int halfHeight() const { return static_cast<int>(static_cast<float>(height) * 0.5f); }
};
