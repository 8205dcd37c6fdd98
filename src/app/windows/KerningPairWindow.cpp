#include "app/windows/KerningPairWindow.h"

#include "app/windows/ScreenFit.h"
#include "app/windows/ToolWindow.h"

#include <utility>

namespace glyfora::app {

KerningPairCanvas::KerningPairCanvas(QWidget* parent) : app::CanvasWidget(parent) {
    setObjectName(QStringLiteral("KerningPairCanvas"));
}

KerningPairWindow::KerningPairWindow(QWidget* mainWindow) : QWidget(mainWindow, ToolWindowFlags) {
    setObjectName(QStringLiteral("KerningPairWindow"));
    setWindowTitle(QStringLiteral("Unterschneidungspaar"));
    Canvas = new KerningPairCanvas(this);
    setFixedSize(300, 100);
    Canvas->setGeometry(rect());
}

void KerningPairWindow::ShowView(views::ViewPicture&& picture) {
    ShowViewPicture(*this, *Canvas, std::move(picture));
    if (isVisible()) {
        FitWindowToScreen(*this); // grown by a zoom or a large cell: kept wholly on the screen
    }
}

void KerningPairWindow::resizeEvent(QResizeEvent* /*event*/) {
    Canvas->setGeometry(rect());
}

} // namespace glyfora::app
