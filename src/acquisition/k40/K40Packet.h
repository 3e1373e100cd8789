#pragma once

#include <array>
#include <cstdint>

namespace dyno {

// Codes of the five-byte packets the K40 electronics send. Codes not listed are
// ignored; a code byte of 0 is read and dropped.
namespace k40code {
inline constexpr std::uint8_t kNone = 0;
inline constexpr std::uint8_t kLiveChannel1 = 3;    // V10: marker above level bar 1
inline constexpr std::uint8_t kLiveChannel2 = 4;    // V10: marker above level bar 2
inline constexpr std::uint8_t kLiveSpeed = 8;       // V32: roller period, moves the speed needle
inline constexpr std::uint8_t kLiveRpm = 9;         // V32: ignition period, moves the rpm needle
inline constexpr std::uint8_t kAnalogSample1 = 13;  // V10: recorded analog channels 1..5
inline constexpr std::uint8_t kAnalogSample2 = 14;
inline constexpr std::uint8_t kAnalogSample3 = 15;
inline constexpr std::uint8_t kAnalogSample4 = 16;
inline constexpr std::uint8_t kAnalogSample5 = 17;
inline constexpr std::uint8_t kRollerSample = 18;  // V32: roller period in timer ticks
inline constexpr std::uint8_t kRpmSample = 19;     // V32: ignition period in timer ticks
inline constexpr std::uint8_t kWeatherPart1 = 20;  // V10 temperature, V10b pressure
inline constexpr std::uint8_t kWeatherPart2 = 21;  // V10 humidity
inline constexpr std::uint8_t kRemoteEnd = 30;     // the remote ended a rev counter check
inline constexpr std::uint8_t kTransferBegins = 31;
inline constexpr std::uint8_t kRunStarted = 32;  // the rider pressed the remote
inline constexpr std::uint8_t kRunComplete = 40;
inline constexpr std::uint8_t kSampleSetting = 41;    // V16
inline constexpr std::uint8_t kFirmwareVersion = 86;  // 'V', then 'K', 'R', high, low
inline constexpr std::uint8_t kFirmwareMark1 = 75;    // 'K'
inline constexpr std::uint8_t kFirmwareMark2 = 82;    // 'R'

// Whether the electronics ever send this code (0 included, which is dropped). Any
// other code in the code position shows that the five-byte framing has been lost:
// the packets are being read from the wrong bytes.
constexpr bool isSentByTheElectronics(std::uint8_t code) {
    switch (code) {
        case kNone:
        case kLiveChannel1:
        case kLiveChannel2:
        case kLiveSpeed:
        case kLiveRpm:
        case kAnalogSample1:
        case kAnalogSample2:
        case kAnalogSample3:
        case kAnalogSample4:
        case kAnalogSample5:
        case kRollerSample:
        case kRpmSample:
        case kWeatherPart1:
        case kWeatherPart2:
        case kRemoteEnd:
        case kTransferBegins:
        case kRunStarted:
        case kRunComplete:
        case kSampleSetting:
        case kFirmwareVersion: return true;
        default: return false;
    }
}
}  // namespace k40code

// One inbound packet: a code byte and four data bytes, values most significant byte
// first. Every value that reads 0 is taken as 1, so the periods the electronics send
// can always be divided into.
struct K40Packet {
    static constexpr int kSize = 5;

    std::array<std::uint8_t, kSize> bytes{};

    std::uint8_t code() const { return bytes[0]; }
    std::uint8_t d1() const { return bytes[1]; }
    std::uint8_t d2() const { return bytes[2]; }
    std::uint8_t d3() const { return bytes[3]; }
    std::uint8_t d4() const { return bytes[4]; }

    // 10 bits of d1, d2 (the converter's and the station's readings).
    std::uint32_t v10() const { return atLeastOne(((d1() & 3u) << 8) | d2()); }
    // 10 bits of d3, d4 (the station's pressure in packet 20).
    std::uint32_t v10b() const { return atLeastOne(((d3() & 3u) << 8) | d4()); }
    std::uint32_t v16() const { return atLeastOne((std::uint32_t{d1()} << 8) | d2()); }
    std::uint32_t v32() const {
        return atLeastOne((std::uint32_t{d1()} << 24) | (std::uint32_t{d2()} << 16) |
                          (std::uint32_t{d3()} << 8) | d4());
    }

    static K40Packet of(std::uint8_t code, std::uint8_t d1, std::uint8_t d2, std::uint8_t d3,
                        std::uint8_t d4) {
        return K40Packet{{code, d1, d2, d3, d4}};
    }
    // A packet carrying a 32-bit value (codes 8, 9, 18, 19).
    static K40Packet withV32(std::uint8_t code, std::uint32_t value) {
        return of(code, static_cast<std::uint8_t>(value >> 24),
                  static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 8),
                  static_cast<std::uint8_t>(value));
    }
    // A packet carrying one or two 10-bit values (codes 3, 4, 13..17, 20, 21) or a
    // 16-bit value in d1, d2 (code 41).
    static K40Packet withV16(std::uint8_t code, std::uint32_t value, std::uint32_t second = 0) {
        return of(code, static_cast<std::uint8_t>(value >> 8), static_cast<std::uint8_t>(value),
                  static_cast<std::uint8_t>(second >> 8), static_cast<std::uint8_t>(second));
    }

  private:
    static std::uint32_t atLeastOne(std::uint32_t value) { return value == 0 ? 1 : value; }
};

}  // namespace dyno
