#include "app/windows/ExampleWindow.h"

#include "app/surfaces/ExampleScreen.h"
#include "app/windows/ToolWindow.h"
#include "document/Pixel.h"
#include "views/ExampleTextRenderer.h"
#include "views/RenderSettingsAccess.h"

#include <QActionGroup>
#include <QLineEdit>
#include <QMenu>
#include <string_view>

namespace glyfora::app {

namespace {

QAction* AddScaleAction(QMenu& menu, QActionGroup& group, const QString& text, int scale) {
    QAction* action = menu.addAction(text);
    action->setObjectName(QStringLiteral("ExampleViewScale") + QString::number(scale));
    action->setCheckable(true);
    group.addAction(action);
    return action;
}

} // namespace

ExampleWindow::ExampleWindow(document::TypefaceRegistry& registry, const views::ViewState& view,
                             std::int64_t typefaceId, QWidget* mainWindow)
    : QWidget(mainWindow, ToolWindowFlags) {
    setObjectName(QStringLiteral("ExampleWindow"));
    setWindowTitle(QStringLiteral("Beispiel"));
    resize(800, 100);
    ExampleTextField = new QLineEdit(
        QStringLiteral("Grumpy wizards make toxic brew for the evil Queen and Jack."), this);
    ExampleTextField->setObjectName(QStringLiteral("ExampleTextField"));
    QLineEdit* field = ExampleTextField;
    ExampleScreen = CreateExampleScreen(this, [this, &registry, &view, typefaceId,
                                               field](views::QuadSurface& surface) {
        if (view.ExampleBackground != views::ViewBackground) {
            surface.Clear(document::ColourOf(view.ExampleBackground));
        }
        (void)views::SetKerningEnabled(registry, typefaceId, true);
        const QString text = field->text();
        views::DrawTypefaceText(registry, surface, typefaceId, 10.0F, 10.0F,
                                std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()),
                                                    static_cast<std::size_t>(text.size())),
                                views::DefaultIntegerArgument, views::DefaultIntegerArgument,
                                view.ExampleScale);
        emit frameDrawn();
    });
    // The field stays above the screen, also for a native OpenGL child window.
    ExampleTextField->raise();

    ViewMenu = new QMenu(QStringLiteral("Ansicht"), this);
    ViewMenu->setObjectName(QStringLiteral("ExampleViewMenu"));
    auto* scales = new QActionGroup(ViewMenu);
    ViewScale1 = AddScaleAction(*ViewMenu, *scales, QStringLiteral("1×"), 1);
    ViewScale2 = AddScaleAction(*ViewMenu, *scales, QStringLiteral("2×"), 2);
    ViewScale4 = AddScaleAction(*ViewMenu, *scales, QStringLiteral("4×"), 4);
    ViewScale8 = AddScaleAction(*ViewMenu, *scales, QStringLiteral("8×"), 8);
    ViewMenu->addSeparator();
    ViewBackgroundColour = ViewMenu->addAction(QStringLiteral("Hintergrundfarbe…"));
    ViewBackgroundColour->setObjectName(QStringLiteral("ExampleViewBackground"));
    ShowScale(view.ExampleScale);
    QWidget* screen = ExampleScreen->Widget();
    screen->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(screen, &QWidget::customContextMenuRequested, this,
            [this, screen](const QPoint& at) { ViewMenu->popup(screen->mapToGlobal(at)); });
    LayOut();
}

void ExampleWindow::ShowScale(float scale) {
    for (auto [action, value] : {std::pair{ViewScale1, 1.0F}, std::pair{ViewScale2, 2.0F},
                                 std::pair{ViewScale4, 4.0F}, std::pair{ViewScale8, 8.0F}}) {
        action->setChecked(value == scale);
    }
}

void ExampleWindow::LayOut() {
    ExampleTextField->setGeometry(0, 0, width(), 20);
    ExampleScreen->Widget()->setGeometry(0, 20, width(), qMax(0, height() - 20));
}

} // namespace glyfora::app
