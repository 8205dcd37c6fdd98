#include "app/windows/CharacterSetWindow.h"

#include "app/windows/ToolWindow.h"

#include <QAction>
#include <QMenuBar>
#include <QMouseEvent>
#include <cmath>

namespace glyfora::app {

CharacterSetCanvas::CharacterSetCanvas(QWidget* parent) : app::CanvasWidget(parent) {
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
    const auto add = [this](const QString& text, const QString& name) {
        QAction* action = menuBar()->addAction(text);
        action->setObjectName(name);
        return action;
    };
    CharacterSetEdit = add(QStringLiteral("Edit"), QStringLiteral("CharacterSetEdit"));
    CharacterSetImport = add(QStringLiteral("Import"), QStringLiteral("CharacterSetImport"));
    CharacterSetAddChar = add(QStringLiteral("Add Char"), QStringLiteral("CharacterSetAddChar"));
    CharacterSetSetChar = add(QStringLiteral("Set Char"), QStringLiteral("CharacterSetSetChar"));
    CharacterSetAddImage = add(QStringLiteral("Add Image"), QStringLiteral("CharacterSetAddImage"));
    Canvas = new CharacterSetCanvas(this);
    setCentralWidget(Canvas);
    Canvas->setFocus();
}

} // namespace glyfora::app
