#include "Fbx/PropertyTable.h"

namespace fbx::detail {

void PropertyTable::read(const Record* properties70) {
  if (!properties70) return;
  for (const Record& p : properties70->children) {
    if ((p.name != "P" && p.name != "Property") || p.properties.empty()) continue;
    const std::string& name = p.properties[0].toString();
    auto [it, inserted] = entries_.emplace(name, order_.size());
    if (inserted) {
      order_.push_back(&p);
    } else {
      order_[it->second] = &p;
    }
  }
}

const Record* PropertyTable::find(std::string_view name) const {
  auto it = entries_.find(name);
  if (it != entries_.end()) return order_[it->second];
  return fallback_ ? fallback_->find(name) : nullptr;
}

double PropertyTable::number(std::string_view name, double otherwise) const {
  const Record* p = find(name);
  const Property* v = p ? p->property(kFirstValue) : nullptr;
  return v && v->isNumber() ? v->toDouble() : otherwise;
}

int64_t PropertyTable::integer(std::string_view name, int64_t otherwise) const {
  const Record* p = find(name);
  const Property* v = p ? p->property(kFirstValue) : nullptr;
  return v && v->isNumber() ? v->toInt() : otherwise;
}

Vec3 PropertyTable::vec3(std::string_view name, Vec3 otherwise) const {
  const Record* p = find(name);
  if (!p || p->properties.size() < kFirstValue + 3) return otherwise;
  Vec3 v;
  for (int i = 0; i < 3; ++i) {
    const Property& value = p->properties[kFirstValue + i];
    if (!value.isNumber()) return otherwise;
    v[i] = value.toDouble();
  }
  return v;
}

std::string PropertyTable::string(std::string_view name, const std::string& otherwise) const {
  const Record* p = find(name);
  const Property* v = p ? p->property(kFirstValue) : nullptr;
  return v && v->isString() ? v->toString() : otherwise;
}

}  // namespace fbx::detail
