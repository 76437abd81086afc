#include "app/demo/QuitOnSignals.h"

#include <sys/signalfd.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QSocketNotifier>

namespace vadero {

namespace {

sigset_t Taken() {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    return set;
}

}  // namespace

QuitOnSignals::QuitOnSignals() {
    const sigset_t set = Taken();
    pthread_sigmask(SIG_BLOCK, &set, &previous_);
    fd_.reset(::signalfd(-1, &set, SFD_CLOEXEC | SFD_NONBLOCK));
    if (!fd_)  // nothing would take them: they end the program as they always did
        pthread_sigmask(SIG_SETMASK, &previous_, nullptr);
}

QuitOnSignals::~QuitOnSignals() {
    notifier_.reset();
    pthread_sigmask(SIG_SETMASK, &previous_, nullptr);
}

void QuitOnSignals::Watch(int code) {
    if (!fd_ || notifier_)
        return;
    notifier_ = std::make_unique<QSocketNotifier>(fd_.get(), QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, notifier_.get(), [this, code] {
        signalfd_siginfo info{};
        while (::read(fd_.get(), &info, sizeof info) == ssize_t(sizeof info)) {
        }
        QCoreApplication::exit(code);
    });
}

}  // namespace vadero
