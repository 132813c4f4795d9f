// A value or the kind of failure that prevented it (C++20 has no std::expected).
#pragma once

#include <string>
#include <utility>
#include <variant>

#include "engine/errors.h"

namespace tarnivo {

// Marks a failed outcome; converts to any Result<T>.
struct Failure {
  ErrorKind Kind;
  std::wstring Detail;  // what the log and the preview add to the kind's text; often ""
};

template <typename T>
class [[nodiscard]] Result {
 public:
  Result(T value) : state_(std::move(value)) {}  // NOLINT: implicit by design
  Result(Failure failure) : state_(failure) {}   // NOLINT: implicit by design

  bool Ok() const noexcept { return std::holds_alternative<T>(state_); }
  // Only valid when Ok().
  const T& Value() const& { return std::get<T>(state_); }
  T Value() && { return std::get<T>(std::move(state_)); }
  // Only valid when !Ok().
  ErrorKind Error() const { return std::get<Failure>(state_).Kind; }
  const std::wstring& Detail() const { return std::get<Failure>(state_).Detail; }

 private:
  std::variant<T, Failure> state_;
};

}  // namespace tarnivo
