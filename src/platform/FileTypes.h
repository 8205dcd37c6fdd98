#pragma once

#include "base/Result.h"
#include "platform/Environment.h"

#include <map>
#include <string>
#include <vector>

namespace glyfora::platform {

struct FileTypeVerb {
    std::string Name;        // verb key name, e.g. "open"
    std::string DisplayName; // menu text of the verb
    std::string Command;     // command line executed for the verb
};

struct FileType {
    std::string Extension;           // without the dot, e.g. "tf"
    std::string ProgId;              // name of the file type's own key
    std::string Description;         // text shown for the file type
    std::string Icon;                // icon location
    std::vector<FileTypeVerb> Verbs; // in the order added
};

// File types by extension; defining an extension again replaces its record.
struct FileTypeTable {
    std::map<std::string, FileType> Types;
};

// Enters a fresh record without verbs for the extension.
void DefineFileType(FileTypeTable& table, const std::string& extension, const std::string& progId,
                    const std::string& description, const std::string& icon);

// Appends a verb to the extension's record; false when the extension was never defined.
bool AddFileTypeVerb(FileTypeTable& table, const std::string& extension, const std::string& name,
                     const std::string& displayName, const std::string& command);

// The registration the application makes for its documents.
inline constexpr const char* TypefaceExtension = "tf";
inline constexpr const char* TypefaceProgId = "Glyfora";
inline constexpr const char* TypefaceDescription = "Typeface";
inline constexpr const char* OpenVerbName = "open";
inline constexpr const char* OpenVerbDisplayName = "Öffnen";

// Enters the application's own record: "tf", "Glyfora", "Typeface", the icon, and the "open" verb
// ("Öffnen") with openCommand. The start-up check and the installed desktop files both use it.
void DefineTypefaceFileType(FileTypeTable& table, const std::string& icon,
                            const std::string& openCommand);

// "\"" + programPath + "\" \"%1\"": the command the file type must be registered with.
[[nodiscard]] std::string MakeOpenCommand(const std::string& programPath);

// Where a file-type registration lives (the desktop's own files: XdgFileTypeStore). A store uses
// its own form of the open command and compares in that form.
class FileTypeStore {
public:
    virtual ~FileTypeStore() = default;
    // The command that opens a file with the given program, in this store's form.
    [[nodiscard]] virtual std::string OpenCommandFor(const std::string& programPath) const = 0;
    // The icon location for the given program, in this store's form.
    [[nodiscard]] virtual std::string IconFor(const std::string& programPath) const = 0;
    // The command registered to open files of progId; empty when there is none.
    [[nodiscard]] virtual std::string ReadOpenCommand(const std::string& progId) const = 0;
    // Writes the record.
    [[nodiscard]] virtual base::Result<base::Done> Write(const FileType& fileType) = 0;
};

// Writes the extension's record from the table into the store; fails when it is unknown or the
// store fails.
[[nodiscard]] base::Result<base::Done>
WriteFileType(const FileTypeTable& table, const std::string& extension, FileTypeStore& store);

// What the start-up check found.
enum class FileTypeCheck {
    Unchanged, // the registration was the program's already
    Rewritten, // it differed and was written again
};

// The start-up check: when the store's open command for "Glyfora" is not exactly the one for
// programPath, defines "tf" in the table with its "open" verb and writes it. Fails, saying why,
// when that write fails; the registration was then rewritten as far as the store let it, and the
// shell tells the user "Dateierweiterung (*.tf) wurde erstellt bzw. aktuallisiert." after every
// rewrite, failed or not.
[[nodiscard]] base::Result<FileTypeCheck> CheckFileTypeRegistration(FileTypeStore& store,
                                                                    FileTypeTable& table,
                                                                    const std::string& programPath);

// The command-line flag that turns the start-up check off.
inline constexpr const char* NoFileTypeCheckFlag = "--no-file-type-check";

// False when args hold NoFileTypeCheckFlag or GLYFORA_NO_FILE_TYPE_CHECK is "1" (tests, CI). An
// installed program skips the check on its own (RunsFromInstallation).
[[nodiscard]] bool FileTypeCheckEnabled(const std::vector<std::string>& args,
                                        const Environment& environment);

} // namespace glyfora::platform
