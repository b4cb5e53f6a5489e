// Helpers for building the record tree when writing (internal).
#pragma once

#include <iterator>
#include <string>
#include <vector>

#include "Fbx/Records.h"
#include "Fbx/Scene.h"

namespace fbx::detail {

inline Property str(const std::string& s) { return Property('S', s); }
inline Property i32(int64_t v) { return Property('I', v); }
inline Property i64(int64_t v) { return Property('L', v); }
inline Property f64(double v) { return Property('D', v); }

inline Record record(const std::string& name, std::vector<Property> props = {}, std::vector<Record> children = {}) {
  Record r;
  r.name = name;
  r.properties.assign(std::make_move_iterator(props.begin()), std::make_move_iterator(props.end()));
  r.children.assign(std::make_move_iterator(children.begin()), std::make_move_iterator(children.end()));
  return r;
}

// Child records of a Geometry "Mesh" object: vertices, polygons, edges,
// layer elements and layers.
std::vector<Record> meshRecords(const Mesh& mesh);
// Child records of an AnimationCurve object: keys and key attributes.
std::vector<Record> curveRecords(const AnimCurve& curve);

}  // namespace fbx::detail
