#include "document/FamilyList.h"

#include <gtest/gtest.h>

namespace glyfora::document {
namespace {

TEST(FamilyListTest, SplitsAtCommasAndDropsBlanksAndEmptyNames) {
    const struct {
        const char* Text;
        std::vector<std::string> Families;
    } cases[] = {
        {"", {}},
        {" , ,", {}},
        {"WenQuanYi Zen Hei", {"WenQuanYi Zen Hei"}},
        {"A Sans,B\t ,  C Serif ", {"A Sans", "B", "C Serif"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SplitFamilyList(c.Text), c.Families) << c.Text;
    }
}

TEST(FamilyListTest, JoinedListsSplitBack) {
    const std::vector<std::string> families{"WenQuanYi Zen Hei", "DejaVu Serif"};
    EXPECT_EQ(JoinFamilyList(families), "WenQuanYi Zen Hei, DejaVu Serif");
    EXPECT_EQ(SplitFamilyList(JoinFamilyList(families)), families);
    EXPECT_EQ(JoinFamilyList({}), "");
}

} // namespace
} // namespace glyfora::document
