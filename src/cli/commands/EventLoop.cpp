#include "cli/commands/EventLoop.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

namespace dyno::cli {

std::unique_ptr<QCoreApplication> commandLineApplication() {
    if (QCoreApplication::instance() != nullptr) return nullptr;
    // QCoreApplication keeps references to both for its whole life.
    static int argc = 1;
    static char name[] = "dynotool";
    static char* argv[] = {name, nullptr};
    return std::make_unique<QCoreApplication>(argc, argv);
}

bool runEventLoopUntil(const std::function<bool()>& isDone, std::int64_t timeoutMs, int pollMs) {
    if (isDone()) return true;
    QEventLoop loop;
    QElapsedTimer elapsed;
    elapsed.start();
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (isDone() || (timeoutMs > 0 && elapsed.elapsed() >= timeoutMs)) loop.quit();
    });
    poll.start(pollMs);
    loop.exec();
    return isDone();
}

}  // namespace dyno::cli
