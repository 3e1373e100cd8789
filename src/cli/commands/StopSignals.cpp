#include "cli/commands/StopSignals.h"

#include <atomic>

namespace dyno::cli {

namespace {

constexpr int kStopSignals[] = {SIGINT, SIGTERM, SIGHUP};

// Written by the handler, read by the command's wait on whichever thread runs it: a
// lock-free atomic is safe in a signal handler and between threads alike.
std::atomic<int> stopSignal{0};
static_assert(std::atomic<int>::is_always_lock_free);

extern "C" void noteStopSignal(int signal) {
    stopSignal.store(signal, std::memory_order_relaxed);
}

}  // namespace

StopSignals::StopSignals() {
    stopSignal.store(0, std::memory_order_relaxed);
    struct sigaction action {};
    action.sa_handler = noteStopSignal;
    sigemptyset(&action.sa_mask);
    for (int i = 0; i < 3; ++i) sigaction(kStopSignals[i], &action, &previous_[i]);
}

StopSignals::~StopSignals() {
    for (int i = 0; i < 3; ++i) sigaction(kStopSignals[i], &previous_[i], nullptr);
}

int StopSignals::received() const {
    return stopSignal.load(std::memory_order_relaxed);
}

std::string StopSignals::nameOf(int signal) {
    switch (signal) {
        case SIGINT: return "SIGINT";
        case SIGTERM: return "SIGTERM";
        case SIGHUP: return "SIGHUP";
        default: return "signal " + std::to_string(signal);
    }
}

}  // namespace dyno::cli
