// Animation evaluation: property values at a time through the layers of the
// chosen stack, node transforms composed as the vendor SDK does (pivots,
// offsets, pre/post rotation, rotation order, inherit type), and intervals.
#pragma once

#include <string>

#include "Fbx/Animation.h"
#include "Fbx/Math.h"
#include "Fbx/Scene.h"

namespace fbx {

// Local matrix of a transform:
//   T * Roff * Rp * Rpre * R * Rpost^-1 * Rp^-1 * Soff * Sp * S * Sp^-1
// Pre/post rotation and the rotation order apply only when rotationActive.
Matrix4 localMatrix(const NodeTransform& t);
// Rotation part of the local matrix (Rpre * R * Rpost^-1).
Matrix4 localRotation(const NodeTransform& t);
// Global matrix from the parent's global matrix, the parent's Lcl Scaling
// (used by InheritType Rrs) and the node's transform.
Matrix4 globalMatrix(const Matrix4& parentGlobal, Vec3 parentScaling, const NodeTransform& t);

class Evaluator {
 public:
  explicit Evaluator(const Scene& scene) : scene_(&scene) {}

  // The stack whose layers animate. Until one is set the scene's first
  // stack is used.
  void setContext(const AnimStack* stack) { stack_ = stack; }
  const AnimStack* context() const;

  // Global transform of a node at time t; kTimeInfinite gives the rest pose.
  Matrix4 globalTransform(const Node& node, Time t = kTimeInfinite) const;
  Matrix4 localTransform(const Node& node, Time t = kTimeInfinite) const;
  // The node's transform with its animated Lcl properties at time t.
  NodeTransform transformAt(const Node& node, Time t) const;

  // Value of a property at time t, blending the stack's layers (muted layers
  // skipped; when any layer is solo only solo layers count). `staticValue`
  // is the unanimated value.
  Vec3 evaluateVec3(const Object& object, const std::string& property, Vec3 staticValue, Time t) const;
  double evaluateNumber(const Object& object, const std::string& property, double staticValue, Time t) const;

 private:
  // The global transform; `scaling` receives the node's own Lcl Scaling at t.
  Matrix4 globalTransform(const Node& node, Time t, Vec3& scaling) const;
  // Blends `components` channels; returns false when no layer animates it.
  bool blend(const Object& object, const std::string& property, int components, double* values, Time t) const;

  const Scene* scene_;
  const AnimStack* stack_ = nullptr;
};

// Key-time span of the curves animating a node or its attribute in one layer
// of a stack. Returns false (start and stop unchanged) when nothing is animated.
bool animationInterval(const Node& node, const AnimStack& stack, int layerIndex, Time& start, Time& stop);

}  // namespace fbx
