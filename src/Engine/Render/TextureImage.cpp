#include "Engine/Render/TextureImage.h"

namespace {

constexpr unsigned bytesPerSourcePixel = 3; // 24-bit blue, green, red
constexpr unsigned bytesPerExpandedPixel = 4;

bool isBmpPngOrTarga(FREE_IMAGE_FORMAT format)
{
    return format == FIF_BMP || format == FIF_PNG || format == FIF_TARGA;
}

} // namespace

TextureUploadFormat textureUploadFormat(FREE_IMAGE_FORMAT format, unsigned bitsPerPixel)
{
    TextureUploadFormat result;
    if (format == FIF_JPEG) {
        result = {true, GL_BGR, GL_RGB, bitsPerPixel == 24 ? 0u : 24u};
    } else if (isBmpPngOrTarga(format)) {
        if (bitsPerPixel == 24)
            result = {true, GL_BGR, GL_RGB, 0};
        else if (bitsPerPixel == 32)
            result = {true, GL_BGRA, GL_RGBA, 0};
        else
            result = {true, GL_BGRA, GL_RGBA, 32};
    }
    return result;
}

GLenum srgbInternalFormat(GLenum internalFormat)
{
    if (internalFormat == GL_RGB)
        return GL_SRGB;
    if (internalFormat == GL_RGBA)
        return GL_SRGB_ALPHA;
    return internalFormat;
}

std::vector<unsigned char> expandBgrToRgbaWithZeroAlpha(const unsigned char* bits, unsigned width,
                                                        unsigned height, unsigned sourcePitch)
{
    std::vector<unsigned char> expanded(std::size_t(width) * height * bytesPerExpandedPixel);
    for (unsigned row = 0; row < height; ++row) {
        const unsigned char* source = bits + std::size_t(row) * sourcePitch;
        unsigned char* target = expanded.data() + std::size_t(row) * width * bytesPerExpandedPixel;
        for (unsigned column = 0; column < width; ++column) {
            target[0] = source[2];
            target[1] = source[1];
            target[2] = source[0];
            target[3] = 0;
            source += bytesPerSourcePixel;
            target += bytesPerExpandedPixel;
        }
    }
    return expanded;
}

ImageBitmap loadImageBitmap(const std::string& path, FREE_IMAGE_FORMAT& format)
{
    format = FreeImage_GetFileType(path.c_str(), 0);
    if (format == FIF_UNKNOWN)
        format = FreeImage_GetFIFFromFilename(path.c_str());
    if (format == FIF_UNKNOWN)
        return nullptr;
    if (format != FIF_PNG && !FreeImage_FIFSupportsReading(format))
        return nullptr;
    return ImageBitmap(FreeImage_Load(format, path.c_str(), 0));
}

ImageBitmap convertImageBitmap(FIBITMAP* bitmap, unsigned bits)
{
    auto convert = [bits](FIBITMAP* source) {
        return ImageBitmap(bits == 24 ? FreeImage_ConvertTo24Bits(source) : FreeImage_ConvertTo32Bits(source));
    };
    ImageBitmap converted = convert(bitmap);
    if (converted || FreeImage_GetImageType(bitmap) == FIT_BITMAP)
        return converted;
    // Grey or floating-point samples: scale them to 8 bits first.
    ImageBitmap standard(FreeImage_ConvertToStandardType(bitmap, TRUE));
    return standard ? convert(standard.get()) : nullptr;
}
