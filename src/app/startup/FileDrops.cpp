#include "app/startup/FileDrops.h"

#include "app/editing/CharacterSetPicture.h"
#include "app/shell/Shell.h"
#include "app/windows/CharacterSetWindow.h"
#include "app/windows/CharacterWindow.h"
#include "app/windows/ExampleWindow.h"
#include "app/windows/ImportWindow.h"
#include "app/windows/KerningPairWindow.h"
#include "app/windows/MainWindow.h"
#include "formats/FileFormat.h"

#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <string>

namespace glyfora::app {
namespace {

enum class DropKind { None, Typeface, Picture };

// What one dropped local file is to the window it falls on.
DropKind KindOf(const QMimeData* data, bool pictureWindow, std::string& path) {
    if (data == nullptr || !data->hasUrls() || data->urls().size() != 1 ||
        !data->urls().front().isLocalFile()) {
        return DropKind::None;
    }
    path = data->urls().front().toLocalFile().toStdString();
    const std::string extension = formats::ExtensionOf(path);
    if (pictureWindow && (extension == "png" || extension == "bmp")) {
        return DropKind::Picture;
    }
    return formats::FormatForFileName(path) ? DropKind::Typeface : DropKind::None;
}

class FileDropFilter final : public QObject {
public:
    FileDropFilter(Shell& shell, QObject* parent) : QObject(parent), shell_(shell) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const QEvent::Type type = event->type();
        if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop) {
            return false;
        }
        auto* drop = static_cast<QDropEvent*>(event);
        const auto* widget = qobject_cast<const QWidget*>(watched);
        const bool pictureWindow = widget != nullptr && widget->window() == shell_.CharacterSet;
        std::string path;
        const DropKind kind = KindOf(drop->mimeData(), pictureWindow, path);
        if (kind == DropKind::None) {
            return false;
        }
        drop->acceptProposedAction();
        if (type == QEvent::Drop) {
            Open(kind, path);
        }
        return true;
    }

private:
    void Open(DropKind kind, const std::string& path) {
        if (kind == DropKind::Picture) {
            shell_.State.CharacterSetImagePath = path;
            ImportCharacterSetPicture(shell_, path);
        } else if (ConfirmDiscard(shell_)) {
            (void)OpenTypefaceFile(shell_, path);
        }
    }

    Shell& shell_;
};

} // namespace

void AcceptFileDrops(Shell& shell) {
    auto* filter = new FileDropFilter(shell, shell.Main.get());
    for (QWidget* window :
         std::initializer_list<QWidget*>{shell.Main.get(), shell.Import, shell.Example,
                                         shell.CharacterSet, shell.Character, shell.KerningPair}) {
        window->setAcceptDrops(true);
        window->installEventFilter(filter);
        // Text fields take drops of their own; files still go to the window's handling.
        for (QWidget* child : window->findChildren<QWidget*>()) {
            if (child->acceptDrops()) {
                child->installEventFilter(filter);
            }
        }
    }
}

} // namespace glyfora::app
