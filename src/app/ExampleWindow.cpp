#include "app/ExampleWindow.h"

#include "app/AppState.h"
#include "app/ToolWindow.h"
#include "app/Canvas.h"

#include <QLineEdit>
#include <QPainter>

namespace glyfora::app {

ExampleScreen::ExampleScreen(AppState& state, QWidget* parent) : QWidget(parent), state_(state) {
    setObjectName(QStringLiteral("ExampleScreen"));
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ExampleScreen::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.fillRect(rect(), QColor::fromRgb(ViewBackground));
    SetKerningEnabled(state_, TypefaceId, true);
    emit frameDrawn();
}

// Stands in for the renderer's own SetKerningEnabled until the example renderer is wired in.
void SetKerningEnabled(AppState& state, std::int64_t id, bool on) {
    document::Typeface* typeface = document::TypefaceFromId(state.Registry, id);
    if (typeface != nullptr) {
        typeface->Settings.KerningEnabled =
            on && !typeface->Content.KerningPairs.Empty() ? 1 : 0;
    }
}

ExampleWindow::ExampleWindow(AppState& state, QWidget* mainWindow)
    : QWidget(mainWindow, ToolWindowFlags) {
    setObjectName(QStringLiteral("ExampleWindow"));
    setWindowTitle(QStringLiteral("Beispiel"));
    resize(800, 100);
    ExampleScreen = new app::ExampleScreen(state, this);
    ExampleTextField = new QLineEdit(
        QStringLiteral("Grumpy wizards make toxic brew for the evil Queen and Jack."), this);
    ExampleTextField->setObjectName(QStringLiteral("ExampleTextField"));
    LayOut();
}

void ExampleWindow::LayOut() {
    ExampleTextField->setGeometry(0, 0, width(), 20);
    ExampleScreen->setGeometry(0, 20, width(), qMax(0, height() - 20));
}

} // namespace glyfora::app
