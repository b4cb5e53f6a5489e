// A small software renderer for looking at generated FBX files without the
// game: textured triangles with a z-buffer, one directional light plus
// ambient, glowing surfaces at full brightness, 2 × 2 supersampling. Used
// for the preview pictures in docs/; not part of the game's content.
#pragma once

#include <map>
#include <string>

#include "Fbx/Scene.h"
#include "Geometry.h"
#include "TextureImages.h"

namespace assetgen {

struct PreviewView {
  Vec3 eye, target;
  double fieldOfView = 50;  // degrees, vertical
  double nearPlane = 0.05;  // metres; triangles reaching nearer are skipped
};

class PreviewRenderer {
 public:
  // `textureFolder` holds the files the materials name.
  PreviewRenderer(int width, int height, const PreviewView& view, std::string textureFolder);

  // Draws every mesh of `scene`, moved by `offset`.
  void draw(const fbx::Scene& scene, Vec3 offset = {});
  // The picture, downsampled to width × height.
  Image finish() const;

 private:
  struct Texture {
    int width = 0, height = 0;
    std::vector<uint8_t> rgb;  // row 0 = v = 0
  };
  struct Vertex {
    double x, y, invW;  // screen position and 1 / w
    Vec3 normal;
    Vec2 uv;
  };
  const Texture& texture(const fbx::Material* material);
  void drawTriangle(const Vertex v[3], const Texture& tex, bool glowing);

  int width_, height_;  // supersampled size
  int outWidth_, outHeight_;
  PreviewView view_;
  std::string textureFolder_;
  fbx::Matrix4 viewMatrix_;
  double focal_;
  std::vector<double> depth_;
  std::vector<float> colour_;  // 3 per pixel
  std::map<std::string, Texture> textures_;
};

}  // namespace assetgen
