#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "files/SessionArchive.h"
#include "model/SessionLayout.h"

namespace dyno {

// When an archive was last written and how long it is: a change to either means it
// must be read again. Modification time in nanoseconds since the epoch.
struct FileStamp {
    std::int64_t sizeBytes = 0;
    std::int64_t modifiedNs = 0;
    friend bool operator==(const FileStamp&, const FileStamp&) = default;
};

// The stamp of `file`, or nothing when it is gone or cannot be examined.
std::optional<FileStamp> stampOf(const std::filesystem::path& file);

// One run as the graph would show it with the session's own settings (km/h, hp, the
// session's roller): its roller samples and its evaluated maxima.
struct IndexedRun {
    int samples = 0;
    double maxPowerHp = 0.0;
    double maxSpeedKmh = 0.0;
    double maxTorque = 0.0;  // the tractive-force figure of the torque curve
};

// What the index keeps of one session archive. Texts are UTF-8. An archive that
// could not be read keeps its path, stamp and the reason, and nothing else.
struct IndexedSession {
    std::filesystem::path path;
    FileStamp stamp;
    SessionMemberFingerprint fingerprint;
    std::string unreadableReason;  // empty when the archive was read

    std::string make, model, owner;
    std::array<std::string, 3> remarks;
    int dynoModel = 0;        // 0 K40, 1 K70, 2 K80
    int electronicsType = 0;  // 0 card, 1 USB/serial
    double rollerWeightKg = 0.0;
    int rollerCode = 0;
    int correctionStandard = 0;  // 0 SAE STP .. 4 ISO 1585
    double correctionFactor = 1.0;
    double airPressureMbar = 0.0;
    double airTemperatureC = 0.0;
    double airHumidityPercent = 0.0;
    std::array<IndexedRun, kRunsPerSession> runs;
    // From the session's analysis, in hp: the mean over the runs with a usable
    // coast-down of their peak engine-side power, nothing when no run has one; and how
    // far the runs' peak wheel powers spread (largest - smallest over the mean, in %),
    // nothing with fewer than two runs to compare.
    std::optional<double> peakEnginePowerHp;
    std::optional<double> powerSpreadPercent;

    bool isReadable() const { return unreadableReason.empty(); }
    // The best run's power: what the power filter and the power order use.
    double maxPowerHp() const;
};

// The names the dyno models go by: "K40", "K70", "K80"; another number as itself.
std::string dynoModelName(int dynoModel);

}  // namespace dyno
