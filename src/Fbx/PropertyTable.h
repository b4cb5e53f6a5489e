// Reading `Properties70` blocks: P records keyed by name, with the property
// template of the object's class as the fallback for missing entries.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "Fbx/Math.h"
#include "Fbx/Records.h"

namespace fbx::detail {

class PropertyTable {
 public:
  // Index of the first value in a P record: name, type, label, flags precede it.
  static constexpr size_t kFirstValue = 4;

  // Reads the P children of a Properties70 record (nullptr: empty), replacing
  // what the table held before. Later duplicates replace earlier ones.
  void read(const Record* properties70);
  void setFallback(const PropertyTable* fallback) { fallback_ = fallback; }

  // The P record for `name`, looked up here and then in the fallback.
  const Record* find(std::string_view name) const { return find(name, hashOf(name)); }
  bool has(std::string_view name) const { return find(name) != nullptr; }

  double number(std::string_view name, double otherwise) const;
  int64_t integer(std::string_view name, int64_t otherwise) const;
  bool flag(std::string_view name, bool otherwise) const { return integer(name, otherwise ? 1 : 0) != 0; }
  Vec3 vec3(std::string_view name, Vec3 otherwise) const;
  std::string string(std::string_view name, const std::string& otherwise) const;

  // Own entries in file order (for curve-node channels).
  const std::vector<const Record*>& ownRecords() const { return order_; }

 private:
  // An open-addressing hash table over order_: objects have a few dozen
  // properties and are read by the thousand, so one flat array per table (kept
  // across reads) replaces a node allocation per property.
  struct Slot {
    uint32_t hash = 0;
    uint32_t entry = 0;  // index in order_ + 1; 0 = free
  };

  static uint32_t hashOf(std::string_view name);
  static std::string_view nameOf(const Record* p) { return p->properties[0].toString(); }
  const Record* find(std::string_view name, uint32_t hash) const;

  std::vector<Slot> slots_;  // size a power of two, at most half full
  std::vector<const Record*> order_;
  const PropertyTable* fallback_ = nullptr;
};

}  // namespace fbx::detail
