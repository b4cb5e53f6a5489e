// Readers for the simple object kinds: nodes, attributes, materials,
// textures and the animation objects other than curves.
#include <algorithm>

#include "Fbx/SceneReader.h"

namespace fbx::detail {

namespace {

const Vec3 kZero{0, 0, 0};
const Vec3 kOne{1, 1, 1};

RotationOrder rotationOrderFrom(int64_t v) {
  return v >= 0 && v <= 6 ? static_cast<RotationOrder>(v) : RotationOrder::XYZ;
}

InheritType inheritTypeFrom(int64_t v) { return v >= 0 && v <= 2 ? static_cast<InheritType>(v) : InheritType::RrSs; }

std::string childString(const Record& record, const char* name) {
  const Property* p = record.childValue(name);
  return p ? std::string(p->toString()) : std::string();
}

Light* readLight(ReadContext& ctx, const PropertyTable& props) {
  Light* l = ctx.scene->addLight("");
  const int64_t type = props.integer("LightType", 0);
  l->lightType = type >= 0 && type <= 4 ? static_cast<LightType>(type) : LightType::Point;
  l->color = props.vec3("Color", l->color);
  l->intensity = props.number("Intensity", l->intensity);
  // Newer writers use InnerAngle/OuterAngle, older ones HotSpot/"Cone angle".
  // A light that stores no inner angle has the class default of 0.
  l->innerAngle = props.number("InnerAngle", props.number("HotSpot", l->innerAngle));
  l->outerAngle = props.number("OuterAngle", props.number("Cone angle", props.number("ConeAngle", l->outerAngle)));
  l->castLight = props.flag("CastLight", l->castLight);
  l->castShadows = props.flag("CastShadows", l->castShadows);
  l->decayType = static_cast<int>(std::clamp<int64_t>(props.integer("DecayType", 0), 0, 3));
  l->decayStart = props.number("DecayStart", l->decayStart);
  return l;
}

Camera* readCamera(ReadContext& ctx, const PropertyTable& props) {
  Camera* c = ctx.scene->addCamera("");
  c->position = props.vec3("Position", c->position);
  c->upVector = props.vec3("UpVector", c->upVector);
  c->interestPosition = props.vec3("InterestPosition", c->interestPosition);
  c->roll = props.number("Roll", c->roll);
  c->nearPlane = props.number("NearPlane", c->nearPlane);
  c->farPlane = props.number("FarPlane", c->farPlane);
  c->projection = props.integer("CameraProjectionType", 0) == 1 ? ProjectionType::Orthographic
                                                                 : ProjectionType::Perspective;
  const int64_t aperture = props.integer("ApertureMode", 2);
  c->apertureMode = aperture >= 0 && aperture <= 3 ? static_cast<ApertureMode>(aperture) : ApertureMode::Vertical;
  c->filmWidth = props.number("FilmWidth", c->filmWidth);
  c->filmHeight = props.number("FilmHeight", c->filmHeight);
  c->squeezeRatio = props.number("FilmSqueezeRatio", c->squeezeRatio);
  c->fieldOfView = props.number("FieldOfView", c->fieldOfView);
  c->fieldOfViewX = props.number("FieldOfViewX", c->fieldOfViewX);
  c->fieldOfViewY = props.number("FieldOfViewY", c->fieldOfViewY);
  c->focalLength = props.number("FocalLength", c->computeFocalLength(c->fieldOfView));
  c->aspectWidth = props.number("AspectWidth", c->aspectWidth);
  c->aspectHeight = props.number("AspectHeight", c->aspectHeight);
  c->orthoZoom = props.number("OrthoZoom", c->orthoZoom);
  return c;
}

SkeletonType skeletonTypeFrom(const std::string& subclass) {
  if (subclass == "Root") return SkeletonType::Root;
  if (subclass == "Limb") return SkeletonType::Limb;
  if (subclass == "Effector") return SkeletonType::Effector;
  return SkeletonType::LimbNode;
}

}  // namespace

Node* readModel(ReadContext& ctx, const Record&, const PropertyTable& props) {
  Node* n = ctx.scene->addUnparentedNode("");
  NodeTransform& t = n->transform;
  t.translation = props.vec3("Lcl Translation", kZero);
  t.rotation = props.vec3("Lcl Rotation", kZero);
  t.scaling = props.vec3("Lcl Scaling", kOne);
  t.rotationOffset = props.vec3("RotationOffset", kZero);
  t.rotationPivot = props.vec3("RotationPivot", kZero);
  t.scalingOffset = props.vec3("ScalingOffset", kZero);
  t.scalingPivot = props.vec3("ScalingPivot", kZero);
  t.preRotation = props.vec3("PreRotation", kZero);
  t.postRotation = props.vec3("PostRotation", kZero);
  t.rotationOrder = rotationOrderFrom(props.integer("RotationOrder", 0));
  t.rotationActive = props.flag("RotationActive", false);
  t.inheritType = inheritTypeFrom(props.integer("InheritType", 0));
  t.geometricTranslation = props.vec3("GeometricTranslation", kZero);
  t.geometricRotation = props.vec3("GeometricRotation", kZero);
  t.geometricScaling = props.vec3("GeometricScaling", kOne);
  n->visibility = props.number("Visibility", 1) != 0;
  return n;
}

NodeAttribute* readNodeAttribute(ReadContext& ctx, const Record& record, const std::string& subclass,
                                 const PropertyTable& props) {
  const std::string typeFlags = childString(record, "TypeFlags");
  if (subclass == "Camera") return readCamera(ctx, props);
  if (subclass == "Light") return readLight(ctx, props);
  if (subclass == "LimbNode" || subclass == "Root" || subclass == "Limb" || subclass == "Effector" ||
      typeFlags == "Skeleton") {
    Skeleton* s = ctx.scene->addSkeleton("");
    s->skeletonType = skeletonTypeFrom(subclass);
    s->size = props.number("Size", s->size);
    s->limbLength = props.number("LimbLength", s->limbLength);
    return s;
  }
  if (subclass == "Null" || typeFlags == "Null") {
    NullAttribute* n = ctx.scene->addNull("");
    n->size = props.number("Size", n->size);
    return n;
  }
  OtherAttribute* other = ctx.scene->addOtherAttribute("", AttributeType::Other);
  other->subclass = subclass;
  return other;
}

Material* readMaterial(ReadContext& ctx, const Record& record, const PropertyTable& props) {
  Material* m = ctx.scene->addMaterial("");
  const std::string shading = childString(record, "ShadingModel");
  if (!shading.empty()) m->shadingModel = shading;
  m->diffuseColor = props.vec3("DiffuseColor", m->diffuseColor);
  m->ambientColor = props.vec3("AmbientColor", m->ambientColor);
  m->emissiveColor = props.vec3("EmissiveColor", m->emissiveColor);
  m->specularColor = props.vec3("SpecularColor", m->specularColor);
  m->shininess = props.number("ShininessExponent", props.number("Shininess", m->shininess));
  m->opacity = props.number("Opacity", m->opacity);
  return m;
}

Texture* readTexture(ReadContext& ctx, const Record& record, const PropertyTable& props) {
  Texture* t = ctx.scene->addTexture("", childString(record, "FileName"));
  if (t->fileName.empty()) t->fileName = childString(record, "Filename");
  t->relativeFileName = childString(record, "RelativeFilename");
  t->uvSet = props.string("UVSet", t->uvSet);
  return t;
}

AnimStack* readAnimStack(ReadContext& ctx, const PropertyTable& props) {
  AnimStack* s = ctx.scene->addAnimStack("");
  s->description = props.string("Description", "");
  s->localStart = ctx.time(props.integer("LocalStart", 0));
  s->localStop = ctx.time(props.integer("LocalStop", 0));
  s->referenceStart = ctx.time(props.integer("ReferenceStart", 0));
  s->referenceStop = ctx.time(props.integer("ReferenceStop", 0));
  return s;
}

AnimLayer* readAnimLayer(ReadContext& ctx, const PropertyTable& props) {
  AnimLayer* l = ctx.scene->addAnimLayer(nullptr, "");
  l->weight = props.number("Weight", l->weight);
  l->mute = props.flag("Mute", false);
  l->solo = props.flag("Solo", false);
  l->lock = props.flag("Lock", false);
  const int64_t blend = props.integer("BlendMode", 0);
  l->blendMode = blend >= 0 && blend <= 2 ? static_cast<BlendMode>(blend) : BlendMode::Additive;
  return l;
}

AnimCurveNode* readCurveNode(ReadContext& ctx, const PropertyTable& props) {
  AnimCurveNode* n = ctx.scene->addCurveNode(nullptr, nullptr, "", {}, {});
  // Channels are the object's own "d|X" entries, in file order.
  for (const Record* p : props.ownRecords()) {
    const std::string_view key = p->properties[0].toString();
    if (key.size() < 3 || key.substr(0, 2) != "d|") continue;
    const Property* v = p->property(PropertyTable::kFirstValue);
    n->channels.push_back({std::string(key.substr(2)), v ? v->toDouble() : 0.0, nullptr});
  }
  return n;
}

}  // namespace fbx::detail
