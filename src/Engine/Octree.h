#pragma once
// Octree culling of the render objects that exist when the octree is built
// (the level, the light sphere, the templates). Each frame the cells are
// classified against the camera frustum: objects of cells wholly inside are
// marked visible without further tests, objects of boundary leaves are tested
// one by one, and render objects created after the build are tested one by
// one. Marks make an object that lies in several cells draw once.
#include "Engine/Frustum.h"
#include "Engine/Math.h"

#include <memory>
#include <vector>

class RenderObject;

// Cells smaller than this half edge (world units) are not subdivided.
extern float minimumCellHalfSize;

struct OctreeCell {
    std::vector<std::unique_ptr<OctreeCell>> children; // only octants that received objects
    Vec3 cellMin;
    Vec3 cellMax;
    std::vector<RenderObject*> cellObjects; // every object whose world box overlaps the cell

    // Lists the overlapping objects of `working`; contained ones leave
    // `working`, so octants handled later do not receive them.
    void insert(std::vector<RenderObject*>& working);
    // Splits into up to eight octants until the half edge is below the minimum.
    void subdivide();
};

// Figures of the last culled frame, shown by the debug panel.
struct CullStats {
    int objectsDrawn = 0;
    int cellsChecked = 0;
};

class Octree {
public:
    static Octree* getInstance();
    static Octree* existingInstance();
    static void destroyInstance();

    // Copies the registry's current render-object list.
    Octree();
    Octree(const Octree&) = delete;
    Octree& operator=(const Octree&) = delete;

    // Sorts the objects into cells around the registry root's world box
    // (bounding boxes must be up to date).
    void build();
    // Draws what the current camera sees; the "basic" program is bound.
    void drawCulled();
    // Sets this frame's marks of the build set against `frustum`; returns
    // the number of cells checked.
    int markVisible(const Frustum& frustum);
    // After markVisible: whether `object` is drawn this frame.
    static bool passes(const RenderObject& object, const Frustum& frustum);

    const OctreeCell* getRootCell() const { return rootCell.get(); }
    const CullStats& getStats() const { return stats; }

private:
    int visit(const OctreeCell& cell, const Frustum& frustum);

    std::unique_ptr<OctreeCell> rootCell;
    std::vector<RenderObject*> objects; // not owned
    CullStats stats;
};
