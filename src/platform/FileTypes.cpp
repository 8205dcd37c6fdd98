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

bool WriteFileType(const FileTypeTable& table, const std::string& extension,
                   RegistryBackend& registry) {
    const auto found = table.Types.find(extension);
    if (found == table.Types.end()) {
        return false;
    }
    const FileType& record = found->second;
    bool complete = true;
    const auto value = [&](const std::string& path, const std::string& text) {
        complete = WriteRegistryString(registry, path, text) && complete;
    };

    const std::string extensionKey = "HKEY_CLASSES_ROOT\\." + record.Extension + "\\";
    if (CreateRegistryKey(registry, extensionKey)) {
        value(extensionKey, record.ProgId);
    } else {
        complete = false;
    }
    const std::string typeKey = "HKEY_CLASSES_ROOT\\" + record.ProgId + "\\";
    if (!CreateRegistryKey(registry, typeKey)) {
        return false;
    }
    value(typeKey, record.Description);
    if (CreateRegistryKey(registry, typeKey + "DefaultIcon\\")) {
        value(typeKey + "DefaultIcon\\", record.Icon);
    } else {
        complete = false;
    }
    if (record.Verbs.empty()) {
        return complete;
    }
    if (!CreateRegistryKey(registry, typeKey + "shell\\")) {
        return false;
    }
    for (const FileTypeVerb& verb : record.Verbs) {
        const std::string verbKey = typeKey + "shell\\" + verb.Name;
        if (!CreateRegistryKey(registry, verbKey)) {
            complete = false;
            continue;
        }
        value(verbKey + "\\", verb.DisplayName);
        if (CreateRegistryKey(registry, verbKey + "\\command\\")) {
            value(verbKey + "\\command\\", verb.Command);
        } else {
            complete = false;
        }
    }
    return complete;
}

void DefineTypefaceFileType(FileTypeTable& table, const std::string& icon,
                            const std::string& openCommand) {
    DefineFileType(table, TypefaceExtension, TypefaceProgId, TypefaceDescription, icon);
    AddFileTypeVerb(table, TypefaceExtension, OpenVerbName, OpenVerbDisplayName, openCommand);
}

std::string MakeOpenCommand(const std::string& programPath) {
    return "\"" + programPath + "\" \"%1\"";
}

std::string MakeIconLocation(const std::string& programPath) {
    return "\"" + programPath + "\",1";
}

std::string RegistryFileTypeStore::OpenCommandFor(const std::string& programPath) const {
    return MakeOpenCommand(programPath);
}

std::string RegistryFileTypeStore::IconFor(const std::string& programPath) const {
    return MakeIconLocation(programPath);
}

std::string RegistryFileTypeStore::ReadOpenCommand(const std::string& progId) const {
    return ReadRegistryString(registry_,
                              "HKEY_CLASSES_ROOT\\" + progId + "\\shell\\open\\command\\", false);
}

base::Result<base::Done> RegistryFileTypeStore::Write(const FileType& fileType) {
    FileTypeTable table;
    table.Types[fileType.Extension] = fileType;
    if (!WriteFileType(table, fileType.Extension, registry_)) {
        return base::Failure{"the registry refused some of the keys or values of \"." +
                             fileType.Extension + "\""};
    }
    return base::Done{};
}

base::Result<base::Done> WriteFileType(const FileTypeTable& table, const std::string& extension,
                                       FileTypeStore& store) {
    const auto found = table.Types.find(extension);
    if (found == table.Types.end()) {
        return base::Failure{"the file type \"." + extension + "\" is not defined"};
    }
    return store.Write(found->second);
}

FileTypeCheckResult CheckFileTypeRegistration(FileTypeStore& store, FileTypeTable& table,
                                              const std::string& programPath) {
    const std::string expected = store.OpenCommandFor(programPath);
    if (store.ReadOpenCommand(TypefaceProgId) == expected) {
        return {};
    }
    DefineTypefaceFileType(table, store.IconFor(programPath), expected);
    FileTypeCheckResult result;
    result.Rewritten = true;
    result.Reason = WriteFileType(table, TypefaceExtension, store).Error;
    return result;
}

bool FileTypeCheckEnabled(const std::vector<std::string>& args, const Environment& environment) {
    if (std::find(args.begin(), args.end(), NoFileTypeCheckFlag) != args.end()) {
        return false;
    }
    return EnvironmentValue(environment, "GLYFORA_NO_FILE_TYPE_CHECK") != "1";
}

} // namespace glyfora::platform
