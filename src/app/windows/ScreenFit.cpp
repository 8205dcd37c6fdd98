#include "app/windows/ScreenFit.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QVBoxLayout>
#include <QWidget>
#include <algorithm>
#include <cstdint>

namespace glyfora::app {
namespace {

// Fits a window again once the window manager has framed it: before that its title bar is only
// estimated, and a window placed at the top of the screen may end up with it above the edge.
class FitWhenFramed : public QObject {
public:
    static constexpr auto Name = u"FitWhenFramed";

    explicit FitWhenFramed(QWidget& window) : QObject(&window) {
        setObjectName(QString::fromUtf16(Name));
        window.installEventFilter(this);
    }

protected:
    // The frame is known by the first event after the window manager framed the window (often
    // its first paint), whatever that event is.
    bool eventFilter(QObject* watched, QEvent* /*event*/) override {
        auto* window = static_cast<QWidget*>(watched);
        if (window->frameGeometry() != window->geometry()) {
            window->removeEventFilter(this);
            deleteLater();
            FitWindowToScreen(*window);
        }
        return false;
    }
};

std::int64_t DistanceSquared(QRect frame, QRect screen) {
    const std::int64_t dx = std::max<std::int64_t>({0, std::int64_t{screen.left()} - frame.right(),
                                                    std::int64_t{frame.left()} - screen.right()});
    const std::int64_t dy = std::max<std::int64_t>({0, std::int64_t{screen.top()} - frame.bottom(),
                                                    std::int64_t{frame.top()} - screen.bottom()});
    return dx * dx + dy * dy;
}

} // namespace

QPoint PlaceOnScreens(QRect frame, const QList<QRect>& screens) {
    if (screens.isEmpty()) {
        return frame.topLeft();
    }
    const QRect* nearest = &screens.front();
    for (const QRect& screen : screens) {
        if (screen.intersects(frame)) {
            return frame.topLeft();
        }
        if (DistanceSquared(frame, screen) < DistanceSquared(frame, *nearest)) {
            nearest = &screen;
        }
    }
    return KeepInside(frame, *nearest);
}

QPoint KeepInside(QRect frame, QRect area) {
    const int x = std::max(area.left(), std::min(frame.left(), area.right() + 1 - frame.width()));
    const int y = std::max(area.top(), std::min(frame.top(), area.bottom() + 1 - frame.height()));
    return {x, y};
}

QList<QRect> ScreenAreas() {
    QList<QRect> areas;
    for (const QScreen* screen : QGuiApplication::screens()) {
        areas << screen->availableGeometry();
    }
    return areas;
}

void FitWindowToScreen(QWidget& window) {
    // The screen under the window's middle: a hidden window may not know its screen yet.
    const QScreen* screen = QGuiApplication::screenAt(window.geometry().center());
    if (screen == nullptr) {
        screen = window.screen();
    }
    if (screen == nullptr) {
        return;
    }
    const QRect area = screen->availableGeometry();
    // Until the window manager has framed a window, its title bar is estimated from the style.
    const QSize framed = window.frameGeometry().size() - window.size();
    const bool known = framed.height() > 0;
    const QSize frame =
        known ? framed : QSize(0, window.style()->pixelMetric(QStyle::PM_TitleBarHeight));
    if (!known && window.findChild<QObject*>(QString::fromUtf16(FitWhenFramed::Name),
                                             Qt::FindDirectChildrenOnly) == nullptr) {
        new FitWhenFramed(window);
    }
    const QSize room = (area.size() - frame).expandedTo(window.minimumSize());
    if (window.width() > room.width() || window.height() > room.height()) {
        window.resize(window.size().boundedTo(room));
    }
    const QRect outer(window.pos(), window.size() + frame);
    window.move(KeepInside(outer, area));
}

void MakeScrollable(QWidget& window) {
    const QSize laidOut = window.size();
    auto* page = new QWidget;
    page->setObjectName(window.objectName() + QStringLiteral("Page"));
    for (QObject* child : window.children()) {
        auto* widget = qobject_cast<QWidget*>(child);
        if (widget != nullptr && !widget->isWindow()) {
            const QRect place = widget->geometry();
            widget->setParent(page);
            widget->setGeometry(place);
            widget->show();
        }
    }
    page->setFixedSize(laidOut);
    auto* scroll = new QScrollArea;
    scroll->setObjectName(window.objectName() + QStringLiteral("Scroll"));
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidget(page);
    auto* layout = new QVBoxLayout(&window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(scroll);
    window.setMinimumSize(laidOut / 4);
    // While the page scrolls up and down the window is wider by the scroll bar, so that it need not
    // scroll sideways as well; a width the user chose stays.
    const int bar = scroll->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, scroll);
    window.setMaximumSize(laidOut + QSize(bar, 0));
    window.resize(laidOut);
    QObject::connect(scroll->verticalScrollBar(), &QScrollBar::rangeChanged, &window,
                     [&window, laidOut, bar](int /*minimum*/, int maximum) {
                         const int plain = laidOut.width();
                         if (maximum > 0 && window.width() == plain) {
                             window.resize(plain + bar, window.height());
                         } else if (maximum == 0 && window.width() == plain + bar) {
                             window.resize(plain, window.height());
                         }
                     });
}

} // namespace glyfora::app
