#include "files/SessionRecordCodec.h"

#include <algorithm>
#include <string>

#include "files/ByteReader.h"
#include "files/ByteWriter.h"

namespace dyno {

namespace {

// Field widths in the record; the stored text is two bytes shorter than its field.
constexpr std::size_t kRemarkField = 68;
constexpr std::size_t kMakeModelField = 22;
constexpr std::size_t kOwnerField = 24;

template <std::size_t N>
void putText(ByteWriter& out, const FixedText<N>& text, int storedChars, std::size_t field) {
    out.putText(text.view(), static_cast<std::size_t>(storedChars), field);
}

template <std::size_t N>
void readText(ByteReader& in, FixedText<N>& text, int storedChars, std::size_t field) {
    std::string value;
    if (in.readText(value, static_cast<std::size_t>(storedChars), field)) {
        text.assign(value, static_cast<std::size_t>(storedChars));
    }
}

}  // namespace

std::vector<std::uint8_t> encodeSessionRecord(const TestSession& session, const SavedAirData& air) {
    ByteWriter out(kSessionRecordSize);
    putText(out, session.remarkLine1, kRemarkStoredChars, kRemarkField);
    putText(out, session.remarkLine2, kRemarkStoredChars, kRemarkField);
    putText(out, session.remarkLine3, kRemarkStoredChars, kRemarkField);
    putText(out, session.make, kMakeModelStoredChars, kMakeModelField);
    putText(out, session.model, kMakeModelStoredChars, kMakeModelField);
    putText(out, session.owner, kOwnerStoredChars, kOwnerField);
    out.putFloat64(session.correctionFactor);
    out.putInt32s(std::span(session.rollerPeriods).first<kRecordedSamples>());
    out.putInt32s(std::span(session.rpmSamples).first<kRecordedSamples>());
    for (const std::int16_t word : session.header.words) out.putInt16(word);
    for (const double value : session.values.values) out.putFloat64(value);
    out.putFloat64(air.pressureMbar);
    out.putFloat64(air.temperatureCelsius);
    out.putFloat64(air.humidityPercent);
    for (int r = 0; r < kRunsPerSession; ++r) {
        const auto& channels = session.analogSamples[static_cast<std::size_t>(r)];
        for (int c = 0; c < 3; ++c) out.putUInt16s(channels[static_cast<std::size_t>(c)]);
        out.putRepeatedUInt16(kStoredChannel4Value, kSamplesPerRun);
        out.putRepeatedUInt16(kStoredChannel5Value, kSamplesPerRun);
    }
    return out.take();
}

void decodeSessionRecord(std::span<const std::uint8_t> record, TestSession& session) {
    std::fill_n(session.rollerPeriods.begin(), kRecordedSamples, 0);
    std::fill_n(session.rpmSamples.begin(), kRecordedSamples, 0);

    ByteReader in(record);
    readText(in, session.remarkLine1, kRemarkStoredChars, kRemarkField);
    readText(in, session.remarkLine2, kRemarkStoredChars, kRemarkField);
    readText(in, session.remarkLine3, kRemarkStoredChars, kRemarkField);
    readText(in, session.make, kMakeModelStoredChars, kMakeModelField);
    readText(in, session.model, kMakeModelStoredChars, kMakeModelField);
    readText(in, session.owner, kOwnerStoredChars, kOwnerField);
    in.readFloat64(session.correctionFactor);
    in.readInt32s(std::span(session.rollerPeriods).first<kRecordedSamples>());
    in.readInt32s(std::span(session.rpmSamples).first<kRecordedSamples>());
    for (std::int16_t& word : session.header.words) in.readInt16(word);
    for (double& value : session.values.values) in.readFloat64(value);
    in.readFloat64(session.airPressure);
    in.readFloat64(session.airTemperature);
    in.readFloat64(session.airHumidity);
    for (int r = 0; r < kRunsPerSession; ++r) {
        for (auto& channel : session.analogSamples[static_cast<std::size_t>(r)]) {
            in.readUInt16s(channel);
        }
    }
}

}  // namespace dyno
