#include "app/editing/PromptNumber.h"

#include "base/Utf8.h"
#include "document/Rounding.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace glyfora::app {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool StartsWithWord(std::string_view text, std::string_view word) {
    if (text.size() < word.size()) {
        return false;
    }
    for (std::size_t i = 0; i < word.size(); ++i) {
        if (base::AsciiLower(text[i]) != word[i]) {
            return false;
        }
    }
    return true;
}

// The decimal number at the start of text, split into its parts; Length 0 when there is none.
struct NumberSpan {
    std::size_t Length = 0;
    bool Negative = false;
    std::string_view Mantissa; // digits and at most one "."
    std::string_view Digits;   // Mantissa and exponent without the sign, for from_chars
    std::int64_t Exponent = 0; // saturated to ±10^9
};

NumberSpan ScanNumber(std::string_view text) {
    NumberSpan span;
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        span.Negative = text[i] == '-';
        ++i;
    }
    const std::size_t mantissaStart = i;
    std::size_t digitCount = 0;
    while (i < text.size() && IsDigit(text[i])) {
        ++i;
        ++digitCount;
    }
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && IsDigit(text[i])) {
            ++i;
            ++digitCount;
        }
    }
    if (digitCount == 0) {
        return span; // "", "+", ".", "-." are not numbers
    }
    span.Mantissa = text.substr(mantissaStart, i - mantissaStart);
    // An exponent counts only when at least one digit follows: "2e" and "2e+" read as 2.
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        bool negativeExponent = false;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) {
            negativeExponent = text[j] == '-';
            ++j;
        }
        if (j < text.size() && IsDigit(text[j])) {
            std::int64_t exponent = 0;
            while (j < text.size() && IsDigit(text[j])) {
                exponent = std::min<std::int64_t>(exponent * 10 + (text[j] - '0'), 1'000'000'000);
                ++j;
            }
            span.Exponent = negativeExponent ? -exponent : exponent;
            i = j;
        }
    }
    span.Digits = text.substr(mantissaStart, i - mantissaStart);
    span.Length = i;
    return span;
}

// For a value from_chars found out of range: whether its magnitude is at least 1 (an overflow)
// rather than below 1 (an underflow), from the position of its first significant digit.
bool MagnitudeAtLeastOne(const NumberSpan& span) {
    std::int64_t position = 0; // decimal order of the first significant digit, before the exponent
    const std::size_t point = span.Mantissa.find('.');
    const std::string_view whole = span.Mantissa.substr(0, point);
    const std::size_t firstWhole = whole.find_first_not_of('0');
    if (firstWhole != std::string_view::npos) {
        position = static_cast<std::int64_t>(whole.size() - firstWhole) - 1;
    } else if (point != std::string_view::npos) {
        const std::string_view fraction = span.Mantissa.substr(point + 1);
        const std::size_t firstFraction = fraction.find_first_not_of('0');
        if (firstFraction == std::string_view::npos) {
            return false; // all zeros: never out of range, but zero is below one
        }
        position = -static_cast<std::int64_t>(firstFraction) - 1;
    }
    return position + span.Exponent >= 0;
}

bool Unanswered(std::string_view answer) {
    return answer.find_first_not_of(" \t") == std::string_view::npos;
}

std::string NotANumber(std::string_view answer) {
    // Built by appending: GCC 12's restrict check misreads "literal" + string in release builds.
    std::string message = "\"";
    message.append(answer);
    message.append("\" is not a number; nothing was changed.");
    return message;
}

} // namespace

std::optional<float> ReadPromptFloat(std::string_view text) {
    const std::size_t start = text.find_first_not_of(" \t");
    if (start == std::string_view::npos) {
        return std::nullopt;
    }
    text.remove_prefix(start);

    bool negative = false;
    std::string_view rest = text;
    if (!rest.empty() && (rest.front() == '+' || rest.front() == '-')) {
        negative = rest.front() == '-';
        rest.remove_prefix(1);
        if (StartsWithWord(rest, "infinity")) {
            return negative ? -std::numeric_limits<float>::infinity()
                            : std::numeric_limits<float>::infinity();
        }
    } else if (StartsWithWord(rest, "infinity")) {
        return std::numeric_limits<float>::infinity();
    } else if (StartsWithWord(rest, "nan")) {
        return std::numeric_limits<float>::quiet_NaN();
    }

    const NumberSpan span = ScanNumber(text);
    if (span.Length == 0) {
        return std::nullopt;
    }
    float value = 0.0F;
    const char* begin = span.Digits.data();
    const char* end = begin + span.Digits.size();
    const auto [last, error] = std::from_chars(begin, end, value, std::chars_format::general);
    if (error == std::errc::result_out_of_range) {
        value = MagnitudeAtLeastOne(span) ? std::numeric_limits<float>::infinity() : 0.0F;
    } else if (error != std::errc() || last != end) {
        return std::nullopt; // cannot happen for a scanned number; refuse rather than guess
    }
    return span.Negative ? -value : value;
}

std::optional<std::int64_t> SpacingFromAnswer(float answer) {
    if (!std::isfinite(answer)) {
        return std::nullopt;
    }
    constexpr double Limit = 1099511627776.0; // 2^40
    const double rounded =
        std::clamp(document::RoundHalfToEven(static_cast<double>(answer)), -Limit, Limit);
    return static_cast<std::int64_t>(rounded);
}

base::Result<base::Done> ScaleLayoutFromAnswer(document::Typeface& typeface,
                                               std::string_view answer) {
    if (Unanswered(answer)) {
        return base::Failure{}; // the prompt was closed: nothing changes, nothing to tell
    }
    const auto scale = ReadPromptFloat(answer);
    if (!scale) {
        return base::Failure{NotANumber(answer)};
    }
    return document::ScaleLayout(typeface, *scale);
}

base::Result<base::Done> SpacingLayoutFromAnswer(document::Typeface& typeface,
                                                 std::string_view answer) {
    if (Unanswered(answer)) {
        return base::Failure{}; // the prompt was closed: nothing changes, nothing to tell
    }
    const auto value = ReadPromptFloat(answer);
    if (!value) {
        return base::Failure{NotANumber(answer)};
    }
    const auto spacing = SpacingFromAnswer(*value);
    if (!spacing) {
        return base::Failure{"The spacing must be a finite number; nothing was changed."};
    }
    return document::SpacingLayout(typeface, *spacing);
}

} // namespace glyfora::app
