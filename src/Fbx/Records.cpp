#include "Fbx/Records.h"

#include <limits>
#include <new>
#include <type_traits>

namespace fbx {

namespace {

// Value conversion that never overflows: out-of-range reals saturate and NaN
// becomes 0 for integer targets (a plain cast would be undefined behaviour).
template <typename Out, typename In>
Out convertValue(In v) {
  if constexpr (std::is_floating_point_v<In> && std::is_integral_v<Out>) {
    if (!(v == v)) return 0;
    if (v <= static_cast<In>(std::numeric_limits<Out>::min())) return std::numeric_limits<Out>::min();
    if (v >= static_cast<In>(std::numeric_limits<Out>::max())) return std::numeric_limits<Out>::max();
    return static_cast<Out>(v);
  } else if constexpr (std::is_same_v<Out, float> && std::is_same_v<In, double>) {
    constexpr double kMax = std::numeric_limits<float>::max();
    if (v > kMax) return std::numeric_limits<float>::infinity();
    if (v < -kMax) return -std::numeric_limits<float>::infinity();
    return static_cast<float>(v);
  } else {
    return static_cast<Out>(v);
  }
}

template <typename Out>
std::vector<Out> convertArray(const Property::Storage& value) {
  return std::visit(
      [](const auto& v) -> std::vector<Out> {
        using V = std::decay_t<decltype(v)>;
        if constexpr (std::is_same_v<V, std::pmr::string>) {
          return {};
        } else if constexpr (std::is_arithmetic_v<V>) {
          return {convertValue<Out>(v)};
        } else {
          std::vector<Out> out;
          out.reserve(v.size());
          for (auto e : v) out.push_back(convertValue<Out>(e));
          return out;
        }
      },
      value);
}

template <typename Out>
std::vector<Out> takeArray(Property::Storage& value) {
  if (auto* same = std::get_if<std::vector<Out>>(&value)) {
    std::vector<Out> out = std::move(*same);
    same->clear();
    return out;
  }
  std::vector<Out> out = convertArray<Out>(value);
  value = int64_t{0};
  return out;
}

}  // namespace

int64_t Property::toInt() const {
  if (auto* i = std::get_if<int64_t>(&value_)) return *i;
  if (auto* d = std::get_if<double>(&value_)) {
    return convertValue<int64_t>(*d);
  }
  return 0;
}

double Property::toDouble() const {
  if (auto* d = std::get_if<double>(&value_)) return *d;
  if (auto* i = std::get_if<int64_t>(&value_)) return static_cast<double>(*i);
  return 0;
}

std::string_view Property::toString() const {
  if (auto* s = std::get_if<std::pmr::string>(&value_)) return *s;
  return {};
}

size_t Property::arraySize() const {
  return std::visit(
      [](const auto& v) -> size_t {
        using V = std::decay_t<decltype(v)>;
        if constexpr (std::is_same_v<V, std::pmr::string>) {
          return 0;
        } else if constexpr (std::is_arithmetic_v<V>) {
          return 1;
        } else {
          return v.size();
        }
      },
      value_);
}

std::vector<double> Property::toDoubles() const { return convertArray<double>(value_); }
std::vector<float> Property::toFloats() const { return convertArray<float>(value_); }
std::vector<int32_t> Property::toInt32s() const { return convertArray<int32_t>(value_); }
std::vector<int64_t> Property::toInt64s() const { return convertArray<int64_t>(value_); }
std::vector<double> Property::takeDoubles() { return takeArray<double>(value_); }
std::vector<int32_t> Property::takeInt32s() { return takeArray<int32_t>(value_); }

namespace {

// Frees the arrays of a tree whose lists and strings come from an arena.
void freeArrays(Record& record) {
  for (Property& p : record.properties) {
    if (p.isArray()) p = Property();
  }
  for (Record& c : record.children) freeArrays(c);
}

}  // namespace

RecordDocument::~RecordDocument() {
  if (!memory) return;  // built in code, or moved from: destroyed as usual
  freeArrays(root);
  // Everything left lives in the arena: the top-level records move into a
  // list placed in the arena, which is never destroyed, and the arena then
  // releases the whole tree at once. Should the arena have no room left, the
  // tree is destroyed as usual.
  using Children = std::pmr::vector<Record>;
  try {
    new (memory->allocate(sizeof(Children), alignof(Children))) Children(std::move(root.children), memory.get());
  } catch (const std::bad_alloc&) {
  }
}

const Record* Record::child(std::string_view childName) const {
  for (const Record& c : children) {
    if (c.name == childName) return &c;
  }
  return nullptr;
}

Record* Record::child(std::string_view childName) {
  for (Record& c : children) {
    if (c.name == childName) return &c;
  }
  return nullptr;
}

const Property* Record::childValue(std::string_view childName) const {
  const Record* c = child(childName);
  return c ? c->property(0) : nullptr;
}

}  // namespace fbx
