#include "files/AnalogSettingsFileCodec.h"

#include <array>
#include <cmath>
#include <fstream>
#include <limits>
#include <string>
#include <type_traits>

#include "files/AtomicFileWrite.h"
#include "files/ByteReader.h"
#include "files/ByteWriter.h"
#include "model/Cp1252.h"
#include "model/TextNumbers.h"

namespace dyno {

namespace {

constexpr std::size_t kScaleTextSize = 5;  // characters; no terminator when full

// The twelve texts of a channel in file order: top value, nine labels from the top
// down, bottom value, unit.
template <typename Channel>
auto scaleTextsOf(Channel& channel) {
    using Text = std::conditional_t<std::is_const_v<Channel>, const std::string, std::string>;
    std::array<Text*, 12> texts{};
    texts[0] = &channel.topValue;
    for (std::size_t i = 0; i < 9; ++i) texts[1 + i] = &channel.scaleLabels[i];
    texts[10] = &channel.bottomValue;
    texts[11] = &channel.unitText;
    return texts;
}

// A radio group is stored 0 for its first item and 1 for any other.
std::int16_t storedChoice(int index) {
    return index == 0 ? 0 : 1;
}

}  // namespace

FileResult<std::vector<std::uint8_t>> encodeAnalogSettingsFile(const AnalogChannelTextSet& channels,
                                                               char decimalSeparator) {
    // Factors of all channels, then offsets, then delays.
    std::array<float, 3 * kAnalogSettingsChannels> numbers{};
    for (std::size_t kind = 0; kind < 3; ++kind) {
        for (std::size_t c = 0; c < channels.size(); ++c) {
            const std::string& text = kind == 0   ? channels[c].factorText
                                      : kind == 1 ? channels[c].offsetText
                                                  : channels[c].delayText;
            const auto value = strictDecimal(text, decimalSeparator);
            if (!value || std::fabs(*value) > std::numeric_limits<float>::max()) {
                return FileError{notAFloatMessage(text), "", true};
            }
            numbers[kind * channels.size() + c] = static_cast<float>(*value);
        }
    }
    ByteWriter out(kAnalogSettingsFileSize);
    for (const float number : numbers) out.putFloat32(number);
    for (const auto& channel : channels) out.putInt16(storedChoice(channel.factorUse));
    for (const auto& channel : channels) out.putInt16(storedChoice(channel.offsetUse));
    for (const auto& channel : channels) {
        for (const std::string* text : scaleTextsOf(channel)) {
            out.putText(toWindows1252(*text), kScaleTextSize, kScaleTextSize);
        }
    }
    for (const auto& channel : channels) out.putInt16(channel.isInverted ? 1 : 0);
    return out.take();
}

void decodeAnalogSettingsFile(std::span<const std::uint8_t> bytes, AnalogChannelTextSet& channels) {
    ByteReader in(bytes);
    for (std::size_t kind = 0; kind < 3; ++kind) {
        for (auto& channel : channels) {
            float stored = 0.0f;
            if (!in.readFloat32(stored)) continue;
            std::string& text = kind == 0   ? channel.factorText
                                : kind == 1 ? channel.offsetText
                                            : channel.delayText;
            text = formatGeneral15(static_cast<double>(stored));
        }
    }
    std::int16_t stored = 0;
    for (auto& channel : channels) {
        if (in.readInt16(stored)) channel.factorUse = stored;
    }
    for (auto& channel : channels) {
        if (in.readInt16(stored)) channel.offsetUse = stored;
    }
    for (auto& channel : channels) {
        for (std::string* text : scaleTextsOf(channel)) {
            std::string field;
            if (in.readText(field, kScaleTextSize, kScaleTextSize)) *text = fromWindows1252(field);
        }
    }
    // On only for exactly 1: a foreign 2 leaves the box off.
    for (auto& channel : channels) {
        if (in.readInt16(stored)) channel.isInverted = stored == 1;
    }
}

FileResult<> saveAnalogSettingsFile(const std::filesystem::path& file,
                                    const AnalogChannelTextSet& channels, char decimalSeparator) {
    auto encoded = encodeAnalogSettingsFile(channels, decimalSeparator);
    if (!encoded) return encoded.error();
    return writeFileAtomically(file, encoded.value(), kCannotSaveAnaFile);
}

FileResult<> createAnalogSettingsFile(const std::filesystem::path& file,
                                      const AnalogChannelTextSet& channels) {
    auto encoded = encodeAnalogSettingsFile(channels);
    if (!encoded) return encoded.error();
    return createFileAtomically(file, encoded.value(), kCannotSaveAnaFile);
}

FileResult<> readAnalogSettingsFile(const std::filesystem::path& file,
                                    AnalogChannelTextSet& channels) {
    std::ifstream in(file, std::ios::binary);
    if (!in) return FileError{kCannotReadAnaFile, "cannot open " + file.string()};
    std::vector<std::uint8_t> bytes(kAnalogSettingsFileSize);
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    decodeAnalogSettingsFile(bytes, channels);
    return std::monostate{};
}

}  // namespace dyno
