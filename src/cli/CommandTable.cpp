#include "cli/CommandTable.h"

namespace dyno::cli {

namespace {

constexpr CommandEntry kCommands[] = {
    {"info", runInfo, "info FILE [--json]",
     "What a session archive holds: texts, header, values, air data and run lengths."},
    {"curves", runCurves,
     "curves FILE --run N [--mph] [--kw] [--with-rpm] [--roller-weight KG] [--channels 1,3] "
     "[--analysis-settings FILE] [--ad-settings FILE.ana] [--json|--csv]",
     "One run of a session archive evaluated as \"Update Display\" would. JSON (the default)\n"
     "or CSV carry the same points; the CSV header names each column's unit. --channels adds\n"
     "analog channels 1..5 in their calibrated units, read through their recording delay:\n"
     "a CSV column \"<name>_<unit>\" of the calibration (\"AFR_AFR\"; \"channel<N>\" without\n"
     "a name) and a JSON array under \"channels\"; empty cells (null) where a delayed channel\n"
     "has no reading. A channel not recorded in the run is named on stderr and gets no\n"
     "column (null values in JSON). The calibrations come from --analysis-settings FILE, else\n"
     "vkr_dyno_analysis.ini of the current folder; the delays from --ad-settings FILE.ana,\n"
     "else vkr_dyno.ana of the current folder."},
    {"analysis", runAnalysis,
     "analysis FILE [--run N] [--mph] [--kw] [--roller-weight KG] [--json|--csv]",
     "A session archive's runs analysed as the Analysis page does: per run the peak wheel\n"
     "power and torque, the coast-down's verdict and speed range and, only with a usable\n"
     "coast-down, the peak engine-side power (wheel power plus the losses the coast-down\n"
     "shows); then the session's mean and spread (%) of each figure and the run that\n"
     "differs from the others by more than 3 %. --json adds the curves per run (wheel,\n"
     "loss, engine-side) and the mean curve. --csv is one table of curves: run, speed,\n"
     "wheel power, loss power, engine-side power and torque per point of each pull (empty\n"
     "cells where the coast-down does not reach), then rows \"mean\" of the mean curve.\n"
     "--run N (1..3) prints only that run; the session's figures stay those of all runs."},
    {"graph", runGraph,
     "graph FILE1 [FILE2 [FILE3 [FILE4]]] --out FILE.png|.jpg|.bmp|.pdf [--run N,...] "
     "[--speed A:B] [--power A:B] [--rpm A:B] [--show-rpm] [--torque] [--fixed-gearing] [--air] "
     "[--mph] [--kw] [--plot-only]",
     "Up to four session archives drawn as the Graphs page draws them: the panel with its\n"
     "scales, legend and remark lines, or with --plot-only the bare 600 x 400 plot. The\n"
     "file's extension chooses the format; .pdf is drawn as vectors."},
    {"analog", runAnalog,
     "analog FILE1 [FILE2 [FILE3 [FILE4]]] --out PNG [--run N,...] [--channels 1,3,5] "
     "[--vscale hp|speed] [--zoom N] [--offset N] [--shift a,b,c,d] [--left-scale C] "
     "[--end-hp N] [--mph] [--kw] [--ad-settings FILE.ana] [--plot-only]",
     "The analog channels of up to four session archives drawn as the Analog page draws them."},
    {"report", runReport,
     "report FILE1 [FILE2 [FILE3 [FILE4]]] --out PDF|PNG [--run N,...] [--page a4|letter] "
     "[--speed A:B] [--power A:B] [--rpm A:B] [--show-rpm] [--torque] [--fixed-gearing] [--air] "
     "[--mph|--kph] [--kw|--hp] [--remarks N,N,N,N] [--font FAMILY SIZE] [--line-width N] "
     "[--owner|--no-owner] [--header|--no-header] [--company TEXT] [--phone TEXT] [--logo FILE] "
     "[--analysis [--channels N[,N]] [--analysis-settings FILE] [--ad-settings FILE.ana]]",
     "The printed test report of up to four session archives: a one-page PDF with real text\n"
     "and vector curves, or a 600-dpi PNG. Without options the print settings, company,\n"
     "phone, graph limits and units come from vkr_dyno.ini in the current folder, as the\n"
     "window's \"Print\" takes them. --analysis adds the Analysis page of the first\n"
     "session as a second PDF page; --channels draws up to two analog channels over its\n"
     "curves in their calibrated units, calibrations and delays taken as curves takes them."},
    {"correction", runCorrection,
     "correction --temperature T --pressure P --humidity H --standard K [--fahrenheit] "
     "[--inch-hg]",
     "The Param. page's \"Use correction factor\" from typed weather values; one JSON line."},
    {"simulate", runSimulate,
     "simulate --out FILE.zsd [--vehicle NAME] [--test norpm|720|360|180|deg:N] "
     "[--channels 1,2,..] [--seed S] [--realtime [--time-lapse N]] [--remote-delay MS] "
     "[--roller-weight KG] [--gearbox variomatic|fixed] [--pressure P] [--temperature T] "
     "[--humidity H] [--standard K] [--make T] [--model T] [--owner T] [--remark T] "
     "[--coast-down] [--lambda] [--verbose] "
     "[--live-view PORT [--live-view-reach pc|network] [--live-view-hold S]]\n"
     "  dynotool simulate --pty [--vehicle NAME] [--seed S] [--time-lapse N] [--remote-delay MS] "
     "[--rider-runs N] [--idle-exit S] [--stray-bytes N [--stray-run R]] [--coast-down] "
     "[--lambda]\n"
     "  dynotool simulate --card --out FILE.zsd [--model K70|K80] [--vehicle NAME] "
     "[--test ...] [--channels 1,2,..] [--weather] [--seed S] [--remote-delay MS] "
     "[--gearbox variomatic|fixed] [--coast-down] [the Param. and Remarks options above] "
     "[--live-view PORT [--time-lapse N] ...]",
     "A whole three-run session of the simulated K40 electronics saved as an archive, or\n"
     "(--pty) the simulated electronics served on a pseudo-terminal whose path is printed\n"
     "first. The terminal is served until the command is stopped (Ctrl+C), or with\n"
     "--idle-exit once nothing went over the line for S seconds; with --rider-runs the\n"
     "rider stops after N runs; with --stray-bytes, N bytes that were never sent land in\n"
     "the transfer of run R (2), as on a line with a loose contact. With --card, a session\n"
     "of the simulated K70/K80 plug-in card (--model names the dyno). With --coast-down\n"
     "each run sets off near a standstill, is a little apart in power from the others\n"
     "(drawn from the seed) and coasts down on the roller's losses after the pull. With\n"
     "--lambda channel 3 is a wide-band lambda controller (0-5 V for AFR 10-20): AFR 12 at\n"
     "the launch rpm, leaning to 14 at the rev limiter.\n"
     "With --live-view the rider's live view is served on PORT (0: any free one), on this\n"
     "PC only or (--live-view-reach network) on the network, its address with the access\n"
     "code on stderr; --live-view-hold S serves it on for S seconds after the session.\n"
     "A card session with --live-view runs at the rider's pace (--time-lapse N faster)."},
    {"weather", runWeather, "weather --port PORT|SIM [--json]",
     "Asks the K40 electronics (or the simulated ones, SIM) for the weather station's\n"
     "readings, with the settings file of the current folder as the window would."},
    {"record", runRecord,
     "record --port PORT --out FILE.zsd [--test norpm|720|360|180|deg:N] [--channels 1,2,..] "
     "[--weather] [--dyno K40|K70|K80] [--roller-weight KG] [--roller-code N] "
     "[--gearbox variomatic|fixed] [--transfer-delay D] [--pressure P] [--temperature T] "
     "[--humidity H] [--standard K] [--make T] [--model T] [--owner T] [--remark T] "
     "[--timeout S] [--answer-wait S] [--verbose] "
     "[--live-view PORT [--live-view-reach pc|network] [--live-view-hold S]]",
     "A whole three-run session from the K40 electronics on a serial port, saved as an\n"
     "archive; exit 0 only when all three runs arrived whole. A session cut short (the\n"
     "port lost, --timeout S passed, Ctrl+C, SIGTERM or SIGHUP) saves the runs received\n"
     "and exits 1, as does one that finished with a run discarded as damaged.\n"
     "Electronics that send nothing at all for --answer-wait S seconds (10) end it with\n"
     "exit 1; give a longer wait for electronics switched on late. --live-view serves the\n"
     "rider's live view as simulate does."},
    {"library", runLibrary,
     "library scan FOLDER [--db FILE]\n"
     "  dynotool library search [WORDS] [--make T] [--model T] [--owner T] [--since YYYY-MM-DD] "
     "[--until YYYY-MM-DD] [--min-power HP] [--min-engine-power HP] [--max-spread PERCENT] "
     "[--dyno K40|K70|K80] [--sort date|power|engine-power|spread] [--limit N] [--unreadable] "
     "[--analysis] [--db FILE] [--json|--csv]",
     "The session library: an index of the session archives under a folder, searched by\n"
     "words of make, model, owner and remarks, and by date, dyno and power. Each session\n"
     "also carries its analysis: the mean peak engine-side power of the runs with a usable\n"
     "coast-down (hp) and the spread of the runs' peak power (%); a session without the\n"
     "figure passes neither --min-engine-power nor --max-spread. --sort engine-power puts\n"
     "the strongest first, --sort spread the most repeatable; --analysis prints both\n"
     "figures (JSON \"peakEnginePowerHp\", \"powerSpreadPercent\"; the CSV's last columns)."},
};

}  // namespace

const std::string_view kExitStatusText =
    "exit status: 0 success, 1 failure (a file that cannot be read or written, a session\n"
    "that does not finish), 2 usage error (unknown option, missing or malformed value).\n"
    "Numbers are read whole: \"10x\" or an empty value is a usage error.\n";

std::span<const CommandEntry> commandTable() {
    return kCommands;
}

}  // namespace dyno::cli
