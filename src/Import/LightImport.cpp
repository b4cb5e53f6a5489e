#include "Import/LightImport.h"

#include "Engine/Lights/LightManager.h"
#include "Engine/Lights/PointLight.h"
#include "Engine/Lights/SpotLight.h"
#include "Fbx/Scene.h"

#include <algorithm>
#include <iostream>

namespace {

Vec3 toVec3(const fbx::Vec3& v)
{
    return {static_cast<float>(v.x), static_cast<float>(v.y), static_cast<float>(v.z)};
}

void logImported(const fbx::Node& node)
{
    std::cout << "Imported light: \"" << node.name << "\"" << std::endl;
}

} // namespace

void importLight(const fbx::Node& node)
{
    const fbx::Light* light = node.light();
    if (light && light->lightType == fbx::LightType::Spot)
        importSpotLight(*light, node);
    else if (light && light->lightType == fbx::LightType::Point)
        importPointLight(*light, node);
    else
        std::cout << "Did not import (non-spotlight) light: \"" << node.name << "\"" << std::endl;
}

void importSpotLight(const fbx::Light& light, const fbx::Node& node)
{
    float outer = static_cast<float>(std::max(light.outerAngle, light.innerAngle));
    float inner = static_cast<float>(std::min(light.outerAngle, light.innerAngle));
    auto* spot = new SpotLight(toVec3(node.transform.translation), toVec3(node.transform.rotation),
                               toVec3(light.color), node.name, inner, outer,
                               {spotRange, spotConstant, spotLinear, spotQuadratic});
    LightManager::getInstance()->addLight(spot);
    logImported(node);
}

void importPointLight(const fbx::Light& light, const fbx::Node& node)
{
    auto* point = new PointLight(toVec3(node.transform.translation), toVec3(light.color), node.name,
                                 {pointRange, pointConstant, pointLinear, pointQuadratic});
    LightManager::getInstance()->addLight(point);
    logImported(node);
}
