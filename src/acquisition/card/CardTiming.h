#pragma once

#include <cstdint>

namespace dyno {

// Time as the card sequence sees it: a microsecond count for the give-up time of
// edge waits, and a plain sleep for the remote button delay. The sequence runs on a
// thread of its own, so sleeping is allowed. Real: the steady clock; the simulated
// card moves its own time, so a simulated session costs no waiting.
class CardTiming {
  public:
    virtual ~CardTiming() = default;
    virtual std::int64_t nowUs() = 0;
    virtual void sleepMs(std::int64_t ms) = 0;
};

class SteadyCardTiming final : public CardTiming {
  public:
    std::int64_t nowUs() override;
    void sleepMs(std::int64_t ms) override;
};

}  // namespace dyno
