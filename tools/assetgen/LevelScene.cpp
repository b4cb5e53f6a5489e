#include <map>

#include "ContentScenes.h"

namespace assetgen {
namespace {

constexpr double kCameraFieldOfView = 60;  // degrees, vertical
constexpr double kCameraNear = 0.5, kCameraFar = 500;  // metres

void addLight(fbx::Scene& scene, const LevelLight& setup) {
  fbx::Node* node = scene.addNode(setup.name);
  fbx::Light* light = scene.addLight(setup.name);
  light->lightType = setup.type;
  light->color = setup.colour;
  if (setup.type == fbx::LightType::Spot) {
    light->innerAngle = setup.hotSpot;
    light->outerAngle = setup.coneAngle;
  }
  fbx::Scene::setAttribute(node, light);
  node->transform.translation = setup.position;
  node->transform.rotation = setup.rotation;
}

// The overview camera flies its path in the first layer; the second layer
// adds a slow sway. It looks at a target node through its look-at link.
void addOverviewCamera(SceneAssembler& assembler, const LevelDesign& design) {
  fbx::Scene& scene = assembler.scene();
  fbx::Node* target = scene.addNode("OverviewTarget");
  fbx::Scene::setAttribute(target, scene.addNull("OverviewTarget"));
  target->transform.translation = design.cameraTarget;

  fbx::Node* node = scene.addNode(kOverviewCamera);
  fbx::Camera* camera = scene.addCamera(kOverviewCamera);
  camera->position = design.cameraPath.front().value;
  camera->interestPosition = design.cameraTarget;
  camera->apertureMode = fbx::ApertureMode::Vertical;
  camera->fieldOfView = kCameraFieldOfView;
  camera->focalLength = camera->computeFocalLength(kCameraFieldOfView);
  camera->nearPlane = kCameraNear;
  camera->farPlane = kCameraFar;
  fbx::Scene::setAttribute(node, camera);
  node->transform.translation = design.cameraPath.front().value;
  node->target = target;

  fbx::AnimStack* stack = scene.addAnimStack("Flyover");
  const fbx::Time stop = fbx::fromSeconds(design.flyoverSeconds);
  stack->localStop = stack->referenceStop = stop;
  assembler.animate(scene.addAnimLayer(stack, "FlyoverPath"), node, "Lcl Translation", design.cameraPath);
  assembler.animate(scene.addAnimLayer(stack, "FlyoverSway"), node, "Lcl Translation", design.cameraSway);
  scene.globalSettings.timeSpanStop = stop;
}

}  // namespace

std::unique_ptr<fbx::Scene> buildLevelScene(const LevelDesign& design) {
  auto scene = std::make_unique<fbx::Scene>();
  SceneAssembler assembler(*scene);
  std::map<std::string, fbx::Node*> groups;
  for (const Piece& piece : design.pieces) {
    fbx::Node*& group = groups[piece.group];
    if (!group) group = assembler.addGroup(piece.group);
    assembler.addMeshNode(piece.name, piece.mesh, group);
  }
  fbx::Node* spawnPoints = assembler.addGroup(kSpawnPointsGroup);
  for (const Piece& pad : design.spawnPads) assembler.addMeshNode(pad.name, pad.mesh, spawnPoints);
  for (const LevelLight& light : design.lights) addLight(*scene, light);
  addOverviewCamera(assembler, design);
  return scene;
}

std::unique_ptr<fbx::Scene> buildSphereScene() {
  constexpr int kSlices = 32, kStacks = 16;
  auto scene = std::make_unique<fbx::Scene>();
  TriangleMesh sphere;
  addEllipsoid(sphere, {0, 0, 0}, {1, 1, 1}, kSlices, kStacks, Surface::Concrete, 4.0);
  SceneAssembler(*scene).addMeshNode(kSphereNode, sphere);
  return scene;
}

}  // namespace assetgen
