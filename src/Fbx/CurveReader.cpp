// Reading AnimationCurve records: key times and values plus the run-length
// coded key attributes (interpolation, tangents, weights).
#include <algorithm>
#include <cstring>
#include <type_traits>
#include <variant>

#include "Fbx/KeyAttrFlags.h"
#include "Fbx/SceneReader.h"

namespace fbx::detail {

namespace {

uint32_t floatBits(float f) {
  uint32_t bits;
  std::memcpy(&bits, &f, sizeof bits);
  return bits;
}

float floatFromBits(uint32_t bits) {
  float f;
  std::memcpy(&f, &bits, sizeof f);
  return f;
}

// The array of a child value as elements of type T: the stored array itself
// when it already has that type (binary files), otherwise a converted copy
// kept in `converted`.
template <typename T>
const std::vector<T>& arrayOf(const Property* p, std::vector<T>& converted) {
  if (p) {
    if (const auto* same = std::get_if<std::vector<T>>(&p->storage())) return *same;
    if constexpr (std::is_same_v<T, int64_t>) converted = p->toInt64s();
    if constexpr (std::is_same_v<T, int32_t>) converted = p->toInt32s();
    if constexpr (std::is_same_v<T, float>) converted = p->toFloats();
  }
  return converted;
}

// Attribute data; ASCII files from 7.2 on store the float bit patterns as
// integers (an array holding real numbers is taken as written).
const std::vector<float>& attributeData(const ReadContext& ctx, const Record& curve, std::vector<float>& converted) {
  const Property* p = curve.childValue("KeyAttrDataFloat");
  const bool integers = p && (p->type() == 'l' || p->type() == 'i');
  if (integers && ctx.document->format == Format::Ascii && ctx.document->version >= 7200) {
    for (int64_t v : p->toInt64s()) converted.push_back(floatFromBits(static_cast<uint32_t>(v)));
    return converted;
  }
  return arrayOf(p, converted);
}

void applyAttribute(AnimKey& key, int32_t flags, const float* data) {
  if (flags & kConstant) {
    key.interpolation = Interpolation::Constant;
    key.constantNext = (flags & kConstantNextOrAuto) != 0;
  } else if (flags & kCubic) {
    key.interpolation = Interpolation::Cubic;
    key.autoTangent = (flags & (kTangentUser | kTangentBreak)) == 0;
  } else {
    key.interpolation = Interpolation::Linear;
  }
  key.rightSlope = data[0];
  key.nextLeftSlope = data[1];
  const uint32_t weights = floatBits(data[2]);
  if (flags & kRightWeighted) key.rightWeight = static_cast<float>((weights & 0xffff) / kWeightDivider);
  if (flags & kNextLeftWeighted) key.nextLeftWeight = static_cast<float>((weights >> 16) / kWeightDivider);
}

}  // namespace

AnimCurve* readCurve(ReadContext& ctx, Record& record) {
  AnimCurve* curve = ctx.scene->addCurve();
  if (const Property* d = record.childValue("Default")) curve->defaultValue = d->toDouble();
  std::vector<int64_t> convertedTimes;
  std::vector<float> convertedValues, convertedData;
  std::vector<int32_t> convertedFlags, convertedCounts;
  const auto& times = arrayOf(record.childValue("KeyTime"), convertedTimes);
  const auto& values = arrayOf(record.childValue("KeyValueFloat"), convertedValues);
  if (times.size() != values.size()) {
    ctx.fail(record.offset, "animation curve has " + std::to_string(times.size()) + " key times but " +
                                std::to_string(values.size()) + " values");
    return nullptr;
  }
  const auto& flags = arrayOf(record.childValue("KeyAttrFlags"), convertedFlags);
  const auto& counts = arrayOf(record.childValue("KeyAttrRefCount"), convertedCounts);
  const auto& data = attributeData(ctx, record, convertedData);
  if (flags.size() != counts.size() || data.size() != 4 * counts.size()) {
    ctx.fail(record.offset, "animation curve key attributes disagree: " + std::to_string(flags.size()) +
                                " flags, " + std::to_string(counts.size()) + " reference counts, " +
                                std::to_string(data.size()) + " data values");
    return nullptr;
  }
  curve->keys.resize(times.size());
  size_t key = 0;
  for (size_t a = 0; a < counts.size(); ++a) {
    for (int32_t n = 0; n < counts[a] && key < times.size(); ++n, ++key) {
      applyAttribute(curve->keys[key], flags[a], &data[4 * a]);
    }
  }
  if (key != times.size() && !counts.empty()) {
    ctx.fail(record.offset, "animation curve key attributes cover " + std::to_string(key) + " of " +
                                std::to_string(times.size()) + " keys");
    return nullptr;
  }
  for (size_t i = 0; i < times.size(); ++i) {
    curve->keys[i].time = ctx.time(times[i]);
    curve->keys[i].value = values[i];
    if (i > 0 && curve->keys[i].time < curve->keys[i - 1].time) {
      ctx.fail(record.offset, "animation curve key times decrease at key " + std::to_string(i));
      return nullptr;
    }
  }
  curve->computeAutoTangents();
  return curve;
}

}  // namespace fbx::detail
