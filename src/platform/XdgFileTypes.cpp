#include "platform/XdgFileTypes.h"

#include "base/AtomicFile.h"
#include "base/FileReading.h"
#include "base/XmlEscape.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <spawn.h>
#include <sys/wait.h>
#include <system_error>
#include <thread>
#include <unistd.h>

extern char** environ; // NOLINT: POSIX declares it, no header does

namespace glyfora::platform {

namespace {

// Escapes a desktop-file string value: backslash and the control characters it can name.
std::string EscapeStringValue(std::string_view text) {
    std::string out;
    for (const char c : text) {
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\r':
            out += "\\r";
            break;
        default:
            out += c;
            break;
        }
    }
    return out;
}

// One Exec argument in double quotes, with the characters the quoting rules reserve escaped and
// "%" doubled so that it is not taken for a field code.
std::string QuoteExecArgument(std::string_view argument) {
    std::string out = "\"";
    for (const char c : argument) {
        if (c == '"' || c == '`' || c == '$' || c == '\\') {
            out += '\\';
        }
        if (c == '%') {
            out += '%';
        }
        out += c;
    }
    out += '"';
    return out;
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) {
        text.remove_suffix(1);
    }
    return text;
}

std::string ReadText(const std::string& path) {
    // Desktop files are small; a huge one is not ours and is not worth reading.
    const base::Result<std::vector<std::uint8_t>> bytes = base::ReadWholeFile(path, 1U << 20);
    if (!bytes) {
        return {};
    }
    return {bytes.Value->begin(), bytes.Value->end()};
}

base::Result<base::Done> WriteText(const std::string& path, const std::string& text) {
    return base::WriteFileAtomically(
        path, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

const FileTypeVerb* OpenVerb(const FileType& fileType) {
    for (const FileTypeVerb& verb : fileType.Verbs) {
        if (verb.Name == OpenVerbName) {
            return &verb;
        }
    }
    return nullptr;
}

} // namespace

ToolResult RunTool(const std::vector<std::string>& argv, int timeoutMilliseconds) {
    if (argv.empty()) {
        return ToolResult::NotFound;
    }
    std::vector<char*> arguments;
    arguments.reserve(argv.size() + 1);
    for (const std::string& argument : argv) {
        arguments.push_back(const_cast<char*>(argument.c_str()));
    }
    arguments.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    for (int fd = 0; fd <= 2; ++fd) {
        posix_spawn_file_actions_addopen(&actions, fd, "/dev/null", fd == 0 ? O_RDONLY : O_WRONLY,
                                         0);
    }
    pid_t pid = 0;
    const int error =
        posix_spawnp(&pid, arguments[0], &actions, nullptr, arguments.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0) {
        return error == ENOENT ? ToolResult::NotFound : ToolResult::Failed;
    }

    // A tool that hangs must not hold up the editor's start for ever.
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMilliseconds);
    int status = 0;
    for (;;) {
        const pid_t done = ::waitpid(pid, &status, WNOHANG);
        if (done == pid) {
            break;
        }
        if (done < 0 && errno != EINTR) {
            return ToolResult::Failed;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            ::kill(pid, SIGKILL);
            while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
            }
            return ToolResult::Failed;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    // posix_spawnp may report a missing program as exit status 127 from the child instead.
    if (WIFEXITED(status) && WEXITSTATUS(status) == 127) {
        return ToolResult::NotFound;
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? ToolResult::Succeeded
                                                         : ToolResult::Failed;
}

std::string DesktopExecFor(const std::string& programPath) {
    return EscapeStringValue(QuoteExecArgument(programPath) + " %f");
}

std::string DesktopEntryValue(std::string_view fileText, std::string_view key) {
    bool inEntry = false;
    while (!fileText.empty()) {
        const std::size_t end = fileText.find('\n');
        const std::string_view line = Trim(fileText.substr(0, end));
        fileText.remove_prefix(end == std::string_view::npos ? fileText.size() : end + 1);
        if (line.empty() || line.front() == '#') {
            continue;
        }
        if (line.front() == '[') {
            inEntry = line == "[Desktop Entry]";
            continue;
        }
        const std::size_t equals = line.find('=');
        if (inEntry && equals != std::string_view::npos && Trim(line.substr(0, equals)) == key) {
            return std::string(Trim(line.substr(equals + 1)));
        }
    }
    return {};
}

std::string MimePackageText(const FileType& fileType, const XdgFileTypeNames& names) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
           "  <mime-type type=\"" +
           base::EscapeXml(names.MimeType) +
           "\">\n"
           "    <comment>" +
           base::EscapeXml(fileType.Description) +
           "</comment>\n"
           "    <glob pattern=\"*." +
           base::EscapeXml(fileType.Extension) +
           "\"/>\n"
           "  </mime-type>\n"
           "</mime-info>\n";
}

std::string DesktopEntryText(const FileType& fileType, const XdgFileTypeNames& names) {
    const FileTypeVerb* open = OpenVerb(fileType);
    std::string text = "[Desktop Entry]\n"
                       "Type=Application\n"
                       "Name=" +
                       EscapeStringValue(fileType.ProgId) + "\n";
    if (open != nullptr) {
        // The command is already in Exec form: it came from OpenCommandFor.
        text += "Exec=" + open->Command + "\n";
    }
    text += "Icon=" + EscapeStringValue(fileType.Icon) + "\n" + "MimeType=" + names.MimeType +
            ";\n" + "Terminal=false\n" + "Categories=Graphics;\n";
    return text;
}

XdgFileTypeStore::XdgFileTypeStore(std::string dataHome, ToolRunner runner, XdgFileTypeNames names)
    : dataHome_(std::move(dataHome)), runner_(std::move(runner)), names_(std::move(names)) {
    if (!runner_) {
        runner_ = [](const std::vector<std::string>& argv) { return RunTool(argv); };
    }
}

std::string XdgFileTypeStore::PackagePath() const {
    return dataHome_ + "/mime/packages/" + names_.PackageFile;
}

std::string XdgFileTypeStore::DesktopEntryPath() const {
    return dataHome_ + "/applications/" + names_.DesktopFile;
}

std::string XdgFileTypeStore::OpenCommandFor(const std::string& programPath) const {
    return DesktopExecFor(programPath);
}

std::string XdgFileTypeStore::IconFor(const std::string& /*programPath*/) const {
    return names_.IconName;
}

std::string XdgFileTypeStore::ReadOpenCommand(const std::string& /*progId*/) const {
    if (dataHome_.empty()) {
        return {};
    }
    std::error_code error;
    if (!std::filesystem::is_regular_file(PackagePath(), error)) {
        return {};
    }
    const std::string entry = ReadText(DesktopEntryPath());
    const std::string mimeTypes = ";" + DesktopEntryValue(entry, "MimeType");
    if (mimeTypes.find(";" + names_.MimeType + ";") == std::string::npos &&
        !mimeTypes.ends_with(";" + names_.MimeType)) {
        return {};
    }
    return DesktopEntryValue(entry, "Exec");
}

base::Result<base::Done> XdgFileTypeStore::Write(const FileType& fileType) {
    if (dataHome_.empty()) {
        return base::Failure{"no data folder (neither XDG_DATA_HOME nor HOME is set)"};
    }
    namespace fs = std::filesystem;
    const fs::path mimeFolder = fs::path(dataHome_) / "mime";
    const fs::path applicationsFolder = fs::path(dataHome_) / "applications";
    for (const fs::path& folder : {mimeFolder / "packages", applicationsFolder}) {
        std::error_code error;
        fs::create_directories(folder, error);
        if (error) {
            return base::Failure{"cannot create the folder \"" + folder.string() +
                                 "\": " + error.message()};
        }
    }
    // The desktop entry last: the check reads it, so a failure before it is retried next start.
    if (auto written = WriteText(PackagePath(), MimePackageText(fileType, names_)); !written) {
        return written;
    }
    if (auto written = WriteText(DesktopEntryPath(), DesktopEntryText(fileType, names_));
        !written) {
        return written;
    }
    // The caches are refreshed where the tools exist; without them the desktop rescans on its own.
    (void)runner_({"update-mime-database", mimeFolder.string()});
    (void)runner_({"update-desktop-database", applicationsFolder.string()});
    return base::Done{};
}

} // namespace glyfora::platform
