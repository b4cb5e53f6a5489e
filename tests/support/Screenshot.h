#pragma once
// Pictures of a window read back from the X server, as 8-bit RGB: what the
// end-to-end tests see of the game.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

using Colour = std::array<int, 3>;

// A place in a window, in pixels from its top-left corner.
struct Spot {
    int x, y;
};

class Screenshot {
public:
    // Reads the whole window with the X id `windowId`; false when the window
    // cannot be read (gone, not mapped), leaving the picture empty.
    bool take(const std::string& windowId);
    // Writes the picture as a PNG file; false when it cannot.
    bool save(const std::string& pngPath) const;

    int width() const { return pictureWidth; }
    int height() const { return pictureHeight; }
    // The colour at `spot`, (-1, -1, -1) outside the picture.
    Colour at(Spot spot) const;
    // Mean of the three channels at `spot`, -1 outside the picture.
    int grey(Spot spot) const;

private:
    int pictureWidth = 0;
    int pictureHeight = 0;
    std::vector<std::uint8_t> rgb;
};

std::string colourText(Colour c);
