#include "app/surfaces/CanvasWidget.h"

#include "document/Pixel.h"

#include <QPainter>
#include <QScreen>
#include <QWheelEvent>
#include <algorithm>
#include <limits>
#include <utility>

namespace glyfora::app {

CanvasWidget::CanvasWidget(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
}

QImage WrapPicture(const document::Image& picture) {
    constexpr std::int64_t Largest = std::numeric_limits<int>::max() / 4;
    if (picture.Width <= 0 || picture.Height <= 0 || picture.Width > Largest ||
        picture.Height > Largest ||
        picture.Pixels.size() < static_cast<std::size_t>(picture.Width * picture.Height)) {
        return {};
    }
    return QImage(reinterpret_cast<const uchar*>(picture.Pixels.data()),
                  static_cast<int>(picture.Width), static_cast<int>(picture.Height),
                  static_cast<qsizetype>(picture.Width * 4), QImage::Format_RGBA8888);
}

QColor ViewBackgroundColour() {
    return {static_cast<int>(document::Red(views::ViewBackground)),
            static_cast<int>(document::Green(views::ViewBackground)),
            static_cast<int>(document::Blue(views::ViewBackground))};
}

void CanvasWidget::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.fillRect(rect(), ViewBackgroundColour());
    const QImage picture = WrapPicture(Picture);
    if (!picture.isNull()) {
        // The views magnify with hard pixel edges; any scaling to device pixels keeps them.
        painter.drawImage(0, 0, picture);
    }
}

void CanvasWidget::ShowPicture() {
    update();
    emit pictureShown();
}

void ShowViewPicture(QWidget& window, CanvasWidget& canvas, views::ViewPicture&& picture) {
    if (!picture.Visible) {
        window.hide();
        canvas.Picture = {};
        canvas.ShowPicture();
        return;
    }
    // Never larger than the screen's free area with the window's frame: a deep zoom shows the
    // view's top-left part rather than a window that cannot be moved or closed.
    QSize room(views::MaxCanvasSide, views::MaxCanvasSide);
    if (const QScreen* screen = window.screen()) {
        const QSize frame = window.frameGeometry().size() - window.geometry().size();
        room = room.boundedTo(screen->availableGeometry().size() - frame);
    }
    const int width = static_cast<int>(std::clamp<std::int64_t>(picture.Width, 1, room.width()));
    const int height = static_cast<int>(std::clamp<std::int64_t>(picture.Height, 1, room.height()));
    canvas.Picture = std::move(picture.Picture);
    window.setFixedSize(width, height);
    canvas.setGeometry(0, 0, width, height);
    canvas.ShowPicture();
    if (!window.isVisible()) {
        // A tool window that pops up while the user types in a list must not take the focus.
        window.setAttribute(Qt::WA_ShowWithoutActivating);
        window.show();
    }
}

void CanvasWidget::wheelEvent(QWheelEvent* event) {
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
