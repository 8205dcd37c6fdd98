#pragma once

#include "app/surfaces/CanvasWidget.h"
#include "app/windows/DispatchEvent.h"

#include <QMainWindow>

class QAction;
class QMouseEvent;

namespace glyfora::app {

// The magnified character-set picture; takes the keyboard focus and shows a crosshair. Reports
// presses, releases and moves of the left, right and middle buttons with the pointer position.
class CharacterSetCanvas : public CanvasWidget {
    Q_OBJECT
public:
    explicit CharacterSetCanvas(QWidget* parent);

signals:
    void mouse(app::DispatchEvent event);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void Report(MouseAction action, const QMouseEvent& event);
};

// "Zeichensatz": the commands right in the menu bar over the character-set canvas.
class CharacterSetWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit CharacterSetWindow(QWidget* mainWindow);

    QAction* CharacterSetEdit = nullptr;
    QAction* CharacterSetImport = nullptr;
    QAction* CharacterSetAddChar = nullptr;
    QAction* CharacterSetSetChar = nullptr;
    QAction* CharacterSetAddImage = nullptr;
    CharacterSetCanvas* Canvas = nullptr;
};

} // namespace glyfora::app
