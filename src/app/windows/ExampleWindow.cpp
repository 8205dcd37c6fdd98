#include "app/windows/ExampleWindow.h"

#include "app/surfaces/ExampleScreen.h"
#include "app/windows/ToolWindow.h"
#include "views/ExampleTextRenderer.h"
#include "views/RenderSettingsAccess.h"

#include <QLineEdit>
#include <string_view>

namespace glyfora::app {

ExampleWindow::ExampleWindow(document::TypefaceRegistry& registry, std::int64_t typefaceId,
                             QWidget* mainWindow)
    : QWidget(mainWindow, ToolWindowFlags) {
    setObjectName(QStringLiteral("ExampleWindow"));
    setWindowTitle(QStringLiteral("Beispiel"));
    resize(800, 100);
    ExampleTextField = new QLineEdit(
        QStringLiteral("Grumpy wizards make toxic brew for the evil Queen and Jack."), this);
    ExampleTextField->setObjectName(QStringLiteral("ExampleTextField"));
    QLineEdit* field = ExampleTextField;
    ExampleScreen = CreateExampleScreen(this, [this, &registry, typefaceId,
                                               field](views::QuadSurface& surface) {
        (void)views::SetKerningEnabled(registry, typefaceId, true);
        const QString text = field->text();
        views::DrawTypefaceText(registry, surface, typefaceId, 10.0F, 10.0F,
                                std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()),
                                                    static_cast<std::size_t>(text.size())));
        emit frameDrawn();
    });
    // The field stays above the screen, also for a native OpenGL child window.
    ExampleTextField->raise();
    LayOut();
}

void ExampleWindow::LayOut() {
    ExampleTextField->setGeometry(0, 0, width(), 20);
    ExampleScreen->Widget()->setGeometry(0, 20, width(), qMax(0, height() - 20));
}

} // namespace glyfora::app
