// Objects by their 64-bit id while a scene is built: every connection looks
// up two ids, and files hold up to hundreds of thousands of connections, so
// an open-addressing table (one flat array, sized once) replaces a binary
// search over the sorted objects, whose probes miss the cache.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace fbx::detail {

template <typename Value>
class IdTable {
 public:
  // Makes room for up to `count` ids; inserting more than that is not allowed.
  void reserve(size_t count) {
    size_t capacity = 16;
    while (capacity < 2 * count) capacity *= 2;
    slots_.assign(capacity, Slot{});
    mask_ = capacity - 1;
  }

  // Stores `value` under `id`, replacing an earlier value of the same id.
  void insert(int64_t id, const Value& value) {
    slots_[indexOf(id)] = {id, value, true};
  }

  // Starts loading the slot where `id` is looked for: the table is far
  // larger than the cache, and work done before the insert or find of `id`
  // then hides the wait for memory.
  // (An empty table has a zero mask: the address is then data() + 0, and a
  // prefetch never faults.)
  void prefetch(int64_t id) const { __builtin_prefetch(slots_.data() + home(id)); }

  // The value stored under `id`, or nullptr.
  const Value* find(int64_t id) const {
    if (slots_.empty()) return nullptr;
    const Slot& s = slots_[indexOf(id)];
    return s.used ? &s.value : nullptr;
  }

 private:
  struct Slot {
    int64_t id = 0;
    Value value{};
    bool used = false;
  };

  // The slot holding `id`, or the free slot where it belongs (the table is
  // at most half full, so one is always found).
  size_t indexOf(int64_t id) const {
    size_t i = home(id);
    while (slots_[i].used && slots_[i].id != id) i = (i + 1) & mask_;
    return i;
  }

  // The first slot probed for `id`. Fibonacci hashing spreads sequential
  // and clustered ids alike.
  size_t home(int64_t id) const {
    return static_cast<size_t>((static_cast<uint64_t>(id) * 0x9e3779b97f4a7c15ull) >> 32) & mask_;
  }

  std::vector<Slot> slots_;
  size_t mask_ = 0;
};

}  // namespace fbx::detail
