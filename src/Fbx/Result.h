// Checked result of a fallible operation: either a value or an error message
// ("file: offset N: what went wrong"). Nothing in this library throws.
#pragma once

#include <optional>
#include <string>
#include <utility>

namespace fbx {

template <typename T>
class [[nodiscard]] Result {
 public:
  Result(T value) : value_(std::move(value)) {}  // NOLINT: implicit by design
  static Result failure(std::string message) {
    Result r;
    r.error_ = std::move(message);
    return r;
  }

  bool ok() const { return value_.has_value(); }
  explicit operator bool() const { return ok(); }
  const std::string& error() const { return error_; }

  T& value() { return *value_; }
  const T& value() const { return *value_; }
  T* operator->() { return &*value_; }
  const T* operator->() const { return &*value_; }
  T& operator*() { return *value_; }
  const T& operator*() const { return *value_; }

 private:
  Result() = default;
  std::optional<T> value_;
  std::string error_;
};

}  // namespace fbx
