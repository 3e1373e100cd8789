#include "library/SessionSummary.h"

#include <algorithm>

#include "evaluation/SessionAnalysis.h"
#include "files/SessionRecordCodec.h"
#include "model/Cp1252.h"

namespace dyno {

namespace {

// A file still being written changes between two looks; after this many tries the
// last read is kept, and its stamp from before the read makes the next scan look
// again.
constexpr int kReadAttempts = 3;

double largest(const EvaluatedCurves::Curve& curve) {
    // Entries past the evaluated points are 0.0, as the running maximum starts.
    return std::max(0.0, *std::max_element(curve.begin(), curve.end()));
}

}  // namespace

void SessionSummaryReader::summariseRuns(const TestSession& session, IndexedSession& summary) {
    const EvaluationOptions ownSettings;  // km/h, hp, the session's own roller
    analyseSession(session, ownSettings, *analysis_);
    for (int r = 0; r < kRunsPerSession; ++r) {
        IndexedRun& run = summary.runs[static_cast<std::size_t>(r)];
        run.samples = session.leadingPeriods(r);
        if (run.samples == 0) continue;
        const EvaluatedCurves& curves = analysis_->run(r).curves;
        run.maxPowerHp = largest(curves.powerCurve);
        run.maxSpeedKmh = largest(curves.speedCurve);
        run.maxTorque = largest(curves.torqueCurve);
    }
    const SessionStatistics& statistics = analysis_->statistics();
    if (statistics.peakEnginePower.runs > 0) {
        summary.peakEnginePowerHp = statistics.peakEnginePower.mean;
    }
    if (statistics.peakWheelPower.runs > 1) {
        summary.powerSpreadPercent = statistics.peakWheelPower.spreadPercent;
    }
}

SessionSummaryReader::SessionSummaryReader()
    : session_(std::make_unique<TestSession>()), analysis_(AnalysisWorkspace::create()) {}

IndexedSession SessionSummaryReader::read(const std::filesystem::path& archive) {
    IndexedSession summary;
    for (int attempt = 0; attempt < kReadAttempts; ++attempt) {
        const auto before = stampOf(archive);
        if (!before) {
            summary = IndexedSession{};
            summary.path = archive;
            summary.unreadableReason = "cannot examine the file";
            return summary;
        }
        summary = readOnce(archive, *before);
        if (stampOf(archive) == before) break;
    }
    return summary;
}

IndexedSession SessionSummaryReader::readOnce(const std::filesystem::path& archive,
                                              const FileStamp& stamp) {
    IndexedSession summary;
    summary.path = archive;
    summary.stamp = stamp;
    auto member = readSessionMemberImage(archive);
    if (!member) {
        const FileError& error = member.error();
        summary.unreadableReason =
            error.detail.empty() ? error.message : error.message + ": " + error.detail;
        return summary;
    }
    summary.fingerprint = member.value().fingerprint;

    // A fresh slot, as a load into an empty slot would fill it.
    TestSession& session = *session_;
    session = TestSession{};
    decodeSessionRecord(member.value().bytes, session);

    summary.make = fromWindows1252(session.make.view());
    summary.model = fromWindows1252(session.model.view());
    summary.owner = fromWindows1252(session.owner.view());
    summary.remarks = {fromWindows1252(session.remarkLine1.view()),
                       fromWindows1252(session.remarkLine2.view()),
                       fromWindows1252(session.remarkLine3.view())};
    summary.dynoModel = session.header.dynoModel();
    summary.electronicsType = session.header.electronicsType();
    summary.rollerWeightKg = session.values.rollerWeight();
    summary.rollerCode = session.header.rollerCode();
    summary.correctionStandard = session.header.correctionStandard();
    summary.correctionFactor = session.correctionFactor;
    summary.airPressureMbar = session.airPressure;
    summary.airTemperatureC = session.airTemperature;
    summary.airHumidityPercent = session.airHumidity;

    summariseRuns(session, summary);
    return summary;
}

}  // namespace dyno
