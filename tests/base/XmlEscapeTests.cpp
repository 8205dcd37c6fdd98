#include "base/XmlEscape.h"

#include <gtest/gtest.h>
#include <string>

namespace glyfora::base {
namespace {

TEST(XmlEscape, MarkupAndWhitespaceBecomeReferences) {
    const struct {
        std::string Text;
        std::string Escaped;
    } cases[] = {
        {"plain", "plain"},
        {"", ""},
        {"a & b <c> \"d\" 'e'", "a &amp; b &lt;c&gt; &quot;d&quot; 'e'"},
        {"&amp;", "&amp;amp;"},
        {"a\tb\nc\rd", "a&#9;b&#10;c&#13;d"},
        {"Caf\xC3\xA9 \xE2\x82\xAC", "Caf\xC3\xA9 \xE2\x82\xAC"},
    };
    for (const auto& test : cases) {
        EXPECT_TRUE(IsXmlText(test.Text)) << test.Text;
        EXPECT_EQ(EscapeXml(test.Text), test.Escaped);
    }
}

TEST(XmlEscape, TextXmlCannotHoldIsRefused) {
    for (const std::string& text :
         {std::string("a\x01"), std::string("\0", 1), std::string("Caf\xE9"),
          std::string("\xEF\xBF\xBF"), std::string("\xED\xA0\x80")}) {
        EXPECT_FALSE(IsXmlText(text)) << text;
    }
}

} // namespace
} // namespace glyfora::base
