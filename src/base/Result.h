#pragma once

// The outcome of fallible work: a value, or the reason there is none, and warnings either way.
// Every reader, writer and decoder returns one, so callers test success the same way everywhere.

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace glyfora::base {

// The reason a piece of work failed; converts to a failed Result of any value type.
struct Failure {
    std::string Error;
};

// The value of work that has none to give: Result<Done> succeeds or fails and nothing more.
struct Done {};

template <typename T> struct [[nodiscard]] Result {
    std::optional<T> Value;            // none on failure (and in a result not yet decided)
    std::string Error;                 // why there is no value
    std::vector<std::string> Warnings; // what was skipped, guessed or could not be kept

    Result() = default;
    Result(T value) : Value(std::move(value)) {}
    Result(Failure failure) : Error(std::move(failure.Error)) {}

    [[nodiscard]] bool Ok() const { return Value.has_value(); }
    explicit operator bool() const { return Ok(); }
};

} // namespace glyfora::base
