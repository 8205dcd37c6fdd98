#pragma once

#include <QTemporaryDir>
#include <QtGlobal>

namespace glyfora::app::testing {

// Points HOME, the XDG folders and APPDATA into folder and turns the file-type check off, so a
// GUI test never reads or writes the user's own settings or registration. Call it before the
// QApplication is made; false when the folder could not be created.
inline bool IsolateUserFolders(const QTemporaryDir& folder) {
    if (!folder.isValid()) {
        return false;
    }
    for (const char* variable : {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME",
                                 "APPDATA"}) {
        qputenv(variable, folder.path().toLocal8Bit());
    }
    qputenv("GLYFORA_NO_FILE_TYPE_CHECK", "1");
    return true;
}

} // namespace glyfora::app::testing
