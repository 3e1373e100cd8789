#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <string_view>

namespace dyno {

// A text held in a fixed buffer of single-byte (Windows-1252) characters, as the
// session record stores it. Assigning cuts the text to the stored width, so a long
// remark can never overflow its field; the buffer always keeps a terminating zero.
template <std::size_t Capacity>
class FixedText {
  public:
    static constexpr std::size_t capacity = Capacity;

    FixedText() { bytes_.fill('\0'); }

    // Stores at most `width` bytes of `text` (and never more than fits before the
    // terminator); the rest of the buffer is zeroed.
    void assign(std::string_view text, std::size_t width = Capacity - 1) {
        const std::size_t n = std::min({text.size(), width, Capacity - 1});
        bytes_.fill('\0');
        std::copy_n(text.data(), n, bytes_.data());
    }

    void clear() { bytes_.fill('\0'); }

    // The text up to its first zero byte.
    std::string_view view() const {
        const auto end = std::find(bytes_.begin(), bytes_.end(), '\0');
        return {bytes_.data(), static_cast<std::size_t>(end - bytes_.begin())};
    }

    bool empty() const { return bytes_[0] == '\0'; }

    // Raw access for the file codecs, which read and write whole fields.
    std::array<char, Capacity>& bytes() { return bytes_; }
    const std::array<char, Capacity>& bytes() const { return bytes_; }

    friend bool operator==(const FixedText&, const FixedText&) = default;

  private:
    std::array<char, Capacity> bytes_;
};

}  // namespace dyno
