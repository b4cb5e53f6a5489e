#pragma once
// Turns the level's FBX lights into engine lights of the LightManager. A
// light is placed from its node's local transform, so it belongs directly
// below the scene root (or below untransformed groups).
namespace fbx {
class Light;
class Node;
} // namespace fbx

// Attenuation of imported lights: (range, constant, linear, quadratic).
constexpr float spotRange = 325.0f, spotConstant = 1.0f, spotLinear = 0.014f, spotQuadratic = 0.0007f;
constexpr float pointRange = 160.0f, pointConstant = 1.0f, pointLinear = 0.027f, pointQuadratic = 0.0028f;

void importLight(const fbx::Node& node);
void importSpotLight(const fbx::Light& light, const fbx::Node& node);
void importPointLight(const fbx::Light& light, const fbx::Node& node);
