// The scene model: a node tree under "RootNode", node attributes, materials
// and textures, animation, and the global settings. A Scene comes from
// loadFile/loadMemory (Load.h) or is built in memory and written (Writer.h).
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "Fbx/Animation.h"
#include "Fbx/Math.h"
#include "Fbx/Mesh.h"
#include "Fbx/Object.h"
#include "Fbx/Records.h"

namespace fbx {

class Material;
class Camera;
class Light;

// 0: child scale is applied in the parent's rotated space (component-wise);
// 1: ordinary parent * local; 2: the parent's scale is not inherited.
enum class InheritType { RrSs = 0, RSrs = 1, Rrs = 2 };

// The node transform properties, with the file's template defaults applied.
struct NodeTransform {
  Vec3 translation, rotation, scaling{1, 1, 1};  // the Lcl properties
  Vec3 rotationOffset, rotationPivot, scalingOffset, scalingPivot;
  Vec3 preRotation, postRotation;
  RotationOrder rotationOrder = RotationOrder::XYZ;
  bool rotationActive = false;  // pre/post rotation and order apply only when set
  InheritType inheritType = InheritType::RrSs;
  Vec3 geometricTranslation, geometricRotation, geometricScaling{1, 1, 1};
};

class Node : public Object {
 public:
  Node* parent = nullptr;
  std::vector<Node*> children;  // file order
  NodeAttribute* attribute = nullptr;
  std::vector<Material*> materials;  // connection order = material slot
  Node* target = nullptr;            // look-at target (cameras, lights)
  NodeTransform transform;
  bool visibility = true;

  AttributeType attributeType() const { return attribute ? attribute->type() : AttributeType::None; }
  Mesh* mesh() const;
  Camera* camera() const;
  Light* light() const;
  int childCount() const { return static_cast<int>(children.size()); }
  Node* child(int i) const { return i >= 0 && i < childCount() ? children[i] : nullptr; }
};

class Texture : public Object {
 public:
  std::string fileName;          // as stored, often an absolute path of another machine
  std::string relativeFileName;  // relative to the .fbx
  std::string uvSet = "default";
};

class Material : public Object {
 public:
  std::string shadingModel = "phong";
  Vec3 diffuseColor{0.8, 0.8, 0.8};
  Vec3 ambientColor{0.2, 0.2, 0.2};
  Vec3 emissiveColor;
  Vec3 specularColor{0.2, 0.2, 0.2};
  double shininess = 20;
  double opacity = 1;
  // Textures connected to material properties, in connection order; layered
  // textures contribute their layers.
  std::map<std::string, std::vector<Texture*>> textures;

  const std::vector<Texture*>& texturesOn(const std::string& property) const;
  const std::vector<Texture*>& diffuseTextures() const { return texturesOn(kDiffuse); }
  // The NormalMap channel only: textures on Bump are height maps.
  const std::vector<Texture*>& normalMapTextures() const { return texturesOn(kNormalMap); }

  static constexpr const char* kDiffuse = "DiffuseColor";
  static constexpr const char* kNormalMap = "NormalMap";
  static constexpr const char* kBump = "Bump";
};

enum class LightType { Point = 0, Directional = 1, Spot = 2, Area = 3, Volume = 4 };

class Light : public NodeAttribute {
 public:
  Light() : NodeAttribute(AttributeType::Light) {}
  LightType lightType = LightType::Point;
  Vec3 color{1, 1, 1};
  double intensity = 100;
  double innerAngle = 0;   // "hot spot", degrees
  double outerAngle = 45;  // "cone angle", degrees
  bool castLight = true;
  bool castShadows = false;
  int decayType = 0;
  double decayStart = 0;
};

enum class ProjectionType { Perspective = 0, Orthographic = 1 };
enum class ApertureMode { HorizontalAndVertical = 0, Horizontal = 1, Vertical = 2, FocalLength = 3 };

class Camera : public NodeAttribute {
 public:
  Camera() : NodeAttribute(AttributeType::Camera) {}
  Vec3 position;
  Vec3 upVector{0, 1, 0};
  Vec3 interestPosition;
  double roll = 0;
  double nearPlane = 10, farPlane = 4000;
  ProjectionType projection = ProjectionType::Perspective;
  ApertureMode apertureMode = ApertureMode::Vertical;
  double filmWidth = 0.816, filmHeight = 0.612;  // inches
  double squeezeRatio = 1;
  double fieldOfView = 40, fieldOfViewX = 1, fieldOfViewY = 1;  // degrees
  double focalLength = 21.3545;                                  // millimetres
  double aspectWidth = 320, aspectHeight = 200;
  double orthoZoom = 1;

  // Field of view (degrees) for a focal length and back. The angle spans the
  // film height in vertical mode and the film width in every other mode, as
  // the vendor SDK measures it.
  double computeFieldOfView(double focalLengthMm) const;
  double computeFocalLength(double fieldOfViewDegrees) const;
  // The vertical field of view (degrees) the camera projects with: the
  // stored angle, or the one from the focal length, converted by the film
  // aspect (width x squeeze / height) when it is a horizontal angle; the
  // vertical angle itself in horizontal-and-vertical mode. 0 when the film
  // has no usable aspect.
  double verticalFieldOfView() const;
  // The camera's node (first user), or nullptr (producer cameras).
  Node* node() const { return nodes.empty() ? nullptr : nodes.front(); }
};

struct GlobalSettings {
  int upAxis = 1, upAxisSign = 1, frontAxis = 2, frontAxisSign = 1, coordAxis = 0, coordAxisSign = 1;
  double unitScaleFactor = 1;
  std::string defaultCamera = "Producer Perspective";
  int timeMode = 0;
  double customFrameRate = -1;
  Time timeSpanStart = 0, timeSpanStop = kTicksPerSecond;

  // Frames per second of the time mode (30 for the default mode).
  double frameRate() const;
};

inline constexpr const char* kProducerPerspective = "Producer Perspective";

class Scene {
 public:
  Scene();
  Scene(const Scene&) = delete;
  Scene& operator=(const Scene&) = delete;

  Node* rootNode() const { return root_; }
  GlobalSettings globalSettings;
  std::vector<TakeInfo> takes;
  std::string creator;
  Format sourceFormat = Format::Binary;
  uint32_t sourceVersion = 0;

  // Object lists in file (or creation) order.
  const std::vector<Node*>& nodes() const { return nodes_; }  // excluding the root
  const std::vector<Mesh*>& meshes() const { return meshes_; }
  const std::vector<Material*>& materials() const { return materials_; }
  const std::vector<Texture*>& textures() const { return textures_; }
  const std::vector<Light*>& lights() const { return lights_; }
  const std::vector<Camera*>& cameras() const { return cameras_; }
  const std::vector<AnimStack*>& animStacks() const { return animStacks_; }
  const std::vector<AnimCurveNode*>& curveNodes() const { return curveNodes_; }
  const std::vector<AnimCurve*>& curves() const { return curves_; }
  const std::vector<NodeAttribute*>& attributes() const { return attributes_; }

  Node* findNode(const std::string& name) const;
  std::vector<std::string> animStackNames() const;
  AnimStack* findAnimStack(const std::string& name) const;
  const TakeInfo* takeInfo(const std::string& name) const;

  // The producer cameras ("Producer Perspective", "Producer Top", ...), made
  // on first use with their conventional defaults. They belong to no node.
  Camera* producerCamera(const std::string& name);
  const std::vector<Camera*>& producerCameras();

  // Building: objects are owned by the scene and live as long as it does.
  Node* addNode(const std::string& name, Node* parent = nullptr);  // parent nullptr = root
  // A node outside the tree, for readers that wire parents afterwards.
  Node* addUnparentedNode(const std::string& name);
  Mesh* addMesh(const std::string& name);
  Light* addLight(const std::string& name);
  Camera* addCamera(const std::string& name);
  Skeleton* addSkeleton(const std::string& name);
  NullAttribute* addNull(const std::string& name);
  OtherAttribute* addOtherAttribute(const std::string& name, AttributeType type);
  Material* addMaterial(const std::string& name);
  Texture* addTexture(const std::string& name, const std::string& fileName);
  AnimStack* addAnimStack(const std::string& name);
  AnimLayer* addAnimLayer(AnimStack* stack, const std::string& name);
  AnimCurve* addCurve();
  // A curve node on `property` of `target` in `layer`, with the given channels
  // (e.g. {"X","Y","Z"}) initialised from `values`.
  AnimCurveNode* addCurveNode(AnimLayer* layer, Object* target, const std::string& property,
                              const std::vector<std::string>& channelNames, const std::vector<double>& values);
  // Connects a curve to a channel of a curve node (creating the curve).
  AnimCurve* addChannelCurve(AnimCurveNode* curveNode, const std::string& channelName);

  // Wiring helpers.
  static void setAttribute(Node* node, NodeAttribute* attribute);
  static void setParent(Node* node, Node* parent);  // detaches from any old parent

 private:
  template <typename T, typename... Args>
  T* own(Args&&... args);

  std::vector<std::unique_ptr<Object>> owned_;
  Node* root_ = nullptr;
  std::vector<Node*> nodes_;
  std::vector<Mesh*> meshes_;
  std::vector<Material*> materials_;
  std::vector<Texture*> textures_;
  std::vector<Light*> lights_;
  std::vector<Camera*> cameras_;
  std::vector<AnimStack*> animStacks_;
  std::vector<AnimCurveNode*> curveNodes_;
  std::vector<AnimCurve*> curves_;
  std::vector<NodeAttribute*> attributes_;
  std::vector<Camera*> producerCameras_;
};

}  // namespace fbx
