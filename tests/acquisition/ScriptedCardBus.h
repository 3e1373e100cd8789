#pragma once

#include <cstdio>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "acquisition/card/CardBus.h"
#include "acquisition/card/CardTiming.h"

namespace dyno::test {

// A card bus that plays a script: the status port answers what `status` returns for
// its n-th read, a counter port answers the 16-bit counts queued for it (low byte,
// then high byte; the last count stays), the A/D converter's data ports the values
// queued for them. Every access is logged ("r 1b0", "w 1b9 ff"), and one access is
// one microsecond of the card timing.
class ScriptedCardBus final : public CardBus, public CardTiming {
  public:
    std::function<std::uint8_t(int statusRead)> status = [](int) { return 0x11; };
    std::uint16_t statusPort = 0x1B0;

    void queueCounts(std::uint16_t port, std::vector<std::uint16_t> counts) {
        for (auto c : counts) counts_[port].push_back(c);
    }
    void queueConversions(std::vector<int> values) {
        for (int v : values) conversions_.push_back(v);
    }

    std::uint8_t readPort(std::uint16_t address) override {
        ++accesses;
        log.push_back(entry("r", address));
        if (address == statusPort) return status(statusReads++);
        if (address == 0x280) return static_cast<std::uint8_t>(conversion_ >> 4);
        if (address == 0x281) return static_cast<std::uint8_t>((conversion_ & 15) << 4);
        auto found = counts_.find(address);
        if (found == counts_.end() || found->second.empty()) return 0xFF;
        auto& queue = found->second;
        bool& high = isHighNext_[address];
        const std::uint16_t count = queue.front();
        const auto byte = static_cast<std::uint8_t>(high ? count >> 8 : count);
        if (high && queue.size() > 1) queue.pop_front();
        high = !high;
        return byte;
    }
    void writePort(std::uint16_t address, std::uint8_t value) override {
        ++accesses;
        log.push_back(entry("w", address, value));
        if (address == 0x280 && !conversions_.empty()) {
            conversion_ = conversions_.front();
            conversions_.pop_front();
        }
    }
    std::int64_t nowUs() override { return accesses; }
    void sleepMs(std::int64_t ms) override {
        sleptMs += ms;
        log.push_back("sleep " + std::to_string(ms));
    }

    // Log entries from `from` on, dropping the status polls and sleeps: the counter,
    // reload and converter accesses between them.
    std::vector<std::string> accessesAfter(std::size_t from) const {
        return {log.begin() + static_cast<long>(from), log.end()};
    }

    std::vector<std::string> log;
    std::int64_t accesses = 0;
    std::int64_t sleptMs = 0;
    int statusReads = 0;

  private:
    static std::string entry(const char* kind, std::uint16_t address, int value = -1) {
        char text[24];
        if (value < 0) {
            std::snprintf(text, sizeof text, "%s %x", kind, address);
        } else {
            std::snprintf(text, sizeof text, "%s %x %x", kind, address, value);
        }
        return text;
    }

    std::map<std::uint16_t, std::deque<std::uint16_t>> counts_;
    std::map<std::uint16_t, bool> isHighNext_;
    std::deque<int> conversions_;
    int conversion_ = 0;
};

}  // namespace dyno::test
