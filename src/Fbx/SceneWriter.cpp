// Turning a Scene into the FBX 7.x record tree: header, settings,
// definitions, objects, connections and takes.
#include <fstream>
#include <map>

#include "Fbx/Writer.h"
#include "Fbx/WriterRecords.h"

namespace fbx {

namespace {

constexpr int64_t kFirstObjectId = 1000;
constexpr int64_t kDocumentId = 999;
const std::string kFileId = "\x28\xb3\x2a\xeb\xb6\x24\xcc\xc2\xbf\xc8\xb0\x2a\xa9\x2b\xfc\xf1";
const char* const kCreationTime = "2000-01-01 00:00:00:000";

using detail::f64;
using detail::i32;
using detail::i64;
using detail::record;
using detail::str;

// "Name\x00\x01Class": the binary object-name convention.
std::string className(const std::string& name, const char* cls) { return name + std::string("\x00\x01", 2) + cls; }

// Builder for a Properties70 block.
class Props {
 public:
  Props& vec3(const char* name, const char* type, const char* label, Vec3 v, const char* flags = "") {
    add(name, type, label, flags, {f64(v.x), f64(v.y), f64(v.z)});
    return *this;
  }
  Props& number(const char* name, double v, const char* flags = "") {
    add(name, "double", "Number", flags, {f64(v)});
    return *this;
  }
  Props& integer(const char* name, const char* type, int64_t v) {
    add(name, type, "", "", {i32(v)});
    return *this;
  }
  Props& time(const char* name, Time v) {
    add(name, "KTime", "Time", "", {i64(v)});
    return *this;
  }
  Props& text(const char* name, const std::string& v) {
    add(name, "KString", "", "", {str(v)});
    return *this;
  }
  Record build() { return record("Properties70", {}, std::move(records_)); }

 private:
  void add(const std::string& name, const char* type, const char* label, const char* flags,
           std::vector<Property> values) {
    std::vector<Property> p = {str(name), str(type), str(label), str(flags)};
    for (Property& v : values) p.push_back(std::move(v));
    records_.push_back(record("P", std::move(p)));
  }
  std::vector<Record> records_;
};

class SceneWriter {
 public:
  SceneWriter(const Scene& scene, const WriteOptions& options) : scene_(scene), options_(options) {}

  RecordDocument run() {
    RecordDocument doc;
    doc.format = options_.format;
    doc.version = options_.version;
    assignIds();
    auto& top = doc.root.children;
    top.push_back(headerExtension());
    if (options_.format == Format::Binary) {
      top.push_back(record("FileId", {Property('R', kFileId)}));
      top.push_back(record("CreationTime", {str(kCreationTime)}));
      top.push_back(record("Creator", {str(options_.creator)}));
    }
    top.push_back(globalSettings());
    top.push_back(documents());
    top.push_back(record("References"));
    top.push_back(definitions());
    top.push_back(objects());
    top.push_back(connections());
    top.push_back(takes());
    return doc;
  }

 private:
  void assignIds() {
    int64_t next = kFirstObjectId;
    auto give = [&](const Object* o) { ids_[o] = next++; };
    for (const NodeAttribute* a : scene_.attributes()) give(a);
    for (const Node* n : scene_.nodes()) give(n);
    for (const Material* m : scene_.materials()) give(m);
    for (const Texture* t : scene_.textures()) give(t);
    for (const AnimStack* s : scene_.animStacks()) {
      give(s);
      for (const AnimLayer* l : s->layers) give(l);
    }
    for (const AnimCurveNode* n : scene_.curveNodes()) give(n);
    for (const AnimCurve* c : scene_.curves()) give(c);
    ids_[scene_.rootNode()] = 0;
  }

  int64_t id(const Object* o) const {
    auto it = ids_.find(o);
    return it == ids_.end() ? -1 : it->second;
  }

  Record headerExtension() const {
    std::vector<Record> stamp;
    const char* fields[] = {"Year", "Month", "Day", "Hour", "Minute", "Second", "Millisecond"};
    const int values[] = {2000, 1, 1, 0, 0, 0, 0};
    stamp.push_back(record("Version", {i32(1000)}));
    for (int i = 0; i < 7; ++i) stamp.push_back(record(fields[i], {i32(values[i])}));
    return record("FBXHeaderExtension", {},
                  {record("FBXHeaderVersion", {i32(1003)}), record("FBXVersion", {i32(options_.version)}),
                   record("EncryptionType", {i32(0)}), record("CreationTimeStamp", {}, std::move(stamp)),
                   record("Creator", {str(options_.creator)})});
  }

  Record globalSettings() const {
    const GlobalSettings& g = scene_.globalSettings;
    Props p;
    p.integer("UpAxis", "int", g.upAxis).integer("UpAxisSign", "int", g.upAxisSign);
    p.integer("FrontAxis", "int", g.frontAxis).integer("FrontAxisSign", "int", g.frontAxisSign);
    p.integer("CoordAxis", "int", g.coordAxis).integer("CoordAxisSign", "int", g.coordAxisSign);
    p.number("UnitScaleFactor", g.unitScaleFactor).text("DefaultCamera", g.defaultCamera);
    p.integer("TimeMode", "enum", g.timeMode).number("CustomFrameRate", g.customFrameRate);
    p.time("TimeSpanStart", g.timeSpanStart).time("TimeSpanStop", g.timeSpanStop);
    return record("GlobalSettings", {}, {record("Version", {i32(1000)}), p.build()});
  }

  Record documents() const {
    Props p;
    p.text("ActiveAnimStackName", scene_.animStacks().empty() ? "" : scene_.animStacks().front()->name);
    Record doc = record("Document", {i64(kDocumentId), str("Scene"), str("Scene")},
                        {p.build(), record("RootNode", {i64(0)})});
    return record("Documents", {}, {record("Count", {i32(1)}), std::move(doc)});
  }

  Record definitions() const {
    std::vector<Record> types;
    auto add = [&](const char* name, size_t count) {
      if (count) types.push_back(record("ObjectType", {str(name)}, {record("Count", {i32(count)})}));
    };
    add("NodeAttribute", scene_.attributes().size() - scene_.meshes().size());
    add("Geometry", scene_.meshes().size());
    add("Model", scene_.nodes().size());
    add("Material", scene_.materials().size());
    add("Texture", scene_.textures().size());
    add("AnimationStack", scene_.animStacks().size());
    size_t layers = 0;
    for (const AnimStack* s : scene_.animStacks()) layers += s->layers.size();
    add("AnimationLayer", layers);
    add("AnimationCurveNode", scene_.curveNodes().size());
    add("AnimationCurve", scene_.curves().size());
    std::vector<Record> children = {record("Version", {i32(100)}), record("Count", {i32(types.size())})};
    for (Record& t : types) children.push_back(std::move(t));
    return record("Definitions", {}, std::move(children));
  }

  Record objects() const {
    std::vector<Record> out;
    for (const NodeAttribute* a : scene_.attributes()) out.push_back(attributeRecord(*a));
    for (const Node* n : scene_.nodes()) out.push_back(modelRecord(*n));
    for (const Material* m : scene_.materials()) out.push_back(materialRecord(*m));
    for (const Texture* t : scene_.textures()) out.push_back(textureRecord(*t));
    for (const AnimStack* s : scene_.animStacks()) {
      out.push_back(stackRecord(*s));
      for (const AnimLayer* l : s->layers) out.push_back(layerRecord(*l));
    }
    for (const AnimCurveNode* n : scene_.curveNodes()) out.push_back(curveNodeRecord(*n));
    for (const AnimCurve* c : scene_.curves()) out.push_back(curveRecord(*c));
    return record("Objects", {}, std::move(out));
  }

  Record objectRecord(const char* recordName, const Object& o, const char* cls, const char* subclass,
                      std::vector<Record> children) const {
    return record(recordName, {i64(id(&o)), str(className(o.name, cls)), str(subclass)}, std::move(children));
  }

  static const char* modelSubclass(const Node& n) {
    switch (n.attributeType()) {
      case AttributeType::Mesh: return "Mesh";
      case AttributeType::Camera: return "Camera";
      case AttributeType::Light: return "Light";
      case AttributeType::Skeleton: return "LimbNode";
      default: return "Null";
    }
  }

  Record modelRecord(const Node& n) const {
    const NodeTransform& t = n.transform;
    Props p;
    p.vec3("Lcl Translation", "Lcl Translation", "", t.translation, "A");
    p.vec3("Lcl Rotation", "Lcl Rotation", "", t.rotation, "A");
    p.vec3("Lcl Scaling", "Lcl Scaling", "", t.scaling, "A");
    p.vec3("RotationOffset", "Vector3D", "Vector", t.rotationOffset);
    p.vec3("RotationPivot", "Vector3D", "Vector", t.rotationPivot);
    p.vec3("ScalingOffset", "Vector3D", "Vector", t.scalingOffset);
    p.vec3("ScalingPivot", "Vector3D", "Vector", t.scalingPivot);
    p.vec3("PreRotation", "Vector3D", "Vector", t.preRotation);
    p.vec3("PostRotation", "Vector3D", "Vector", t.postRotation);
    p.integer("RotationOrder", "enum", static_cast<int>(t.rotationOrder));
    p.integer("RotationActive", "bool", t.rotationActive ? 1 : 0);
    p.integer("InheritType", "enum", static_cast<int>(t.inheritType));
    p.vec3("GeometricTranslation", "Vector3D", "Vector", t.geometricTranslation);
    p.vec3("GeometricRotation", "Vector3D", "Vector", t.geometricRotation);
    p.vec3("GeometricScaling", "Vector3D", "Vector", t.geometricScaling);
    p.number("Visibility", n.visibility ? 1 : 0, "A");
    return objectRecord("Model", n, "Model", modelSubclass(n),
                        {record("Version", {i32(232)}), p.build(), record("Shading", {Property('C', int64_t{'Y'})}),
                         record("Culling", {str("CullingOff")})});
  }

  Record attributeRecord(const NodeAttribute& a) const {
    switch (a.type()) {
      case AttributeType::Mesh: return meshRecord(static_cast<const Mesh&>(a));
      case AttributeType::Camera: return cameraRecord(static_cast<const Camera&>(a));
      case AttributeType::Light: return lightRecord(static_cast<const Light&>(a));
      case AttributeType::Skeleton: {
        const auto& s = static_cast<const Skeleton&>(a);
        static const char* const kinds[] = {"Root", "Limb", "LimbNode", "Effector"};
        Props p;
        p.number("Size", s.size).number("LimbLength", s.limbLength);
        return objectRecord("NodeAttribute", a, "NodeAttribute", kinds[static_cast<int>(s.skeletonType)],
                            {p.build(), record("TypeFlags", {str("Skeleton")})});
      }
      case AttributeType::Null: {
        Props p;
        p.number("Size", static_cast<const NullAttribute&>(a).size);
        return objectRecord("NodeAttribute", a, "NodeAttribute", "Null",
                            {p.build(), record("TypeFlags", {str("Null")})});
      }
      default: {
        const auto& o = static_cast<const OtherAttribute&>(a);
        const bool geometry = a.type() == AttributeType::Nurbs || a.type() == AttributeType::Patch;
        return objectRecord(geometry ? "Geometry" : "NodeAttribute", a, geometry ? "Geometry" : "NodeAttribute",
                            o.subclass.c_str(), {});
      }
    }
  }

  Record cameraRecord(const Camera& c) const {
    Props p;
    p.vec3("Position", "Vector", "", c.position).vec3("UpVector", "Vector", "", c.upVector);
    p.vec3("InterestPosition", "Vector", "", c.interestPosition).number("Roll", c.roll, "A");
    p.number("NearPlane", c.nearPlane).number("FarPlane", c.farPlane);
    p.integer("CameraProjectionType", "enum", static_cast<int>(c.projection));
    p.integer("ApertureMode", "enum", static_cast<int>(c.apertureMode));
    p.number("FilmWidth", c.filmWidth).number("FilmHeight", c.filmHeight);
    p.number("FilmSqueezeRatio", c.squeezeRatio);
    p.number("FieldOfView", c.fieldOfView, "A").number("FieldOfViewX", c.fieldOfViewX, "A");
    p.number("FieldOfViewY", c.fieldOfViewY, "A").number("FocalLength", c.focalLength, "A");
    p.number("AspectWidth", c.aspectWidth).number("AspectHeight", c.aspectHeight);
    p.number("OrthoZoom", c.orthoZoom);
    return objectRecord("NodeAttribute", c, "NodeAttribute", "Camera",
                        {p.build(), record("TypeFlags", {str("Camera")}), record("GeometryVersion", {i32(124)})});
  }

  Record lightRecord(const Light& l) const {
    Props p;
    p.integer("LightType", "enum", static_cast<int>(l.lightType));
    p.vec3("Color", "ColorRGB", "Color", l.color, "A").number("Intensity", l.intensity, "A");
    p.number("InnerAngle", l.innerAngle, "A").number("OuterAngle", l.outerAngle, "A");
    p.integer("CastLight", "bool", l.castLight).integer("CastShadows", "bool", l.castShadows);
    p.integer("DecayType", "enum", l.decayType).number("DecayStart", l.decayStart);
    return objectRecord("NodeAttribute", l, "NodeAttribute", "Light",
                        {p.build(), record("TypeFlags", {str("Light")}), record("GeometryVersion", {i32(124)})});
  }

  Record meshRecord(const Mesh& m) const {
    return objectRecord("Geometry", m, "Geometry", "Mesh", detail::meshRecords(m));
  }

  Record materialRecord(const Material& m) const {
    Props p;
    p.vec3("DiffuseColor", "Color", "", m.diffuseColor, "A").vec3("AmbientColor", "Color", "", m.ambientColor, "A");
    p.vec3("EmissiveColor", "Color", "", m.emissiveColor, "A");
    p.vec3("SpecularColor", "Color", "", m.specularColor, "A");
    p.number("ShininessExponent", m.shininess, "A").number("Opacity", m.opacity, "A");
    return objectRecord("Material", m, "Material", "",
                        {record("Version", {i32(102)}), record("ShadingModel", {str(m.shadingModel)}),
                         record("MultiLayer", {i32(0)}), p.build()});
  }

  Record textureRecord(const Texture& t) const {
    Props p;
    p.text("UVSet", t.uvSet);
    return objectRecord("Texture", t, "Texture", "",
                        {record("Type", {str("TextureVideoClip")}), record("Version", {i32(202)}),
                         record("TextureName", {str(className(t.name, "Texture"))}), p.build(),
                         record("FileName", {str(t.fileName)}), record("RelativeFilename", {str(t.relativeFileName)})});
  }

  Record stackRecord(const AnimStack& s) const {
    Props p;
    p.text("Description", s.description).time("LocalStart", s.localStart).time("LocalStop", s.localStop);
    p.time("ReferenceStart", s.referenceStart).time("ReferenceStop", s.referenceStop);
    return objectRecord("AnimationStack", s, "AnimStack", "", {p.build()});
  }

  Record layerRecord(const AnimLayer& l) const {
    Props p;
    p.number("Weight", l.weight, "A").integer("Mute", "bool", l.mute).integer("Solo", "bool", l.solo);
    p.integer("Lock", "bool", l.lock).integer("BlendMode", "enum", static_cast<int>(l.blendMode));
    return objectRecord("AnimationLayer", l, "AnimLayer", "", {p.build()});
  }

  Record curveNodeRecord(const AnimCurveNode& n) const {
    Props p;
    std::vector<std::string> names;
    for (const AnimCurveNode::Channel& c : n.channels) names.push_back("d|" + c.name);
    for (size_t i = 0; i < n.channels.size(); ++i) p.number(names[i].c_str(), n.channels[i].value, "A");
    return objectRecord("AnimationCurveNode", n, "AnimCurveNode", "", {p.build()});
  }

  Record curveRecord(const AnimCurve& c) const {
    return objectRecord("AnimationCurve", c, "AnimCurve", "", detail::curveRecords(c));
  }

  Record connections() const;

  Record takes() const {
    std::vector<Record> out = {record("Current", {str(scene_.animStacks().empty() ? "" : scene_.animStacks()[0]->name)})};
    for (const AnimStack* s : scene_.animStacks()) {
      out.push_back(record("Take", {str(s->name)},
                           {record("FileName", {str(s->name + ".tak")}),
                            record("LocalTime", {i64(s->localStart), i64(s->localStop)}),
                            record("ReferenceTime", {i64(s->referenceStart), i64(s->referenceStop)})}));
    }
    return record("Takes", {}, std::move(out));
  }

  const Scene& scene_;
  const WriteOptions& options_;
  std::map<const Object*, int64_t> ids_;
};

Record SceneWriter::connections() const {
  std::vector<Record> out;
  auto oo = [&](const Object* src, const Object* dst) {
    out.push_back(record("C", {str("OO"), i64(id(src)), i64(id(dst))}));
  };
  auto op = [&](const Object* src, const Object* dst, const std::string& prop) {
    out.push_back(record("C", {str("OP"), i64(id(src)), i64(id(dst)), str(prop)}));
  };
  // Depth-first so that children keep their order under each parent.
  std::vector<const Node*> stack(scene_.rootNode()->children.rbegin(), scene_.rootNode()->children.rend());
  while (!stack.empty()) {
    const Node* n = stack.back();
    stack.pop_back();
    oo(n, n->parent);
    if (n->attribute) oo(n->attribute, n);
    for (const Material* m : n->materials) oo(m, n);
    if (n->target) op(n->target, n, "LookAtProperty");
    stack.insert(stack.end(), n->children.rbegin(), n->children.rend());
  }
  for (const Material* m : scene_.materials()) {
    for (const auto& [property, textures] : m->textures) {
      for (const Texture* t : textures) op(t, m, property);
    }
  }
  for (const AnimStack* s : scene_.animStacks()) {
    for (const AnimLayer* l : s->layers) {
      oo(l, s);
      for (const AnimCurveNode* n : l->curveNodes) oo(n, l);
    }
  }
  for (const AnimCurveNode* n : scene_.curveNodes()) {
    if (n->target && id(n->target) >= 0) op(n, n->target, n->property);
    for (const AnimCurveNode::Channel& c : n->channels) {
      if (c.curve) op(c.curve, n, "d|" + c.name);
    }
  }
  return record("Connections", {}, std::move(out));
}

}  // namespace

RecordDocument sceneToRecords(const Scene& scene, const WriteOptions& options) {
  return SceneWriter(scene, options).run();
}

std::vector<uint8_t> writeMemory(const Scene& scene, const WriteOptions& options) {
  const RecordDocument doc = sceneToRecords(scene, options);
  if (options.format == Format::Binary) return encodeBinary(doc, options.compressArrays);
  const std::string text = encodeAscii(doc);
  return std::vector<uint8_t>(text.begin(), text.end());
}

Result<size_t> writeFile(const Scene& scene, const std::string& path, const WriteOptions& options) {
  const std::vector<uint8_t> bytes = writeMemory(scene, options);
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()))) {
    return Result<size_t>::failure(path + ": cannot write file");
  }
  return bytes.size();
}

}  // namespace fbx
