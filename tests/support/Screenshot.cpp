#include "Screenshot.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

// A window that vanishes between two requests raises an X error; the default
// handler would end the test process, this one lets the request fail.
int ignoreXError(Display*, XErrorEvent*) { return 0; }

Display* display()
{
    static Display* connection = [] {
        XSetErrorHandler(ignoreXError);
        return XOpenDisplay(nullptr);
    }();
    return connection;
}

// One colour channel of a pixel value, scaled to 0..255.
class Channel {
public:
    explicit Channel(unsigned long channelMask) : mask(channelMask)
    {
        while (channelMask && !(channelMask & 1)) {
            channelMask >>= 1;
            ++shift;
        }
        top = channelMask;
    }
    std::uint8_t operator()(unsigned long pixel) const
    {
        return static_cast<std::uint8_t>(top ? ((pixel & mask) >> shift) * 255 / top : 0);
    }

private:
    unsigned long mask;
    int shift = 0;
    unsigned long top = 0;
};

} // namespace

bool Screenshot::take(const std::string& windowId)
{
    pictureWidth = pictureHeight = 0;
    rgb.clear();
    Display* x = display();
    const Window window = std::strtoul(windowId.c_str(), nullptr, 10);
    XWindowAttributes attributes;
    if (!x || !window || !XGetWindowAttributes(x, window, &attributes) || attributes.map_state != IsViewable)
        return false;
    auto destroy = [](XImage* image) { XDestroyImage(image); };
    std::unique_ptr<XImage, decltype(destroy)> image(
        XGetImage(x, window, 0, 0, attributes.width, attributes.height, AllPlanes, ZPixmap), destroy);
    if (!image)
        return false;
    const Channel red(image->red_mask), green(image->green_mask), blue(image->blue_mask);
    rgb.reserve(3u * attributes.width * attributes.height);
    for (int y = 0; y < attributes.height; ++y)
        for (int px = 0; px < attributes.width; ++px) {
            const unsigned long pixel = XGetPixel(image.get(), px, y);
            rgb.insert(rgb.end(), {red(pixel), green(pixel), blue(pixel)});
        }
    pictureWidth = attributes.width;
    pictureHeight = attributes.height;
    return true;
}

bool Screenshot::save(const std::string& pngPath) const
{
    if (rgb.empty())
        return false;
    const std::string command = "convert -size " + std::to_string(pictureWidth) + "x" +
                                std::to_string(pictureHeight) + " -depth 8 rgb:- '" + pngPath + "'";
    FILE* pipe = popen(command.c_str(), "w");
    if (!pipe)
        return false;
    const bool written = std::fwrite(rgb.data(), 1, rgb.size(), pipe) == rgb.size();
    return pclose(pipe) == 0 && written;
}

Colour Screenshot::at(Spot spot) const
{
    if (spot.x < 0 || spot.y < 0 || spot.x >= pictureWidth || spot.y >= pictureHeight)
        return {-1, -1, -1};
    const std::size_t offset = 3 * (static_cast<std::size_t>(spot.y) * pictureWidth + spot.x);
    return {rgb[offset], rgb[offset + 1], rgb[offset + 2]};
}

int Screenshot::grey(Spot spot) const
{
    const Colour c = at(spot);
    return (c[0] + c[1] + c[2]) / 3;
}

std::string colourText(Colour c)
{
    return "(" + std::to_string(c[0]) + ", " + std::to_string(c[1]) + ", " + std::to_string(c[2]) + ")";
}
