#pragma once

#include "app/windows/DispatchEvent.h"
#include "platform/PictureWatch.h"

#include <QTimer>
#include <string>

namespace glyfora::app {

struct Shell;

// Replaces the picture by a PNG or BMP file as one step; a file that cannot be loaded keeps the
// current picture and the reason is shown.
void ImportCharacterSetPicture(Shell& shell, const std::string& path);

// "Import" of the character-set window: replaces the picture by a PNG or BMP file. A file that
// cannot be loaded keeps the current picture and the reason is shown.
void OnCharacterSetImport(Shell& shell, const DispatchEvent& event);

// "Add Image" of the character-set window: asks for a PNG or BMP picture and then for its code
// (a free one is proposed), drawing offset and advance, and makes the picture that character's
// cell in free space of the character-set picture. A picture that cannot be loaded, or a refusal,
// is shown; a cancelled question changes nothing.
void OnCharacterSetAddImage(Shell& shell, const DispatchEvent& event);

// "Edit" of the character-set window: exports the picture to "CharacterSet.png" in the shell's
// own folder inside the temporary folder (made at the first export), starts the editor on it and
// starts watching the file.
void OnCharacterSetEdit(Shell& shell, const DispatchEvent& event);

// The 250 ms poll of the shell's watch of the exported picture. The shell makes it with the
// windows; the first "Edit" starts it and it runs from then on, each tick reloading a picture the
// editor saved into whatever typeface is current.
class PictureWatchTimer : public QTimer {
    Q_OBJECT
public:
    PictureWatchTimer(Shell& shell, QObject* parent);

private:
    void Check();

    Shell& shell_;
    platform::WatchStatus lastStatus_ = platform::WatchStatus::Unchanged;
};

} // namespace glyfora::app
