#include "app/windows/CharacterWindow.h"

#include "app/windows/ScreenFit.h"
#include "app/windows/ToolWindow.h"

#include <utility>

namespace glyfora::app {

CharacterCanvas::CharacterCanvas(QWidget* parent) : app::CanvasWidget(parent) {
    setObjectName(QStringLiteral("CharacterCanvas"));
}

CharacterWindow::CharacterWindow(QWidget* mainWindow) : QWidget(mainWindow, ToolWindowFlags) {
    setObjectName(QStringLiteral("CharacterWindow"));
    setWindowTitle(QStringLiteral("Zeichen"));
    Canvas = new CharacterCanvas(this);
    setFixedSize(200, 100);
    Canvas->setGeometry(rect());
}

void CharacterWindow::ShowView(views::ViewPicture&& picture) {
    ShowViewPicture(*this, *Canvas, std::move(picture));
    if (isVisible()) {
        FitWindowToScreen(*this); // grown by a zoom or a large cell: kept wholly on the screen
    }
}

void CharacterWindow::resizeEvent(QResizeEvent* /*event*/) {
    Canvas->setGeometry(rect());
}

} // namespace glyfora::app
