#include "document/PromptNumber.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <string>

namespace glyfora::document {
namespace {

constexpr float Infinity = std::numeric_limits<float>::infinity();

struct ReadCase {
    std::string Text;
    std::optional<float> Expected; // NaN stands for "a NaN"
};

TEST(ReadPromptFloat, ReadsTheLongestLeadingNumber) {
    const ReadCase cases[] = {
        {"1.0", 1.0F},
        {"2", 2.0F},
        {"0.5", 0.5F},
        {"-3.25", -3.25F},
        {"+4", 4.0F},
        {".5", 0.5F},
        {"-.5", -0.5F},
        {"5.", 5.0F},
        {"007", 7.0F},
        {"1.5e3", 1500.0F},
        {"2E-1", 0.2F},
        {"2e", 2.0F}, // an exponent needs digits
        {"2e+", 2.0F},
        {"3px", 3.0F},
        {"1.2.3", 1.2F},
        {"1,5", 1.0F},   // "," is not the decimal separator
        {"  2.5", 2.5F}, // leading blanks are skipped
        {"\t-1", -1.0F},
        {"0.1", 0.1F}, // rounded once, to the nearest float
        {"16777217", 16777216.0F},
        {"1e39", Infinity},
        {"-1e39", -Infinity},
        {"1e-50", 0.0F},
        {"0.0000000000000000000000000000000000000000000000001", 0.0F},
        {"1e999999999999999999999", Infinity},
        {"0e999999999", 0.0F},
    };
    for (const ReadCase& c : cases) {
        SCOPED_TRACE("\"" + c.Text + "\"");
        const auto value = ReadPromptFloat(c.Text);
        ASSERT_TRUE(value.has_value());
        EXPECT_EQ(*value, *c.Expected);
    }
}

TEST(ReadPromptFloat, AcceptsInfinityAndNanInAnyCase) {
    const ReadCase cases[] = {
        {"Infinity", Infinity},  {"infinity", Infinity},      {"INFINITY", Infinity},
        {"+Infinity", Infinity}, {"-Infinity", -Infinity},    {"-iNfInItY", -Infinity},
        {"Infinity2", Infinity}, {"NaN", std::nullopt},       {"nan", std::nullopt},
        {"NAN", std::nullopt},   {"nanometre", std::nullopt},
    };
    for (const ReadCase& c : cases) {
        SCOPED_TRACE("\"" + c.Text + "\"");
        const auto value = ReadPromptFloat(c.Text);
        ASSERT_TRUE(value.has_value());
        if (c.Expected) {
            EXPECT_EQ(*value, *c.Expected);
        } else {
            EXPECT_TRUE(std::isnan(*value));
        }
    }
}

TEST(ReadPromptFloat, EmptyAndNonNumericAnswersAreNone) {
    for (const std::string text :
         {"", "   ", "abc", "+", "-", ".", "-.", "e5", "Inf", "+Inf", "+NaN", "x1", "--1"}) {
        SCOPED_TRACE("\"" + text + "\"");
        EXPECT_FALSE(ReadPromptFloat(text).has_value());
    }
}

TEST(RoundHalfToEven, HalvesGoToTheEvenNeighbour) {
    const std::pair<double, double> cases[] = {
        {0.5, 0.0},   {1.5, 2.0},    {2.5, 2.0},    {3.5, 4.0},   {-0.5, -0.0}, {-1.5, -2.0},
        {-2.5, -2.0}, {2.4999, 2.0}, {2.5001, 3.0}, {-2.6, -3.0}, {7.0, 7.0},
    };
    for (const auto& [value, expected] : cases) {
        SCOPED_TRACE(value);
        EXPECT_EQ(RoundHalfToEven(value), expected);
    }
}

TEST(SpacingFromAnswer, RoundsHalvesToEvenAndRefusesNonFinite) {
    EXPECT_EQ(SpacingFromAnswer(2.5F), 2);
    EXPECT_EQ(SpacingFromAnswer(3.5F), 4);
    EXPECT_EQ(SpacingFromAnswer(-1.5F), -2);
    EXPECT_EQ(SpacingFromAnswer(0.4F), 0);
    EXPECT_EQ(SpacingFromAnswer(1e30F), std::int64_t{1} << 40);
    EXPECT_EQ(SpacingFromAnswer(-1e30F), -(std::int64_t{1} << 40));
    EXPECT_FALSE(SpacingFromAnswer(Infinity).has_value());
    EXPECT_FALSE(SpacingFromAnswer(-Infinity).has_value());
    EXPECT_FALSE(SpacingFromAnswer(std::numeric_limits<float>::quiet_NaN()).has_value());
}

} // namespace
} // namespace glyfora::document
