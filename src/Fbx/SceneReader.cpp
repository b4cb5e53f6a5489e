// Scene construction from the record tree: header and settings, property
// templates, objects, connections, takes, and the final tree clean-up.
#include <algorithm>
#include <new>
#include <string_view>
#include <unordered_map>

#include "Fbx/FileMapping.h"
#include "Fbx/IdTable.h"
#include "Fbx/Load.h"
#include "Fbx/Parse.h"
#include "Fbx/SceneReader.h"

namespace fbx {

namespace detail {

namespace {

constexpr uint32_t kOldestVersion = 7000;
constexpr uint32_t kNewestVersion = 7999;
constexpr int64_t kLegacyTicksPerSecond = 141120000;

enum class Kind { Model, Attribute, Material, Texture, LayeredTexture, Stack, Layer, CurveNode, Curve };

struct Entry {
  Kind kind;
  Object* object;
};

// Property names point into the record tree, which outlives the build.
struct Connection {
  bool toProperty;
  int64_t source, destination;
  std::string_view property;
};

std::string_view stripFbxPrefix(std::string_view className) {
  return className.substr(0, 3) == "Fbx" ? className.substr(3) : className;
}

class Builder {
 public:
  Builder(RecordDocument& doc, Scene& scene) : doc_(doc) {
    ctx_.document = &doc;
    ctx_.scene = &scene;
  }

  bool run() {
    if (doc_.version < kOldestVersion || doc_.version > kNewestVersion) {
      return ctx_.fail(0, "unsupported FBX version " + std::to_string(doc_.version) +
                              " (versions 7000 to 7999 are read)");
    }
    ctx_.scene->sourceFormat = doc_.format;
    ctx_.scene->sourceVersion = doc_.version;
    readHeader();
    readGlobalSettings();
    ctx_.templates.read(doc_.root.child("Definitions"));
    if (Record* objects = doc_.root.child("Objects")) {
      objects_.reserve(objects->children.size());
      for (Record& r : objects->children) {
        if (!readObject(r)) return false;
      }
    }
    readConnections();
    linkObjects();
    if (!checkNodeDepth()) return false;
    readTakes();
    spanStacksByTheirTakes();
    return true;
  }

  const std::string& error() const { return ctx_.error; }

 private:
  void readHeader() {
    const Record* header = doc_.root.child("FBXHeaderExtension");
    const Property* creator = doc_.root.childValue("Creator");
    if (!creator && header) creator = header->childValue("Creator");
    if (creator) ctx_.scene->creator = creator->toString();
    const Record* flags = header ? header->child("OtherFlags") : nullptr;
    const Property* tc = flags ? flags->childValue("TCDefinition") : nullptr;
    ctx_.legacyTicks = doc_.version >= 7700 && tc && tc->toInt() == 0;
  }

  void readGlobalSettings() {
    const Record* settings = doc_.root.child("GlobalSettings");
    PropertyTable props;
    props.read(settings ? settings->child("Properties70") : nullptr);
    GlobalSettings& g = ctx_.scene->globalSettings;
    g.upAxis = static_cast<int>(props.integer("UpAxis", g.upAxis));
    g.upAxisSign = static_cast<int>(props.integer("UpAxisSign", g.upAxisSign));
    g.frontAxis = static_cast<int>(props.integer("FrontAxis", g.frontAxis));
    g.frontAxisSign = static_cast<int>(props.integer("FrontAxisSign", g.frontAxisSign));
    g.coordAxis = static_cast<int>(props.integer("CoordAxis", g.coordAxis));
    g.coordAxisSign = static_cast<int>(props.integer("CoordAxisSign", g.coordAxisSign));
    g.unitScaleFactor = props.number("UnitScaleFactor", g.unitScaleFactor);
    g.defaultCamera = props.string("DefaultCamera", g.defaultCamera);
    g.timeMode = static_cast<int>(props.integer("TimeMode", g.timeMode));
    g.customFrameRate = props.number("CustomFrameRate", g.customFrameRate);
    g.timeSpanStart = ctx_.time(props.integer("TimeSpanStart", g.timeSpanStart));
    g.timeSpanStop = ctx_.time(props.integer("TimeSpanStop", g.timeSpanStop));
  }

  bool readObject(Record& r) {
    if (r.properties.size() < 2) return true;  // not an object record: skip
    const int64_t id = r.properties[0].toInt();
    objects_.prefetch(id);  // inserted once the object is read
    const std::string subclass(stripFbxPrefix(r.properties.size() > 2 ? r.properties[2].toString() : ""));
    PropertyTable& props = objectProperties_;
    props.read(r.child("Properties70"));
    props.setFallback(ctx_.templates.find(r.name, subclass));
    Entry e{Kind::Model, nullptr};
    if (r.name == "Model") {
      e = {Kind::Model, readModel(ctx_, r, props)};
    } else if (r.name == "NodeAttribute") {
      e = {Kind::Attribute, readNodeAttribute(ctx_, r, subclass, props)};
    } else if (r.name == "Geometry") {
      e = {Kind::Attribute, readGeometry(r, subclass)};
      if (!ctx_.error.empty()) return false;
    } else if (r.name == "Material") {
      e = {Kind::Material, readMaterial(ctx_, r, props)};
    } else if (r.name == "Texture") {
      e = {Kind::Texture, readTexture(ctx_, r, props)};
    } else if (r.name == "LayeredTexture") {
      e = {Kind::LayeredTexture, nullptr};
      layeredTextures_[id];
    } else if (r.name == "AnimationStack") {
      AnimStack* stack = readAnimStack(ctx_, props);
      if (!storesOwnSpan(props)) stacksWithoutSpan_.push_back(stack);
      e = {Kind::Stack, stack};
    } else if (r.name == "AnimationLayer") {
      e = {Kind::Layer, readAnimLayer(ctx_, props)};
    } else if (r.name == "AnimationCurveNode") {
      e = {Kind::CurveNode, readCurveNode(ctx_, props)};
    } else if (r.name == "AnimationCurve") {
      e = {Kind::Curve, readCurve(ctx_, r)};
      if (!e.object) return false;
    } else {
      return true;  // deformers, poses, videos...: not modelled
    }
    if (e.object) {
      e.object->id = id;
      e.object->name = objectName(r.properties[1].toString(), doc_.format);
    }
    objects_.insert(id, e);  // of objects sharing an id the last one read counts
    return true;
  }

  NodeAttribute* readGeometry(Record& r, const std::string& subclass) {
    if (subclass == "Mesh") return readMesh(ctx_, r);
    if (subclass == "Shape") return nullptr;  // blend-shape targets hang on deformers
    AttributeType type = AttributeType::Other;
    if (subclass.compare(0, 4, "Nurb") == 0) type = AttributeType::Nurbs;
    if (subclass == "Patch") type = AttributeType::Patch;
    OtherAttribute* a = ctx_.scene->addOtherAttribute("", type);
    a->subclass = subclass;
    return a;
  }

  void readConnections() {
    const Record* connections = doc_.root.child("Connections");
    if (!connections) return;
    connections_.reserve(connections->children.size());
    for (const Record& c : connections->children) {
      if (c.name != "C" || c.properties.size() < 3) continue;
      const std::string_view kind = c.properties[0].toString();
      if (kind != "OO" && kind != "OP") continue;  // PO and PP carry nothing we model
      Connection link{kind == "OP", c.properties[1].toInt(), c.properties[2].toInt(), {}};
      if (link.toProperty && c.properties.size() > 3) link.property = c.properties[3].toString();
      connections_.push_back(link);
    }
  }

  const Entry* entry(int64_t id) const { return objects_.find(id); }

  void linkObjects() {
    // Layered textures first, so that materials see their layers.
    if (!layeredTextures_.empty()) {
      for (const Connection& c : connections_) {
        auto layered = layeredTextures_.find(c.destination);
        if (layered == layeredTextures_.end()) continue;
        const Entry* src = entry(c.source);
        if (src && src->kind == Kind::Texture) layered->second.push_back(static_cast<Texture*>(src->object));
      }
    }
    // Connections name objects in no useful order: the table slots of a
    // connection a few ahead are fetched while this one is linked.
    constexpr size_t kAhead = 8;
    for (size_t i = 0; i < connections_.size(); ++i) {
      if (i + kAhead < connections_.size()) {
        objects_.prefetch(connections_[i + kAhead].source);
        objects_.prefetch(connections_[i + kAhead].destination);
      }
      link(connections_[i]);
    }
    attachOrphansAndBreakCycles();
  }

  void link(const Connection& c) {
    const Entry* src = entry(c.source);
    if (!src) return;
    if (c.destination == 0 && src->kind == Kind::Model) {
      attachNode(static_cast<Node*>(src->object), ctx_.scene->rootNode());
      return;
    }
    const Entry* dst = entry(c.destination);
    if (!dst || !dst->object) return;
    if (src->kind == Kind::LayeredTexture && dst->kind == Kind::Material && c.toProperty) {
      linkLayeredTexture(c);
      return;
    }
    if (!src->object) return;
    Object* s = src->object;
    Object* d = dst->object;
    if (src->kind == Kind::Model && dst->kind == Kind::Model) {
      if (c.toProperty && c.property == "LookAtProperty") {
        static_cast<Node*>(d)->target = static_cast<Node*>(s);
      } else if (!c.toProperty) {
        attachNode(static_cast<Node*>(s), static_cast<Node*>(d));
      }
    } else if (src->kind == Kind::Attribute && dst->kind == Kind::Model && !c.toProperty) {
      Node* node = static_cast<Node*>(d);
      if (!node->attribute) Scene::setAttribute(node, static_cast<NodeAttribute*>(s));
    } else if (src->kind == Kind::Material && dst->kind == Kind::Model) {
      static_cast<Node*>(d)->materials.push_back(static_cast<Material*>(s));
    } else if (src->kind == Kind::Texture && dst->kind == Kind::Material && c.toProperty) {
      static_cast<Material*>(d)->textures[std::string(c.property)].push_back(static_cast<Texture*>(s));
    } else if (src->kind == Kind::Layer && dst->kind == Kind::Stack) {
      static_cast<AnimStack*>(d)->layers.push_back(static_cast<AnimLayer*>(s));
    } else if (src->kind == Kind::CurveNode && dst->kind == Kind::Layer) {
      static_cast<AnimLayer*>(d)->curveNodes.push_back(static_cast<AnimCurveNode*>(s));
    } else if (src->kind == Kind::CurveNode && c.toProperty) {
      auto* curveNode = static_cast<AnimCurveNode*>(s);
      curveNode->target = d;
      curveNode->property = c.property;
    } else if (src->kind == Kind::Curve && dst->kind == Kind::CurveNode && c.toProperty) {
      linkCurve(static_cast<AnimCurve*>(s), static_cast<AnimCurveNode*>(d), c.property);
    }
  }

  void linkLayeredTexture(const Connection& c) {
    auto& target = static_cast<Material*>(entry(c.destination)->object)->textures[std::string(c.property)];
    const auto& layers = layeredTextures_[c.source];
    target.insert(target.end(), layers.begin(), layers.end());
  }

  static void linkCurve(AnimCurve* curve, AnimCurveNode* node, std::string_view property) {
    const std::string channel(property.substr(0, 2) == "d|" ? property.substr(2) : property);
    AnimCurveNode::Channel* ch = node->channel(channel);
    if (!ch) {
      node->channels.push_back({channel, curve->defaultValue, nullptr});
      ch = &node->channels.back();
    }
    ch->curve = curve;
  }

  // First parent connection wins; the root gets the rest later.
  static void attachNode(Node* child, Node* parent) {
    if (child->parent || child == parent) return;
    Scene::setParent(child, parent);
  }

  // Nodes without a parent hang under the root; a parent cycle is cut where
  // the walk finds it and the node moves under the root.
  void attachOrphansAndBreakCycles() {
    Node* root = ctx_.scene->rootNode();
    enum State : uint8_t { Unvisited, OnPath, Done };
    // Walk states by node, found by binary search in the sorted node list.
    std::vector<const Node*> sorted(ctx_.scene->nodes().begin(), ctx_.scene->nodes().end());
    std::sort(sorted.begin(), sorted.end());
    std::vector<uint8_t> states(sorted.size(), Unvisited);
    auto state = [&](const Node* n) -> uint8_t& {
      return states[static_cast<size_t>(std::lower_bound(sorted.begin(), sorted.end(), n) - sorted.begin())];
    };
    std::vector<Node*> path;
    for (Node* start : ctx_.scene->nodes()) {
      path.clear();
      Node* n = start;
      while (n && n != root && state(n) == Unvisited) {
        state(n) = OnPath;
        path.push_back(n);
        n = n->parent;
      }
      if (n && n != root && state(n) == OnPath) Scene::setParent(n, nullptr);  // cycle: cut it at n
      for (Node* p : path) {
        state(p) = Done;
        if (!p->parent) Scene::setParent(p, root);
      }
    }
  }

  // Breadth first from the root, so that the check itself never recurses.
  bool checkNodeDepth() {
    std::vector<const Node*> level = {ctx_.scene->rootNode()}, next;
    for (int depth = 1; !level.empty(); ++depth) {
      next.clear();
      for (const Node* n : level) next.insert(next.end(), n->children.begin(), n->children.end());
      if (depth > kMaxNodeDepth && !next.empty()) {
        const Record* connections = doc_.root.child("Connections");
        return ctx_.fail(connections ? connections->offset : 0,
                         "node \"" + next.front()->name + "\" lies " + std::to_string(depth) +
                             " levels below the root; node trees deeper than " + std::to_string(kMaxNodeDepth) +
                             " levels are refused");
      }
      level.swap(next);
    }
    return true;
  }

  void readTakes() {
    const Record* takes = doc_.root.child("Takes");
    if (!takes) return;
    for (const Record& t : takes->children) {
      if (t.name != "Take" || t.properties.empty()) continue;
      TakeInfo info;
      info.name = t.properties[0].toString();
      if (const Property* f = t.childValue("FileName")) info.fileName = f->toString();
      readSpan(t.child("LocalTime"), info.localStart, info.localStop);
      readSpan(t.child("ReferenceTime"), info.referenceStart, info.referenceStop);
      ctx_.scene->takes.push_back(std::move(info));
    }
  }

  static bool storesOwnSpan(const PropertyTable& props) {
    for (const Record* p : props.ownRecords()) {
      const std::string_view name = p->properties[0].toString();
      if (name == "LocalStart" || name == "LocalStop") return true;
    }
    return false;
  }

  // Several exporters write a stack without a span of its own and keep the
  // span only in the take of the same name; the stack reports that span.
  void spanStacksByTheirTakes() {
    for (AnimStack* stack : stacksWithoutSpan_) {
      if (const TakeInfo* take = ctx_.scene->takeInfo(stack->name)) {
        stack->localStart = take->localStart;
        stack->localStop = take->localStop;
      }
    }
  }

  void readSpan(const Record* r, Time& start, Time& stop) const {
    if (!r || r->properties.size() < 2) return;
    start = ctx_.time(r->properties[0].toInt());
    stop = ctx_.time(r->properties[1].toInt());
  }

  RecordDocument& doc_;
  ReadContext ctx_;
  PropertyTable objectProperties_;  // reused for every object
  IdTable<Entry> objects_;
  std::unordered_map<int64_t, std::vector<Texture*>> layeredTextures_;
  std::vector<Connection> connections_;
  std::vector<AnimStack*> stacksWithoutSpan_;
};

}  // namespace

void Templates::read(const Record* definitions) {
  if (!definitions) return;
  for (const Record& type : definitions->children) {
    if (type.name != "ObjectType" || type.properties.empty()) continue;
    for (const Record& t : type.children) {
      if (t.name != "PropertyTemplate" || t.properties.empty()) continue;
      Entry& e = byRecord_[std::string(type.properties[0].toString())].emplace_back();
      e.className = std::string(stripFbxPrefix(t.properties[0].toString()));
      e.table.read(t.child("Properties70"));
    }
  }
}

const PropertyTable* Templates::find(std::string_view recordName, const std::string& subclass) const {
  auto it = byRecord_.find(recordName);
  if (it == byRecord_.end() || it->second.empty()) return nullptr;
  if (recordName != "NodeAttribute") return &it->second.front().table;
  for (const Entry& e : it->second) {
    if (e.className == subclass) return &e.table;
  }
  return nullptr;
}

Time ReadContext::time(int64_t fileTime) const {
  if (!legacyTicks) return fileTime;
  const __int128 scaled = static_cast<__int128>(fileTime) * kTicksPerSecond / kLegacyTicksPerSecond;
  if (scaled > INT64_MAX) return INT64_MAX;
  if (scaled < INT64_MIN) return INT64_MIN;
  return static_cast<Time>(scaled);
}

bool ReadContext::fail(uint64_t offset, const std::string& what) {
  if (error.empty()) error = document->fileName + ": offset " + std::to_string(offset) + ": " + what;
  return false;
}

std::string_view objectName(std::string_view stored, Format format) {
  if (format == Format::Binary) {
    const size_t separator = stored.find(std::string_view("\x00\x01", 2));
    return separator == std::string_view::npos ? stored : stored.substr(0, separator);
  }
  const size_t separator = stored.find("::");
  return separator == std::string_view::npos ? stored : stored.substr(separator + 2);
}

}  // namespace detail

SceneResult buildScene(RecordDocument& document) {
  auto scene = std::make_unique<Scene>();
  detail::Builder builder(document, *scene);
  if (!builder.run()) return SceneResult::failure(builder.error());
  return SceneResult(std::move(scene));
}

namespace {

// Allocation failure is the one exception the standard library can raise
// here; it becomes an error result like every other failure.
template <typename Load>
SceneResult withoutExceptions(const std::string& name, Load load) {
  try {
    return load();
  } catch (const std::bad_alloc&) {
    return SceneResult::failure(name + ": out of memory while loading");
  }
}

}  // namespace

SceneResult loadMemory(const uint8_t* data, size_t size, const std::string& name) {
  return withoutExceptions(name, [&]() {
    Result<RecordDocument> parsed = parseRecords(data, size, name);
    if (!parsed) return SceneResult::failure(parsed.error());
    return buildScene(*parsed);
  });
}

SceneResult loadFile(const std::string& path) {
  return withoutExceptions(path, [&]() {
    Result<RecordDocument> parsed = RecordDocument{};
    {
      detail::FileMapping file;
      const std::string problem = file.open(path);
      if (!problem.empty()) return SceneResult::failure(problem);
      parsed = parseRecords(file.data(), file.size(), path,
                            [&file](size_t begin, size_t end) { file.release(begin, end); });
    }
    if (!parsed) return SceneResult::failure(parsed.error());
    return buildScene(*parsed);
  });
}

}  // namespace fbx
