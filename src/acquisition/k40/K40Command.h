#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace dyno {

// The test modes the start command carries in its first byte.
enum class TestMode : std::uint8_t {
    WithoutRpm = 1,       // a test without rpm registration
    RevCounterCheck = 2,  // only the live rpm needle, nothing recorded
    WithRpm = 3,          // a test with rpm registration
};

// What the electronics record besides the roller: analog channels 1..5 and the
// weather station, and their "USB data transfer delay".
struct K40Recording {
    std::array<bool, 5> analogChannels{};    // `ad1_check` .. `ad5_check`
    bool isWeatherStationConnected = false;  // `vejrstation_check`
    std::uint8_t transferDelay = 0;

    friend bool operator==(const K40Recording&, const K40Recording&) = default;
};

// The ten-byte command the program sends to the electronics, written byte by byte.
struct K40Command {
    static constexpr int kSize = 10;
    static constexpr std::uint8_t kWeatherRequest = 5;
    static constexpr std::uint8_t kStartUp = 8;
    static constexpr std::uint8_t kEnd = 27;  // ESC closes every command

    std::array<std::uint8_t, kSize> bytes{};

    // Starts a test or a rev counter check; sent again after each run to re-arm the
    // electronics for the next press of the remote.
    static K40Command start(TestMode mode, const K40Recording& recording);
    // Asks the weather station for packets 20 and 21.
    static K40Command weatherRequest(std::uint8_t transferDelay);
    // Sent once after the port is opened at program start; the electronics answer
    // with their firmware version and sample setting.
    static K40Command startUp(std::uint8_t transferDelay);

    std::span<const std::uint8_t> view() const { return bytes; }
};

}  // namespace dyno
