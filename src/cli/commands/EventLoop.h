#pragma once

#include <QCoreApplication>
#include <cstdint>
#include <functional>
#include <memory>

namespace dyno::cli {

// The event loop the serial port and the clock's timers need. Null when the process
// already has an application object.
std::unique_ptr<QCoreApplication> commandLineApplication();

// Runs the event loop until `isDone` holds or `timeoutMs` (0: no limit) has passed;
// `isDone` is asked every `pollMs`. Returns whether it held.
bool runEventLoopUntil(const std::function<bool()>& isDone, std::int64_t timeoutMs,
                       int pollMs = 50);

}  // namespace dyno::cli
