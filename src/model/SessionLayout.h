#pragma once

namespace dyno {

// Fixed dimensions of the session model; nothing is resized after start-up.
inline constexpr int kSessionSlots = 4;      // slots 1..4: red, blue, green, purple
inline constexpr int kRunsPerSession = 3;    // runs 0..2, shown as " 1", " 2", " 3"
inline constexpr int kSamplesPerRun = 2000;  // capacity of every sample array and curve
inline constexpr int kRunsStored = 5;        // storage has room for five runs per session
inline constexpr int kAnalogChannels = 5;    // analog channels 1..5
inline constexpr int kSessionSamples = kRunsStored * kSamplesPerRun;       // 10000
inline constexpr int kRecordedSamples = kRunsPerSession * kSamplesPerRun;  // 6000, saved and copied
// Before slot 1 records a new session its roller and rpm arrays are zeroed this far.
inline constexpr int kClearedBeforeRecording = 8000;
// Texts as the session record stores them (the buffers hold one more byte).
inline constexpr int kRemarkStoredChars = 66;
inline constexpr int kMakeModelStoredChars = 20;
inline constexpr int kOwnerStoredChars = 22;

}  // namespace dyno
