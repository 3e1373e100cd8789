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

// A session archive's runs analysed: losses from each run's coast-down, engine-side
// power and how far the runs are apart; text, JSON or CSV.
int runAnalysis(const std::vector<std::string>& words, std::ostream& out, std::ostream& err);

// Up to four session archives drawn on top of each other as the Graphs page draws
// them, written as PNG.
int runGraph(const std::vector<std::string>& words, std::ostream& out, std::ostream& err);

// Up to four session archives drawn as the Analog page draws their analog channels,
// written as PNG.
int runAnalog(const std::vector<std::string>& words, std::ostream& out, std::ostream& err);

// The printed test report of up to four session archives as a PDF or a 600-dpi PNG.
int runReport(const std::vector<std::string>& words, std::ostream& out, std::ostream& err);

// A whole three-run session of the simulated K40 electronics saved as an archive, or
// (--pty) the simulated electronics served on a pseudo-terminal.
int runSimulate(const std::vector<std::string>& words, std::ostream& out, std::ostream& err);

// The weather station read through the K40 electronics (or their simulation); one
// JSON object or a line of values.
int runWeather(const std::vector<std::string>& words, std::ostream& out, std::ostream& err);

// A whole three-run session from the K40 electronics on a serial port, saved as an
// archive.
int runRecord(const std::vector<std::string>& words, std::ostream& out, std::ostream& err);

// The session library: scan a folder tree into the index, or search the index.
int runLibrary(const std::vector<std::string>& words, std::ostream& out, std::ostream& err);

}  // namespace dyno::cli
