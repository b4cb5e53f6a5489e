// Bits of an animation curve's KeyAttrFlags and the scale of its stored
// tangent weights, shared by the reader and the writer.
#pragma once

#include <cstdint>

namespace fbx::detail {

constexpr int32_t kConstant = 0x00000002;
constexpr int32_t kLinear = 0x00000004;  // also what remains when neither constant nor cubic is set
constexpr int32_t kCubic = 0x00000008;
constexpr int32_t kConstantNextOrAuto = 0x00000100;
constexpr int32_t kTangentUser = 0x00000400;
constexpr int32_t kTangentBreak = 0x00000800;
constexpr int32_t kRightWeighted = 0x01000000;
constexpr int32_t kNextLeftWeighted = 0x02000000;
// Weight tokens are stored as 16-bit integers over this divider.
constexpr double kWeightDivider = 9999.0;

}  // namespace fbx::detail
