#include "Fbx/PropertyTable.h"

namespace fbx::detail {

uint32_t PropertyTable::hashOf(std::string_view name) {
  uint32_t h = 2166136261u;  // FNV-1a
  for (const char c : name) h = (h ^ static_cast<uint8_t>(c)) * 16777619u;
  return h;
}

void PropertyTable::read(const Record* properties70) {
  order_.clear();
  slots_.clear();
  fallback_ = nullptr;
  if (!properties70) return;
  size_t capacity = 8;
  while (capacity < 2 * properties70->children.size()) capacity *= 2;
  slots_.resize(capacity);
  const size_t mask = capacity - 1;
  for (const Record& p : properties70->children) {
    if ((p.name != "P" && p.name != "Property") || p.properties.empty()) continue;
    const std::string_view name = nameOf(&p);
    const uint32_t hash = hashOf(name);
    size_t i = hash & mask;
    while (slots_[i].entry != 0 && (slots_[i].hash != hash || nameOf(order_[slots_[i].entry - 1]) != name)) {
      i = (i + 1) & mask;
    }
    if (slots_[i].entry != 0) {
      order_[slots_[i].entry - 1] = &p;
    } else {
      order_.push_back(&p);
      slots_[i] = {hash, static_cast<uint32_t>(order_.size())};
    }
  }
}

const Record* PropertyTable::find(std::string_view name, uint32_t hash) const {
  if (!slots_.empty()) {
    const size_t mask = slots_.size() - 1;
    for (size_t i = hash & mask; slots_[i].entry != 0; i = (i + 1) & mask) {
      const Record* p = order_[slots_[i].entry - 1];
      if (slots_[i].hash == hash && nameOf(p) == name) return p;
    }
  }
  return fallback_ ? fallback_->find(name, hash) : nullptr;
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
  return v && v->isString() ? std::string(v->toString()) : otherwise;
}

}  // namespace fbx::detail
