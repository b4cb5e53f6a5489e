#pragma once
// Image-file side of texture loading: which GL formats an image file gets,
// the pixel conversions before upload, and the FreeImage loading itself.
// Plain functions without OpenGL calls, so tests can check them directly.
#include <FreeImage.h>
#include <GL/glew.h>

#include <memory>
#include <string>
#include <vector>

// Upload formats of an image, from the FreeImage format and bits per pixel.
struct TextureUploadFormat {
    bool handled = false;              // false: the loader does not know this format
    GLenum pixelFormat = GL_RGBA;      // layout of the bytes handed to GL
    GLenum internalFormat = GL_RGBA;   // layout GL stores
    unsigned convertToBits = 0;        // 24 or 32: convert the pixels to this depth first; 0: as they are
};

// The format table: JPEG -> BGR/RGB; BMP, PNG, TGA with 24 bits -> BGR/RGB,
// with 32 bits -> BGRA/RGBA; other depths of those three -> RGBA after a
// conversion to 32-bit BGRA (raw 1-, 4-, 8- or 16-bit pixels are too short
// for a 4-byte upload). JPEGs of another depth are converted to 24 bits.
TextureUploadFormat textureUploadFormat(FREE_IMAGE_FORMAT format, unsigned bitsPerPixel);

// GL_RGB -> GL_SRGB and GL_RGBA -> GL_SRGB_ALPHA; other formats unchanged.
GLenum srgbInternalFormat(GLenum internalFormat);

// 24-bit rows (blue, green, red; rows `sourcePitch` bytes apart, as FreeImage
// pads them) to tightly packed red, green, blue, alpha 0 rows of 4 × width bytes.
std::vector<unsigned char> expandBgrToRgbaWithZeroAlpha(const unsigned char* bits, unsigned width,
                                                        unsigned height, unsigned sourcePitch);

struct FreeImageDeleter {
    void operator()(FIBITMAP* bitmap) const { FreeImage_Unload(bitmap); }
};
using ImageBitmap = std::unique_ptr<FIBITMAP, FreeImageDeleter>;

// Loads `path` through FreeImage: the type from the file's content, else from
// its name. Null (silently) when the type is unknown, not readable or the file
// does not load; `format` receives the type found.
ImageBitmap loadImageBitmap(const std::string& path, FREE_IMAGE_FORMAT& format);

// `bitmap` converted to a standard 8-bit-per-channel bitmap of `bits` (24 or
// 32) bits per pixel; null when FreeImage cannot convert it.
ImageBitmap convertImageBitmap(FIBITMAP* bitmap, unsigned bits);
