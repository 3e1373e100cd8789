#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace dyno {

// Reads a fixed-layout file image field by field, the mirror of ByteWriter. The
// dyno's files carry no length check, so an image may end anywhere: a field the
// image does not hold completely is not read (its destination keeps its value and
// the call returns false), and of an array the complete entries are read. The image
// ends there: the bytes of a cut field never become part of a later one.
class ByteReader {
  public:
    explicit ByteReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    bool readInt16(std::int16_t& value);
    bool readUInt16(std::uint16_t& value);
    bool readInt32(std::int32_t& value);
    bool readFloat32(float& value);
    bool readFloat64(double& value);

    // Return the number of entries read.
    std::size_t readInt32s(std::span<std::int32_t> values);
    std::size_t readUInt16s(std::span<std::uint16_t> values);

    // A text field of `fieldSize` bytes: its bytes up to the first zero, at most
    // `storedChars` of them. The bytes after the stored length are not text.
    bool readText(std::string& text, std::size_t storedChars, std::size_t fieldSize);

    // Passes over a field whose content the program does not use.
    bool skip(std::size_t byteCount);

    std::size_t remaining() const { return bytes_.size() - position_; }

  private:
    std::uint64_t takeLittleEndian(int byteCount);
    bool exhausted() {
        position_ = bytes_.size();
        return false;
    }

    std::span<const std::uint8_t> bytes_;
    std::size_t position_ = 0;
};

}  // namespace dyno
