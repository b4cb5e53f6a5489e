// Building the scene model from a record tree (internal to the library).
#pragma once

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "Fbx/PropertyTable.h"
#include "Fbx/Records.h"
#include "Fbx/Result.h"
#include "Fbx/Scene.h"

namespace fbx::detail {

// Property templates from the Definitions section, by object record name
// ("Model", "NodeAttribute", ...), each with its template class name.
class Templates {
 public:
  void read(const Record* definitions);
  // The template for a record name; for NodeAttribute the one whose class
  // matches the subclass (e.g. "FbxCamera" for "Camera").
  const PropertyTable* find(std::string_view recordName, const std::string& subclass) const;

 private:
  struct Entry {
    std::string className;
    PropertyTable table;
  };
  std::map<std::string, std::vector<Entry>, std::less<>> byRecord_;
};

// Shared state while reading one document.
struct ReadContext {
  const RecordDocument* document = nullptr;
  Scene* scene = nullptr;
  Templates templates;
  bool legacyTicks = false;  // 7.7 files may count 141120000 ticks per second
  std::string error;

  // Converts a file time value to FBX ticks.
  Time time(int64_t fileTime) const;
  // Records the first error ("file: offset N: what"); returns false.
  bool fail(uint64_t offset, const std::string& what);
};

// Splits "Name\x00\x01Class" (binary) or "Class::Name" (ASCII) into the name.
std::string_view objectName(std::string_view stored, Format format);

// Object readers. Each takes the object's record (properties: id, name,
// subclass) and its property table (template fallback already set).
Node* readModel(ReadContext& ctx, const Record& record, const PropertyTable& props);
NodeAttribute* readNodeAttribute(ReadContext& ctx, const Record& record, const std::string& subclass,
                                 const PropertyTable& props);
Material* readMaterial(ReadContext& ctx, const Record& record, const PropertyTable& props);
Texture* readTexture(ReadContext& ctx, const Record& record, const PropertyTable& props);
AnimStack* readAnimStack(ReadContext& ctx, const PropertyTable& props);
AnimLayer* readAnimLayer(ReadContext& ctx, const PropertyTable& props);
AnimCurveNode* readCurveNode(ReadContext& ctx, const PropertyTable& props);
// Curves and meshes can be malformed: they return nullptr after ctx.fail.
AnimCurve* readCurve(ReadContext& ctx, Record& record);
Mesh* readMesh(ReadContext& ctx, Record& record);

}  // namespace fbx::detail
