#include "app/QtEnv.h"

#include "app/Guard.h"

namespace vadero {

void QtDispatcher::post(std::function<void()> work) {
    QMetaObject::invokeMethod(
        &context_, [work = std::move(work)] { RunGuarded(work); }, Qt::QueuedConnection);
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
