#include "Preview.h"

#include <FreeImage.h>

#include <algorithm>
#include <cmath>
#include <utility>

namespace assetgen {
namespace {

constexpr int kSupersample = 2;
constexpr double kAmbient = 0.35;
const Vec3 kSkyTop{0.30, 0.36, 0.48}, kSkyHorizon{0.72, 0.74, 0.78};
const Vec3 kSunDirection{0.45, 0.8, 0.35};  // towards the light

fbx::Matrix4 lookAt(Vec3 eye, Vec3 target) {
  const Vec3 f = normalized(target - eye);
  const Vec3 r = normalized(cross(f, {0, 1, 0}));
  const Vec3 u = cross(r, f);
  std::array<double, 16> m{r.x, u.x, -f.x, 0, r.y, u.y, -f.y, 0, r.z, u.z, -f.z, 0,
                           -dot(r, eye), -dot(u, eye), dot(f, eye), 1};
  return fbx::Matrix4(m);
}

}  // namespace

PreviewRenderer::PreviewRenderer(int width, int height, const PreviewView& view, std::string textureFolder)
    : width_(width * kSupersample),
      height_(height * kSupersample),
      outWidth_(width),
      outHeight_(height),
      view_(view),
      textureFolder_(std::move(textureFolder)),
      viewMatrix_(lookAt(view.eye, view.target)),
      focal_(0.5 * height * kSupersample / std::tan(view.fieldOfView * 3.14159265358979 / 360)),
      depth_(static_cast<size_t>(width_) * height_, 0.0),
      colour_(static_cast<size_t>(width_) * height_ * 3) {
  for (int y = 0; y < height_; ++y) {
    const double t = static_cast<double>(y) / height_;
    const Vec3 sky = kSkyHorizon + (kSkyTop - kSkyHorizon) * t;
    for (int x = 0; x < width_; ++x) {
      float* c = &colour_[(static_cast<size_t>(y) * width_ + x) * 3];
      c[0] = static_cast<float>(sky.x), c[1] = static_cast<float>(sky.y), c[2] = static_cast<float>(sky.z);
    }
  }
}

const PreviewRenderer::Texture& PreviewRenderer::texture(const fbx::Material* material) {
  const std::string file = material && !material->diffuseTextures().empty() ? material->diffuseTextures()[0]->fileName : "";
  auto found = textures_.find(file);
  if (found != textures_.end()) return found->second;
  Texture& t = textures_[file];
  const std::string path = textureFolder_ + "/" + file;
  FIBITMAP* loaded = file.empty() ? nullptr : FreeImage_Load(FreeImage_GetFileType(path.c_str(), 0), path.c_str(), 0);
  FIBITMAP* rgb = loaded ? FreeImage_ConvertTo24Bits(loaded) : nullptr;
  if (rgb) {
    t.width = static_cast<int>(FreeImage_GetWidth(rgb));
    t.height = static_cast<int>(FreeImage_GetHeight(rgb));
    t.rgb.resize(static_cast<size_t>(t.width) * t.height * 3);
    for (int y = 0; y < t.height; ++y) {
      const BYTE* line = FreeImage_GetScanLine(rgb, y);
      for (int x = 0; x < t.width; ++x) {
        uint8_t* p = &t.rgb[(static_cast<size_t>(y) * t.width + x) * 3];
        p[0] = line[x * 3 + FI_RGBA_RED], p[1] = line[x * 3 + FI_RGBA_GREEN], p[2] = line[x * 3 + FI_RGBA_BLUE];
      }
    }
    FreeImage_Unload(rgb);
  } else {  // missing texture: plain grey
    t = {1, 1, {180, 180, 180}};
  }
  if (loaded) FreeImage_Unload(loaded);
  return t;
}

void PreviewRenderer::draw(const fbx::Scene& scene, Vec3 offset) {
  const fbx::Matrix4 normalTurn = viewMatrix_.rotationPart();
  for (const fbx::Node* node : scene.nodes()) {
    const fbx::Mesh* mesh = node->mesh();
    if (!mesh || !mesh->layerNormals(0) || !mesh->layerUVs(0)) continue;
    const fbx::MaterialElement* slots = mesh->layerMaterials(0);
    for (int p = 0; p < mesh->polygonCount(); ++p) {
      const int slot = slots ? std::max(0, slots->materialOf(p)) : 0;
      const fbx::Material* material = slot < static_cast<int>(node->materials.size()) ? node->materials[slot] : nullptr;
      const bool glowing = material && material->emissiveColor != Vec3{};
      Vertex v[3];
      bool visible = true;
      for (int i = 0; i < 3 && visible; ++i) {
        const int corner = mesh->cornerIndex(p, i);
        const Vec3 q = viewMatrix_.transformPoint(mesh->controlPoints[mesh->polygonVertex(p, i)] + offset);
        if (-q.z < view_.nearPlane) visible = false;
        const double w = -q.z;
        v[i] = {width_ / 2.0 + focal_ * q.x / w, height_ / 2.0 + focal_ * q.y / w, 1 / w,
                normalized(normalTurn.transformVector(mesh->layerNormals(0)->vec3(corner))),
                mesh->layerUVs(0)->vec2(corner)};
      }
      if (visible) drawTriangle(v, texture(material), glowing);
    }
  }
}

void PreviewRenderer::drawTriangle(const Vertex v[3], const Texture& tex, bool glowing) {
  const double area = (v[1].x - v[0].x) * (v[2].y - v[0].y) - (v[2].x - v[0].x) * (v[1].y - v[0].y);
  if (std::fabs(area) < 1e-12) return;
  const int x0 = std::max(0, static_cast<int>(std::floor(std::min({v[0].x, v[1].x, v[2].x}))));
  const int x1 = std::min(width_ - 1, static_cast<int>(std::ceil(std::max({v[0].x, v[1].x, v[2].x}))));
  const int y0 = std::max(0, static_cast<int>(std::floor(std::min({v[0].y, v[1].y, v[2].y}))));
  const int y1 = std::min(height_ - 1, static_cast<int>(std::ceil(std::max({v[0].y, v[1].y, v[2].y}))));
  const Vec3 sun = normalized(viewMatrix_.rotationPart().transformVector(kSunDirection));
  for (int y = y0; y <= y1; ++y) {
    for (int x = x0; x <= x1; ++x) {
      const double px = x + 0.5, py = y + 0.5;
      double b[3];
      for (int i = 0; i < 3; ++i) {
        const Vertex& a = v[(i + 1) % 3];
        const Vertex& c = v[(i + 2) % 3];
        b[i] = ((c.x - a.x) * (py - a.y) - (px - a.x) * (c.y - a.y)) / area;
      }
      if (b[0] < 0 || b[1] < 0 || b[2] < 0) continue;
      const double invW = b[0] * v[0].invW + b[1] * v[1].invW + b[2] * v[2].invW;
      const size_t pixel = static_cast<size_t>(y) * width_ + x;
      if (invW <= depth_[pixel]) continue;
      depth_[pixel] = invW;
      double u = 0, t = 0;
      Vec3 n;
      for (int i = 0; i < 3; ++i) {
        const double weight = b[i] * v[i].invW / invW;
        u += v[i].uv.x * weight;
        t += v[i].uv.y * weight;
        n = n + v[i].normal * weight;
      }
      const int tx = ((static_cast<int>(std::floor(u * tex.width)) % tex.width) + tex.width) % tex.width;
      const int ty = ((static_cast<int>(std::floor(t * tex.height)) % tex.height) + tex.height) % tex.height;
      const uint8_t* texel = &tex.rgb[(static_cast<size_t>(ty) * tex.width + tx) * 3];
      const double light = glowing ? 1.0 : kAmbient + (1 - kAmbient) * std::fabs(dot(normalized(n), sun));
      float* out = &colour_[pixel * 3];
      for (int c = 0; c < 3; ++c) out[c] = static_cast<float>(texel[c] / 255.0 * light);
    }
  }
}

Image PreviewRenderer::finish() const {
  Image image{outWidth_, outHeight_, std::vector<uint8_t>(static_cast<size_t>(outWidth_) * outHeight_ * 3)};
  for (int y = 0; y < outHeight_; ++y) {
    for (int x = 0; x < outWidth_; ++x) {
      for (int c = 0; c < 3; ++c) {
        double sum = 0;
        for (int sy = 0; sy < kSupersample; ++sy) {
          for (int sx = 0; sx < kSupersample; ++sx) {
            sum += colour_[((static_cast<size_t>(y) * kSupersample + sy) * width_ + x * kSupersample + sx) * 3 + c];
          }
        }
        const double value = sum / (kSupersample * kSupersample);
        image.rgb[(static_cast<size_t>(y) * outWidth_ + x) * 3 + c] =
            static_cast<uint8_t>(std::lround(std::clamp(value, 0.0, 1.0) * 255));
      }
    }
  }
  return image;
}

}  // namespace assetgen
