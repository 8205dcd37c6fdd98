#pragma once

#include <QWidget>

class QLineEdit;

namespace glyfora::app {

struct AppState;

// Where the example text is drawn. Repaints only when asked (QWidget::update coalesces requests
// to one frame per display refresh), so an idle editor draws nothing.
class ExampleScreen : public QWidget {
    Q_OBJECT
public:
    ExampleScreen(AppState& state, QWidget* parent);

signals:
    // After every finished frame.
    void frameDrawn();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    AppState& state_;
};

// Turns kerning on for the example exactly when the typeface has kerning pairs.
void SetKerningEnabled(AppState& state, std::int64_t id, bool on);

// "Beispiel": the example text field over the example screen; sizable.
class ExampleWindow : public QWidget {
    Q_OBJECT
public:
    ExampleWindow(AppState& state, QWidget* mainWindow);

    // Text field across the top, 20 pixels high; the screen below it.
    void LayOut();

    QLineEdit* ExampleTextField = nullptr;
    app::ExampleScreen* ExampleScreen = nullptr;
};

} // namespace glyfora::app
