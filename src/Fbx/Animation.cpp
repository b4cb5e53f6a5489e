#include <algorithm>
#include <cmath>

#include "Fbx/Animation.h"

namespace fbx {

namespace {

constexpr double kDefaultWeight = 1.0 / 3.0;
constexpr int kBezierSolveSteps = 48;

double cubicBezier(double p0, double p1, double p2, double p3, double u) {
  const double v = 1 - u;
  return v * v * v * p0 + 3 * v * v * u * p1 + 3 * v * u * u * p2 + u * u * u * p3;
}

// Time differences in double: key times come from files and may be extreme.
double ticksBetween(Time from, Time to) { return static_cast<double>(to) - static_cast<double>(from); }

double clampWeight(double w) { return std::isfinite(w) ? std::clamp(w, 0.0, 1.0) : kDefaultWeight; }

// Value of the cubic segment from key a to key b at time t.
double evaluateCubic(const AnimKey& a, const AnimKey& b, Time t) {
  const double span = ticksBetween(a.time, b.time) / static_cast<double>(kTicksPerSecond);
  const double wR = clampWeight(a.rightWeight);
  const double wL = clampWeight(a.nextLeftWeight);
  const double v1 = a.value + a.rightSlope * wR * span;
  const double v2 = b.value - a.nextLeftSlope * wL * span;
  const double x = ticksBetween(a.time, t) / ticksBetween(a.time, b.time);
  double u = x;
  const bool uniform = std::fabs(wR - kDefaultWeight) < 1e-6 && std::fabs(wL - kDefaultWeight) < 1e-6;
  if (!uniform) {
    // Weighted tangents bend the time axis: find u with xCurve(u) = x. The
    // curve is monotonic because both weights lie in [0, 1].
    double lo = 0, hi = 1;
    for (int i = 0; i < kBezierSolveSteps; ++i) {
      u = (lo + hi) / 2;
      if (cubicBezier(0, wR, 1 - wL, 1, u) < x) {
        lo = u;
      } else {
        hi = u;
      }
    }
  }
  return cubicBezier(a.value, v1, v2, b.value, u);
}

}  // namespace

double AnimCurve::evaluate(Time t) const {
  if (keys.empty()) return defaultValue;
  if (t <= keys.front().time) return keys.front().value;
  if (t >= keys.back().time) return keys.back().value;
  const auto next = std::upper_bound(keys.begin(), keys.end(), t,
                                     [](Time time, const AnimKey& k) { return time < k.time; });
  const AnimKey& b = *next;
  const AnimKey& a = *(next - 1);
  switch (a.interpolation) {
    case Interpolation::Constant:
      return a.constantNext ? b.value : a.value;
    case Interpolation::Linear: {
      const double f = ticksBetween(a.time, t) / ticksBetween(a.time, b.time);
      return a.value + (b.value - a.value) * f;
    }
    case Interpolation::Cubic:
      return evaluateCubic(a, b, t);
  }
  return a.value;
}

void AnimCurve::computeAutoTangents() {
  const size_t n = keys.size();
  std::vector<float> slopes(n, 0.0f);
  for (size_t i = 1; i + 1 < n; ++i) {
    const AnimKey& prev = keys[i - 1];
    const AnimKey& next = keys[i + 1];
    const float v = keys[i].value;
    const bool extremum = (v >= prev.value && v >= next.value) || (v <= prev.value && v <= next.value);
    const double span = ticksBetween(prev.time, next.time) / static_cast<double>(kTicksPerSecond);
    if (!extremum && span > 0) slopes[i] = static_cast<float>((next.value - prev.value) / span);
  }
  for (size_t i = 0; i + 1 < n; ++i) {
    if (!keys[i].autoTangent) continue;
    keys[i].rightSlope = slopes[i];
    keys[i].nextLeftSlope = slopes[i + 1];
  }
}

AnimCurveNode::Channel* AnimCurveNode::channel(const std::string& channelName) {
  for (Channel& c : channels) {
    if (c.name == channelName) return &c;
  }
  return nullptr;
}

double AnimCurveNode::channelValue(size_t i, Time t) const {
  if (i >= channels.size()) return 0;
  const Channel& c = channels[i];
  return c.curve && t != kTimeInfinite ? c.curve->evaluate(t) : c.value;
}

const AnimCurveNode* AnimLayer::find(const Object* target, const std::string& property) const {
  for (const AnimCurveNode* n : curveNodes) {
    if (n->target == target && n->property == property) return n;
  }
  return nullptr;
}

}  // namespace fbx
