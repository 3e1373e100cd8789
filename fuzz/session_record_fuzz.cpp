// The session record reader over arbitrary member contents: any length, any bytes.
// A record read and saved again must read back to the same record.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <span>

#include "files/SessionRecordCodec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static auto slot = std::make_unique<dyno::TestSession>();
    static auto again = std::make_unique<dyno::TestSession>();
    dyno::decodeSessionRecord(std::span(data, size), *slot);
    const dyno::SavedAirData air{slot->airPressure, slot->airTemperature, slot->airHumidity};
    const auto saved = dyno::encodeSessionRecord(*slot, air);
    if (saved.size() != dyno::kSessionRecordSize) std::abort();
    dyno::decodeSessionRecord(saved, *again);
    if (dyno::encodeSessionRecord(*again, air) != saved) std::abort();
    return 0;
}
