#include "Report.h"

#include <cmath>
#include <cstdio>
#include <string>
#include <unordered_map>
#include <vector>

#include "Fbx/Evaluator.h"

namespace fbxinfo {

namespace {

using fbx::Node;

struct Visit {
  const Node* node;
  int depth;
};

// Depth-first pre-order from the root, children in file order.
std::vector<Visit> preorderWithDepth(const fbx::Scene& scene) {
  std::vector<Visit> order;
  std::vector<Visit> stack = {{scene.rootNode(), 0}};
  while (!stack.empty()) {
    const Visit v = stack.back();
    stack.pop_back();
    order.push_back(v);
    for (auto it = v.node->children.rbegin(); it != v.node->children.rend(); ++it) {
      stack.push_back({*it, v.depth + 1});
    }
  }
  return order;
}

std::vector<const Node*> preorder(const fbx::Scene& scene) {
  std::vector<const Node*> nodes;
  for (const Visit& v : preorderWithDepth(scene)) nodes.push_back(v.node);
  return nodes;
}

const char* attributeName(fbx::AttributeType t) {
  switch (t) {
    case fbx::AttributeType::None: return "none";
    case fbx::AttributeType::Null: return "null";
    case fbx::AttributeType::Mesh: return "mesh";
    case fbx::AttributeType::Camera: return "camera";
    case fbx::AttributeType::Light: return "light";
    case fbx::AttributeType::Skeleton: return "skeleton";
    case fbx::AttributeType::Nurbs: return "nurbs";
    case fbx::AttributeType::Patch: return "patch";
    default: return "other";
  }
}

const char* mappingName(const fbx::MappingMode* m) {
  if (!m) return nullptr;
  switch (*m) {
    case fbx::MappingMode::ByControlPoint: return "by_control_point";
    case fbx::MappingMode::ByPolygonVertex: return "by_polygon_vertex";
    case fbx::MappingMode::ByPolygon: return "by_polygon";
    case fbx::MappingMode::ByEdge: return "by_edge";
    case fbx::MappingMode::AllSame: return "all_same";
    default: return nullptr;
  }
}

// Length of the valid UTF-8 sequence at s[i], or 0.
size_t utf8Length(const std::string& s, size_t i) {
  const auto b = static_cast<unsigned char>(s[i]);
  const size_t n = b < 0x80 ? 1 : (b >> 5) == 6 ? 2 : (b >> 4) == 14 ? 3 : (b >> 3) == 30 ? 4 : 0;
  if (n == 0 || i + n > s.size()) return 0;
  for (size_t k = 1; k < n; ++k) {
    if ((static_cast<unsigned char>(s[i + k]) >> 6) != 2) return 0;
  }
  return n;
}

class Json {
 public:
  explicit Json(std::ostream& out) : out_(out) {}

  void string(const std::string& s) {
    out_ << '"';
    for (size_t i = 0; i < s.size();) {
      const auto c = static_cast<unsigned char>(s[i]);
      const size_t n = utf8Length(s, i);
      if (c == '"' || c == '\\') {
        out_ << '\\' << s[i];
      } else if (c < 0x20 || n == 0) {
        char buf[8];
        std::snprintf(buf, sizeof buf, "\\u%04x", c);  // stray bytes read as Latin-1
        out_ << buf;
      } else {
        out_.write(&s[i], static_cast<std::streamsize>(n));
        i += n;
        continue;
      }
      ++i;
    }
    out_ << '"';
  }

  void number(double v) {
    if (!std::isfinite(v)) {
      out_ << "null";
      return;
    }
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.17g", v);
    out_ << buf;
  }

  void vec3(fbx::Vec3 v) {
    out_ << '[';
    number(v.x);
    out_ << ',';
    number(v.y);
    out_ << ',';
    number(v.z);
    out_ << ']';
  }

  void nullableString(const char* s) {
    if (s) {
      string(s);
    } else {
      out_ << "null";
    }
  }

  Json& key(const char* k, bool first = false) {
    if (!first) out_ << ", ";
    out_ << '"' << k << "\": ";
    return *this;
  }

  std::ostream& raw() { return out_; }

 private:
  std::ostream& out_;
};

// Rest-pose global transforms of nodes in pre-order, each from its parent's
// (met earlier), so that a deep chain costs one step per node.
std::unordered_map<const Node*, fbx::Matrix4> globalTransforms(const std::vector<const Node*>& preorderNodes) {
  std::unordered_map<const Node*, fbx::Matrix4> globals;
  for (const Node* n : preorderNodes) {
    auto parent = n->parent ? globals.find(n->parent) : globals.end();
    const fbx::Matrix4 parentGlobal = parent == globals.end() ? fbx::Matrix4() : parent->second;
    const fbx::Vec3 parentScaling = n->parent ? n->parent->transform.scaling : fbx::Vec3{1, 1, 1};
    globals[n] = fbx::globalMatrix(parentGlobal, parentScaling, n->transform);
  }
  return globals;
}

void writeNode(Json& j, const Node& n, const fbx::Matrix4& global) {
  j.raw() << "{";
  j.key("name", true).string(n.name);
  j.key("parent");
  if (n.parent) {
    j.string(n.parent->name);
  } else {
    j.raw() << "null";
  }
  j.key("attribute").string(attributeName(n.attributeType()));
  j.key("translation").vec3(n.transform.translation);
  j.key("rotation").vec3(n.transform.rotation);
  j.key("scaling").vec3(n.transform.scaling);
  j.key("global").raw() << '[';
  for (int i = 0; i < 16; ++i) {
    if (i) j.raw() << ',';
    j.number(global[i]);
  }
  j.raw() << "]}";
}

void writeMesh(Json& j, const Node& n) {
  const fbx::Mesh& m = *n.mesh();
  j.raw() << "{";
  j.key("node", true).string(n.name);
  j.key("polygons").raw() << m.polygonCount();
  j.key("polygon_vertices").raw() << m.polygonVertexCount();
  j.key("control_points").raw() << m.controlPoints.size();
  j.key("layers").raw() << '[';
  for (int l = 0; l < static_cast<int>(m.layers.size()); ++l) {
    auto mode = [](const fbx::LayerElement* e) { return e ? &e->mapping : nullptr; };
    const fbx::MaterialElement* materials = m.layerMaterials(l);
    if (l) j.raw() << ", ";
    j.raw() << "{";
    j.key("normals", true).nullableString(mappingName(mode(m.layerNormals(l))));
    j.key("uv").nullableString(mappingName(mode(m.layerUVs(l))));
    j.key("tangents").nullableString(mappingName(mode(m.layerTangents(l))));
    j.key("binormals").nullableString(mappingName(mode(m.layerBinormals(l))));
    j.key("materials").nullableString(mappingName(materials ? &materials->mapping : nullptr));
    j.raw() << "}";
  }
  j.raw() << ']';
  j.key("materials").raw() << '[';
  for (size_t i = 0; i < n.materials.size(); ++i) {
    if (i) j.raw() << ", ";
    j.string(n.materials[i]->name);
  }
  j.raw() << "]}";
}

void writeTextureList(Json& j, const std::vector<fbx::Texture*>& textures) {
  j.raw() << '[';
  for (size_t i = 0; i < textures.size(); ++i) {
    if (i) j.raw() << ", ";
    j.string(textures[i]->fileName);
  }
  j.raw() << ']';
}

void writeLight(Json& j, const Node& n) {
  const fbx::Light& l = *n.light();
  j.raw() << "{";
  j.key("node", true).string(n.name);
  j.key("type").raw() << static_cast<int>(l.lightType);
  j.key("color").vec3(l.color);
  j.key("intensity").number(l.intensity);
  j.key("inner_angle").number(l.innerAngle);
  j.key("outer_angle").number(l.outerAngle);
  j.raw() << "}";
}

void writeCamera(Json& j, const Node& n) {
  const fbx::Camera& c = *n.camera();
  j.raw() << "{";
  j.key("node", true).string(n.name);
  j.key("projection").string(c.projection == fbx::ProjectionType::Perspective ? "perspective" : "orthographic");
  j.key("aperture_mode").raw() << static_cast<int>(c.apertureMode);
  j.key("field_of_view").number(c.fieldOfView);
  j.key("vertical_field_of_view").number(c.verticalFieldOfView());
  j.key("focal_length").number(c.focalLength);
  j.key("near").number(c.nearPlane);
  j.key("far").number(c.farPlane);
  j.key("film_width").number(c.filmWidth);
  j.key("film_height").number(c.filmHeight);
  j.raw() << "}";
}

// Writes `"name": [ item, item ]` for the nodes that pass `filter`.
template <typename Filter, typename Write>
void nodeArray(Json& j, const char* name, const std::vector<const Node*>& nodes, Filter filter, Write write) {
  j.key(name, true).raw() << "[";
  bool first = true;
  for (const Node* n : nodes) {
    if (!filter(*n)) continue;
    j.raw() << (first ? "\n    " : ",\n    ");
    first = false;
    write(j, *n);
  }
  j.raw() << "]";
}

}  // namespace

void writeJson(const fbx::Scene& scene, std::ostream& out) {
  Json j(out);
  const std::vector<const Node*> nodes = preorder(scene);
  const auto globals = globalTransforms(nodes);
  out << "{ ";
  j.key("format", true).string(scene.sourceFormat == fbx::Format::Binary ? "binary" : "ascii");
  j.key("version").raw() << scene.sourceVersion;
  out << ",\n  ";
  nodeArray(j, "nodes", nodes, [](const Node&) { return true; },
            [&](Json& js, const Node& n) { writeNode(js, n, globals.at(&n)); });
  out << ",\n  ";
  nodeArray(j, "meshes", nodes, [](const Node& n) { return n.mesh() != nullptr; }, writeMesh);
  out << ",\n  ";
  j.key("materials", true).raw() << "[";
  for (size_t i = 0; i < scene.materials().size(); ++i) {
    const fbx::Material& m = *scene.materials()[i];
    out << (i ? ",\n    " : "\n    ") << "{";
    j.key("name", true).string(m.name);
    j.key("diffuse");
    writeTextureList(j, m.diffuseTextures());
    j.key("normal_map");
    writeTextureList(j, m.normalMapTextures());
    out << "}";
  }
  out << "],\n  ";
  nodeArray(j, "lights", nodes, [](const Node& n) { return n.light() != nullptr; }, writeLight);
  out << ",\n  ";
  nodeArray(j, "cameras", nodes, [](const Node& n) { return n.camera() != nullptr; }, writeCamera);
  out << ",\n  ";
  j.key("anim_stacks", true).raw() << "[";
  for (size_t i = 0; i < scene.animStacks().size(); ++i) {
    const fbx::AnimStack& s = *scene.animStacks()[i];
    out << (i ? ",\n    " : "\n    ") << "{";
    j.key("name", true).string(s.name);
    j.key("layers").raw() << s.layerCount();
    j.key("start").number(fbx::toSeconds(s.localStart));
    j.key("stop").number(fbx::toSeconds(s.localStop));
    out << "}";
  }
  out << "] }\n";
}

void writeSummary(const fbx::Scene& scene, std::ostream& out) {
  out << (scene.sourceFormat == fbx::Format::Binary ? "binary" : "ascii") << " FBX " << scene.sourceVersion;
  if (!scene.creator.empty()) out << ", written by " << scene.creator;
  out << "\n\nNodes:\n";
  for (const auto& [n, depth] : preorderWithDepth(scene)) {
    const fbx::Vec3 t = n->transform.translation;
    out << std::string(2 * static_cast<size_t>(depth) + 2, ' ') << n->name << " [" << attributeName(n->attributeType()) << "] at ("
        << t.x << ", " << t.y << ", " << t.z << ")";
    if (const fbx::Mesh* m = n->mesh()) {
      out << ": " << m->polygonCount() << " polygons, " << m->controlPoints.size() << " control points, "
          << m->layers.size() << " layers, " << n->materials.size() << " materials";
    }
    out << "\n";
  }
  out << "\nMaterials: " << scene.materials().size() << "\n";
  for (const fbx::Material* m : scene.materials()) {
    out << "  " << m->name;
    for (const fbx::Texture* t : m->diffuseTextures()) out << "  diffuse " << t->fileName;
    for (const fbx::Texture* t : m->normalMapTextures()) out << "  normal map " << t->fileName;
    out << "\n";
  }
  out << "Lights: " << scene.lights().size() << ", cameras: " << scene.cameras().size() << "\n";
  out << "Animation stacks: " << scene.animStacks().size() << "\n";
  for (const fbx::AnimStack* s : scene.animStacks()) {
    out << "  " << s->name << ": " << s->layerCount() << " layers, " << fbx::toSeconds(s->localStart) << " s to "
        << fbx::toSeconds(s->localStop) << " s\n";
  }
}

}  // namespace fbxinfo
