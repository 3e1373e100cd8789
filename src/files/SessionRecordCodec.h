#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "files/SavedAirData.h"
#include "model/TestSession.h"

namespace dyno {

// The session record: the 108404-byte image of one session stored as the member
// "vkrzip.diz" of a session archive. No header, version or checksum; its layout is
// the only thing that makes archives of earlier installations readable.
inline constexpr std::size_t kSessionRecordSize = 108404;

// Offsets of the record's fields.
namespace record {
inline constexpr std::size_t kRemarkLine1 = 0;
inline constexpr std::size_t kRemarkLine2 = 68;
inline constexpr std::size_t kRemarkLine3 = 136;
inline constexpr std::size_t kMake = 204;
inline constexpr std::size_t kModel = 226;
inline constexpr std::size_t kOwner = 248;
inline constexpr std::size_t kCorrectionFactor = 272;
inline constexpr std::size_t kRollerPeriods = 280;
inline constexpr std::size_t kRpmSamples = 24280;
inline constexpr std::size_t kHeader = 48280;
inline constexpr std::size_t kValues = 48300;
inline constexpr std::size_t kAirPressure = 48380;
inline constexpr std::size_t kAirTemperature = 48388;
inline constexpr std::size_t kAirHumidity = 48396;
inline constexpr std::size_t kAnalogSamples = 48404;
inline constexpr std::size_t kAnalogRunSize = 20000;
inline constexpr std::size_t kAnalogChannelSize = 4000;
}  // namespace record

// Analog channels 4 and 5 are not stored: every run's blocks hold these constants.
inline constexpr std::uint16_t kStoredChannel4Value = 140;
inline constexpr std::uint16_t kStoredChannel5Value = 250;

// The record of `session` (slot 1) with the air data of the Param. page.
std::vector<std::uint8_t> encodeSessionRecord(const TestSession& session, const SavedAirData& air);

// Reads a record into `session`: first zeroes runs 0..2 of its roller and rpm arrays,
// then reads field by field as far as the record goes. A short record leaves the
// fields after its end as the session held them; nothing beyond runs 0..2 changes.
void decodeSessionRecord(std::span<const std::uint8_t> record, TestSession& session);

}  // namespace dyno
