#include "files/ByteWriter.h"

#include <algorithm>
#include <bit>

namespace dyno {

void ByteWriter::putLittleEndian(std::uint64_t value, int byteCount) {
    for (int i = 0; i < byteCount; ++i) {
        bytes_.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }
}

void ByteWriter::putFloat32(float value) {
    putLittleEndian(std::bit_cast<std::uint32_t>(value), 4);
}

void ByteWriter::putFloat64(double value) {
    putLittleEndian(std::bit_cast<std::uint64_t>(value), 8);
}

void ByteWriter::putInt32s(std::span<const std::int32_t> values) {
    const std::size_t start = bytes_.size();
    bytes_.resize(start + values.size() * 4);
    std::uint8_t* out = bytes_.data() + start;
    for (const std::int32_t v : values) {
        const auto u = static_cast<std::uint32_t>(v);
        out[0] = static_cast<std::uint8_t>(u);
        out[1] = static_cast<std::uint8_t>(u >> 8);
        out[2] = static_cast<std::uint8_t>(u >> 16);
        out[3] = static_cast<std::uint8_t>(u >> 24);
        out += 4;
    }
}

void ByteWriter::putUInt16s(std::span<const std::uint16_t> values) {
    const std::size_t start = bytes_.size();
    bytes_.resize(start + values.size() * 2);
    std::uint8_t* out = bytes_.data() + start;
    for (const std::uint16_t v : values) {
        out[0] = static_cast<std::uint8_t>(v);
        out[1] = static_cast<std::uint8_t>(v >> 8);
        out += 2;
    }
}

void ByteWriter::putRepeatedUInt16(std::uint16_t value, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) putUInt16(value);
}

void ByteWriter::putText(std::string_view text, std::size_t storedChars, std::size_t fieldSize) {
    const std::size_t n = std::min({text.size(), storedChars, fieldSize});
    bytes_.insert(bytes_.end(), text.begin(), text.begin() + static_cast<std::ptrdiff_t>(n));
    bytes_.insert(bytes_.end(), fieldSize - n, 0);
}

}  // namespace dyno
