#include "model/SessionModel.h"

#include <stdexcept>
#include <string>

namespace dyno {

TestSession& SessionModel::slot(int slot) {
    if (!isSlot(slot)) throw std::out_of_range("session slot " + std::to_string(slot));
    return slots_[static_cast<std::size_t>(slot - 1)];
}

const TestSession& SessionModel::slot(int slot) const {
    if (!isSlot(slot)) throw std::out_of_range("session slot " + std::to_string(slot));
    return slots_[static_cast<std::size_t>(slot - 1)];
}

void SessionModel::copySlot1Into(int target) {
    if (target == 1) return;
    slot(target).copyRecordingFrom(slot(1));
}

}  // namespace dyno
