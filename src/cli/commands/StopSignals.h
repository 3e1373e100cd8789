#pragma once

#include <csignal>
#include <string>

namespace dyno::cli {

// Ctrl+C (SIGINT), SIGTERM and SIGHUP while a command waits for the electronics:
// noted instead of ending the process, so the command can save what it has received
// and end in order. The handlers in force before come back when this goes. One at a
// time per process.
class StopSignals {
  public:
    StopSignals();
    ~StopSignals();
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

    // The signal that asked to stop, or 0.
    int received() const;

    // "SIGINT", "SIGTERM", "SIGHUP".
    static std::string nameOf(int signal);

  private:
    struct sigaction previous_[3];
};

}  // namespace dyno::cli
