#pragma once

#include <array>
#include <cstdint>

namespace dyno {

// How many samples of each kind the run being received holds.
struct K40SampleCounts {
    std::int16_t roller = 0;
    std::int16_t rpm = 0;
    std::array<std::int16_t, 5> analog{};  // channels 1..5

    friend bool operator==(const K40SampleCounts&, const K40SampleCounts&) = default;
};

// Packets handed out before the framing was found lost may already have been read
// from the wrong bytes: the samples of at least this many packets before the fault
// are taken back.
inline constexpr int kPacketsAroundFault = 8;
// A transfer whose framing was lost more often than this is not trusted at all.
inline constexpr int kMostFaultsInAKeptRun = 3;

// The faults of one run's transfer and the places it can go back to. The electronics
// send a revolution as a roller sample (18) followed by its rpm and analog samples,
// so the counts before a roller sample are a place where every kind of sample is
// complete. After a fault the samples since such a place, at least
// kPacketsAroundFault packets back, are taken back, and nothing is stored until the
// next roller sample begins a revolution afresh: the kinds stay in step.
class K40TransferFaults {
  public:
    // Code 31: a new transfer, nothing stored yet.
    void begin();
    // Every sample packet of the transfer, before it is stored. Returns whether it
    // may be stored: not between a fault and the next roller sample.
    bool takeSample(std::uint8_t code, const K40SampleCounts& counts);
    // The framing was found lost: the counts to go back to.
    K40SampleCounts faultFound();

    int faults() const { return faults_; }
    bool hasFaults() const { return faults_ > 0; }
    // A damaged transfer keeps its run when the framing was found again every time
    // and not too often.
    bool isRunTrusted() const { return faults_ <= kMostFaultsInAKeptRun; }

  private:
    struct Place {
        std::int64_t packet = 0;  // sample packets of the transfer before it
        K40SampleCounts counts;
    };
    static constexpr std::size_t kPlacesKept = 16;

    std::array<Place, kPlacesKept> places_{};
    std::size_t placeCount_ = 0;  // up to kPlacesKept, the newest last in ring order
    std::size_t newest_ = 0;
    std::int64_t packets_ = 0;
    int faults_ = 0;
    bool isWaitingForRevolution_ = false;
};

}  // namespace dyno
