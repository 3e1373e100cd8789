#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace dyno::cli {

// One dynotool command: the words after its name in, machine-readable output on
// `out`, a one-line reason on `err`; returns the exit status.
using Command = int (*)(const std::vector<std::string>& words, std::ostream& out,
                        std::ostream& err);

// Correction factor from weather values typed as on the Param. page; one JSON line.
int runCorrection(const std::vector<std::string>& words, std::ostream& out, std::ostream& err);

// What a session archive holds: texts, header, values, air data, run lengths.
int runInfo(const std::vector<std::string>& words, std::ostream& out, std::ostream& err);

// One run of a session archive evaluated as the graph would: JSON or CSV curves.
int runCurves(const std::vector<std::string>& words, std::ostream& out, std::ostream& err);

// Up to four session archives drawn on top of each other as the Graphs page draws
// them, written as PNG.
int runGraph(const std::vector<std::string>& words, std::ostream& out, std::ostream& err);

// Up to four session archives drawn as the Analog page draws their analog channels,
// written as PNG.
int runAnalog(const std::vector<std::string>& words, std::ostream& out, std::ostream& err);

// A whole three-run session of the simulated K40 electronics saved as an archive, or
// (--pty) the simulated electronics served on a pseudo-terminal.
int runSimulate(const std::vector<std::string>& words, std::ostream& out, std::ostream& err);

// A whole three-run session from the K40 electronics on a serial port, saved as an
// archive.
int runRecord(const std::vector<std::string>& words, std::ostream& out, std::ostream& err);

}  // namespace dyno::cli
