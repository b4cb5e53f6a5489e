#pragma once
// src/Engine/Collision: the Bullet collision world over the render objects' triangles: level
// rays and shot tests, with the health owner of each hit. Uses base, scene and render.
//
// The process-wide collision world: Bullet's collision configuration and
// dispatcher, the static level mesh, the registered collidables and the
// owner of each character mesh. There is no broadphase and no simulation:
// the queries test explicit pairs through the dispatcher or cast rays into a
// mesh's bounding-volume hierarchy.
//
// The collidables created before `buildLevelMesh` (templates, sphere, level)
// go into the level mesh and leave the list; the ones created afterwards (the
// characters and their equipment) are what `rayTestObjects` and `shotTest` test.
#include "Engine/Base/Singleton.h"
#include "Engine/Collision/CollidableRenderObject.h"

#include <unordered_map>
#include <vector>

class HealthObject;
class SceneGraphNode;
class btBvhTriangleMeshShape;
class btCollisionDispatcher;
class btDefaultCollisionConfiguration;
class btTriangleMesh;

class CollisionWorld : public Singleton<CollisionWorld> {
public:
    CollisionWorld();
    virtual ~CollisionWorld();
    CollisionWorld(const CollisionWorld&) = delete;
    CollisionWorld& operator=(const CollisionWorld&) = delete;

    // Called by every collidable's constructors and destructor.
    void addCollidable(CollidableRenderObject* object);
    // Removes the first occurrence, keeping the order of the rest.
    void removeCollidable(CollidableRenderObject* object);
    const std::vector<CollidableRenderObject*>& getCollidables() const { return collidables; }

    // Builds the static level mesh from the mesh-space triangles of every
    // visible, in-scene listed collidable (not the detached templates), then
    // empties the list. A second call
    // replaces the level. With no triangle at all there is no level.
    void buildLevelMesh();
    bool hasLevel() const { return levelShape != nullptr; }

    // Makes `owner` the owner of every collidable below `node` (not `node`
    // itself), so a hit mesh leads back to its character.
    void setOwner(SceneGraphNode* node, HealthObject* owner);
    // Erases the owner of every collidable below `node`.
    void removeOwner(SceneGraphNode* node);
    // The owner of `mesh`, or null for a mesh without one.
    HealthObject* getOwner(const CollidableRenderObject* mesh) const;

    // Casts the world-space segment into the level mesh; `fraction` is the
    // nearest hit, or CustomTriangleCallback::noHitFraction. False without a level.
    bool rayHitsLevel(Vec3 from, Vec3 to, float& fraction) const;
    // Casts the segment into each visible, in-scene collidable; `hits` gets
    // one record per object hit, nearest fraction first. True when any.
    bool rayTestObjects(Vec3 from, Vec3 to, std::vector<HitRecord>& hits);
    // Tests a thin upright slab along the shot (400 long, from 100 behind
    // `origin` to 300 ahead, 20 high, 0.02 thick) against each visible,
    // in-scene collidable; `hits` gets every object touched ahead of
    // `origin` (contacts behind it count for nothing), nearest contact to
    // `origin` first. True when any. A shot without a direction (target at
    // origin) hits nothing.
    bool shotTest(Vec3 origin, Vec3 target, std::vector<HitRecord>& hits);

    btCollisionDispatcher* getDispatcher() const { return dispatcher; }

private:
    std::vector<CollidableRenderObject*> collidables;
    std::unordered_map<const CollidableRenderObject*, HealthObject*> owners;
    btDefaultCollisionConfiguration* configuration = nullptr;
    btCollisionDispatcher* dispatcher = nullptr;
    btBvhTriangleMeshShape* levelShape = nullptr;
    btTriangleMesh* levelTriangles = nullptr;

    void releaseLevel();
    void setOwnerBelow(SceneGraphNode* node, HealthObject* owner, bool erase);
};
