#include "Engine/Render/TextureManager.h"

#include "Engine/Base/GLError.h"
#include "Engine/Render/TextureImage.h"

#include <cstring>
#include <iostream>

namespace {

constexpr GLint rowAlignment = 4; // bytes; FreeImage pads its rows to this

constexpr float gpuAnisotropy = 4.0f;
constexpr float softwareAnisotropy = 1.0f;
constexpr const char* softwareRasterisers[] = {"llvmpipe", "softpipe", "swrast"};

enum FilterMode { filterNearest = 0, filterLinear = 1, filterMipmapping = 2 };

bool isDepthFormat(GLenum internalFormat)
{
    return internalFormat == GL_DEPTH_COMPONENT || internalFormat == GL_DEPTH_COMPONENT24 ||
           internalFormat == GL_DEPTH_COMPONENT32;
}

void setMinMagFilters(GLint minFilter, GLint magFilter)
{
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, minFilter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, magFilter);
}

void setWrap(GLint wrap)
{
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, wrap);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, wrap);
}

// Level 0 of the bound texture from the bitmap's pixels, expanded to RGBA
// with alpha 0 when asked for and the image is plain 24-bit RGB.
void uploadPixels(FIBITMAP* bitmap, const TextureUploadFormat& format, GLenum internalFormat, bool expandTo32)
{
    const unsigned width = FreeImage_GetWidth(bitmap);
    const unsigned height = FreeImage_GetHeight(bitmap);
    glPixelStorei(GL_UNPACK_ALIGNMENT, rowAlignment);
    if (expandTo32 && FreeImage_GetBPP(bitmap) == 24 && internalFormat == GL_RGB) {
        std::vector<unsigned char> expanded =
            expandBgrToRgbaWithZeroAlpha(FreeImage_GetBits(bitmap), width, height, FreeImage_GetPitch(bitmap));
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, GLsizei(width), GLsizei(height), 0, GL_RGBA, GL_UNSIGNED_BYTE,
                     expanded.data());
    } else {
        glTexImage2D(GL_TEXTURE_2D, 0, GLint(internalFormat), GLsizei(width), GLsizei(height), 0,
                     format.pixelFormat, GL_UNSIGNED_BYTE, FreeImage_GetBits(bitmap));
    }
    CHECK_GL_ERROR();
}

} // namespace

float anisotropyForRenderer(const char* glRenderer)
{
    if (!glRenderer)
        return gpuAnisotropy;
    for (const char* software : softwareRasterisers)
        if (std::strstr(glRenderer, software))
            return softwareAnisotropy;
    return gpuAnisotropy;
}

TextureManager::TextureManager()
{
    const char* glRenderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    materialAnisotropyLevel = anisotropyForRenderer(glRenderer);
    std::cout << "Material texture anisotropy " << materialAnisotropyLevel << " for the renderer \""
              << (glRenderer ? glRenderer : "unknown") << "\"" << std::endl;
}

TextureManager::~TextureManager()
{
    for (const auto& [name, texture] : textures)
        glDeleteTextures(1, &texture);
    CHECK_GL_ERROR();
    textures.clear();
}

void TextureManager::loadTexture(const std::string& name, const std::string& path, bool mipmaps,
                                 float anisotropy, bool sRGB, bool expandTo32)
{
    if (textures.count(name) != 0)
        return;
    FREE_IMAGE_FORMAT fileFormat = FIF_UNKNOWN;
    ImageBitmap bitmap = loadImageBitmap(path, fileFormat);
    if (!bitmap || !FreeImage_GetBits(bitmap.get()) || FreeImage_GetWidth(bitmap.get()) == 0 ||
        FreeImage_GetHeight(bitmap.get()) == 0)
        return;

    TextureUploadFormat format = textureUploadFormat(fileFormat, FreeImage_GetBPP(bitmap.get()));
    if (!format.handled) {
        std::cout << "The Texture Loader doesn't yet know how to handle this image format" << std::endl;
        return;
    }
    if (format.convertToBits != 0) {
        bitmap = convertImageBitmap(bitmap.get(), format.convertToBits);
        if (!bitmap)
            return;
    }

    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    GLenum internalFormat = sRGB ? srgbInternalFormat(format.internalFormat) : format.internalFormat;
    uploadPixels(bitmap.get(), format, internalFormat, expandTo32);
    fileTextures.push_back(texture);

    setWrap(GL_REPEAT);
    if (mipmaps) {
        setMinMagFilters(GL_LINEAR_MIPMAP_NEAREST, GL_LINEAR);
        glGenerateMipmap(GL_TEXTURE_2D);
    } else {
        setMinMagFilters(GL_NEAREST, GL_NEAREST);
    }
    if (anisotropy != 0.0f) {
        glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MAX_ANISOTROPY_EXT, anisotropy);
        anisotropicTextures.push_back(texture);
    }
    glBindTexture(GL_TEXTURE_2D, 0);
    CHECK_GL_ERROR();
    textures[name] = texture;
}

GLuint TextureManager::createTexture(GLenum internalFormat, const std::string& name, int width, int height,
                                     GLint wrap, GLint minFilter, float anisotropy)
{
    if (textures.count(name) != 0)
        return noTexture;
    GLenum pixelFormat = internalFormat;
    GLenum pixelType = GL_UNSIGNED_BYTE;
    if (isDepthFormat(internalFormat)) {
        pixelFormat = GL_DEPTH_COMPONENT;
        pixelType = GL_FLOAT;
    } else if (internalFormat == GL_RGBA32F) {
        pixelFormat = GL_RGBA;
        pixelType = GL_FLOAT;
    }

    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    CHECK_GL_ERROR();
    glTexImage2D(GL_TEXTURE_2D, 0, GLint(internalFormat), width, height, 0, pixelFormat, pixelType, nullptr);
    setWrap(wrap);
    setMinMagFilters(minFilter, GL_LINEAR);
    if (anisotropy != 0.0f)
        glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MAX_ANISOTROPY_EXT, anisotropy);
    if (isDepthFormat(internalFormat)) {
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_COMPARE_MODE, GL_COMPARE_REF_TO_TEXTURE);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_COMPARE_FUNC, GL_EQUAL);
    }
    glBindTexture(GL_TEXTURE_2D, 0);
    CHECK_GL_ERROR();
    textures[name] = texture;
    return texture;
}

GLuint TextureManager::getTexture(const std::string& name) const
{
    auto found = textures.find(name);
    return found == textures.end() ? noTexture : found->second;
}

void TextureManager::setAnisotropy(float value)
{
    for (GLuint texture : anisotropicTextures) {
        glBindTexture(GL_TEXTURE_2D, texture);
        glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MAX_ANISOTROPY_EXT, value);
    }
    glBindTexture(GL_TEXTURE_2D, 0);
    CHECK_GL_ERROR();
}

void TextureManager::setFiltering(int filterMode)
{
    for (GLuint texture : fileTextures) {
        glBindTexture(GL_TEXTURE_2D, texture);
        switch (filterMode) {
        case filterNearest: setMinMagFilters(GL_NEAREST, GL_NEAREST); break;
        case filterLinear: setMinMagFilters(GL_LINEAR, GL_LINEAR); break;
        case filterMipmapping:
            setMinMagFilters(GL_LINEAR_MIPMAP_LINEAR, GL_LINEAR);
            glGenerateMipmap(GL_TEXTURE_2D);
            break;
        default: break;
        }
    }
    glBindTexture(GL_TEXTURE_2D, 0);
    CHECK_GL_ERROR();
}
