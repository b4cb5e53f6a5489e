#include "Fbx/Evaluator.h"

#include <algorithm>
#include <cmath>

namespace fbx {

namespace {

const char* const kTranslation = "Lcl Translation";
const char* const kRotation = "Lcl Rotation";
const char* const kScaling = "Lcl Scaling";
const char* const kAxisNames[3] = {"X", "Y", "Z"};

Matrix4 rotationOf(Vec3 degrees) { return Matrix4::rotation(degrees, RotationOrder::XYZ); }

// Channel i of a curve node: by axis name when present, else by position.
double channelAt(const AnimCurveNode& n, int i, int components, Time t) {
  if (components == 3) {
    for (size_t c = 0; c < n.channels.size(); ++c) {
      if (n.channels[c].name == kAxisNames[i]) return n.channelValue(c, t);
    }
  }
  return n.channelValue(static_cast<size_t>(i), t);
}

bool layerCounts(const AnimLayer& layer, bool anySolo) { return !layer.mute && (!anySolo || layer.solo); }

}  // namespace

Matrix4 localRotation(const NodeTransform& t) {
  if (!t.rotationActive) return rotationOf(t.rotation);
  const RotationOrder order = t.rotationOrder == RotationOrder::SphericXYZ ? RotationOrder::XYZ : t.rotationOrder;
  return rotationOf(t.preRotation) * Matrix4::rotation(t.rotation, order) * rotationOf(t.postRotation).inverse();
}

Matrix4 localMatrix(const NodeTransform& t) {
  const Matrix4 rotationPivot = Matrix4::translation(t.rotationPivot);
  const Matrix4 scalingPivot = Matrix4::translation(t.scalingPivot);
  return Matrix4::translation(t.translation) * Matrix4::translation(t.rotationOffset) * rotationPivot *
         localRotation(t) * rotationPivot.inverse() * Matrix4::translation(t.scalingOffset) * scalingPivot *
         Matrix4::scaling(t.scaling) * scalingPivot.inverse();
}

Matrix4 globalMatrix(const Matrix4& parentGlobal, Vec3 parentScaling, const NodeTransform& t) {
  const Matrix4 local = localMatrix(t);
  const Matrix4 parentRotation = parentGlobal.rotationPart();
  const Matrix4 parentTranslation = Matrix4::translation(parentGlobal.getTranslation());
  // Scale and shear of the parent with its rotation and translation removed.
  const Matrix4 parentScale = parentRotation.inverse() * parentTranslation.inverse() * parentGlobal;
  const Matrix4 lr = localRotation(t);
  const Matrix4 ls = Matrix4::scaling(t.scaling);
  Matrix4 rs;
  switch (t.inheritType) {
    case InheritType::RrSs: rs = parentRotation * lr * parentScale * ls; break;
    case InheritType::RSrs: rs = parentRotation * parentScale * lr * ls; break;
    case InheritType::Rrs:
      rs = parentRotation * lr * (parentScale * Matrix4::scaling(parentScaling).inverse()) * ls;
      break;
  }
  return Matrix4::translation(parentGlobal.transformPoint(local.getTranslation())) * rs;
}

const AnimStack* Evaluator::context() const {
  if (stack_) return stack_;
  return scene_->animStacks().empty() ? nullptr : scene_->animStacks().front();
}

bool Evaluator::blend(const Object& object, const std::string& property, int components, double* values,
                      Time t) const {
  const AnimStack* stack = context();
  if (!stack || t == kTimeInfinite) return false;
  const bool anySolo = std::any_of(stack->layers.begin(), stack->layers.end(),
                                   [](const AnimLayer* l) { return l->solo; });
  const bool multiplicative = property == kScaling;
  bool animated = false;
  for (const AnimLayer* layer : stack->layers) {
    if (!layerCounts(*layer, anySolo)) continue;
    const AnimCurveNode* n = layer->find(&object, property);
    if (!n) continue;
    const double w = layer->weight / 100.0;
    for (int i = 0; i < components; ++i) {
      const double v = channelAt(*n, i, components, t);
      if (!animated || layer->blendMode != BlendMode::Additive) {
        values[i] = animated ? values[i] + (v - values[i]) * w : v;
      } else if (multiplicative) {
        values[i] *= std::pow(v, w);
      } else {
        values[i] += v * w;
      }
    }
    animated = true;
  }
  return animated;
}

Vec3 Evaluator::evaluateVec3(const Object& object, const std::string& property, Vec3 staticValue, Time t) const {
  double v[3] = {staticValue.x, staticValue.y, staticValue.z};
  return blend(object, property, 3, v, t) ? Vec3{v[0], v[1], v[2]} : staticValue;
}

double Evaluator::evaluateNumber(const Object& object, const std::string& property, double staticValue,
                                 Time t) const {
  double v = staticValue;
  return blend(object, property, 1, &v, t) ? v : staticValue;
}

NodeTransform Evaluator::transformAt(const Node& node, Time t) const {
  NodeTransform tr = node.transform;
  tr.translation = evaluateVec3(node, kTranslation, tr.translation, t);
  tr.rotation = evaluateVec3(node, kRotation, tr.rotation, t);
  tr.scaling = evaluateVec3(node, kScaling, tr.scaling, t);
  return tr;
}

Matrix4 Evaluator::localTransform(const Node& node, Time t) const { return localMatrix(transformAt(node, t)); }

Matrix4 Evaluator::globalTransform(const Node& node, Time t) const {
  Vec3 scaling;
  return globalTransform(node, t, scaling);
}

// Composed from the root down; the call stack holds the parent chain (the
// reader bounds its depth), so evaluating a frame allocates nothing.
Matrix4 Evaluator::globalTransform(const Node& node, Time t, Vec3& scaling) const {
  Matrix4 parentGlobal;
  Vec3 parentScaling{1, 1, 1};
  if (node.parent) parentGlobal = globalTransform(*node.parent, t, parentScaling);
  const NodeTransform tr = transformAt(node, t);
  scaling = tr.scaling;
  return globalMatrix(parentGlobal, parentScaling, tr);
}

bool animationInterval(const Node& node, const AnimStack& stack, int layerIndex, Time& start, Time& stop) {
  const AnimLayer* layer = stack.layer(layerIndex);
  if (!layer) return false;
  bool found = false;
  Time first = 0, last = 0;
  for (const AnimCurveNode* n : layer->curveNodes) {
    if (n->target != &node && (!node.attribute || n->target != node.attribute)) continue;
    for (const AnimCurveNode::Channel& c : n->channels) {
      if (!c.curve || c.curve->keys.empty()) continue;
      const Time a = c.curve->keys.front().time;
      const Time b = c.curve->keys.back().time;
      first = found ? std::min(first, a) : a;
      last = found ? std::max(last, b) : b;
      found = true;
    }
  }
  if (found) {
    start = first;
    stop = last;
  }
  return found;
}

}  // namespace fbx
