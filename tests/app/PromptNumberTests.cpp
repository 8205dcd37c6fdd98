#include "CharacterRecords.h"
#include "app/editing/PromptNumber.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <optional>
#include <string>

namespace glyfora::app {
namespace {

using namespace base;
using namespace document;

using testsupport::Add;

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

TEST(LayoutFromAnswer, CancelledAndNonNumericAnswersChangeNothing) {
    TypefaceRegistry registry;
    Typeface& typeface = *CreateTypeface(registry, 5);
    SetCharacterSetImage(typeface, *MakeImage(32, 16));
    Add(typeface, 65, {1, 2, 3, 4}, {5, 6, 7, 8});

    for (const char* answer : {"", "  "}) {
        const Result<Done> scaled = ScaleLayoutFromAnswer(typeface, answer);
        EXPECT_FALSE(scaled.Ok());
        EXPECT_TRUE(scaled.Error.empty()); // closed prompt: nothing to tell
        const Result<Done> spaced = SpacingLayoutFromAnswer(typeface, answer);
        EXPECT_FALSE(spaced.Ok());
        EXPECT_TRUE(spaced.Error.empty());
    }
    for (const char* answer : {"abc", "x2", "."}) {
        SCOPED_TRACE(answer);
        const Result<Done> scaled = ScaleLayoutFromAnswer(typeface, answer);
        EXPECT_FALSE(scaled.Ok());
        EXPECT_NE(scaled.Error.find(answer), std::string::npos);
        EXPECT_FALSE(SpacingLayoutFromAnswer(typeface, answer).Ok());
    }
    for (const char* answer : {"Infinity", "-infinity", "NaN"}) {
        SCOPED_TRACE(answer);
        const Result<Done> spaced = SpacingLayoutFromAnswer(typeface, answer);
        EXPECT_FALSE(spaced.Ok());
        EXPECT_FALSE(spaced.Error.empty());
    }
    EXPECT_EQ(FindCharacter(typeface, 65)->Source, (Rect64{1, 2, 3, 4}));
    EXPECT_EQ(typeface.Content.Image->Width, 32);
    EXPECT_FALSE(typeface.Modified);
}

TEST(LayoutFromAnswer, NumbersAreReadAndApplied) {
    TypefaceRegistry registry;
    Typeface& typeface = *CreateTypeface(registry, 5);
    SetCharacterSetImage(typeface, *MakeImage(32, 16));
    Add(typeface, 1, {2, 2, 5, 7});

    ASSERT_TRUE(ScaleLayoutFromAnswer(typeface, "0.5").Ok());
    EXPECT_EQ(FindCharacter(typeface, 1)->Source, (Rect64{1, 1, 2, 4}));
    ASSERT_TRUE(SpacingLayoutFromAnswer(typeface, "0.5").Ok()); // rounds to 0: no change
    EXPECT_EQ(typeface.Content.Image->Width, 32);
    ASSERT_TRUE(SpacingLayoutFromAnswer(typeface, "1.5").Ok()); // rounds to 2
    EXPECT_EQ(typeface.Content.Image->Width, 96);
    EXPECT_EQ(FindCharacter(typeface, 1)->Source, (Rect64{5, 1, 6, 8}));
}

} // namespace
} // namespace glyfora::app
