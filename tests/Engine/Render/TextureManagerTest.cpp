// Texture loading through real FreeImage files written by the tests, uploaded
// into a real OpenGL context: formats per depth, byte order, flags and settings.
#include "Engine/Render/TextureManager.h"

#include "GLContext.h"
#include "TempFolder.h"

#include <FreeImage.h>
#include <GL/glew.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

struct Rgb {
    unsigned char red, green, blue;
};
constexpr Rgb orange = {250, 120, 10};

class TextureFiles : public GLTest {
protected:
    // A `width` × 3 image of `bits` bits per pixel filled with one colour
    // (palette entry 1 for palette depths; grey level `red` for grey depths).
    std::string writeImage(const std::string& name, FREE_IMAGE_FORMAT format, int width, unsigned bits,
                           Rgb colour = orange) const
    {
        FIBITMAP* bitmap = FreeImage_Allocate(width, 3, bits);
        BYTE index = 1;
        RGBQUAD pixel = {colour.blue, colour.green, colour.red, 77};
        if (bits <= 8)
            FreeImage_GetPalette(bitmap)[1] = {colour.blue, colour.green, colour.red, 0};
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < width; ++x)
                bits <= 8 ? FreeImage_SetPixelIndex(bitmap, x, y, &index) : FreeImage_SetPixelColor(bitmap, x, y, &pixel);
        EXPECT_TRUE(FreeImage_Save(format, bitmap, folder.file(name).c_str(), 0)) << name;
        FreeImage_Unload(bitmap);
        return folder.file(name);
    }

    TempFolder folder{"umbrant_textures"};
    TextureManager manager;
};

// A texture parameter read as a float (enum values compare exactly), or a parameter of `level`.
float parameter(GLuint texture, GLenum name, int level = -1)
{
    GLfloat value = 0;
    glBindTexture(GL_TEXTURE_2D, texture);
    if (level < 0)
        glGetTexParameterfv(GL_TEXTURE_2D, name, &value);
    else
        glGetTexLevelParameterfv(GL_TEXTURE_2D, level, name, &value);
    glBindTexture(GL_TEXTURE_2D, 0);
    return value;
}

// Each file depth becomes its upload format with its colours: 24 bits RGB (or
// RGBA with zero alpha when expanded, rows padded by FreeImage skipped), 32
// bits keep their alpha, sRGB wins over expansion, palette and grey depths
// opaque RGBA.
TEST_F(TextureFiles, EveryDepthUploadsWithItsFormatAndColours)
{
    const Rgb white = {255, 255, 255};
    const struct {
        const char* file;
        FREE_IMAGE_FORMAT format;
        int width;
        unsigned bits;
        bool srgb, expand;
        GLint internal;
        Rgb colour;
        int alpha; // -1: pixels not compared (sRGB storage)
    } cases[] = {
        {"wall.png", FIF_PNG, 5, 24, false, true, GL_RGBA, orange, 0}, // 15-byte rows padded to 16
        {"wall.bmp", FIF_BMP, 7, 24, false, false, GL_RGB, orange, 255},
        {"srgb.png", FIF_PNG, 4, 24, true, true, GL_SRGB, orange, -1},
        {"srgbAlpha.png", FIF_PNG, 4, 32, true, false, GL_SRGB_ALPHA, orange, -1},
        {"glass.tga", FIF_TARGA, 3, 32, false, true, GL_RGBA, orange, 77},
        {"grey.jpg", FIF_JPEG, 8, 8, false, true, GL_RGBA, white, 0}, // grey converted to RGB first
        {"palette.png", FIF_PNG, 6, 8, false, true, GL_RGBA, orange, 255},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        manager.loadTexture(c.file, writeImage(c.file, c.format, c.width, c.bits, c.colour), false, 0.0f, c.srgb,
                            c.expand);
        GLuint texture = manager.getTexture(c.file);
        EXPECT_EQ(parameter(texture, GL_TEXTURE_INTERNAL_FORMAT, 0), c.internal);
        std::vector<unsigned char> pixels(std::size_t(4 * parameter(texture, GL_TEXTURE_WIDTH, 0) *
                                                      parameter(texture, GL_TEXTURE_HEIGHT, 0)));
        glBindTexture(GL_TEXTURE_2D, texture);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
        const int expected[4] = {c.colour.red, c.colour.green, c.colour.blue, c.alpha};
        for (std::size_t i = 0; c.alpha >= 0 && i < pixels.size(); ++i)
            ASSERT_EQ(pixels[i], expected[i % 4]) << "byte " << i;
    }
}

// Unloadable files register nothing and print nothing; a readable format the
// loader does not handle is reported.
TEST_F(TextureFiles, UnloadableFilesRegisterNothing)
{
    std::filesystem::create_directories(folder.path() / "directory.png");
    std::ofstream(folder.file("empty.png"));
    std::ofstream(folder.file("garbage.png")) << std::string(64, '\x5A');
    std::ofstream(folder.file("truncated.png"), std::ios::binary)
        << std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0\0\x10\0\0\0\x10\x08\x02", 24);
    testing::internal::CaptureStdout();
    for (const char* name : {"missing.png", "empty.png", "garbage.png", "truncated.png", "directory.png"}) {
        manager.loadTexture(name, folder.file(name), true, 4.0f, false, true);
        EXPECT_EQ(manager.getTexture(name), noTexture) << name;
    }
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");

    testing::internal::CaptureStdout();
    manager.loadTexture("picture", writeImage("picture.gif", FIF_GIF, 4, 8), true, 4.0f, false, false);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "The Texture Loader doesn't yet know how to handle this image format\n");
    EXPECT_EQ(manager.getTexture("picture"), noTexture);
}

// The first load's flags hold; anisotropy and filtering change file textures,
// not render targets. Depth targets compare, names are unique, and a manager's
// destruction deletes every texture.
TEST_F(TextureFiles, TheFirstLoadsFlagsSettingsAndRenderTargets)
{
    manager.loadTexture("plain", writeImage("plain.png", FIF_PNG, 16, 24), false, 0.0f, false, false);
    manager.loadTexture("plain", writeImage("again.png", FIF_PNG, 8, 32), true, 8.0f, true, true);
    const GLuint plain = manager.getTexture("plain");
    const GLuint target = manager.createTexture(GL_RGBA, "target", 16, 16, GL_CLAMP_TO_EDGE, GL_LINEAR, 2.0f);
    manager.setAnisotropy(8.0f);
    manager.setFiltering(2);
    EXPECT_EQ(parameter(plain, GL_TEXTURE_MAX_ANISOTROPY_EXT), 1.0f) << "loaded with anisotropy 0";
    EXPECT_EQ(parameter(plain, GL_TEXTURE_MIN_FILTER), GL_LINEAR_MIPMAP_LINEAR);
    EXPECT_EQ(parameter(plain, GL_TEXTURE_WIDTH, 4), 1) << "mode 2 builds the mipmap chain";
    EXPECT_EQ(parameter(target, GL_TEXTURE_MAX_ANISOTROPY_EXT), 2.0f);
    EXPECT_EQ(parameter(target, GL_TEXTURE_MIN_FILTER), GL_LINEAR);

    auto* owner = new TextureManager();
    GLuint depth = owner->createTexture(GL_DEPTH_COMPONENT24, "depth", 20, 10, GL_CLAMP_TO_EDGE, GL_NEAREST, 0.0f);
    EXPECT_EQ(parameter(depth, GL_TEXTURE_COMPARE_MODE), GL_COMPARE_REF_TO_TEXTURE);
    EXPECT_EQ(owner->createTexture(GL_RGB, "depth", 4, 4, GL_REPEAT, GL_LINEAR, 0.0f), noTexture);
    delete owner;
    EXPECT_FALSE(glIsTexture(depth));
}

} // namespace
