// The platform services behind the settings: the settings folder and the desktop's file-type
// registration.
#include "app/shell/Settings.h"
#include "platform/Environment.h"
#include "platform/FileTypes.h"
#include "platform/Folders.h"
#include "platform/Installation.h"
#include "platform/XdgFileTypes.h"

#include <QtGlobal>

namespace glyfora::app {

std::string DefaultSettingsFolder() {
    return platform::SettingsFolder(platform::ProcessEnvironment());
}

bool CheckFileTypeRegistrationOfProgram(const std::string& programPath) {
    // The installation registered the type for every user; a user's own registration is theirs.
    if (platform::RunsFromInstallation(programPath)) {
        return false;
    }
    platform::XdgFileTypeStore store(platform::XdgDataHome(platform::ProcessEnvironment()));
    platform::FileTypeTable table;
    const base::Result<platform::FileTypeCheck> result =
        platform::CheckFileTypeRegistration(store, table, programPath);
    if (!result) {
        // The notice follows every rewrite, a failed one too; why it failed goes to the log only.
        qWarning("File type registration incomplete: %s", result.Error.c_str());
        return true;
    }
    return *result.Value == platform::FileTypeCheck::Rewritten;
}

} // namespace glyfora::app
