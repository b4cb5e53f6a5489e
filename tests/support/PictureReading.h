#pragma once
// What the scripted player reads from pictures of the game: where the skulls
// are, and the shape of a number the GUI shows, to compare one number's
// picture with another's without knowing the font.
#include "Screenshot.h"

#include <vector>

struct Box {
    int left, top, right, bottom; // right and bottom lie outside
};

// A ring of the window around `centre`: from `hole` to `radius` pixels.
struct Area {
    Spot centre;
    int hole, radius;
};
// The centres of the skulls in `area` of `shot`: a skull is a patch of bone
// colour, at least a small square, that `empty` (the same view without
// skulls) does not show, with little such colour around it.
std::vector<Spot> findSkulls(const Screenshot& shot, const Screenshot& empty, Area area);

// The light pixels of the text in `box`, cut to their bounding box.
struct Glyphs {
    int width = 0, height = 0;
    std::vector<bool> lit;
};
Glyphs glyphsIn(const Screenshot& shot, Box box);
// True when `a` and `b` show the same text: the same size give or take a
// pixel, and all but a few edge pixels alike at the best of the shifts by a
// pixel (the text is drawn over different backgrounds).
bool sameGlyphs(const Glyphs& a, const Glyphs& b);
