#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace dyno {

// Builds a fixed-layout file image field by field: integers little-endian, floating
// values as IEEE 754 bits, texts zero-padded. Independent of the host's byte order
// and struct padding, so the files stay those the dyno's PCs have always written.
class ByteWriter {
  public:
    explicit ByteWriter(std::size_t expectedSize) { bytes_.reserve(expectedSize); }

    void putInt16(std::int16_t value) { putLittleEndian(static_cast<std::uint16_t>(value), 2); }
    void putUInt16(std::uint16_t value) { putLittleEndian(value, 2); }
    void putInt32(std::int32_t value) { putLittleEndian(static_cast<std::uint32_t>(value), 4); }
    void putFloat32(float value);
    void putFloat64(double value);

    void putInt32s(std::span<const std::int32_t> values);
    void putUInt16s(std::span<const std::uint16_t> values);
    void putRepeatedUInt16(std::uint16_t value, std::size_t count);

    // At most `storedChars` bytes of `text`, then zeros up to `fieldSize` bytes. A
    // text that fills the field gets no terminator.
    void putText(std::string_view text, std::size_t storedChars, std::size_t fieldSize);

    std::size_t size() const { return bytes_.size(); }
    std::vector<std::uint8_t> take() { return std::move(bytes_); }

  private:
    void putLittleEndian(std::uint64_t value, int byteCount);

    std::vector<std::uint8_t> bytes_;
};

}  // namespace dyno
