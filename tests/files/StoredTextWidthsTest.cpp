// Every text the files store, at its full width and one character beyond: the file
// keeps exactly the first `width` characters, zero-padded to the field, and reads
// them back.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "files/AnalogSettingsFileCodec.h"
#include "files/SessionRecordCodec.h"
#include "files/SettingsFileCodec.h"

namespace dyno {
namespace {

struct TextField {
    const char* name;
    std::size_t offset, width, field;
};

// Distinct characters, so a text cut one place off or shifted shows.
std::string textOf(std::size_t length, char first) {
    std::string text;
    for (std::size_t i = 0; i < length; ++i)
        text += static_cast<char>(first + static_cast<int>(i % 26));
    return text;
}

std::string fieldBytes(const std::vector<std::uint8_t>& file, const TextField& f) {
    return {file.begin() + static_cast<std::ptrdiff_t>(f.offset),
            file.begin() + static_cast<std::ptrdiff_t>(f.offset + f.field)};
}

std::string storedAs(const std::string& text, const TextField& f) {
    return text.substr(0, f.width) + std::string(f.field - f.width, '\0');
}

TEST(StoredTextWidths, SettingsFileTexts) {
    struct Case {
        TextField f;
        std::string DynoSettings::*member;
    };
    const Case cases[] = {{{"company", 24, 19, 20}, &DynoSettings::companyName},
                          {{"phone", 44, 15, 16}, &DynoSettings::companyPhone},
                          {{"folder", 60, 40, 40}, &DynoSettings::initialFolder},
                          {{"port", 148, 7, 8}, &DynoSettings::serialPortName}};
    for (const Case& c : cases) {
        // A port name cut short may name another real port: it is refused instead.
        const bool isRefusedBeyondWidth = c.member == &DynoSettings::serialPortName;
        for (const std::size_t length : {c.f.width, c.f.width + 1}) {
            DynoSettings settings;
            settings.*c.member = textOf(length, 'A');
            const auto encoded = encodeSettingsFile(settings);
            if (isRefusedBeyondWidth && length > c.f.width) {
                EXPECT_FALSE(encoded.ok()) << c.f.name << " " << length;
                continue;
            }
            const auto file = encoded.value().bytes;
            EXPECT_EQ(fieldBytes(file, c.f), storedAs(settings.*c.member, c.f))
                << c.f.name << " " << length;
            DynoSettings restored;
            decodeSettingsFile(file, restored);
            EXPECT_EQ(restored.*c.member, textOf(c.f.width, 'A')) << c.f.name << " " << length;
        }
    }
}

TEST(StoredTextWidths, SessionRecordTexts) {
    using Remark = TestSession::Remark TestSession::*;
    using Vehicle = TestSession::VehicleText TestSession::*;
    struct RemarkCase {
        TextField f;
        Remark member;
    };
    struct VehicleCase {
        TextField f;
        Vehicle member;
    };
    const RemarkCase remarks[] = {{{"remark 1", 0, 66, 68}, &TestSession::remarkLine1},
                                  {{"remark 2", 68, 66, 68}, &TestSession::remarkLine2},
                                  {{"remark 3", 136, 66, 68}, &TestSession::remarkLine3}};
    const VehicleCase vehicle[] = {{{"make", 204, 20, 22}, &TestSession::make},
                                   {{"model", 226, 20, 22}, &TestSession::model},
                                   {{"owner", 248, 22, 24}, &TestSession::owner}};
    const auto check = [](const TextField& f, auto member) {
        for (const std::size_t length : {f.width, f.width + 1}) {
            auto session = std::make_unique<TestSession>();
            const std::string text = textOf(length, 'a');
            ((*session).*member).assign(text, text.size());
            const auto record = encodeSessionRecord(*session, {});
            EXPECT_EQ(fieldBytes(record, f), storedAs(text, f)) << f.name << " " << length;
            auto loaded = std::make_unique<TestSession>();
            decodeSessionRecord(record, *loaded);
            EXPECT_EQ(((*loaded).*member).view(), textOf(f.width, 'a')) << f.name << " " << length;
        }
    };
    for (const RemarkCase& c : remarks) check(c.f, c.member);
    for (const VehicleCase& c : vehicle) check(c.f, c.member);
}

TEST(StoredTextWidths, AnalogChannelTexts) {
    // Per channel, from byte 80 on: top value, nine labels from the top, bottom
    // value and unit text, five characters each.
    const auto textsOf = [](AnalogChannelTexts& channel) {
        std::array<std::string*, 12> texts{&channel.topValue};
        for (std::size_t i = 0; i < 9; ++i) texts[1 + i] = &channel.scaleLabels[i];
        texts[10] = &channel.bottomValue;
        texts[11] = &channel.unitText;
        return texts;
    };
    for (const std::size_t length : {std::size_t{5}, std::size_t{6}}) {
        auto channels = defaultAnalogChannelTexts();
        int n = 0;
        for (auto& channel : channels) {
            for (std::string* text : textsOf(channel)) {
                *text = textOf(length, static_cast<char>('A' + n++ % 26));
            }
        }
        const auto file = encodeAnalogSettingsFile(channels).value();
        auto restored = defaultAnalogChannelTexts();
        decodeAnalogSettingsFile(file, restored);
        for (std::size_t c = 0; c < channels.size(); ++c) {
            const auto written = textsOf(channels[c]);
            const auto read = textsOf(restored[c]);
            for (std::size_t t = 0; t < written.size(); ++t) {
                const TextField f{"channel text", 80 + 60 * c + 5 * t, 5, 5};
                EXPECT_EQ(fieldBytes(file, f), storedAs(*written[t], f)) << c << "/" << t;
                EXPECT_EQ(*read[t], written[t]->substr(0, 5)) << c << "/" << t << " " << length;
            }
        }
    }
}

}  // namespace
}  // namespace dyno
