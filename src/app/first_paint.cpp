#include "app/first_paint.h"

#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <utility>

namespace {
class FirstPaintWatch : public QObject {
public:
    FirstPaintWatch(QWidget& window, std::function<void()> action)
        : QObject(&window), action_(std::move(action)) {
        window.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && action_) {
            watched->removeEventFilter(this);
            // The paint is under way: the pixels are flushed when the repaint returns to the
            // event loop, so the action runs just after that.
            QTimer::singleShot(0, this, [this] {
                const std::function<void()> action = std::exchange(action_, {});
                deleteLater();
                action();
            });
        }
        return false;
    }

private:
    std::function<void()> action_;
};
}  // namespace

void RunAfterFirstPaint(QWidget& window, std::function<void()> action) {
    new FirstPaintWatch(window, std::move(action));
}
