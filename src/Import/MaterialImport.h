#pragma once
// Loads the textures that the materials of a scene's meshes name on their
// diffuse and normal-map channels into the TextureManager, from the game's
// texture folder, under their short file names. Only the file name part of
// the stored name counts: the file must lie in the texture folder.
#include <string>

namespace fbx {
class Node;
class Texture;
} // namespace fbx

// True when the stored file name ends in JPG, JPEG, BMP, PNG or TGA (any case).
bool isSupportedTextureFile(const std::string& fileName);

// Loads the textures of every mesh, NURBS and patch node below `node`.
void preloadTextures(const fbx::Node* node);

// Loads one texture; `diffuseChannel` picks the 32-bit expansion of RGB images.
void loadMaterialTexture(const fbx::Texture& texture, bool diffuseChannel);
