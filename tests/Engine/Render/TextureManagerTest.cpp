// Texture loading through real FreeImage files written by the tests, uploaded
// into a real OpenGL context: formats per depth, byte order, flags and settings.
#include "Engine/Render/TextureManager.h"

#include "SceneTestSupport.h"
#include "TempFolder.h"

#include <FreeImage.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace {

struct Rgb {
    unsigned char red, green, blue;
};
constexpr Rgb orange = {250, 120, 10};

class TextureFiles : public GLTest {
protected:
    // A `width` × `height` image of `bits` bits per pixel filled with one colour
    // (palette entry 1 for palette depths; grey level `red` for grey depths).
    std::string writeImage(const std::string& name, FREE_IMAGE_FORMAT format, int width, int height,
                           unsigned bits, Rgb colour = orange) const
    {
        FIBITMAP* bitmap = FreeImage_Allocate(width, height, bits);
        BYTE index = 1;
        RGBQUAD pixel = {colour.blue, colour.green, colour.red, 77};
        if (bits <= 8) {
            RGBQUAD* palette = FreeImage_GetPalette(bitmap);
            std::fill(palette, palette + FreeImage_GetColorsUsed(bitmap), RGBQUAD{0, 0, 0, 0});
            palette[1] = {colour.blue, colour.green, colour.red, 0};
        }
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                bits <= 8 ? FreeImage_SetPixelIndex(bitmap, x, y, &index) : FreeImage_SetPixelColor(bitmap, x, y, &pixel);
        EXPECT_TRUE(FreeImage_Save(format, bitmap, folder.file(name).c_str(), 0)) << name;
        FreeImage_Unload(bitmap);
        return folder.file(name);
    }

    std::string writeBytes(const std::string& name, const std::string& bytes) const
    {
        std::ofstream(folder.file(name), std::ios::binary) << bytes;
        return folder.file(name);
    }

    TempFolder folder{"umbrant_textures"};
    TextureManager manager;
};

GLint levelParameter(GLuint texture, GLint level, GLenum parameter)
{
    GLint value = 0;
    glBindTexture(GL_TEXTURE_2D, texture);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, level, parameter, &value);
    glBindTexture(GL_TEXTURE_2D, 0);
    return value;
}

// A texture parameter read as a float (enum values compare exactly).
float textureParameter(GLuint texture, GLenum parameter)
{
    GLfloat value = 0;
    glBindTexture(GL_TEXTURE_2D, texture);
    glGetTexParameterfv(GL_TEXTURE_2D, parameter, &value);
    glBindTexture(GL_TEXTURE_2D, 0);
    return value;
}

// Every pixel of level 0 equals the colour and alpha, each colour byte within
// `tolerance` (for depths that quantise the colour).
::testing::AssertionResult everyPixelIs(GLuint texture, Rgb colour, unsigned char alpha, int tolerance = 0)
{
    int width = 0, height = 0;
    const std::vector<unsigned char> pixels = texturePixels(texture, width, height);
    const int expected[4] = {colour.red, colour.green, colour.blue, alpha};
    for (std::size_t i = 0; i < pixels.size(); ++i)
        if (std::abs(pixels[i] - expected[i % 4]) > (i % 4 == 3 ? 0 : tolerance))
            return ::testing::AssertionFailure() << "byte " << i % 4 << " of pixel " << i / 4 << " is " << int(pixels[i]);
    if (pixels.empty())
        return ::testing::AssertionFailure() << "no pixels";
    return ::testing::AssertionSuccess();
}

GLint boundTexture()
{
    GLint bound = -1;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    return bound;
}

// Each file depth becomes its upload format with its colours: 24 bits RGB (or
// RGBA with zero alpha when expanded, rows padded by FreeImage skipped), 32
// bits keep their alpha, sRGB wins over expansion, other depths opaque RGBA.
TEST_F(TextureFiles, EveryDepthUploadsWithItsFormatAndColours)
{
    struct Case {
        const char* file;
        FREE_IMAGE_FORMAT format;
        int width, height;
        unsigned bits;
        bool srgb, expand;
        GLint internal;
        Rgb colour;
        int alpha;     // -1: pixels not compared (sRGB storage)
        int tolerance; // for depths that quantise the colour
    };
    const Rgb white = {255, 255, 255}, grey = {200, 200, 200};
    const Case cases[] = {
        {"wall.png", FIF_PNG, 5, 3, 24, false, true, GL_RGBA, orange, 0, 0}, // 15-byte rows padded to 16
        {"wall.bmp", FIF_BMP, 7, 2, 24, false, false, GL_RGB, orange, 255, 0},
        {"wall.jpg", FIF_JPEG, 8, 8, 24, false, false, GL_RGB, grey, 255, 4},
        {"srgb.png", FIF_PNG, 4, 4, 24, true, true, GL_SRGB, orange, -1, 0},
        {"srgbAlpha.png", FIF_PNG, 4, 4, 32, true, false, GL_SRGB_ALPHA, orange, -1, 0},
        {"glass.tga", FIF_TARGA, 3, 5, 32, false, true, GL_RGBA, orange, 77, 0},
        {"grey.jpg", FIF_JPEG, 8, 8, 8, false, true, GL_RGBA, white, 0, 0}, // grey converted to RGB first
        {"palette.bmp", FIF_BMP, 6, 3, 8, false, true, GL_RGBA, orange, 255, 0},
        {"palette.png", FIF_PNG, 6, 3, 8, false, true, GL_RGBA, orange, 255, 0},
        {"palette.tga", FIF_TARGA, 6, 3, 8, false, true, GL_RGBA, orange, 255, 0},
        {"fourBit.bmp", FIF_BMP, 6, 3, 4, false, true, GL_RGBA, orange, 255, 0},
        {"oneBit.png", FIF_PNG, 6, 3, 1, false, true, GL_RGBA, white, 255, 0},
        {"sixteenBit.bmp", FIF_BMP, 6, 3, 16, false, true, GL_RGBA, orange, 255, 8}, // 5 or 6 bits per channel
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        manager.loadTexture(c.file, writeImage(c.file, c.format, c.width, c.height, c.bits, c.colour), false, 0.0f,
                            c.srgb, c.expand);
        GLuint texture = manager.getTexture(c.file);
        ASSERT_NE(texture, noTexture);
        EXPECT_EQ(levelParameter(texture, 0, GL_TEXTURE_INTERNAL_FORMAT), c.internal);
        EXPECT_EQ(levelParameter(texture, 0, GL_TEXTURE_WIDTH), c.width);
        if (c.alpha >= 0)
            EXPECT_TRUE(everyPixelIs(texture, c.colour, static_cast<unsigned char>(c.alpha), c.tolerance));
    }
    EXPECT_EQ(boundTexture(), 0);
}

TEST_F(TextureFiles, SixteenBitsPerChannelAndGreyImagesLoad)
{
    for (FREE_IMAGE_TYPE type : {FIT_RGB16, FIT_UINT16}) {
        FIBITMAP* bitmap = FreeImage_AllocateT(type, 3, 3);
        for (unsigned y = 0; y < 3; ++y) {
            auto* row = reinterpret_cast<unsigned short*>(FreeImage_GetScanLine(bitmap, y));
            for (unsigned x = 0; x < 3; ++x)
                (type == FIT_RGB16 ? reinterpret_cast<FIRGB16*>(row)[x].red : row[x]) = 65535;
        }
        const std::string file = folder.file(std::to_string(type) + ".png");
        ASSERT_TRUE(FreeImage_Save(FIF_PNG, bitmap, file.c_str(), 0));
        FreeImage_Unload(bitmap);
        manager.loadTexture(file, file, true, 4.0f, false, true);
        ASSERT_NE(manager.getTexture(file), noTexture);
        const Rgb full = type == FIT_RGB16 ? Rgb{255, 0, 0} : Rgb{255, 255, 255};
        EXPECT_TRUE(everyPixelIs(manager.getTexture(file), full, 255));
    }
}

// Unloadable files register nothing and print nothing; a readable format the
// loader does not handle is reported.
TEST_F(TextureFiles, UnloadableFilesRegisterNothing)
{
    std::filesystem::create_directories(folder.path() / "directory.png");
    const std::string files[] = {
        folder.file("missing.png"), writeBytes("empty.png", ""), writeBytes("garbage.png", std::string(64, '\x5A')),
        writeBytes("truncated.png", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0\0\x10\0\0\0\x10\x08\x02", 24)),
        writeBytes("noExtension", "plain text"), folder.file("directory.png")};
    ::testing::internal::CaptureStdout();
    for (const std::string& file : files)
        manager.loadTexture(file, file, true, 4.0f, false, true);
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "");
    for (const std::string& file : files)
        EXPECT_EQ(manager.getTexture(file), noTexture) << file;
    EXPECT_EQ(boundTexture(), 0);

    ::testing::internal::CaptureStdout();
    manager.loadTexture("picture", writeImage("picture.gif", FIF_GIF, 4, 4, 8), true, 4.0f, false, false);
    EXPECT_EQ(::testing::internal::GetCapturedStdout(),
              "The Texture Loader doesn't yet know how to handle this image format\n");
    EXPECT_EQ(manager.getTexture("picture"), noTexture);
}

TEST_F(TextureFiles, ANameIsLoadedOnceAndKeepsItsFirstTexture)
{
    manager.loadTexture("wall", writeImage("first.png", FIF_PNG, 2, 2, 24), false, 0.0f, false, false);
    GLuint texture = manager.getTexture("wall");
    manager.loadTexture("wall", writeImage("second.png", FIF_PNG, 8, 8, 32), true, 8.0f, true, true);
    EXPECT_EQ(manager.getTexture("wall"), texture);
    EXPECT_EQ(levelParameter(texture, 0, GL_TEXTURE_WIDTH), 2);
    EXPECT_EQ(levelParameter(texture, 0, GL_TEXTURE_INTERNAL_FORMAT), GL_RGB);
    EXPECT_EQ(textureParameter(texture, GL_TEXTURE_MIN_FILTER), GL_NEAREST);
    EXPECT_EQ(manager.getTexture("unknown"), noTexture);
}

TEST_F(TextureFiles, MipmapsAnisotropyAndFilteringFollowTheFlags)
{
    manager.loadTexture("mipmapped", writeImage("a.png", FIF_PNG, 16, 16, 24), true, 4.0f, false, false);
    manager.loadTexture("plain", writeImage("b.png", FIF_PNG, 16, 16, 24), false, 0.0f, false, false);
    GLuint target = manager.createTexture(GL_RGBA, "target", 16, 16, GL_CLAMP_TO_EDGE, GL_LINEAR, 2.0f);
    GLuint mipmapped = manager.getTexture("mipmapped"), plain = manager.getTexture("plain");
    auto anisotropyOf = [](GLuint texture) { return textureParameter(texture, GL_TEXTURE_MAX_ANISOTROPY_EXT); };

    EXPECT_EQ(textureParameter(mipmapped, GL_TEXTURE_MIN_FILTER), GL_LINEAR_MIPMAP_NEAREST);
    EXPECT_EQ(textureParameter(mipmapped, GL_TEXTURE_MAG_FILTER), GL_LINEAR);
    EXPECT_EQ(textureParameter(mipmapped, GL_TEXTURE_WRAP_S), GL_REPEAT);
    EXPECT_EQ(levelParameter(mipmapped, 4, GL_TEXTURE_WIDTH), 1);
    EXPECT_EQ(textureParameter(plain, GL_TEXTURE_MIN_FILTER), GL_NEAREST);
    EXPECT_EQ(textureParameter(plain, GL_TEXTURE_WRAP_T), GL_REPEAT);
    EXPECT_EQ(levelParameter(plain, 1, GL_TEXTURE_WIDTH), 0);
    EXPECT_FLOAT_EQ(anisotropyOf(mipmapped), 4.0f);

    manager.setAnisotropy(8.0f);
    EXPECT_FLOAT_EQ(anisotropyOf(mipmapped), 8.0f);
    EXPECT_FLOAT_EQ(anisotropyOf(plain), 1.0f) << "loaded with anisotropy 0";
    EXPECT_FLOAT_EQ(anisotropyOf(target), 2.0f) << "render targets are not touched";

    manager.setFiltering(1);
    EXPECT_EQ(textureParameter(plain, GL_TEXTURE_MIN_FILTER), GL_LINEAR);
    EXPECT_EQ(textureParameter(target, GL_TEXTURE_MIN_FILTER), GL_LINEAR);
    manager.setFiltering(2);
    EXPECT_EQ(textureParameter(plain, GL_TEXTURE_MIN_FILTER), GL_LINEAR_MIPMAP_LINEAR);
    EXPECT_EQ(levelParameter(plain, 4, GL_TEXTURE_WIDTH), 1) << "mode 2 builds the mipmap chain";
    manager.setFiltering(7);
    EXPECT_EQ(textureParameter(plain, GL_TEXTURE_MIN_FILTER), GL_LINEAR_MIPMAP_LINEAR);
    manager.setFiltering(0);
    EXPECT_EQ(textureParameter(mipmapped, GL_TEXTURE_MAG_FILTER), GL_NEAREST);
    EXPECT_EQ(boundTexture(), 0);
}

// Render targets get their formats and unique names; the manager's destruction deletes every texture.
TEST_F(TextureFiles, RenderTargetsGetTheirFormatsAndTheManagerDeletesEveryTexture)
{
    auto* owner = new TextureManager();
    GLuint colour = owner->createTexture(GL_RGBA32F, "normal", 20, 10, GL_CLAMP_TO_EDGE, GL_NEAREST, 0.0f);
    GLuint depth = owner->createTexture(GL_DEPTH_COMPONENT24, "depth", 20, 10, GL_CLAMP_TO_EDGE, GL_NEAREST, 0.0f);
    ASSERT_NE(colour, noTexture);
    ASSERT_NE(depth, noTexture);
    EXPECT_EQ(owner->getTexture("normal"), colour);
    EXPECT_EQ(levelParameter(colour, 0, GL_TEXTURE_INTERNAL_FORMAT), GL_RGBA32F);
    EXPECT_EQ(levelParameter(colour, 0, GL_TEXTURE_WIDTH), 20);
    EXPECT_EQ(textureParameter(colour, GL_TEXTURE_WRAP_S), GL_CLAMP_TO_EDGE);
    EXPECT_EQ(textureParameter(colour, GL_TEXTURE_MAG_FILTER), GL_LINEAR);
    EXPECT_EQ(textureParameter(colour, GL_TEXTURE_COMPARE_MODE), GL_NONE);
    EXPECT_EQ(textureParameter(depth, GL_TEXTURE_COMPARE_MODE), GL_COMPARE_REF_TO_TEXTURE);
    EXPECT_EQ(textureParameter(depth, GL_TEXTURE_COMPARE_FUNC), GL_EQUAL);
    EXPECT_EQ(owner->createTexture(GL_RGB, "normal", 4, 4, GL_REPEAT, GL_LINEAR, 0.0f), noTexture);
    EXPECT_EQ(owner->getTexture("normal"), colour);
    EXPECT_EQ(boundTexture(), 0);

    owner->loadTexture("file", writeImage("file.png", FIF_PNG, 4, 4, 24), false, 0.0f, false, false);
    GLuint file = owner->getTexture("file");
    ASSERT_TRUE(glIsTexture(file));
    delete owner;
    EXPECT_FALSE(glIsTexture(colour));
    EXPECT_FALSE(glIsTexture(file));
}

TEST(MaterialAnisotropy, SoftwareRasterisersGetOneAndGpusFour)
{
    const std::pair<const char*, float> cases[] = {
        {"llvmpipe (LLVM 15.0.6, 256 bits)", 1.0f}, {"softpipe", 1.0f}, {"Mesa DRI swrast", 1.0f},
        {"NVIDIA GeForce GTX 1060/PCIe/SSE2", 4.0f}, {nullptr, 4.0f},
    };
    for (const auto& [glRenderer, expected] : cases)
        EXPECT_FLOAT_EQ(anisotropyForRenderer(glRenderer), expected) << (glRenderer ? glRenderer : "null");
}

} // namespace
