// Reading `Properties70` blocks: P records keyed by name, with the property
// template of the object's class as the fallback for missing entries.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>

#include "Fbx/Math.h"
#include "Fbx/Records.h"

namespace fbx::detail {

class PropertyTable {
 public:
  // Index of the first value in a P record: name, type, label, flags precede it.
  static constexpr size_t kFirstValue = 4;

  // Reads the P children of a Properties70 record (nullptr: empty). Later
  // duplicates replace earlier ones.
  void read(const Record* properties70);
  void setFallback(const PropertyTable* fallback) { fallback_ = fallback; }

  // The P record for `name`, looked up here and then in the fallback.
  const Record* find(std::string_view name) const;
  bool has(std::string_view name) const { return find(name) != nullptr; }

  double number(std::string_view name, double otherwise) const;
  int64_t integer(std::string_view name, int64_t otherwise) const;
  bool flag(std::string_view name, bool otherwise) const { return integer(name, otherwise ? 1 : 0) != 0; }
  Vec3 vec3(std::string_view name, Vec3 otherwise) const;
  std::string string(std::string_view name, const std::string& otherwise) const;

  // Own entries in file order (for curve-node channels).
  const std::vector<const Record*>& ownRecords() const { return order_; }

 private:
  std::unordered_map<std::string_view, size_t> entries_;  // name -> index in order_
  std::vector<const Record*> order_;
  const PropertyTable* fallback_ = nullptr;
};

}  // namespace fbx::detail
