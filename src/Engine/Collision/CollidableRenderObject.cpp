#include "Engine/Collision/CollidableRenderObject.h"

#include "Engine/Collision/BulletConversions.h"
#include "Engine/Collision/CollisionWorld.h"
#include "Engine/Collision/CustomTriangleCallback.h"

#include <BulletCollision/BroadphaseCollision/btCollisionAlgorithm.h>
#include <BulletCollision/CollisionDispatch/btCollisionDispatcher.h>
#include <BulletCollision/CollisionDispatch/btCollisionObject.h>
#include <BulletCollision/CollisionDispatch/btCollisionObjectWrapper.h>
#include <BulletCollision/CollisionDispatch/btManifoldResult.h>
#include <BulletCollision/CollisionShapes/btBvhTriangleMeshShape.h>
#include <BulletCollision/CollisionShapes/btTriangleMesh.h>

#include <map>

namespace {

constexpr int floatsPerVertex = 4;                     // x, y, z, 1
constexpr int floatsPerTriangle = 3 * floatsPerVertex;

// Users of each shared triangle mesh (the template and its clones).
std::map<const btTriangleMesh*, int32_t>& meshUsers()
{
    static std::map<const btTriangleMesh*, int32_t> users;
    return users;
}

} // namespace

int addPositionTriangles(btTriangleMesh& mesh, const std::vector<float>& positions)
{
    int added = 0;
    for (std::size_t i = 0; i + floatsPerTriangle <= positions.size(); i += floatsPerTriangle) {
        const float* p = &positions[i];
        mesh.addTriangle(btVector3(p[0], p[1], p[2]), btVector3(p[4], p[5], p[6]), btVector3(p[8], p[9], p[10]),
                         false);
        ++added;
    }
    return added;
}

CollidableRenderObject::CollidableRenderObject(const MeshData& meshData) : RenderObject(meshData)
{
    buildCollisionShape();
    CollisionWorld::getInstance()->addCollidable(this);
}

CollidableRenderObject::CollidableRenderObject(const CollidableRenderObject& source) : RenderObject(source)
{
    shareCollisionFrom(source);
    CollisionWorld::getInstance()->addCollidable(this);
}

CollidableRenderObject::~CollidableRenderObject()
{
    if (CollisionWorld* world = CollisionWorld::existingInstance())
        world->removeCollidable(this);
    releaseCollisionShape();
}

SceneGraphNode* CollidableRenderObject::clone(int /*copyIndex*/)
{
    return new CollidableRenderObject(*this);
}

void CollidableRenderObject::shareCollisionFrom(const CollidableRenderObject& source)
{
    releaseCollisionShape();
    shape = source.shape;
    triangles = source.triangles;
    collisionObject = source.collisionObject;
    if (triangles)
        ++meshUsers()[triangles];
}

int32_t CollidableRenderObject::sharedMeshUsers(const btTriangleMesh* mesh)
{
    auto found = meshUsers().find(mesh);
    return found == meshUsers().end() ? 0 : found->second;
}

void CollidableRenderObject::buildCollisionShape()
{
    auto* mesh = new btTriangleMesh(true, false); // 32-bit indices, 3-component vertices
    if (addPositionTriangles(*mesh, positions) == 0) {
        // Bullet cannot build a hierarchy over no triangles.
        delete mesh;
        return;
    }
    triangles = mesh;
    shape = new btBvhTriangleMeshShape(triangles, true, true);
    meshUsers()[triangles] = 1;
    collisionObject = new btCollisionObject();
    collisionObject->setCollisionShape(shape);
}

void CollidableRenderObject::releaseCollisionShape()
{
    if (triangles) {
        auto users = meshUsers().find(triangles);
        if (--users->second == 0) {
            meshUsers().erase(users);
            delete triangles;
            delete shape;
            delete collisionObject;
        }
    }
    triangles = nullptr;
    shape = nullptr;
    collisionObject = nullptr;
}

bool CollidableRenderObject::collide(btCollisionObject* other, Vec3 reference, HitRecord& hit, Vec3 ahead)
{
    if (!collisionObject || !other)
        return false;
    btTransform placement;
    placement.setFromOpenGLMatrix(transform.data());
    collisionObject->setWorldTransform(placement);
    if (!collisionObject->checkCollideWith(other))
        return false;

    btCollisionDispatcher* dispatcher = CollisionWorld::getInstance()->getDispatcher();
    btCollisionObjectWrapper self(nullptr, shape, collisionObject, collisionObject->getWorldTransform(), -1, -1);
    btCollisionObjectWrapper partner(nullptr, other->getCollisionShape(), other, other->getWorldTransform(), -1,
                                     -1);
    btCollisionAlgorithm* algorithm = dispatcher->findAlgorithm(&self, &partner, nullptr, BT_CONTACT_POINT_ALGORITHMS);
    if (!algorithm)
        return false;
    btManifoldResult result(&self, &partner);
    btDispatcherInfo dispatchInfo;
    algorithm->processCollision(&self, &partner, dispatchInfo, &result);

    hit.object = this;
    hit.distance = noContactDistance;
    int contacts = 0;
    if (const btPersistentManifold* manifold = result.getPersistentManifold()) {
        const bool selfIsFirst = manifold->getBody0() == collisionObject;
        for (int i = 0; i < manifold->getNumContacts(); ++i) {
            const btManifoldPoint& contact = manifold->getContactPoint(i);
            Vec3 point = fromBullet(selfIsFirst ? contact.getPositionWorldOnA() : contact.getPositionWorldOnB());
            if (dot(point - reference, ahead) < 0.0f)
                continue;
            ++contacts;
            float distance = length(point - reference);
            if (distance < hit.distance) {
                hit.point = point;
                hit.distance = distance;
            }
        }
    }
    // The algorithm owns the manifold; both go back to the dispatcher's pools.
    algorithm->~btCollisionAlgorithm();
    dispatcher->freeCollisionAlgorithm(algorithm);
    return contacts > 0;
}

bool CollidableRenderObject::collisionBounds(Vec3& minimum, Vec3& maximum) const
{
    if (!shape)
        return false;
    btTransform placement;
    placement.setFromOpenGLMatrix(transform.data());
    btVector3 low, high;
    shape->getAabb(placement, low, high);
    minimum = fromBullet(low);
    maximum = fromBullet(high);
    return true;
}

bool CollidableRenderObject::rayTest(Vec3 from, Vec3 to, float& fraction)
{
    fraction = CustomTriangleCallback::noHitFraction;
    if (!shape)
        return false;
    Mat4 worldToMesh = transform.inverse();
    btVector3 meshFrom = toBullet(worldToMesh.transformPoint(from));
    btVector3 meshTo = toBullet(worldToMesh.transformPoint(to));
    CustomTriangleCallback callback(meshFrom, meshTo);
    shape->performRaycast(&callback, meshFrom, meshTo);
    fraction = callback.nearestFraction();
    return callback.hasHit();
}
