#include "Engine/Collision/CollisionWorld.h"

#include "Engine/Collision/BulletConversions.h"
#include "Engine/Collision/CustomTriangleCallback.h"
#include "Engine/Scene/SceneGraphNode.h"

#include <BulletCollision/CollisionDispatch/btCollisionDispatcher.h>
#include <BulletCollision/CollisionDispatch/btCollisionObject.h>
#include <BulletCollision/CollisionDispatch/btDefaultCollisionConfiguration.h>
#include <BulletCollision/CollisionShapes/btBoxShape.h>
#include <BulletCollision/CollisionShapes/btBvhTriangleMeshShape.h>
#include <BulletCollision/CollisionShapes/btTriangleMesh.h>

#include <algorithm>
#include <cmath>

namespace {

// Nearest first, equal distances in test order; in place, where
// std::stable_sort would allocate a buffer on every query.
void sortByDistance(std::vector<HitRecord>& hits)
{
    for (size_t i = 1; i < hits.size(); ++i)
        for (size_t j = i; j > 0 && hits[j] < hits[j - 1]; --j)
            std::swap(hits[j], hits[j - 1]);
}

constexpr int manifoldPoolSize = 4096;  // persistent manifolds
constexpr int algorithmPoolSize = 4096; // collision algorithms
constexpr float ownerMapMaxLoadFactor = 1.0f;

// The shot slab, in its own frame whose x axis points along the shot.
const btVector3 shotSlabHalfExtents(200.0f, 10.0f, 0.01f);
// Centre of the slab from the shooter: 100 ahead (so it reaches from 100
// behind to 300 ahead) and 5 up along the slab's own up axis.
const btVector3 shotSlabCentreOffset(100.0f, 5.0f, 0.0f);
constexpr float minimumShotLength = 1e-6f; // shorter: no direction

btDefaultCollisionConstructionInfo constructionInfo()
{
    btDefaultCollisionConstructionInfo info;
    info.m_defaultMaxPersistentManifoldPoolSize = manifoldPoolSize;
    info.m_defaultMaxCollisionAlgorithmPoolSize = algorithmPoolSize;
    info.m_useEpaPenetrationAlgorithm = true;
    return info;
}

// Widening of a mesh's box in the shot pre-test, world units: more than
// Bullet's contact-breaking distance, so no contact is skipped.
constexpr float shotPretestMargin = 0.5f;

// Whether the slab (a box of `halfExtents` at `placement`) can touch the
// world box [minimum, maximum]: no separating plane normal to a world axis
// or to a slab axis. The edge-pair axes are not tried, so this only rules out
// true misses; it spares the exact contact test (every triangle under the
// slab's bounding box, which for a slanted slab is most of the mesh) for the
// meshes the shot passes far from.
bool slabMayTouch(const btTransform& placement, const btVector3& halfExtents, Vec3 minimum, Vec3 maximum)
{
    const btVector3 margin(shotPretestMargin, shotPretestMargin, shotPretestMargin);
    const btVector3 boxHalf = (toBullet(maximum) - toBullet(minimum)) * 0.5f + margin;
    const btVector3 offset = (toBullet(minimum) + toBullet(maximum)) * 0.5f - placement.getOrigin();
    const btMatrix3x3& basis = placement.getBasis(); // column j: slab axis j in world space
    for (int i = 0; i < 3; ++i) {
        float slabRadius = basis[i].absolute().dot(halfExtents);
        if (std::fabs(offset[i]) > slabRadius + boxHalf[i])
            return false;
    }
    for (int j = 0; j < 3; ++j) {
        btVector3 axis = basis.getColumn(j);
        if (std::fabs(offset.dot(axis)) > halfExtents[j] + axis.absolute().dot(boxHalf))
            return false;
    }
    return true;
}

bool isTestable(const CollidableRenderObject* object)
{
    return object->isVisible() && object->isInScene();
}

} // namespace

CollisionWorld::CollisionWorld()
    : configuration(new btDefaultCollisionConfiguration(constructionInfo())),
      dispatcher(new btCollisionDispatcher(configuration))
{
    owners.max_load_factor(ownerMapMaxLoadFactor);
}

CollisionWorld::~CollisionWorld()
{
    delete dispatcher;
    delete configuration;
    releaseLevel();
}

void CollisionWorld::addCollidable(CollidableRenderObject* object)
{
    collidables.push_back(object);
}

void CollisionWorld::removeCollidable(CollidableRenderObject* object)
{
    auto found = std::find(collidables.begin(), collidables.end(), object);
    if (found != collidables.end())
        collidables.erase(found);
    // A later mesh at the same address must not inherit this one's owner.
    owners.erase(object);
}

void CollisionWorld::releaseLevel()
{
    delete levelShape;
    delete levelTriangles;
    levelShape = nullptr;
    levelTriangles = nullptr;
}

void CollisionWorld::buildLevelMesh()
{
    releaseLevel();
    auto* mesh = new btTriangleMesh(true, false); // 32-bit indices, 3-component vertices
    int triangleCount = 0;
    for (const CollidableRenderObject* object : collidables) {
        // Detached templates are no part of the level: their meshes would
        // stand as invisible walls around the world origin.
        if (isTestable(object))
            triangleCount += addPositionTriangles(*mesh, object->getPositions());
    }
    collidables.clear();
    if (triangleCount == 0) {
        delete mesh; // Bullet cannot build a hierarchy over no triangles
        return;
    }
    levelTriangles = mesh;
    levelShape = new btBvhTriangleMeshShape(levelTriangles, true, true);
}

void CollisionWorld::setOwner(SceneGraphNode* node, HealthObject* owner)
{
    setOwnerBelow(node, owner, false);
}

void CollisionWorld::removeOwner(SceneGraphNode* node)
{
    setOwnerBelow(node, nullptr, true);
}

void CollisionWorld::setOwnerBelow(SceneGraphNode* node, HealthObject* owner, bool erase)
{
    if (!node)
        return;
    for (SceneGraphNode* child : node->getChildren()) {
        if (auto* mesh = dynamic_cast<CollidableRenderObject*>(child)) {
            if (erase)
                owners.erase(mesh);
            else
                owners[mesh] = owner;
        }
        setOwnerBelow(child, owner, erase);
    }
}

HealthObject* CollisionWorld::getOwner(const CollidableRenderObject* mesh) const
{
    auto found = owners.find(mesh);
    return found == owners.end() ? nullptr : found->second;
}

bool CollisionWorld::rayHitsLevel(Vec3 from, Vec3 to, float& fraction) const
{
    fraction = CustomTriangleCallback::noHitFraction;
    if (!levelShape)
        return false;
    CustomTriangleCallback callback(toBullet(from), toBullet(to));
    levelShape->performRaycast(&callback, toBullet(from), toBullet(to));
    fraction = callback.nearestFraction();
    return callback.hasHit();
}

bool CollisionWorld::rayTestObjects(Vec3 from, Vec3 to, std::vector<HitRecord>& hits)
{
    hits.clear();
    for (CollidableRenderObject* object : collidables) {
        if (!isTestable(object))
            continue;
        float fraction = 1e14f;
        if (object->rayTest(from, to, fraction))
            hits.push_back({object, from + (to - from) * fraction, fraction});
    }
    sortByDistance(hits);
    return !hits.empty();
}

bool CollisionWorld::shotTest(Vec3 origin, Vec3 target, std::vector<HitRecord>& hits)
{
    hits.clear();
    Vec3 along = target - origin;
    if (length(along) < minimumShotLength)
        return false;
    btVector3 direction = toBullet(normalize(along));
    btMatrix3x3 rotation(shortestArcQuat(btVector3(1.0f, 0.0f, 0.0f), direction));

    btBoxShape slab(shotSlabHalfExtents);
    btCollisionObject slabObject;
    slabObject.setCollisionShape(&slab);
    const btTransform slabPlacement(rotation, toBullet(origin) + rotation * shotSlabCentreOffset);
    slabObject.setWorldTransform(slabPlacement);

    for (CollidableRenderObject* object : collidables) {
        Vec3 boundsMin, boundsMax;
        if (!isTestable(object) || !object->collisionBounds(boundsMin, boundsMax) ||
            !slabMayTouch(slabPlacement, shotSlabHalfExtents, boundsMin, boundsMax))
            continue;
        HitRecord hit;
        // The slab reaches behind the shooter; what it touches there is not in the shot's way.
        if (object->collide(&slabObject, origin, hit, fromBullet(direction)))
            hits.push_back(hit);
    }
    sortByDistance(hits);
    return !hits.empty();
}
