#pragma once
// Owner of every 2D texture of the game, by name: image textures loaded from
// files (material import) and empty render targets (renderer framebuffers).
// Applies the debug panel's anisotropy and filter settings to file textures.
// A lazily created singleton; every operation leaves GL_TEXTURE_2D of the
// active texture unit bound to 0.
#include "Engine/Base/Singleton.h"

#include <GL/glew.h>

#include <map>
#include <string>
#include <vector>

// The texture id that means "no texture" (-1, all bits set).
constexpr GLuint noTexture = 0xFFFFFFFFu;

class TextureManager : public Singleton<TextureManager> {
public:
    // Probes the OpenGL renderer once for the material anisotropy (a context must be current).
    TextureManager();
    virtual ~TextureManager();
    TextureManager(const TextureManager&) = delete;
    TextureManager& operator=(const TextureManager&) = delete;

    // Loads the image at `path` and registers it under `name`; does nothing
    // when the name is registered already. Failure registers nothing and is
    // silent (callers see getTexture answer noTexture), except for a readable
    // but unhandled image format, which is logged. anisotropy 0: none (the
    // texture then ignores setAnisotropy). expandTo32: a 24-bit RGB image is
    // stored as RGBA with alpha 0 (not applied together with sRGB).
    void loadTexture(const std::string& name, const std::string& path, bool mipmaps, float anisotropy,
                     bool sRGB, bool expandTo32);
    // An empty render target of `width` × `height` pixels; noTexture when the
    // name is registered already. Depth formats compare with GL_EQUAL.
    GLuint createTexture(GLenum internalFormat, const std::string& name, int width, int height, GLint wrap,
                         GLint minFilter, float anisotropy);
    // The texture registered under `name`, or noTexture.
    GLuint getTexture(const std::string& name) const;
    // The anisotropy that material textures and their private copies are
    // given: decided once, at construction, from the OpenGL renderer.
    float materialAnisotropy() const { return materialAnisotropyLevel; }
    // Sets GL_TEXTURE_MAX_ANISOTROPY_EXT on every file texture loaded with anisotropy.
    void setAnisotropy(float value);
    // Filter mode of every file texture: 0 nearest, 1 linear, 2 trilinear
    // mipmapping (builds the mipmap chain); other values change nothing.
    void setFiltering(int filterMode);

private:
    std::map<std::string, GLuint> textures;
    std::vector<GLuint> anisotropicTextures;
    std::vector<GLuint> fileTextures; // in load order
    float materialAnisotropyLevel;
};

// Anisotropy for material textures under the renderer named `glRenderer`
// (GL_RENDERER, null allowed): 1 on Mesa's software rasterisers (llvmpipe,
// softpipe, swrast), where any level above 1 sends every texture read down a
// box-filter path many times slower; 4 on a GPU.
float anisotropyForRenderer(const char* glRenderer);
