#include "PictureReading.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <utility>

namespace {

// A skull's bone under the level's lights is warm and fairly bright, but so
// are parts of the floor: a skull is what has that colour where the picture
// without skulls showed something else.
constexpr int changed = 60; // sum over the channels
bool isBone(Colour now, Colour before)
{
    const int difference = std::abs(now[0] - before[0]) + std::abs(now[1] - before[1]) + std::abs(now[2] - before[2]);
    return difference >= changed && now[0] >= 120 && now[0] - now[2] >= 35 && now[1] - now[2] >= 15;
}

// A skull seen from the follow camera is about 22 pixels across, with a few
// pixels off its colour (highlights): such a square fits inside it.
constexpr int coreHalf = 4;
// Around a skull lies floor: at this distance from its centre at most a share
// of the points may be bone (of skulls that touch it). The lamp's cone over
// the orange floor has the bone colour too, but all around.
constexpr int ringRadius = 17;
constexpr int ringPoints = 32;
constexpr int ringBoneMost = 10;

// Text is drawn light (grey 232) on a panel that lets through a little of
// the scene: at most grey 107 behind the text. A pixel that is lit whatever
// lies behind is one the text covers nearly whole; the pixels the text only
// partly covers still differ with the scene, by a pixel at the edges.
constexpr int textGrey = 200;
constexpr double glyphTolerance = 0.15; // share of lit pixels that may differ at the edges

// Counts of bone pixels in the rectangle from the origin to each point.
class BoneCounts {
public:
    BoneCounts(const Screenshot& shot, const Screenshot& empty, Box box) : box(box), width(box.right - box.left + 1)
    {
        sums.assign(static_cast<std::size_t>(width) * (box.bottom - box.top + 1), 0);
        for (int y = box.top; y < box.bottom; ++y)
            for (int x = box.left; x < box.right; ++x)
                at(x + 1, y + 1) = at(x, y + 1) + at(x + 1, y) - at(x, y) +
                                   (isBone(shot.at({x, y}), empty.at({x, y})) ? 1 : 0);
    }
    // True when every pixel of the square of half-size `half` around `spot` is bone.
    bool solid(Spot spot, int half) const
    {
        const int side = 2 * half + 1;
        const int x0 = spot.x - half, y0 = spot.y - half;
        return at(x0 + side, y0 + side) - at(x0, y0 + side) - at(x0 + side, y0) + at(x0, y0) == side * side;
    }

private:
    int& at(int x, int y) { return sums[static_cast<std::size_t>(y - box.top) * width + (x - box.left)]; }
    int at(int x, int y) const { return sums[static_cast<std::size_t>(y - box.top) * width + (x - box.left)]; }
    Box box;
    int width;
    std::vector<int> sums;
};

// True when the ring around `spot` is mostly not bone, as around a skull.
bool standsOut(const Screenshot& shot, const Screenshot& empty, Spot spot)
{
    int bone = 0;
    for (int i = 0; i < ringPoints; ++i) {
        const double angle = 2.0 * 3.14159265358979 * i / ringPoints;
        const Spot around{spot.x + static_cast<int>(std::lround(ringRadius * std::cos(angle))),
                          spot.y + static_cast<int>(std::lround(ringRadius * std::sin(angle)))};
        bone += isBone(shot.at(around), empty.at(around));
    }
    return bone <= ringBoneMost;
}

int squaredDistance(Spot a, Spot b) { return (a.x - b.x) * (a.x - b.x) + (a.y - b.y) * (a.y - b.y); }

// Marks, in a grid over `box`, the points that lie deep inside a skull.
std::vector<bool> skullCores(const Screenshot& shot, const Screenshot& empty, Area area, Box box)
{
    const BoneCounts bone(shot, empty, box);
    const int width = box.right - box.left;
    std::vector<bool> core(static_cast<std::size_t>(width) * (box.bottom - box.top), false);
    for (int y = box.top + coreHalf; y < box.bottom - coreHalf; ++y)
        for (int x = box.left + coreHalf; x < box.right - coreHalf; ++x) {
            const int distance = squaredDistance({x, y}, area.centre);
            core[static_cast<std::size_t>(y - box.top) * width + (x - box.left)] =
                distance <= area.radius * area.radius && distance >= area.hole * area.hole &&
                bone.solid({x, y}, coreHalf) && standsOut(shot, empty, {x, y});
        }
    return core;
}

// The centre of the connected marked points from `seed` on, which it unmarks.
Spot takePatch(std::vector<bool>& marked, int width, std::size_t seed, Box box)
{
    std::vector<std::size_t> open{seed};
    marked[seed] = false;
    long sumX = 0, sumY = 0, count = 0;
    while (!open.empty()) {
        const std::size_t at = open.back();
        open.pop_back();
        const int x = static_cast<int>(at % width), y = static_cast<int>(at / width);
        sumX += x;
        sumY += y;
        ++count;
        for (const auto& [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
            const int nx = x + dx, ny = y + dy;
            const std::size_t next = static_cast<std::size_t>(ny) * width + nx;
            if (nx >= 0 && ny >= 0 && nx < width && next < marked.size() && marked[next]) {
                marked[next] = false;
                open.push_back(next);
            }
        }
    }
    return {box.left + static_cast<int>(sumX / count), box.top + static_cast<int>(sumY / count)};
}

bool litAt(const Glyphs& glyphs, int x, int y)
{
    return x >= 0 && y >= 0 && x < glyphs.width && y < glyphs.height &&
           glyphs.lit[static_cast<std::size_t>(y) * glyphs.width + x];
}

// Pixels lit in one of `a` and `b` but not in the other, with `b` moved by
// (dx, dy).
long differingPixels(const Glyphs& a, const Glyphs& b, int dx, int dy)
{
    long differing = 0;
    for (int y = std::min(0, dy); y < std::max(a.height, b.height + dy); ++y)
        for (int x = std::min(0, dx); x < std::max(a.width, b.width + dx); ++x)
            differing += litAt(a, x, y) != litAt(b, x - dx, y - dy);
    return differing;
}

} // namespace

std::vector<Spot> findSkulls(const Screenshot& shot, const Screenshot& empty, Area area)
{
    const Box box{std::max(area.centre.x - area.radius, 0), std::max(area.centre.y - area.radius, 0),
                  std::min(area.centre.x + area.radius, shot.width()),
                  std::min(area.centre.y + area.radius, shot.height())};
    std::vector<Spot> skulls;
    if (box.right - box.left <= 2 * coreHalf || box.bottom - box.top <= 2 * coreHalf)
        return skulls;
    std::vector<bool> core = skullCores(shot, empty, area, box);
    for (std::size_t i = 0; i < core.size(); ++i)
        if (core[i])
            skulls.push_back(takePatch(core, box.right - box.left, i, box));
    return skulls;
}

Glyphs glyphsIn(const Screenshot& shot, Box box)
{
    Box lit{box.right, box.bottom, box.left, box.top};
    for (int y = box.top; y < box.bottom; ++y)
        for (int x = box.left; x < box.right; ++x)
            if (shot.grey({x, y}) >= textGrey)
                lit = {std::min(lit.left, x), std::min(lit.top, y), std::max(lit.right, x + 1),
                       std::max(lit.bottom, y + 1)};
    Glyphs glyphs;
    if (lit.right <= lit.left)
        return glyphs;
    glyphs.width = lit.right - lit.left;
    glyphs.height = lit.bottom - lit.top;
    for (int y = lit.top; y < lit.bottom; ++y)
        for (int x = lit.left; x < lit.right; ++x)
            glyphs.lit.push_back(shot.grey({x, y}) >= textGrey);
    return glyphs;
}

bool sameGlyphs(const Glyphs& a, const Glyphs& b)
{
    if (a.lit.empty() || b.lit.empty() || std::abs(a.width - b.width) > 1 || std::abs(a.height - b.height) > 1)
        return false;
    long fewest = std::numeric_limits<long>::max();
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            fewest = std::min(fewest, differingPixels(a, b, dx, dy));
    return fewest <= glyphTolerance * std::count(a.lit.begin(), a.lit.end(), true);
}
