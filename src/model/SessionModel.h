#pragma once

#include <array>
#include <memory>

#include "model/SessionLayout.h"
#include "model/TestSession.h"

namespace dyno {

// The four session slots shared by acquisition, files, evaluation and display.
// Made once at start-up (about a megabyte, so on the heap) and passed by reference.
class SessionModel {
  public:
    static std::unique_ptr<SessionModel> create() { return std::make_unique<SessionModel>(); }

    SessionModel() = default;
    SessionModel(const SessionModel&) = delete;
    SessionModel& operator=(const SessionModel&) = delete;

    static constexpr bool isSlot(int slot) { return slot >= 1 && slot <= kSessionSlots; }
    static constexpr bool isRun(int run) { return run >= 0 && run < kRunsPerSession; }

    // Slots are numbered 1..4 as the user sees them.
    TestSession& slot(int slot);
    const TestSession& slot(int slot) const;

    // Copies slot 1 into slot 2, 3 or 4 as the graph page's copy boxes do.
    void copySlot1Into(int target);

  private:
    std::array<TestSession, kSessionSlots> slots_{};
};

}  // namespace dyno
