// Animation data: stacks of layers, curve nodes animating object properties,
// and keyframe curves. Times are FBX ticks.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Fbx/Object.h"

namespace fbx {

using Time = int64_t;
inline constexpr Time kTicksPerSecond = 46186158000LL;
// "No time": evaluating at it gives the unanimated value.
inline constexpr Time kTimeInfinite = INT64_MAX;

inline double toSeconds(Time t) { return static_cast<double>(t) / static_cast<double>(kTicksPerSecond); }
inline Time fromSeconds(double seconds) { return static_cast<Time>(seconds * static_cast<double>(kTicksPerSecond)); }

enum class Interpolation { Constant, Linear, Cubic };

// One key; slopes are in value units per second and belong to the segment
// that starts at this key (right slope) and ends at the next key (next-left).
struct AnimKey {
  Time time = 0;
  float value = 0;
  Interpolation interpolation = Interpolation::Linear;
  bool constantNext = false;  // constant segments hold the next key's value
  bool autoTangent = false;   // slopes are computed from the neighbours
  float rightSlope = 0, nextLeftSlope = 0;
  float rightWeight = 1.0f / 3, nextLeftWeight = 1.0f / 3;
};

class AnimCurve : public Object {
 public:
  double defaultValue = 0;
  std::vector<AnimKey> keys;  // sorted by time

  // Value at time t; before the first / after the last key the end value is
  // held; without keys the default value.
  double evaluate(Time t) const;
  // Fills in the slopes of auto-tangent keys (after loading or building).
  void computeAutoTangents();
};

// Animates one property ("Lcl Translation", "FieldOfView", ...) of one object.
class AnimCurveNode : public Object {
 public:
  struct Channel {
    std::string name;  // "X", "Y", "Z" or the property name
    double value = 0;  // used when no curve is connected
    AnimCurve* curve = nullptr;
  };
  Object* target = nullptr;
  std::string property;
  std::vector<Channel> channels;

  Channel* channel(const std::string& channelName);
  // Value of channel i at time t (curve, else the stored value).
  double channelValue(size_t i, Time t) const;
};

enum class BlendMode { Additive = 0, Override = 1, OverridePassthrough = 2 };

class AnimLayer : public Object {
 public:
  double weight = 100;  // percent
  bool mute = false;
  bool solo = false;
  bool lock = false;
  BlendMode blendMode = BlendMode::Additive;
  std::vector<AnimCurveNode*> curveNodes;

  // The curve node animating `property` of `target`, or nullptr.
  const AnimCurveNode* find(const Object* target, const std::string& property) const;
};

class AnimStack : public Object {
 public:
  std::string description;
  Time localStart = 0, localStop = 0;
  Time referenceStart = 0, referenceStop = 0;
  std::vector<AnimLayer*> layers;  // in connection order

  int layerCount() const { return static_cast<int>(layers.size()); }
  AnimLayer* layer(int index) const {
    return index >= 0 && index < layerCount() ? layers[index] : nullptr;
  }
};

struct TakeInfo {
  std::string name;
  std::string fileName;
  Time localStart = 0, localStop = 0;
  Time referenceStart = 0, referenceStop = 0;
};

}  // namespace fbx
