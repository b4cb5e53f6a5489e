#pragma once
// Octree culling of the render objects that exist when the octree is built
// (the level, the light sphere, the templates). Each frame the cells are
// classified against the camera frustum: objects of cells wholly inside are
// marked visible without further tests, objects of boundary leaves are tested
// one by one, and render objects created after the build are tested one by
// one. Marks make an object that lies in several cells draw once.
//
// The objects of the build set stay alive until the octree is destroyed, and
// the registry lists them first, in build order, followed by every object
// made later. Drawing therefore keeps the registry's order while touching
// only the objects that were marked, never the whole build set.
#include "Engine/Base/Singleton.h"
#include "Engine/Render/RenderObject.h"
#include "Engine/Scene/Frustum.h"
#include "Engine/Scene/Math.h"
#include "Engine/Scene/NodeManager.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

// Cells smaller than this half edge (world units) are not subdivided.
extern float minimumCellHalfSize;

struct OctreeCell {
    std::vector<std::unique_ptr<OctreeCell>> children; // only octants that received objects
    Vec3 cellMin;
    Vec3 cellMax;
    // Every object whose world box overlaps the cell, as indices into the
    // octree's object list (kept also when the cell has children).
    std::vector<uint32_t> cellObjects;

    // Lists the objects of `working` that overlap the cell; contained ones
    // leave `working`, so octants handled later do not receive them.
    void insert(std::vector<uint32_t>& working, const std::vector<RenderObject*>& objects);
    // Splits into up to eight octants until the half edge is below the minimum.
    void subdivide(const std::vector<RenderObject*>& objects);
    // Edge of the smallest cell in this cell's subtree (world units).
    float smallestEdge() const;
};

// Figures of the last culled frame, shown by the debug panel.
struct CullStats {
    int objectsDrawn = 0;
    int cellsChecked = 0;
};

class Octree : public Singleton<Octree> {
public:
    // Copies the registry's current render-object list.
    Octree();
    Octree(const Octree&) = delete;
    Octree& operator=(const Octree&) = delete;

    // Sorts the objects into cells around the registry root's world box
    // (bounding boxes must be up to date).
    void build();
    // Draws what the current camera sees; the "basic" program is bound.
    void drawCulled();
    // Sets this frame's marks of the build set against `frustum` (0 for the
    // undecided, 1 visible, -1 tested invisible); returns the cells checked.
    int markVisible(const Frustum& frustum);
    // After markVisible: calls `use(object)` for each object drawn this
    // frame, in the registry's order; returns their number.
    template <typename Use>
    int forEachVisible(const Frustum& frustum, Use use);

    const OctreeCell* getRootCell() const { return rootCell.get(); }
    const std::vector<RenderObject*>& getObjects() const { return objects; }
    const CullStats& getStats() const { return stats; }

private:
    // `planes`: the planes the parent cell straddles (the only ones a cell
    // inside the parent can be outside of or straddle).
    int visit(const OctreeCell& cell, const Frustum& frustum, PlaneMask planes);
    void mark(uint32_t index, int32_t cullMark);
    // Writes this frame's marks into the objects whose mark changed.
    void publishMarks();
    void publishMark(uint32_t index);

    std::unique_ptr<OctreeCell> rootCell;
    std::vector<RenderObject*> objects;   // the build set; not owned
    // Decisions are made on compact per-index arrays; an object's own mark is
    // written only when it changes from the last frame, so a still camera
    // touches no object that it does not test.
    std::vector<uint32_t> markedObjects;     // indices with a mark other than 0 this frame
    std::vector<uint32_t> previouslyMarked;  // the same for the last frame
    std::vector<int8_t> marks;               // this frame's mark per index
    std::vector<int8_t> publishedMarks;      // the mark each object holds
    // One bit per build-set index: marked visible this frame. Words let the
    // draw walk skip 64 invisible objects at a time, in index order.
    std::vector<uint64_t> visibleThisFrame;
    CullStats stats;
};

template <typename Use>
int Octree::forEachVisible(const Frustum& frustum, Use use)
{
    int count = 0;
    for (size_t word = 0; word < visibleThisFrame.size(); ++word) {
        for (uint64_t bits = visibleThisFrame[word]; bits != 0; bits &= bits - 1) {
            use(*objects[word * 64 + static_cast<size_t>(__builtin_ctzll(bits))]);
            ++count;
        }
    }
    const std::vector<RenderObject*>& listed = NodeManager::getInstance()->getRenderObjects();
    for (size_t i = std::min(objects.size(), listed.size()); i < listed.size(); ++i) {
        RenderObject& later = *listed[i];
        if (later.getCullMark() == RenderObject::notInOctree &&
            isBoxVisible(frustum, later.getBoundsMin(), later.getBoundsMax())) {
            use(later);
            ++count;
        }
    }
    return count;
}
