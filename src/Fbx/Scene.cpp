#include "Fbx/Scene.h"

#include <algorithm>
#include <cmath>

namespace fbx {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kMillimetresPerInch = 25.4;

struct ProducerCameraDefaults {
  const char* name;
  Vec3 position;
  Vec3 up;
  ProjectionType projection;
  double nearPlane, farPlane;
};

// The conventional producer views: the perspective camera and the six
// orthographic views 4000 units out, all looking at the origin.
constexpr ProducerCameraDefaults kProducerCameras[] = {
    {kProducerPerspective, {0, 71.3, 287.5}, {0, 1, 0}, ProjectionType::Perspective, 10, 4000},
    {"Producer Top", {0, 4000, 0}, {0, 0, -1}, ProjectionType::Orthographic, 1, 30000},
    {"Producer Bottom", {0, -4000, 0}, {0, 0, -1}, ProjectionType::Orthographic, 1, 30000},
    {"Producer Front", {0, 0, 4000}, {0, 1, 0}, ProjectionType::Orthographic, 1, 30000},
    {"Producer Back", {0, 0, -4000}, {0, 1, 0}, ProjectionType::Orthographic, 1, 30000},
    {"Producer Right", {4000, 0, 0}, {0, 1, 0}, ProjectionType::Orthographic, 1, 30000},
    {"Producer Left", {-4000, 0, 0}, {0, 1, 0}, ProjectionType::Orthographic, 1, 30000},
};

const std::vector<Texture*> kNoTextures;

}  // namespace

Mesh* Node::mesh() const {
  return attributeType() == AttributeType::Mesh ? static_cast<Mesh*>(attribute) : nullptr;
}
Camera* Node::camera() const {
  return attributeType() == AttributeType::Camera ? static_cast<Camera*>(attribute) : nullptr;
}
Light* Node::light() const {
  return attributeType() == AttributeType::Light ? static_cast<Light*>(attribute) : nullptr;
}

const std::vector<Texture*>& Material::texturesOn(const std::string& property) const {
  auto it = textures.find(property);
  return it == textures.end() ? kNoTextures : it->second;
}

double Camera::computeFieldOfView(double focalLengthMm) const {
  const double aperture = apertureMode == ApertureMode::Vertical ? filmHeight : filmWidth;
  if (focalLengthMm <= 0) return 0;
  return 2 * std::atan(aperture * kMillimetresPerInch / (2 * focalLengthMm)) * 180 / kPi;
}

double Camera::computeFocalLength(double fieldOfViewDegrees) const {
  const double aperture = apertureMode == ApertureMode::Vertical ? filmHeight : filmWidth;
  const double t = std::tan(fieldOfViewDegrees * kPi / 360);
  return t > 0 ? aperture * kMillimetresPerInch / 2 / t : 0;
}

double Camera::verticalFieldOfView() const {
  const double aspect = filmWidth * squeezeRatio / filmHeight;
  double degrees = 0;
  switch (apertureMode) {
    case ApertureMode::Horizontal: degrees = fieldOfView / aspect; break;
    case ApertureMode::Vertical: degrees = fieldOfView; break;
    case ApertureMode::FocalLength: degrees = computeFieldOfView(focalLength) / aspect; break;
    case ApertureMode::HorizontalAndVertical: degrees = fieldOfViewY; break;
  }
  return std::isfinite(degrees) ? degrees : 0;
}

double GlobalSettings::frameRate() const {
  static constexpr double kRates[] = {30,  120, 100, 60,          50,          48,   30,   30,   29.97002617,
                                      29.97002617, 25, 24, 1000, 23.976, 0, 96, 72, 59.94, 119.88};
  if (timeMode == 14) return customFrameRate > 0 ? customFrameRate : 30;
  if (timeMode < 0 || timeMode >= static_cast<int>(std::size(kRates))) return 30;
  return kRates[timeMode];
}

Scene::Scene() {
  root_ = own<Node>();
  root_->name = "RootNode";
}

template <typename T, typename... Args>
T* Scene::own(Args&&... args) {
  auto object = std::make_unique<T>(std::forward<Args>(args)...);
  T* raw = object.get();
  owned_.push_back(std::move(object));
  return raw;
}

Node* Scene::findNode(const std::string& name) const {
  if (name == root_->name) return root_;
  for (Node* n : nodes_) {
    if (n->name == name) return n;
  }
  return nullptr;
}

std::vector<std::string> Scene::animStackNames() const {
  std::vector<std::string> names;
  for (const AnimStack* s : animStacks_) names.push_back(s->name);
  return names;
}

AnimStack* Scene::findAnimStack(const std::string& name) const {
  for (AnimStack* s : animStacks_) {
    if (s->name == name) return s;
  }
  return nullptr;
}

const TakeInfo* Scene::takeInfo(const std::string& name) const {
  for (const TakeInfo& t : takes) {
    if (t.name == name) return &t;
  }
  return nullptr;
}

const std::vector<Camera*>& Scene::producerCameras() {
  if (producerCameras_.empty()) {
    for (const ProducerCameraDefaults& d : kProducerCameras) {
      Camera* c = own<Camera>();
      c->name = d.name;
      c->position = d.position;
      c->upVector = d.up;
      c->projection = d.projection;
      c->nearPlane = d.nearPlane;
      c->farPlane = d.farPlane;
      producerCameras_.push_back(c);
    }
  }
  return producerCameras_;
}

Camera* Scene::producerCamera(const std::string& name) {
  for (Camera* c : producerCameras()) {
    if (c->name == name) return c;
  }
  return nullptr;
}

Node* Scene::addNode(const std::string& name, Node* parent) {
  Node* n = own<Node>();
  n->name = name;
  nodes_.push_back(n);
  setParent(n, parent ? parent : root_);
  return n;
}

Node* Scene::addUnparentedNode(const std::string& name) {
  Node* n = own<Node>();
  n->name = name;
  nodes_.push_back(n);
  return n;
}

template <typename T>
static T* named(T* object, const std::string& name) {
  object->name = name;
  return object;
}

Mesh* Scene::addMesh(const std::string& name) {
  Mesh* m = named(own<Mesh>(), name);
  meshes_.push_back(m);
  attributes_.push_back(m);
  return m;
}

Light* Scene::addLight(const std::string& name) {
  Light* l = named(own<Light>(), name);
  lights_.push_back(l);
  attributes_.push_back(l);
  return l;
}

Camera* Scene::addCamera(const std::string& name) {
  Camera* c = named(own<Camera>(), name);
  cameras_.push_back(c);
  attributes_.push_back(c);
  return c;
}

Skeleton* Scene::addSkeleton(const std::string& name) {
  Skeleton* s = named(own<Skeleton>(), name);
  attributes_.push_back(s);
  return s;
}

NullAttribute* Scene::addNull(const std::string& name) {
  NullAttribute* n = named(own<NullAttribute>(), name);
  attributes_.push_back(n);
  return n;
}

OtherAttribute* Scene::addOtherAttribute(const std::string& name, AttributeType type) {
  OtherAttribute* a = named(own<OtherAttribute>(type), name);
  attributes_.push_back(a);
  return a;
}

Material* Scene::addMaterial(const std::string& name) {
  Material* m = named(own<Material>(), name);
  materials_.push_back(m);
  return m;
}

Texture* Scene::addTexture(const std::string& name, const std::string& fileName) {
  Texture* t = named(own<Texture>(), name);
  t->fileName = fileName;
  t->relativeFileName = fileName;
  textures_.push_back(t);
  return t;
}

AnimStack* Scene::addAnimStack(const std::string& name) {
  AnimStack* s = named(own<AnimStack>(), name);
  animStacks_.push_back(s);
  return s;
}

AnimLayer* Scene::addAnimLayer(AnimStack* stack, const std::string& name) {
  AnimLayer* l = named(own<AnimLayer>(), name);
  if (stack) stack->layers.push_back(l);
  return l;
}

AnimCurve* Scene::addCurve() {
  AnimCurve* c = own<AnimCurve>();
  curves_.push_back(c);
  return c;
}

AnimCurveNode* Scene::addCurveNode(AnimLayer* layer, Object* target, const std::string& property,
                                   const std::vector<std::string>& channelNames,
                                   const std::vector<double>& values) {
  AnimCurveNode* n = own<AnimCurveNode>();
  n->target = target;
  n->property = property;
  for (size_t i = 0; i < channelNames.size(); ++i) {
    n->channels.push_back({channelNames[i], i < values.size() ? values[i] : 0.0, nullptr});
  }
  curveNodes_.push_back(n);
  if (layer) layer->curveNodes.push_back(n);
  return n;
}

AnimCurve* Scene::addChannelCurve(AnimCurveNode* curveNode, const std::string& channelName) {
  AnimCurveNode::Channel* ch = curveNode->channel(channelName);
  if (!ch) {
    curveNode->channels.push_back({channelName, 0.0, nullptr});
    ch = &curveNode->channels.back();
  }
  ch->curve = addCurve();
  ch->curve->defaultValue = ch->value;
  return ch->curve;
}

void Scene::setAttribute(Node* node, NodeAttribute* attribute) {
  if (node->attribute) {
    auto& users = node->attribute->nodes;
    users.erase(std::remove(users.begin(), users.end(), node), users.end());
  }
  node->attribute = attribute;
  if (attribute) attribute->nodes.push_back(node);
}

void Scene::setParent(Node* node, Node* parent) {
  if (node->parent) {
    auto& siblings = node->parent->children;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), node), siblings.end());
  }
  node->parent = parent;
  if (parent) parent->children.push_back(node);
}

}  // namespace fbx
