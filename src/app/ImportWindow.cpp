#include "app/ImportWindow.h"

#include "app/ToolWindow.h"

namespace glyfora::app {

ImportWindow::ImportWindow(QWidget* mainWindow) : QWidget(mainWindow, ClosableToolWindowFlags) {
    setObjectName(QStringLiteral("ImportWindow"));
    setWindowTitle(QStringLiteral("Import TTF"));
    setFixedSize(350, 385);
}

} // namespace glyfora::app
