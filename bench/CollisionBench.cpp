// Collision query benchmark: 37 skull-sized meshes (clones of one template,
// sharing its hierarchy) stand in a field in front of the shooter, as a wave
// of enemies would. Prints the mean time of one `shotTest` and of one
// `rayTestObjects` over a fan of shot directions, and the mean hits per query.
#include "Engine/Base/Window.h"
#include "Engine/Collision/CollisionWorld.h"
#include "Engine/Scene/NodeManager.h"
#include "Engine/Scene/SceneGraphNode.h"

#include <GL/glew.h>
#include <GLFW/glfw3.h>

#include <chrono>
#include <cmath>
#include <cstdio>

namespace {

constexpr int meshCount = 37;
constexpr int sphereSlices = 32;       // around the vertical axis
constexpr int sphereStacks = 24;       // from pole to pole: 2 x 32 x 24 = 1536 triangles
constexpr float skullRadius = 6.0f;    // world units, about a character's head and body
constexpr float fieldNear = 20.0f;     // distance of the first row, world units
constexpr float rowSpacing = 25.0f;    // world units between rows
constexpr float columnSpacing = 18.0f; // world units between meshes of a row
constexpr int meshesPerRow = 6;
constexpr int directions = 64;         // shot directions in the fan
constexpr float fanHalfAngle = 0.6f;   // radians either side of straight ahead
constexpr int rounds = 40;             // times the fan is repeated per query kind
constexpr float rayLength = 400.0f;    // world units

Vec3 spherePoint(int slice, int stack)
{
    const float pi = 3.14159265f;
    float around = 2.0f * pi * float(slice) / sphereSlices;
    float down = pi * float(stack) / sphereStacks;
    return {skullRadius * std::sin(down) * std::cos(around), skullRadius * std::cos(down),
            skullRadius * std::sin(down) * std::sin(around)};
}

MeshData skullMesh()
{
    MeshData mesh;
    mesh.name = "Skull_mesh";
    auto add = [&mesh](Vec3 p) { mesh.positions.insert(mesh.positions.end(), {p.x, p.y, p.z, 1.0f}); };
    for (int stack = 0; stack < sphereStacks; ++stack) {
        for (int slice = 0; slice < sphereSlices; ++slice) {
            Vec3 a = spherePoint(slice, stack), b = spherePoint(slice + 1, stack);
            Vec3 c = spherePoint(slice + 1, stack + 1), d = spherePoint(slice, stack + 1);
            for (Vec3 p : {a, b, c, a, c, d})
                add(p);
        }
    }
    mesh.triangleCounts = {int(mesh.positions.size() / 12)};
    mesh.boundsMin = {-skullRadius, -skullRadius, -skullRadius};
    mesh.boundsMax = {skullRadius, skullRadius, skullRadius};
    return mesh;
}

void buildField()
{
    NodeManager* registry = NodeManager::getInstance();
    registry->createRoot();
    auto* prototype = new CollidableRenderObject(skullMesh());
    std::vector<SceneGraphNode*> skulls = {prototype};
    while (int(skulls.size()) < meshCount)
        skulls.push_back(prototype->clone(-1)); // before the prototype moves
    for (int i = 0; i < meshCount; ++i) {
        SceneGraphNode* skull = skulls[i];
        float row = float(i / meshesPerRow), column = float(i % meshesPerRow) - (meshesPerRow - 1) / 2.0f;
        skull->translate(fieldNear + row * rowSpacing, skullRadius, column * columnSpacing + row * 3.0f);
        skull->setParent(registry->getRoot());
    }
}

Vec3 fanTarget(int direction)
{
    float angle = -fanHalfAngle + 2.0f * fanHalfAngle * float(direction) / (directions - 1);
    return {rayLength * std::cos(angle), skullRadius, rayLength * std::sin(angle)};
}

template <typename Query>
void measure(const char* label, Query query)
{
    std::vector<HitRecord> hits;
    hits.reserve(meshCount);
    long totalHits = 0;
    auto start = std::chrono::steady_clock::now();
    for (int round = 0; round < rounds; ++round) {
        for (int direction = 0; direction < directions; ++direction) {
            query(fanTarget(direction), hits);
            totalHits += long(hits.size());
        }
    }
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    int queries = rounds * directions;
    std::printf("%-16s %8.1f us per query   %5.2f hits per query\n", label, seconds * 1e6 / queries,
                double(totalHits) / queries);
}

} // namespace

int main()
{
    if (!openContextWindow(64, 64, false, "collision benchmark")) {
        std::fprintf(stderr, "No OpenGL context (is DISPLAY set?)\n");
        return 1;
    }
    buildField();
    CollisionWorld* world = CollisionWorld::getInstance();
    std::printf("%d meshes of %zu triangles (one shared hierarchy), %d directions x %d rounds\n", meshCount,
                skullMesh().positions.size() / 12, directions, rounds);
    const Vec3 shooter = {0.0f, skullRadius, 0.0f};
    measure("shotTest", [&](Vec3 target, std::vector<HitRecord>& hits) { world->shotTest(shooter, target, hits); });
    measure("rayTestObjects",
            [&](Vec3 target, std::vector<HitRecord>& hits) { world->rayTestObjects(shooter, target, hits); });
    NodeManager::destroyInstance();
    CollisionWorld::destroyInstance();
    glfwTerminate();
    return 0;
}
