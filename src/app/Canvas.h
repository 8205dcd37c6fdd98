#pragma once

#include <QWidget>

namespace glyfora::app {

// Background of every view: 0x404040.
inline constexpr QRgb ViewBackground = 0xFF404040;

// A view surface: paints the view background and reports wheel turns in notches (positive = away
// from the user). The views paint over it.
class Canvas : public QWidget {
    Q_OBJECT
public:
    explicit Canvas(QWidget* parent = nullptr);

signals:
    void wheeled(int notches);

protected:
    void paintEvent(QPaintEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    int wheelRemainder_ = 0; // eighths of a degree not yet worth a notch (touchpads)
};

} // namespace glyfora::app
