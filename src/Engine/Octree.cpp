#include "Engine/Octree.h"

#include "Engine/CameraState.h"
#include "Engine/NodeManager.h"
#include "Engine/RenderObject.h"
#include "Engine/SceneGraphNode.h"

#include <algorithm>
#include <cmath>

float minimumCellHalfSize = 20.0f;

namespace {

Octree* instance = nullptr;

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

void OctreeCell::insert(std::vector<RenderObject*>& working)
{
    for (auto it = working.begin(); it != working.end();) {
        RenderObject* object = *it;
        Vec3 objectMin = object->getBoundsMin(), objectMax = object->getBoundsMax();
        if (!overlaps(objectMin, objectMax, cellMin, cellMax)) {
            ++it;
            continue;
        }
        cellObjects.push_back(object);
        if (contains(cellMin, cellMax, objectMin, objectMax))
            it = working.erase(it);
        else
            ++it;
    }
}

void OctreeCell::subdivide()
{
    float half = (cellMax.x - cellMin.x) * 0.5f;
    if (cellObjects.empty() || half < minimumCellHalfSize)
        return;
    std::vector<RenderObject*> working = cellObjects;
    for (const auto& offset : octantOffsets) {
        auto octant = std::make_unique<OctreeCell>();
        octant->cellMin = cellMin + Vec3{offset[0] * half, offset[1] * half, offset[2] * half};
        octant->cellMax = octant->cellMin + Vec3{half, half, half};
        octant->insert(working);
        if (!octant->cellObjects.empty())
            children.push_back(std::move(octant));
    }
    for (auto& child : children)
        child->subdivide();
}

Octree* Octree::getInstance()
{
    if (!instance)
        instance = new Octree();
    return instance;
}

Octree* Octree::existingInstance() { return instance; }

void Octree::destroyInstance()
{
    delete instance;
    instance = nullptr;
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
    std::vector<RenderObject*> working = objects;
    rootCell->insert(working);
    rootCell->subdivide();
}

int Octree::markVisible(const Frustum& frustum)
{
    for (RenderObject* object : objects)
        object->setCullMark(RenderObject::cullUndecided);
    return rootCell ? visit(*rootCell, frustum) : 0;
}

int Octree::visit(const OctreeCell& cell, const Frustum& frustum)
{
    int checked = 1;
    switch (classifyBox(frustum, cell.cellMin, cell.cellMax)) {
    case BoxInside:
        for (RenderObject* object : cell.cellObjects)
            object->setCullMark(RenderObject::cullVisible);
        break;
    case BoxIntersecting:
        if (!cell.children.empty()) {
            for (const auto& child : cell.children)
                checked += visit(*child, frustum);
            break;
        }
        for (RenderObject* object : cell.cellObjects) {
            if (object->getCullMark() == RenderObject::cullUndecided) {
                bool seen = isBoxVisible(frustum, object->getBoundsMin(), object->getBoundsMax());
                object->setCullMark(seen ? RenderObject::cullVisible : RenderObject::cullInvisible);
            }
        }
        break;
    case BoxOutside:
        break;
    }
    return checked;
}

bool Octree::passes(const RenderObject& object, const Frustum& frustum)
{
    int32_t mark = object.getCullMark();
    if (mark > 0)
        return true;
    return mark == RenderObject::notInOctree && isBoxVisible(frustum, object.getBoundsMin(), object.getBoundsMax());
}

void Octree::drawCulled()
{
    const Frustum& frustum = currentCamera.frustum;
    stats.cellsChecked = markVisible(frustum);
    stats.objectsDrawn = 0;
    for (RenderObject* object : NodeManager::getInstance()->getRenderObjects()) {
        if (passes(*object, frustum)) {
            object->draw();
            ++stats.objectsDrawn;
        }
    }
}
