#include "platform/gui/Modal.h"

#include <QEvent>
#include <QEventLoop>
#include <QPointer>
#include <QWidget>

namespace platform::gui {
namespace {

class CloseWatcher : public QObject {
public:
    CloseWatcher(QWidget* window, std::function<void()> closed)
        : QObject(window), closed_(std::move(closed)) {
        window->installEventFilter(this);
    }
    ~CloseWatcher() override {
        if (closed_) closed_();
    }

    bool eventFilter(QObject*, QEvent* event) override {
        // A window the user minimises gets a spontaneous hide; close() and hide() hide it from within.
        if (event->type() == QEvent::Hide && !event->spontaneous() && closed_) closed_();
        return false;
    }

    void forget() { closed_ = nullptr; }

private:
    std::function<void()> closed_;
};

} // namespace

void whenClosed(QWidget* window, std::function<void()> closed) {
    new CloseWatcher(window, std::move(closed));
}

void runModal(QWidget* window, QWidget* behind) {
    QEventLoop loop;
    auto* watcher = new CloseWatcher(window, [&loop] { loop.quit(); });
    QPointer<QWidget> disabled(behind);
    QPointer<CloseWatcher> watching(watcher);
    if (disabled) disabled->setEnabled(false);
    window->setWindowModality(Qt::ApplicationModal);
    window->show();
    if (window->isVisible()) loop.exec(QEventLoop::DialogExec);
    if (watching) {
        watching->forget();
        watching->deleteLater();
    }
    if (disabled) disabled->setEnabled(true);
}

} // namespace platform::gui
