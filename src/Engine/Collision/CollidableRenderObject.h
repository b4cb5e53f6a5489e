#pragma once
// A render object that can be hit: its triangles (in mesh space) in a Bullet
// triangle mesh with a bounding-volume hierarchy, and a Bullet collision
// object placed at the node's world transform for contact tests. Clones share
// the triangle mesh, the shape and the collision object; a reference count
// per triangle mesh frees them with the last user. Every collidable lists
// itself in the CollisionWorld while it lives.
#include "Engine/Render/RenderObject.h"

#include <cstdint>

class btBvhTriangleMeshShape;
class btCollisionObject;
class btTriangleMesh;

// One hit of a query. Shot and contact hits: `point` is the world-space
// contact nearest to the shot origin and `distance` its distance from there.
// Ray hits: `distance` is the fraction along the segment (0 at its start,
// 1 at its end) and `point` the world-space point at that fraction.
struct HitRecord {
    class CollidableRenderObject* object = nullptr;
    Vec3 point;
    float distance = 0.0f;
};
// Hit lists are sorted by ascending distance (or fraction).
inline bool operator<(const HitRecord& a, const HitRecord& b) { return a.distance < b.distance; }

class CollidableRenderObject : public RenderObject {
public:
    // Distance reported by `collide` before any contact is seen.
    static constexpr float noContactDistance = 1e10f;

    // A render object with its own collision mesh built from the positions;
    // registers in the CollisionWorld. A mesh without a whole triangle gets
    // no collision mesh and is never hit.
    explicit CollidableRenderObject(const MeshData& meshData);
    // Leaves the CollisionWorld (its list and owner map); frees the shared
    // collision data when this was its last user.
    ~CollidableRenderObject() override;

    // A deep copy that shares this object's GPU buffers and collision data.
    SceneGraphNode* clone(int copyIndex) override;
    // Uses `source`'s triangle mesh, shape and collision object (one more user).
    virtual void shareCollisionFrom(const CollidableRenderObject& source);

    // Contact test between this mesh, placed at the node's `transform`, and
    // `other` (at its own world transform). On contact, `hit` gets the contact
    // point on this mesh nearest to `reference`, and its distance from it.
    // With a non-zero `ahead`, only contacts on the side of `reference` that
    // `ahead` points to count (a shot's contacts behind its source are none).
    bool collide(btCollisionObject* other, Vec3 reference, HitRecord& hit, Vec3 ahead = {});
    // Casts the world-space segment `from`-`to` into this mesh (through the
    // inverse of `transform`); `fraction` is the nearest hit along it, or
    // CustomTriangleCallback::noHitFraction. True when anything was hit.
    bool rayTest(Vec3 from, Vec3 to, float& fraction);

    // World-space box around the collision mesh placed at `transform`;
    // false for an object without a collision mesh.
    bool collisionBounds(Vec3& minimum, Vec3& maximum) const;

    const btTriangleMesh* getTriangleMesh() const { return triangles; }
    const btBvhTriangleMeshShape* getShape() const { return shape; }
    btCollisionObject* getCollisionObject() const { return collisionObject; }

    // Number of collidables that use `mesh` (0 when it is not alive).
    static int32_t sharedMeshUsers(const btTriangleMesh* mesh);

protected:
    CollidableRenderObject(const CollidableRenderObject& source);

    btBvhTriangleMeshShape* shape = nullptr;   // shared among clones
    btTriangleMesh* triangles = nullptr;       // shared among clones
    btCollisionObject* collisionObject = nullptr; // shared among clones

private:
    void buildCollisionShape();
    void releaseCollisionShape();
};

// Adds the triangles of `positions` (four floats per vertex, three vertices
// per triangle; an incomplete last triangle is ignored) to `mesh` without
// merging duplicate vertices. Returns the number of triangles added.
int addPositionTriangles(btTriangleMesh& mesh, const std::vector<float>& positions);
