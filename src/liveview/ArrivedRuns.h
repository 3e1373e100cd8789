#pragma once

#include <cstdint>
#include <memory>

#include "model/TestSession.h"

namespace dyno {

// Slot 1 as it stood when a run's transfer was over: a copy taken on the acquisition's
// thread, stamped with the session's set-up, so it can be evaluated anywhere while the
// next run goes on.
struct ArrivedRuns {
    std::shared_ptr<const TestSession> session;
    int runs = 0;                // runs 1..runs have arrived
    bool isSessionOver = false;  // the third run, or the session ended
    std::uint64_t revision = 0;  // counts arrivals
};

}  // namespace dyno
