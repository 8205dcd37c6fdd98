#include "app/Canvas.h"

#include <QPainter>
#include <QWheelEvent>

namespace glyfora::app {

Canvas::Canvas(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
}

void Canvas::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.fillRect(rect(), QColor::fromRgb(ViewBackground));
}

void Canvas::wheelEvent(QWheelEvent* event) {
    // One notch is 120 eighths of a degree; smooth wheels deliver it in parts.
    wheelRemainder_ += event->angleDelta().y();
    const int notches = wheelRemainder_ / 120;
    wheelRemainder_ -= notches * 120;
    if (notches != 0) {
        emit wheeled(notches);
    }
    event->accept();
}

} // namespace glyfora::app
