#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>

namespace glyfora::fontimport {

// Told (done, total) as an import proceeds, always on the thread that runs the import; returning
// false cancels it.
using ImportProgress = std::function<bool(std::int64_t done, std::int64_t total)>;

// How an import ended.
enum class ImportEnd { Created, Failed, Cancelled };

// Why an import stopped before its typeface was made.
struct ImportStop {
    ImportEnd End = ImportEnd::Failed;
    std::string Reason;
};

// The stop of an import that progress cancelled.
[[nodiscard]] inline ImportStop CancelledImport() {
    return {ImportEnd::Cancelled, "The import was cancelled."};
}

// The plain result of one stage of an import, or why the import stops there.
template <typename T> struct [[nodiscard]] Staged {
    std::optional<T> Value;
    ImportStop Stop; // when there is no value

    Staged(T value) : Value(std::move(value)) {}
    Staged(ImportStop stop) : Stop(std::move(stop)) {}

    explicit operator bool() const { return Value.has_value(); }
};

// Reports one pass that is part of a larger whole: the measuring pass counts the first half of
// the glyph steps, the drawing pass the second.
struct PassProgress {
    const ImportProgress& Callback;
    std::int64_t Offset = 0;
    std::int64_t Total = 0;

    [[nodiscard]] bool Report(std::int64_t done) const {
        return !Callback || Callback(Offset + done, Total);
    }
};

} // namespace glyfora::fontimport
