#pragma once

#include <cstdint>
#include <cstring>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

#include "model/TestSession.h"

namespace dyno::testing {

// A session as a recording leaves it: three runs of different lengths with roller
// periods that shorten as the vehicle speeds up, rpm, five analog channels, and
// distinct values in every header word, value and text, so a field written to the
// wrong place shows.
inline std::unique_ptr<TestSession> recordedSession() {
    auto session = std::make_unique<TestSession>();
    const int lengths[kRunsPerSession] = {1850, 1999, 640};
    for (int r = 0; r < kRunsPerSession; ++r) {
        auto run = session->run(r);
        for (int i = 0; i < lengths[r]; ++i) {
            const auto n = static_cast<std::size_t>(i);
            run.rollerPeriods[n] = 40000 - 15 * i + (i * 7919 + r) % 23;
            run.rpmSamples[n] = 3000 + 4 * i + r;
            for (int c = 0; c < kAnalogChannels; ++c) {
                run.analogSamples[static_cast<std::size_t>(c)][n] =
                    static_cast<std::uint16_t>((i * (c + 3) + r * 101) % 4096);
            }
        }
    }
    for (int w = 0; w < 10; ++w) {
        session->header.words[static_cast<std::size_t>(w)] = static_cast<std::int16_t>(-3 + 7 * w);
        session->values.values[static_cast<std::size_t>(w)] = 0.125 * w - 1.0 / (w + 3);
    }
    session->correctionFactor = 1.0371;
    session->airPressure = 1013;
    session->airTemperature = 21;
    session->airHumidity = 44;
    session->remarkLine1.assign("Cylinder kit 70 ccm, 19 mm carburettor, main jet 82", 66);
    session->remarkLine2.assign("Sport exhaust \xE6\xF8\xE5", 66);
    session->remarkLine3.assign("Variator rollers 5.5 g", 66);
    session->make.assign("Piaggio-like", 20);
    session->model.assign("Zip 2T", 20);
    session->owner.assign("J\xF8rgen Hansen", 22);
    return session;
}

// A hand-built little-endian image, written at explicit offsets.
class ByteImage {
  public:
    explicit ByteImage(std::size_t size) : bytes_(size, 0) {}

    void putInt16(std::size_t offset, std::int16_t v) {
        putLittleEndian(offset, static_cast<std::uint16_t>(v), 2);
    }
    void putUInt16(std::size_t offset, std::uint16_t v) { putLittleEndian(offset, v, 2); }
    void putInt32(std::size_t offset, std::int32_t v) {
        putLittleEndian(offset, static_cast<std::uint32_t>(v), 4);
    }
    void putFloat32(std::size_t offset, float v) {
        std::uint32_t bits;
        std::memcpy(&bits, &v, 4);
        putLittleEndian(offset, bits, 4);
    }
    void putFloat64(std::size_t offset, double v) {
        std::uint64_t bits;
        std::memcpy(&bits, &v, 8);
        putLittleEndian(offset, bits, 8);
    }
    void putBytes(std::size_t offset, std::string_view text) {
        std::memcpy(bytes_.data() + offset, text.data(), text.size());
    }

    const std::vector<std::uint8_t>& bytes() const { return bytes_; }
    std::vector<std::uint8_t>& bytes() { return bytes_; }

  private:
    void putLittleEndian(std::size_t offset, std::uint64_t v, int n) {
        for (int i = 0; i < n; ++i)
            bytes_.at(offset + static_cast<std::size_t>(i)) =
                static_cast<std::uint8_t>(v >> (8 * i));
    }
    std::vector<std::uint8_t> bytes_;
};

}  // namespace dyno::testing
