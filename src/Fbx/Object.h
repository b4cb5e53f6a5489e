// Base classes of everything a scene holds.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace fbx {

class Node;

// Every object read from a file keeps its 64-bit id and its name without the
// class prefix ("Cube", not "Model::Cube").
class Object {
 public:
  virtual ~Object() = default;
  int64_t id = 0;
  std::string name;
};

enum class AttributeType { None, Null, Mesh, Camera, Light, Skeleton, Nurbs, Patch, Other };

// What a node is: mesh geometry, camera, light, skeleton marker, null...
class NodeAttribute : public Object {
 public:
  explicit NodeAttribute(AttributeType type) : type_(type) {}
  AttributeType type() const { return type_; }
  // Nodes using this attribute, in connection order (geometry may be instanced).
  std::vector<Node*> nodes;

 private:
  AttributeType type_;
};

// Skeleton kinds as numbered by the vendor SDK.
enum class SkeletonType { Root = 0, Limb = 1, LimbNode = 2, Effector = 3 };

class Skeleton : public NodeAttribute {
 public:
  Skeleton() : NodeAttribute(AttributeType::Skeleton) {}
  SkeletonType skeletonType = SkeletonType::LimbNode;
  double size = 100;
  double limbLength = 1;
};

class NullAttribute : public NodeAttribute {
 public:
  NullAttribute() : NodeAttribute(AttributeType::Null) {}
  double size = 100;
};

// Attributes this reader does not model in detail (NURBS, patches, ...).
class OtherAttribute : public NodeAttribute {
 public:
  explicit OtherAttribute(AttributeType type) : NodeAttribute(type) {}
  std::string subclass;  // as written in the file, e.g. "NurbsCurve"
};

}  // namespace fbx
