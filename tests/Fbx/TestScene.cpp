#include "TestScene.h"

#include <gtest/gtest.h>

namespace fbx::test {

namespace {

// Two triangles of a unit square, each with its own normal and material.
void fillSquare(Mesh& mesh) {
  mesh.controlPoints = {{-1, 0, -1}, {1, 0, -1}, {1, 0, 1}, {-1, 0, 1}};
  mesh.addPolygon({0, 1, 2});
  mesh.addPolygon({0, 2, 3});
  mesh.normals.push_back({"", MappingMode::ByPolygon, ReferenceMode::Direct, 3, {0, 1, 0, 0, 0.6, 0.8}, {}});
  mesh.uvs.push_back({"map1", MappingMode::ByPolygonVertex, ReferenceMode::IndexToDirect, 2, {0, 0, 1, 0, 1, 1, 0, 1},
                      {0, 1, 2, 0, 2, 3}});
  mesh.materialElements.push_back({MappingMode::ByPolygon, ReferenceMode::IndexToDirect, {0, 1}});
  mesh.layers.push_back({0, -1, -1, 0, -1, 0});
}

void addAnimation(Scene& scene, Node* cube, Camera* camera) {
  AnimStack* stack = scene.addAnimStack("Take 001");
  stack->localStop = 2 * kTicksPerSecond;
  stack->referenceStop = 2 * kTicksPerSecond;
  AnimLayer* base = scene.addAnimLayer(stack, "Base");
  AnimLayer* walk = scene.addAnimLayer(stack, "Walk");
  walk->weight = 50;
  AnimCurveNode* t = scene.addCurveNode(base, cube, "Lcl Translation", {"X", "Y", "Z"}, {0, 0, 0});
  AnimCurve* x = scene.addChannelCurve(t, "X");
  x->keys = {{0, 0.0f, Interpolation::Linear}, {kTicksPerSecond, 10.0f, Interpolation::Linear}};
  AnimCurveNode* r = scene.addCurveNode(walk, cube, "Lcl Rotation", {"X", "Y", "Z"}, {0, 0, 0});
  AnimCurve* ry = scene.addChannelCurve(r, "Y");
  ry->keys = {{kTicksPerSecond / 2, 0.0f, Interpolation::Constant}, {2 * kTicksPerSecond, 90.0f}};
  AnimCurveNode* fov = scene.addCurveNode(base, camera, "FieldOfView", {"FieldOfView"}, {40});
  AnimCurve* fc = scene.addChannelCurve(fov, "FieldOfView");
  // A weighted cubic key: its slopes and weights are written and read back.
  const AnimKey k0{0, 30.0f, Interpolation::Cubic, false, false, 12.5f, 12.5f, 0.25f, 0.25f};
  fc->keys = {k0, {kTicksPerSecond, 60.0f}};
}

}  // namespace

std::unique_ptr<Scene> makeTestScene() {
  auto scene = std::make_unique<Scene>();
  scene->globalSettings.defaultCamera = "Cam";

  Node* cube = scene->addNode("Cube");
  cube->transform.translation = {1, 2, 3};
  cube->transform.rotation = {0, 45, 0};
  cube->transform.scaling = {2, 2, 2};
  Mesh* mesh = scene->addMesh("CubeMesh");
  fillSquare(*mesh);
  Scene::setAttribute(cube, mesh);

  Material* wall = scene->addMaterial("Wall");
  wall->textures[Material::kDiffuse].push_back(scene->addTexture("WallTex", "C:/art/wall.JPG"));
  wall->textures[Material::kNormalMap].push_back(scene->addTexture("WallNormal", "wall_n.png"));
  Material* floor = scene->addMaterial("Floor");
  floor->textures[Material::kDiffuse].push_back(scene->addTexture("FloorTex", "textures\\floor.tga"));
  cube->materials = {wall, floor};

  Node* child = scene->addNode("Child", cube);
  Scene::setAttribute(child, scene->addNull("ChildNull"));

  Node* lamp = scene->addNode("Lamp");
  Light* light = scene->addLight("LampLight");
  light->lightType = LightType::Spot;
  light->color = {1, 0.5, 0.25};
  light->intensity = 80;
  light->innerAngle = 30;
  light->outerAngle = 45;
  Scene::setAttribute(lamp, light);

  Node* camNode = scene->addNode("Cam");
  Camera* camera = scene->addCamera("CamCamera");
  camera->fieldOfView = 50;
  Scene::setAttribute(camNode, camera);
  camNode->target = scene->addNode("CamTarget");

  addAnimation(*scene, cube, camera);
  return scene;
}

std::unique_ptr<Scene> loadBytes(const std::vector<uint8_t>& bytes, const std::string& name) {
  SceneResult loaded = loadMemory(bytes.data(), bytes.size(), name);
  EXPECT_TRUE(loaded.ok()) << loaded.error();
  return loaded.ok() ? std::move(*loaded) : nullptr;
}

std::unique_ptr<Scene> reload(const Scene& scene, const WriteOptions& options) {
  return loadBytes(writeMemory(scene, options));
}

std::vector<uint8_t> toBytes(const std::string& text) { return std::vector<uint8_t>(text.begin(), text.end()); }

}  // namespace fbx::test
