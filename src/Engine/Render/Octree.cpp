#include "Engine/Render/Octree.h"

#include "Engine/Scene/CameraState.h"
#include "Engine/Scene/SceneGraphNode.h"

#include <cmath>

float minimumCellHalfSize = 20.0f;

namespace {

constexpr float rootCellPadding = 0.1f; // world units added to the scene's largest extent
constexpr int octantCount = 8;
// Octant offsets in units of the half edge, in insertion order.
constexpr int octantOffsets[octantCount][3] = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1},
                                               {1, 1, 0}, {0, 1, 1}, {1, 0, 1}, {1, 1, 1}};

// Overlap on centres and half extents; touching boxes overlap.
bool overlaps(Vec3 aMin, Vec3 aMax, Vec3 bMin, Vec3 bMax)
{
    Vec3 aCentre = (aMin + aMax) * 0.5f, aHalf = (aMax - aMin) * 0.5f;
    Vec3 bCentre = (bMin + bMax) * 0.5f, bHalf = (bMax - bMin) * 0.5f;
    return std::fabs(aCentre.x - bCentre.x) <= aHalf.x + bHalf.x &&
           std::fabs(aCentre.y - bCentre.y) <= aHalf.y + bHalf.y &&
           std::fabs(aCentre.z - bCentre.z) <= aHalf.z + bHalf.z;
}

bool contains(Vec3 outerMin, Vec3 outerMax, Vec3 innerMin, Vec3 innerMax)
{
    return outerMin.x <= innerMin.x && outerMin.y <= innerMin.y && outerMin.z <= innerMin.z &&
           innerMax.x <= outerMax.x && innerMax.y <= outerMax.y && innerMax.z <= outerMax.z;
}

} // namespace

void OctreeCell::insert(std::vector<uint32_t>& working, const std::vector<RenderObject*>& objects)
{
    for (auto it = working.begin(); it != working.end();) {
        const RenderObject& object = *objects[*it];
        Vec3 objectMin = object.getBoundsMin(), objectMax = object.getBoundsMax();
        if (!overlaps(objectMin, objectMax, cellMin, cellMax)) {
            ++it;
            continue;
        }
        cellObjects.push_back(*it);
        if (contains(cellMin, cellMax, objectMin, objectMax))
            it = working.erase(it);
        else
            ++it;
    }
}

void OctreeCell::subdivide(const std::vector<RenderObject*>& objects)
{
    float half = (cellMax.x - cellMin.x) * 0.5f;
    if (cellObjects.empty() || half < minimumCellHalfSize)
        return;
    std::vector<uint32_t> working = cellObjects;
    for (const auto& offset : octantOffsets) {
        auto octant = std::make_unique<OctreeCell>();
        octant->cellMin = cellMin + Vec3{offset[0] * half, offset[1] * half, offset[2] * half};
        octant->cellMax = octant->cellMin + Vec3{half, half, half};
        octant->insert(working, objects);
        if (!octant->cellObjects.empty())
            children.push_back(std::move(octant));
    }
    for (auto& child : children)
        child->subdivide(objects);
}

float OctreeCell::smallestEdge() const
{
    float smallest = cellMax.x - cellMin.x;
    for (const auto& child : children)
        smallest = std::min(smallest, child->smallestEdge());
    return smallest;
}

Octree::Octree() : objects(NodeManager::getInstance()->getRenderObjects()) {}

void Octree::build()
{
    SceneGraphNode* root = NodeManager::getInstance()->getRoot();
    if (!root)
        return;
    Vec3 sceneMin = root->getBoundsMin();
    Vec3 extent = root->getBoundsMax() - sceneMin;
    float size = std::max({extent.x, extent.y, extent.z}) + rootCellPadding;

    rootCell = std::make_unique<OctreeCell>();
    rootCell->cellMin = sceneMin - Vec3{rootCellPadding * 0.5f, rootCellPadding * 0.5f, rootCellPadding * 0.5f};
    rootCell->cellMax = sceneMin + Vec3{size, size, size};
    std::vector<uint32_t> working(objects.size());
    for (uint32_t i = 0; i < working.size(); ++i)
        working[i] = i;
    rootCell->insert(working, objects);
    rootCell->subdivide(objects);

    // From now on the build set is in the octree: undecided until culled.
    for (RenderObject* object : objects)
        object->setCullMark(RenderObject::cullUndecided);
    markedObjects.clear();
    previouslyMarked.clear();
    markedObjects.reserve(objects.size()); // each object is marked once per frame at most
    previouslyMarked.reserve(objects.size());
    marks.assign(objects.size(), RenderObject::cullUndecided);
    publishedMarks.assign(objects.size(), RenderObject::cullUndecided);
    visibleThisFrame.assign((objects.size() + 63) / 64, 0);
}

// Only the objects marked last frame can carry a mark other than 0.
int Octree::markVisible(const Frustum& frustum)
{
    std::swap(markedObjects, previouslyMarked);
    for (uint32_t index : previouslyMarked)
        marks[index] = RenderObject::cullUndecided;
    markedObjects.clear();
    std::fill(visibleThisFrame.begin(), visibleThisFrame.end(), 0);
    int checked = rootCell ? visit(*rootCell, frustum, allPlanes) : 0;
    publishMarks();
    return checked;
}

void Octree::publishMarks()
{
    for (uint32_t index : previouslyMarked)
        publishMark(index);
    for (uint32_t index : markedObjects)
        publishMark(index);
}

void Octree::publishMark(uint32_t index)
{
    if (publishedMarks[index] == marks[index])
        return;
    publishedMarks[index] = marks[index];
    objects[index]->setCullMark(marks[index]);
}

void Octree::mark(uint32_t index, int32_t cullMark)
{
    if (marks[index] == cullMark)
        return;
    if (marks[index] == RenderObject::cullUndecided)
        markedObjects.push_back(index);
    marks[index] = static_cast<int8_t>(cullMark);
    if (cullMark == RenderObject::cullVisible)
        visibleThisFrame[index / 64] |= uint64_t{1} << (index % 64);
}

// An object in a cell overlaps it, so it has a point on the inner side of
// every plane the cell lies wholly inside: only the straddled planes can
// hide it, and only those are tested.
int Octree::visit(const OctreeCell& cell, const Frustum& frustum, PlaneMask planes)
{
    int checked = 1;
    switch (classifyBox(frustum, cell.cellMin, cell.cellMax, planes)) {
    case BoxInside:
        for (uint32_t index : cell.cellObjects)
            mark(index, RenderObject::cullVisible);
        break;
    case BoxIntersecting:
        if (!cell.children.empty()) {
            for (const auto& child : cell.children)
                checked += visit(*child, frustum, planes);
            break;
        }
        for (uint32_t index : cell.cellObjects) {
            if (marks[index] == RenderObject::cullUndecided) {
                const RenderObject& object = *objects[index];
                bool seen = isBoxVisible(frustum, object.getBoundsMin(), object.getBoundsMax(), planes);
                mark(index, seen ? RenderObject::cullVisible : RenderObject::cullInvisible);
            }
        }
        break;
    case BoxOutside:
        break;
    }
    return checked;
}

void Octree::drawCulled()
{
    const Frustum& frustum = currentCamera.frustum;
    stats.cellsChecked = markVisible(frustum);
    stats.objectsDrawn = forEachVisible(frustum, [](RenderObject& object) { object.draw(); });
}
