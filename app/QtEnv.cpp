#include "app/QtEnv.h"

#include <QCoreApplication>
#include <QEvent>

#include "app/Guard.h"

namespace vadero {

namespace {
constexpr auto kRunNext = QEvent::User;  // the receiver is ours alone
}

QtDispatcher::QtDispatcher() : receiver_(*this) {}

// The event is made under the lock and read under it: Qt's own hand-over of
// it is invisible to ThreadSanitizer, the lock is not.
void QtDispatcher::post(std::function<void()> work) {
    const std::lock_guard lock(mutex_);
    queue_.push_back(std::move(work));
    QCoreApplication::postEvent(&receiver_, new QEvent(kRunNext));
}

bool QtDispatcher::Receiver::event(QEvent* e) {
    return owner_.runNext(*e) || QObject::event(e);
}

// One item per event, so that a dialog opened by one item still lets the
// next ones run in its own event loop, as queued calls would.
bool QtDispatcher::runNext(const QEvent& e) {
    std::function<void()> work;
    {
        const std::lock_guard lock(mutex_);
        if (e.type() != kRunNext)
            return false;
        if (queue_.empty())
            return true;
        work = std::move(queue_.front());
        queue_.pop_front();
    }
    RunGuarded(work);
    return true;
}

void QtTimer::Start(std::chrono::milliseconds interval, std::function<void()> tick) {
    tick_ = std::move(tick);
    timer_.disconnect();
    QObject::connect(&timer_, &QTimer::timeout, [this] {
        if (tick_)
            RunGuarded(tick_);
    });
    timer_.start(interval);
}

}  // namespace vadero
