#include "files/ByteReader.h"

#include <algorithm>
#include <bit>

namespace dyno {

std::uint64_t ByteReader::takeLittleEndian(int byteCount) {
    std::uint64_t value = 0;
    for (int i = 0; i < byteCount; ++i) {
        value |= static_cast<std::uint64_t>(bytes_[position_ + static_cast<std::size_t>(i)])
                 << (8 * i);
    }
    position_ += static_cast<std::size_t>(byteCount);
    return value;
}

bool ByteReader::readInt16(std::int16_t& value) {
    if (remaining() < 2) return exhausted();
    value = static_cast<std::int16_t>(takeLittleEndian(2));
    return true;
}

bool ByteReader::readUInt16(std::uint16_t& value) {
    if (remaining() < 2) return exhausted();
    value = static_cast<std::uint16_t>(takeLittleEndian(2));
    return true;
}

bool ByteReader::readInt32(std::int32_t& value) {
    if (remaining() < 4) return exhausted();
    value = static_cast<std::int32_t>(takeLittleEndian(4));
    return true;
}

bool ByteReader::readFloat32(float& value) {
    if (remaining() < 4) return exhausted();
    value = std::bit_cast<float>(static_cast<std::uint32_t>(takeLittleEndian(4)));
    return true;
}

bool ByteReader::readFloat64(double& value) {
    if (remaining() < 8) return exhausted();
    value = std::bit_cast<double>(takeLittleEndian(8));
    return true;
}

std::size_t ByteReader::readInt32s(std::span<std::int32_t> values) {
    const std::size_t n = std::min(values.size(), remaining() / 4);
    const std::uint8_t* in = bytes_.data() + position_;
    for (std::size_t i = 0; i < n; ++i, in += 4) {
        values[i] = static_cast<std::int32_t>(
            static_cast<std::uint32_t>(in[0]) | (static_cast<std::uint32_t>(in[1]) << 8) |
            (static_cast<std::uint32_t>(in[2]) << 16) | (static_cast<std::uint32_t>(in[3]) << 24));
    }
    position_ = n < values.size() ? bytes_.size() : position_ + n * 4;
    return n;
}

std::size_t ByteReader::readUInt16s(std::span<std::uint16_t> values) {
    const std::size_t n = std::min(values.size(), remaining() / 2);
    const std::uint8_t* in = bytes_.data() + position_;
    for (std::size_t i = 0; i < n; ++i, in += 2) {
        values[i] = static_cast<std::uint16_t>(in[0] | (in[1] << 8));
    }
    position_ = n < values.size() ? bytes_.size() : position_ + n * 2;
    return n;
}

bool ByteReader::readText(std::string& text, std::size_t storedChars, std::size_t fieldSize) {
    if (remaining() < fieldSize) return exhausted();
    const auto* field = reinterpret_cast<const char*>(bytes_.data() + position_);
    const std::size_t limit = std::min(storedChars, fieldSize);
    const std::size_t length =
        static_cast<std::size_t>(std::find(field, field + limit, '\0') - field);
    text.assign(field, length);
    position_ += fieldSize;
    return true;
}

bool ByteReader::skip(std::size_t byteCount) {
    if (remaining() < byteCount) return exhausted();
    position_ += byteCount;
    return true;
}

}  // namespace dyno
