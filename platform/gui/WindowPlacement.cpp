#include "platform/gui/WindowPlacement.h"

#include <QEvent>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <functional>

namespace platform::gui {
namespace {

// Runs `place` now and once more just after the window first shows, when its frame is known.
class PlaceOnFirstShow : public QObject {
public:
    PlaceOnFirstShow(QWidget* window, std::function<void()> place)
        : QObject(window), place_(std::move(place)) {
        place_();
        window->installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show) {
            watched->removeEventFilter(this);
            QTimer::singleShot(0, this, [this] {
                place_();
                deleteLater();
            });
        }
        return false;
    }

private:
    std::function<void()> place_;
};

QSize frameThickness(const QWidget* window) {
    return window->frameGeometry().size() - window->geometry().size();
}

} // namespace

void placeByFrame(QWidget* window, QPoint topLeft, QSize outerSize) {
    new PlaceOnFirstShow(window, [window, topLeft, outerSize] {
        const QPoint frameOffset = window->geometry().topLeft() - window->frameGeometry().topLeft();
        window->setGeometry(QRect(topLeft + frameOffset, outerSize - frameThickness(window)));
    });
}

void centreOnDesktop(QWidget* window) {
    new PlaceOnFirstShow(window, [window] {
        const QScreen* screen = window->screen();
        if (!screen) return;
        QRect frame = window->frameGeometry();
        frame.moveCenter(screen->geometry().center());
        window->move(frame.topLeft());
    });
}

} // namespace platform::gui
