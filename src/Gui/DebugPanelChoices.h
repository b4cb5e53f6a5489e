#pragma once
// The debug panel's combo-box choices and what each one selects.
#include <array>

// Items of the debug texture selector, in list order; item i selects debug texture i.
inline constexpr std::array<const char*, 5> debugTextureItems = {"None", "Diffuse", "Normals", "Light", "Glow"};
// Items of the texture filtering box, in list order; item i is filter mode i.
inline constexpr std::array<const char*, 3> filteringItems = {"Nearest", "Linear", "Mipmapping"};

// The anisotropy box lists the largest level first and halves it down to 1.
constexpr float largestAnisotropyItem = 4.0f;
constexpr float smallestAnisotropyItem = 1.0f;

// Debug texture for a selector text; any text that is no texture's name selects none.
int debugTextureFor(const char* text);
// Filter mode for a filtering text, or -1 when the text names no mode.
int filterModeFor(const char* text);
