#include "app/CharacterWindow.h"

#include "app/ToolWindow.h"

namespace glyfora::app {

CharacterCanvas::CharacterCanvas(QWidget* parent) : app::Canvas(parent) {
    setObjectName(QStringLiteral("CharacterCanvas"));
}

CharacterWindow::CharacterWindow(QWidget* mainWindow) : QWidget(mainWindow, ToolWindowFlags) {
    setObjectName(QStringLiteral("CharacterWindow"));
    setWindowTitle(QStringLiteral("Zeichen"));
    Canvas = new CharacterCanvas(this);
    setFixedSize(200, 100);
    Canvas->setGeometry(rect());
}

void CharacterWindow::resizeEvent(QResizeEvent* /*event*/) {
    Canvas->setGeometry(rect());
}

} // namespace glyfora::app
