#include "platform/FileTypes.h"

#include <algorithm>

namespace glyfora::platform {

void DefineFileType(FileTypeTable& table, const std::string& extension, const std::string& progId,
                    const std::string& description, const std::string& icon) {
    table.Types[extension] = FileType{extension, progId, description, icon, {}};
}

bool AddFileTypeVerb(FileTypeTable& table, const std::string& extension, const std::string& name,
                     const std::string& displayName, const std::string& command) {
    const auto found = table.Types.find(extension);
    if (found == table.Types.end()) {
        return false;
    }
    found->second.Verbs.push_back({name, displayName, command});
    return true;
}

void DefineTypefaceFileType(FileTypeTable& table, const std::string& icon,
                            const std::string& openCommand) {
    DefineFileType(table, TypefaceExtension, TypefaceProgId, TypefaceDescription, icon);
    AddFileTypeVerb(table, TypefaceExtension, OpenVerbName, OpenVerbDisplayName, openCommand);
}

std::string MakeOpenCommand(const std::string& programPath) {
    return "\"" + programPath + "\" \"%1\"";
}

base::Result<base::Done> WriteFileType(const FileTypeTable& table, const std::string& extension,
                                       FileTypeStore& store) {
    const auto found = table.Types.find(extension);
    if (found == table.Types.end()) {
        return base::Failure{"the file type \"." + extension + "\" is not defined"};
    }
    return store.Write(found->second);
}

base::Result<FileTypeCheck> CheckFileTypeRegistration(FileTypeStore& store, FileTypeTable& table,
                                                      const std::string& programPath) {
    const std::string expected = store.OpenCommandFor(programPath);
    if (store.ReadOpenCommand(TypefaceProgId) == expected) {
        return FileTypeCheck::Unchanged;
    }
    DefineTypefaceFileType(table, store.IconFor(programPath), expected);
    if (base::Result<base::Done> written = WriteFileType(table, TypefaceExtension, store);
        !written) {
        return base::Failure{std::move(written.Error)};
    }
    return FileTypeCheck::Rewritten;
}

bool FileTypeCheckEnabled(const std::vector<std::string>& args, const Environment& environment) {
    if (std::find(args.begin(), args.end(), NoFileTypeCheckFlag) != args.end()) {
        return false;
    }
    return EnvironmentValue(environment, "GLYFORA_NO_FILE_TYPE_CHECK") != "1";
}

} // namespace glyfora::platform
