#include "document/PageSize.h"
#include "document/Typeface.h"

#include <gtest/gtest.h>

namespace glyfora::document {
namespace {

TEST(PageSize, ChosenSizesArePowersOfTwoFrom64To16384) {
    const struct {
        const char* Text;
        std::optional<PageSize> Size;
    } cases[] = {
        {"2048", PageSize{2048, 2048}},
        {"64", PageSize{64, 64}},
        {"16384", PageSize{16384, 16384}},
        {"256x1024", PageSize{256, 1024}},
        {"32", std::nullopt},
        {"32768", std::nullopt},
        {"1000", std::nullopt},
        {"0", std::nullopt},
        {"-64", std::nullopt},
        {"2048x", std::nullopt},
        {"x2048", std::nullopt},
        {"2048x100", std::nullopt},
        {"2048 ", std::nullopt},
        {"2048X2048", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ParsePageSize(c.Text), c.Size) << c.Text;
        if (c.Size) {
            EXPECT_EQ(ParsePageSize(PageSizeText(*c.Size)), c.Size) << c.Text;
        }
    }
}

TEST(PageSize, RecordedSizesMayBeAnySizeUpToTheLargestPage) {
    const struct {
        const char* Property;
        std::optional<PageSize> Size;
    } cases[] = {
        {"2048x2048", PageSize{2048, 2048}},
        {"1000x600", PageSize{1000, 600}},
        {"1x1", PageSize{1, 1}},
        {"16385x64", std::nullopt},
        {"0x64", std::nullopt},
        {"big", std::nullopt},
    };
    for (const auto& c : cases) {
        TypefaceRegistry registry;
        auto typeface = MakeTypeface(registry, 5);
        EXPECT_EQ(PageSizeOf(*typeface), std::nullopt);
        PropertyValue(*typeface, PageSizeProperty) = c.Property;
        EXPECT_EQ(PageSizeOf(*typeface), c.Size) << c.Property;
    }
}

} // namespace
} // namespace glyfora::document
