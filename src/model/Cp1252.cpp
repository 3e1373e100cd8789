#include "model/Cp1252.h"

#include <array>
#include <cstdint>

namespace dyno {

namespace {

// Code points of bytes 0x80..0x9F; the rest of the code page equals Latin-1.
// Undefined bytes map to the C1 control of the same value.
constexpr std::array<char32_t, 32> kHighControlRow = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80..87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88..8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90..97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98..9F
};

constexpr char kReplacement = '?';

char32_t codePointOf(unsigned char byte) {
    if (byte >= 0x80 && byte <= 0x9F) return kHighControlRow[byte - 0x80u];
    return byte;
}

// The byte for a code point, or the replacement when the code page lacks it.
char byteFor(char32_t codePoint) {
    if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF)) {
        return static_cast<char>(codePoint);
    }
    for (std::size_t i = 0; i < kHighControlRow.size(); ++i) {
        if (kHighControlRow[i] == codePoint) return static_cast<char>(0x80 + i);
    }
    return kReplacement;
}

void appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        // Every code point of the table lies below U+10000.
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

bool isContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

}  // namespace

std::string toWindows1252(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        if (lead < 0x80) {
            out.push_back(static_cast<char>(lead));
            ++i;
            continue;
        }
        // Sequence length, payload bits of the lead byte, and the smallest code point
        // the length may carry (anything below is an overlong form).
        struct Lead {
            std::size_t length;
            char32_t bits;
            char32_t smallest;
        };
        Lead form{0, 0, 0};
        if (lead >= 0xC2 && lead <= 0xDF) {
            form = {2, lead & 0x1Fu, 0x80};
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            form = {3, lead & 0x0Fu, 0x800};
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            form = {4, lead & 0x07u, 0x10000};
        }
        const std::size_t length = form.length;
        const char32_t smallest = form.smallest;
        char32_t cp = form.bits;
        // A malformed sequence is replaced up to the byte where it broke off, so
        // the next well-formed character is not swallowed.
        std::size_t used = 1;
        bool wellFormed = length != 0;
        while (wellFormed && used < length) {
            if (i + used >= utf8.size() ||
                !isContinuation(static_cast<unsigned char>(utf8[i + used]))) {
                wellFormed = false;
                break;
            }
            cp = (cp << 6) | (static_cast<unsigned char>(utf8[i + used]) & 0x3Fu);
            ++used;
        }
        if (wellFormed && (cp < smallest || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))) {
            wellFormed = false;
        }
        out.push_back(wellFormed ? byteFor(cp) : kReplacement);
        i += used;
    }
    return out;
}

std::string fromWindows1252(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() * 2);
    for (const char c : bytes) appendUtf8(out, codePointOf(static_cast<unsigned char>(c)));
    return out;
}

}  // namespace dyno
