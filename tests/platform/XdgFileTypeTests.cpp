#include "ScratchFolder.h"
#include "base/FileReading.h"
#include "platform/XdgFileTypes.h"

#include <chrono>
#include <expat.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <string>
#include <vector>

namespace glyfora::platform {
namespace {

std::string ReadText(const std::string& path) {
    const base::Result<std::vector<std::uint8_t>> read = base::ReadWholeFile(path);
    EXPECT_EQ(read.Error, "") << path;
    const std::vector<std::uint8_t> bytes = read.Value.value_or(std::vector<std::uint8_t>());
    return {bytes.begin(), bytes.end()};
}

// Undoes a desktop file's string escapes, then splits the Exec value into arguments by the quoting
// rules, written from the desktop-entry rules rather than from the writer.
std::vector<std::string> ParseExec(const std::string& value) {
    std::string unescaped;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] == '\\' && i + 1 < value.size()) {
            const char next = value[++i];
            unescaped += next == 'n'   ? '\n'
                         : next == 't' ? '\t'
                         : next == 'r' ? '\r'
                         : next == 's' ? ' '
                                       : next;
        } else {
            unescaped += value[i];
        }
    }
    std::vector<std::string> arguments;
    std::string current;
    bool quoted = false;
    bool any = false;
    for (std::size_t i = 0; i < unescaped.size(); ++i) {
        const char c = unescaped[i];
        if (quoted && c == '\\' && i + 1 < unescaped.size()) {
            current += unescaped[++i];
        } else if (c == '"') {
            quoted = !quoted;
            any = true;
        } else if (c == '%' && i + 1 < unescaped.size() && unescaped[i + 1] == '%') {
            current += '%';
            ++i;
        } else if (c == ' ' && !quoted) {
            if (any || !current.empty()) {
                arguments.push_back(current);
            }
            current.clear();
            any = false;
        } else {
            current += c;
        }
    }
    EXPECT_FALSE(quoted) << value;
    if (any || !current.empty()) {
        arguments.push_back(current);
    }
    return arguments;
}

struct RecordingRunner {
    std::vector<std::vector<std::string>> Calls;
    ToolRunner Runner() {
        return [this](const std::vector<std::string>& argv) {
            Calls.push_back(argv);
            return ToolResult::NotFound;
        };
    }
};

TEST(DesktopExec, ProgramPathSurvivesQuotingAndEscaping) {
    EXPECT_EQ(DesktopExecFor("/usr/bin/glyfora"), "\"/usr/bin/glyfora\" %f");
    EXPECT_EQ(DesktopExecFor("/opt/my app/glyfora"), "\"/opt/my app/glyfora\" %f");
    EXPECT_EQ(DesktopExecFor("/opt/100%/g"), "\"/opt/100%%/g\" %f");
    EXPECT_EQ(DesktopExecFor("/o/back\\slash"), "\"/o/back\\\\\\\\slash\" %f");
    const std::string awkward[] = {
        "/usr/bin/glyfora",
        "/opt/my app/glyfora",
        "/opt/100%/g",
        "/o/a\"b",
        "/o/$HOME/`x`",
        "/o/back\\slash",
        "/o/line\nbreak",
        "/o/tab\there",
        "/o/Gr\xC3\xBC\xC3\x9F"
        "e/glyfora",
        "/o/%f/%%",
    };
    for (const std::string& path : awkward) {
        const std::string exec = DesktopExecFor(path);
        EXPECT_EQ(exec.find('\n'), std::string::npos) << "one line";
        EXPECT_EQ(ParseExec(exec), (std::vector<std::string>{path, "%f"})) << exec;
    }
}

TEST(DesktopEntryValueTest, ReadsOnlyTheDesktopEntryGroup) {
    const std::string text = "# comment\n"
                             "[Desktop Action New]\n"
                             "Exec=wrong\n"
                             "[Desktop Entry]\n"
                             "Name=Glyfora\n"
                             "Exec = \"/g\" %f \r\n"
                             "Exec[de]=localised\n"
                             "[Other]\n"
                             "MimeType=wrong\n";
    EXPECT_EQ(DesktopEntryValue(text, "Exec"), "\"/g\" %f");
    EXPECT_EQ(DesktopEntryValue(text, "Name"), "Glyfora");
    EXPECT_EQ(DesktopEntryValue(text, "MimeType"), "");
    EXPECT_EQ(DesktopEntryValue("", "Exec"), "");
}

// Element names with their attributes, as Expat sees the document; empty when it is not well
// formed.
std::vector<std::map<std::string, std::string>> XmlElements(const std::string& text,
                                                            std::string& characters) {
    struct State {
        std::vector<std::map<std::string, std::string>> Elements;
        std::string Characters;
    } state;
    XML_Parser parser = XML_ParserCreate("UTF-8");
    XML_SetUserData(parser, &state);
    XML_SetElementHandler(
        parser,
        [](void* data, const XML_Char* name, const XML_Char** attributes) {
            std::map<std::string, std::string> element{{"", name}};
            for (int i = 0; attributes[i] != nullptr; i += 2) {
                element[attributes[i]] = attributes[i + 1];
            }
            static_cast<State*>(data)->Elements.push_back(element);
        },
        [](void*, const XML_Char*) {});
    XML_SetCharacterDataHandler(parser, [](void* data, const XML_Char* s, int length) {
        static_cast<State*>(data)->Characters.append(s, static_cast<std::size_t>(length));
    });
    const bool ok = XML_Parse(parser, text.data(), static_cast<int>(text.size()), 1) != 0;
    XML_ParserFree(parser);
    characters = state.Characters;
    return ok ? state.Elements : std::vector<std::map<std::string, std::string>>{};
}

TEST(MimePackage, DeclaresTheTypeWithGlobAndComment) {
    FileType type{"tf", "Glyfora", "Typeface & <more>", "glyfora", {}};
    std::string characters;
    const auto elements = XmlElements(MimePackageText(type, {}), characters);
    ASSERT_EQ(elements.size(), 4U);
    EXPECT_EQ(elements[0].at(""), "mime-info");
    EXPECT_EQ(elements[0].at("xmlns"), "http://www.freedesktop.org/standards/shared-mime-info");
    EXPECT_EQ(elements[1].at(""), "mime-type");
    EXPECT_EQ(elements[1].at("type"), "application/x-glyfora-typeface");
    EXPECT_EQ(elements[2].at(""), "comment");
    EXPECT_EQ(elements[3].at(""), "glob");
    EXPECT_EQ(elements[3].at("pattern"), "*.tf");
    EXPECT_NE(characters.find("Typeface & <more>"), std::string::npos);
}

class XdgRegistration : public ::testing::Test {
protected:
    std::string Data() const { return scratch_.Path() + "/share"; }
    testsupport::ScratchFolder scratch_;
    RecordingRunner tools_;
    FileTypeTable table_;
};

TEST_F(XdgRegistration, FirstStartWritesPackageAndDesktopEntry) {
    XdgFileTypeStore store(Data(), tools_.Runner());
    const std::string program = "/opt/Glyfora Editor/bin/glyfora";
    EXPECT_EQ(store.ReadOpenCommand("Glyfora"), "");

    const base::Result<FileTypeCheck> result = CheckFileTypeRegistration(store, table_, program);
    EXPECT_EQ(result.Value, FileTypeCheck::Rewritten);
    EXPECT_EQ(result.Error, "");

    const std::string entry = ReadText(Data() + "/applications/glyfora.desktop");
    EXPECT_EQ(DesktopEntryValue(entry, "Type"), "Application");
    EXPECT_EQ(DesktopEntryValue(entry, "Name"), "Glyfora");
    EXPECT_EQ(DesktopEntryValue(entry, "MimeType"), "application/x-glyfora-typeface;");
    EXPECT_EQ(DesktopEntryValue(entry, "Icon"), "glyfora");
    EXPECT_EQ(ParseExec(DesktopEntryValue(entry, "Exec")),
              (std::vector<std::string>{program, "%f"}));
    EXPECT_EQ(store.ReadOpenCommand("Glyfora"), DesktopExecFor(program));

    std::string characters;
    const auto elements = XmlElements(ReadText(Data() + "/mime/packages/glyfora.xml"), characters);
    ASSERT_EQ(elements.size(), 4U);
    EXPECT_EQ(elements[3].at("pattern"), "*.tf");
    EXPECT_NE(characters.find("Typeface"), std::string::npos);

    const std::vector<std::vector<std::string>> expectedCalls = {
        {"update-mime-database", Data() + "/mime"},
        {"update-desktop-database", Data() + "/applications"},
    };
    EXPECT_EQ(tools_.Calls, expectedCalls);
}

TEST_F(XdgRegistration, SecondStartFromSamePlaceWritesNothing) {
    XdgFileTypeStore store(Data(), tools_.Runner());
    ASSERT_EQ(CheckFileTypeRegistration(store, table_, "/usr/bin/glyfora").Value,
              FileTypeCheck::Rewritten);
    const auto entryTime = std::filesystem::last_write_time(store.DesktopEntryPath());
    const auto packageTime = std::filesystem::last_write_time(store.PackagePath());
    const std::size_t calls = tools_.Calls.size();

    XdgFileTypeStore again(Data(), tools_.Runner());
    const base::Result<FileTypeCheck> second =
        CheckFileTypeRegistration(again, table_, "/usr/bin/glyfora");
    EXPECT_EQ(second.Value, FileTypeCheck::Unchanged);
    EXPECT_EQ(second.Error, "");
    EXPECT_EQ(tools_.Calls.size(), calls);
    EXPECT_EQ(std::filesystem::last_write_time(store.DesktopEntryPath()), entryTime);
    EXPECT_EQ(std::filesystem::last_write_time(store.PackagePath()), packageTime);
}

TEST_F(XdgRegistration, MovedProgramOrMissingPackageRegistersAgain) {
    XdgFileTypeStore store(Data(), tools_.Runner());
    ASSERT_EQ(CheckFileTypeRegistration(store, table_, "/usr/bin/glyfora").Value,
              FileTypeCheck::Rewritten);

    EXPECT_EQ(CheckFileTypeRegistration(store, table_, "/home/ada/bin/glyfora").Value,
              FileTypeCheck::Rewritten);
    EXPECT_EQ(ParseExec(DesktopEntryValue(ReadText(store.DesktopEntryPath()), "Exec")),
              (std::vector<std::string>{"/home/ada/bin/glyfora", "%f"}));
    EXPECT_EQ(CheckFileTypeRegistration(store, table_, "/home/ada/bin/glyfora").Value,
              FileTypeCheck::Unchanged);

    std::filesystem::remove(store.PackagePath());
    EXPECT_EQ(CheckFileTypeRegistration(store, table_, "/home/ada/bin/glyfora").Value,
              FileTypeCheck::Rewritten);
    EXPECT_TRUE(std::filesystem::exists(store.PackagePath()));

    // An entry that no longer names the type does not count as registered.
    std::ofstream(store.DesktopEntryPath())
        << "[Desktop Entry]\nExec=" << DesktopExecFor("/home/ada/bin/glyfora") << "\n";
    EXPECT_EQ(CheckFileTypeRegistration(store, table_, "/home/ada/bin/glyfora").Value,
              FileTypeCheck::Rewritten);
}

TEST_F(XdgRegistration, DataFolderThatCannotBeCreatedIsReported) {
    const std::string blocker = scratch_.Path() + "/file";
    std::ofstream(blocker) << "not a folder";
    XdgFileTypeStore store(blocker + "/share", tools_.Runner());
    const base::Result<FileTypeCheck> result =
        CheckFileTypeRegistration(store, table_, "/usr/bin/g");
    EXPECT_FALSE(result); // the rewrite was tried and failed
    EXPECT_NE(result.Error, "");
    EXPECT_TRUE(tools_.Calls.empty());

    XdgFileTypeStore nowhere("", tools_.Runner());
    const base::Result<FileTypeCheck> none =
        CheckFileTypeRegistration(nowhere, table_, "/usr/bin/g");
    EXPECT_FALSE(none);
    EXPECT_NE(none.Error, "");
    EXPECT_TRUE(tools_.Calls.empty());
}

TEST_F(XdgRegistration, RealMimeDatabaseLearnsTheType) {
    if (RunTool({"update-mime-database", "-v"}) == ToolResult::NotFound) {
        GTEST_SKIP() << "update-mime-database is not installed";
    }
    XdgFileTypeStore store(Data());
    const base::Result<FileTypeCheck> result =
        CheckFileTypeRegistration(store, table_, "/usr/bin/g");
    EXPECT_EQ(result.Value, FileTypeCheck::Rewritten);
    EXPECT_EQ(result.Error, "");
    EXPECT_TRUE(std::filesystem::exists(Data() + "/mime/application/x-glyfora-typeface.xml"));
    EXPECT_TRUE(std::filesystem::exists(Data() + "/mime/mime.cache"));
}

TEST(RunToolTest, RunsWithoutShellAndReportsOutcome) {
    // "test" compares its arguments: equal only when "a b" arrives as one argument, unsplit.
    EXPECT_EQ(RunTool({"test", "a b", "=", "a b"}), ToolResult::Succeeded);
    EXPECT_EQ(RunTool({"test", "$HOME", "=", "a"}), ToolResult::Failed);
    EXPECT_EQ(RunTool({"glyfora-no-such-tool-anywhere"}), ToolResult::NotFound);
    EXPECT_EQ(RunTool({}), ToolResult::NotFound);

    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(RunTool({"sleep", "10"}, 100), ToolResult::Failed);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
}

} // namespace
} // namespace glyfora::platform
