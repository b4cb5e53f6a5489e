#include "Import/MaterialImport.h"

#include "Engine/Base/Config.h"
#include "Engine/Render/TextureManager.h"
#include "Fbx/Scene.h"
#include "Import/MeshExtraction.h"

#include <algorithm>
#include <cctype>
#include <iostream>

namespace {

bool endsWith(const std::string& text, const std::string& ending)
{
    return text.size() >= ending.size() && text.compare(text.size() - ending.size(), ending.size(), ending) == 0;
}

bool hasMaterialGeometry(const fbx::Node& node)
{
    switch (node.attributeType()) {
    case fbx::AttributeType::Mesh:
    case fbx::AttributeType::Nurbs:
    case fbx::AttributeType::Patch:
        return true;
    default:
        return false;
    }
}

} // namespace

bool isSupportedTextureFile(const std::string& fileName)
{
    std::string upper = fileName;
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    for (const char* ending : {"JPG", "JPEG", "BMP", "PNG", "TGA"}) {
        if (endsWith(upper, ending))
            return true;
    }
    return false;
}

void preloadTextures(const fbx::Node* node)
{
    if (!node)
        return;
    if (hasMaterialGeometry(*node)) {
        for (const fbx::Material* material : node->materials) {
            for (const fbx::Texture* texture : material->diffuseTextures())
                loadMaterialTexture(*texture, true);
            for (const fbx::Texture* texture : material->normalMapTextures())
                loadMaterialTexture(*texture, false);
        }
    }
    for (const fbx::Node* child : node->children)
        preloadTextures(child);
}

void loadMaterialTexture(const fbx::Texture& texture, bool diffuseChannel)
{
    TextureManager* textures = TextureManager::getInstance();
    if (textures->getTexture(texture.name) != noTexture)
        return;
    if (!isSupportedTextureFile(texture.fileName)) {
        std::cout << "File type '" << texture.fileName << "' is unsupported" << std::endl;
        return;
    }
    std::string shortName = fileNamePart(texture.fileName);
    textures->loadTexture(shortName, config::textureFolder + shortName, true, textures->materialAnisotropy(), false,
                          diffuseChannel);
    if (textures->getTexture(shortName) == noTexture)
        std::cout << "--- Failed to load texture (" << shortName << "). ---" << std::endl;
}
