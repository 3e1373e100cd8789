#include "acquisition/card/CardTiming.h"

#include <chrono>
#include <thread>

namespace dyno {

std::int64_t SteadyCardTiming::nowUs() {
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return std::chrono::duration_cast<std::chrono::microseconds>(now).count();
}

void SteadyCardTiming::sleepMs(std::int64_t ms) {
    if (ms > 0) std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

}  // namespace dyno
