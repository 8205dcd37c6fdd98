#include "app/CharacterSetWindow.h"

#include "app/ToolWindow.h"

#include <QMenuBar>
#include <QMouseEvent>

#include <cmath>

namespace glyfora::app {

CharacterSetCanvas::CharacterSetCanvas(QWidget* parent) : app::Canvas(parent) {
    setObjectName(QStringLiteral("CharacterSetCanvas"));
    setCursor(Qt::CrossCursor);
}

namespace {

MouseButton ButtonOf(Qt::MouseButton button) {
    switch (button) {
    case Qt::LeftButton:
        return MouseButton::Left;
    case Qt::RightButton:
        return MouseButton::Right;
    case Qt::MiddleButton:
        return MouseButton::Middle;
    default:
        return MouseButton::None;
    }
}

} // namespace

void CharacterSetCanvas::Report(MouseAction action, const QMouseEvent& event) {
    DispatchEvent report;
    report.Action = action;
    report.Button = action == MouseAction::Move ? MouseButton::None : ButtonOf(event.button());
    // Whole canvas pixels; floor keeps a pointer just left of or above the canvas negative.
    report.X = static_cast<std::int64_t>(std::floor(event.position().x()));
    report.Y = static_cast<std::int64_t>(std::floor(event.position().y()));
    if (action != MouseAction::Move && report.Button == MouseButton::None) {
        return;
    }
    emit mouse(report);
}

void CharacterSetCanvas::mousePressEvent(QMouseEvent* event) {
    Report(MouseAction::Press, *event);
    event->accept();
}

void CharacterSetCanvas::mouseMoveEvent(QMouseEvent* event) {
    Report(MouseAction::Move, *event);
    event->accept();
}

void CharacterSetCanvas::mouseReleaseEvent(QMouseEvent* event) {
    Report(MouseAction::Release, *event);
    event->accept();
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
