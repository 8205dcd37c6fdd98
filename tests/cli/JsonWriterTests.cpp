#include "cli/JsonWriter.h"

#include <gtest/gtest.h>
#include <string>

namespace glyfora::cli {
namespace {

std::string Json(std::string_view text) {
    std::string out;
    AppendJsonString(out, text);
    return out;
}

TEST(JsonString, EscapesWhatJsonRequiresAndKeepsUtf8) {
    const struct {
        std::string_view Text;
        const char* Expected;
    } cases[] = {
        {"plain", R"("plain")"},
        {"", R"("")"},
        {"say \"hi\" \\ /", R"("say \"hi\" \\ /")"},
        {"a\nb\tc\rd\be\ff", R"("a\nb\tc\rd\be\ff")"},
        {std::string_view("\x01\x1f\0", 3), R"("\u0001\u001f\u0000")"},
        {"\x7F", "\"\x7F\""},
        {"\xC3\xA4 \xE2\x82\xAC \xF0\x9F\x98\x80 \xE2\x80\xA8",
         "\"\xC3\xA4 \xE2\x82\xAC \xF0\x9F\x98\x80 \xE2\x80\xA8\""},
        {"\xFF", R"("\ufffd")"},
        {"a\xC3", R"("a\ufffd")"},                             // truncated sequence
        {"\xC0\xAF", R"("\ufffd\ufffd")"},                     // overlong "/"
        {"\xED\xA0\x80", R"("\ufffd\ufffd\ufffd")"},           // a lone surrogate
        {"\xF4\x90\x80\x80", R"("\ufffd\ufffd\ufffd\ufffd")"}, // beyond U+10FFFF
        {"\xC3\xA4\xA4x", "\"\xC3\xA4\\ufffdx\""},             // a stray continuation byte
    };
    for (const auto& test : cases) {
        EXPECT_EQ(Json(test.Text), test.Expected);
    }
}

TEST(TypefaceJson, EmptyTypefaceHasNullImageAndEmptyLists) {
    document::TypefaceRegistry registry;
    const document::Typeface& typeface = *document::CreateTypeface(registry, 0);
    EXPECT_EQ(TypefaceToJson(typeface, {}), "{\n  \"image\": null,\n  \"characters\": [],\n"
                                            "  \"kerning\": [],\n  \"properties\": {},\n"
                                            "  \"warnings\": []\n}\n");
}

TEST(TypefaceJson, ListsKeepTheirOrderAndTextIsEscaped) {
    document::TypefaceRegistry registry;
    document::Typeface& typeface = *document::CreateTypeface(registry, 0);
    document::SetCharacterSetImage(typeface, document::MakeImage(3, 2));
    document::AddCharacter(typeface, 66).Outlay = {-1, 2, 3, 4};
    document::AddCharacter(typeface, 65).Source = {5, 6, 7, 8};
    document::AddKerningPair(typeface, 0xFFFF, 1, -3);
    document::PropertyValue(typeface, "Comment") = "\"quoted\"\n";
    const std::string json = TypefaceToJson(typeface, {"line 1: odd\tthing"});
    EXPECT_EQ(json,
              "{\n  \"image\": {\"width\": 3, \"height\": 2},\n  \"characters\": [\n"
              "    {\"index\": 66, \"outlay\": [-1, 2, 3, 4], \"source\": [0, 0, 0, 0]},\n"
              "    {\"index\": 65, \"outlay\": [0, 0, 0, 0], \"source\": [5, 6, 7, 8]}\n  ],\n"
              "  \"kerning\": [\n    {\"left\": 65535, \"right\": 1, \"amount\": -3}\n  ],\n"
              "  \"properties\": {\n    \"Comment\": \"\\\"quoted\\\"\\n\"\n  },\n"
              "  \"warnings\": [\n    \"line 1: odd\\tthing\"\n  ]\n}\n");
}

} // namespace
} // namespace glyfora::cli
