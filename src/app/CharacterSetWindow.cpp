#include "app/CharacterSetWindow.h"

#include "app/ToolWindow.h"

#include <QMenuBar>

namespace glyfora::app {

CharacterSetCanvas::CharacterSetCanvas(QWidget* parent) : app::Canvas(parent) {
    setObjectName(QStringLiteral("CharacterSetCanvas"));
    setCursor(Qt::CrossCursor);
}

CharacterSetWindow::CharacterSetWindow(QWidget* mainWindow)
    : QMainWindow(mainWindow, ToolWindowFlags) {
    setObjectName(QStringLiteral("CharacterSetWindow"));
    setWindowTitle(QStringLiteral("Zeichensatz"));
    struct Command {
        const char16_t* Text;
        const char16_t* Name;
    };
    for (const Command& command :
         {Command{u"Edit", u"CharacterSetEdit"}, Command{u"Import", u"CharacterSetImport"},
          Command{u"Add Char", u"CharacterSetAddChar"}, Command{u"Set Char", u"CharacterSetSetChar"}}) {
        menuBar()->addAction(QString::fromUtf16(command.Text))
            ->setObjectName(QString::fromUtf16(command.Name));
    }
    Canvas = new CharacterSetCanvas(this);
    setCentralWidget(Canvas);
    Canvas->setFocus();
}

} // namespace glyfora::app
