#pragma once

#include "platform/FileTypes.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace glyfora::platform {

enum class ToolResult {
    Succeeded,
    Failed,   // started, but ended with an error, a signal, or ran too long and was stopped
    NotFound, // no such program on PATH
};

// Runs a program found on PATH with the given arguments, without a shell, its standard streams
// on /dev/null, and waits for it (at most timeoutMilliseconds, then it is killed).
[[nodiscard]] ToolResult RunTool(const std::vector<std::string>& argv,
                                 int timeoutMilliseconds = 20000);

using ToolRunner = std::function<ToolResult(const std::vector<std::string>& argv)>;

// The names under which the typeface file type appears on an XDG desktop.
struct XdgFileTypeNames {
    std::string MimeType = "application/x-glyfora-typeface";
    std::string PackageFile = "glyfora.xml";     // in <data>/mime/packages/
    std::string DesktopFile = "glyfora.desktop"; // in <data>/applications/
    std::string IconName = "glyfora";            // icon theme name
};

// A desktop entry's Exec value as written in the file: the program path quoted by the Exec rules,
// then %f, then escaped as a string value ("\\" for "\", "\n" for a line break, "%%" for "%").
[[nodiscard]] std::string DesktopExecFor(const std::string& programPath);

// A value of the "[Desktop Entry]" group exactly as the file holds it (blanks around "=" removed);
// empty when the group or key is missing.
[[nodiscard]] std::string DesktopEntryValue(std::string_view fileText, std::string_view key);

// The shared-mime-info package that declares the file type: its glob "*.<Extension>" and its
// Description as comment.
[[nodiscard]] std::string MimePackageText(const FileType& fileType, const XdgFileTypeNames& names);

// The desktop entry that opens the file type: Name = ProgId, Exec = the "open" verb's command,
// Icon, MimeType.
[[nodiscard]] std::string DesktopEntryText(const FileType& fileType, const XdgFileTypeNames& names);

// File-type registration the XDG way, in the user's data folder ($XDG_DATA_HOME): a
// shared-mime-info package and a desktop entry, then update-mime-database and
// update-desktop-database when they are installed. Commands are compared in the desktop entry's
// own Exec form: "<quoted program path>" %f.
class XdgFileTypeStore final : public FileTypeStore {
public:
    // An empty dataHome makes every write fail with a reason; runner defaults to RunTool.
    explicit XdgFileTypeStore(std::string dataHome, ToolRunner runner = {},
                              XdgFileTypeNames names = {});

    [[nodiscard]] std::string OpenCommandFor(const std::string& programPath) const override;
    [[nodiscard]] std::string IconFor(const std::string& programPath) const override;
    // The desktop entry's Exec, but empty when the package or the entry's MimeType is missing, so
    // that a half-removed registration is written again.
    [[nodiscard]] std::string ReadOpenCommand(const std::string& progId) const override;
    [[nodiscard]] base::Result<base::Done> Write(const FileType& fileType) override;

    [[nodiscard]] std::string PackagePath() const;
    [[nodiscard]] std::string DesktopEntryPath() const;

private:
    std::string dataHome_;
    ToolRunner runner_;
    XdgFileTypeNames names_;
};

} // namespace glyfora::platform
