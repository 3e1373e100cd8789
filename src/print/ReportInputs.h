#pragma once

#include <QFont>
#include <QImage>
#include <array>
#include <string>

#include "display/graph/GraphLegend.h"
#include "display/graph/GraphScale.h"
#include "display/graph/GraphUpdate.h"
#include "model/DynoSettings.h"
#include "model/SessionModel.h"

namespace dyno {

// The print choices of the Setup and Param. pages and the workshop's name and phone.
struct PrintSettings {
    int lineWidth = 3;           // "graph line width for printing", pixels at 600 dpi
    bool printOwnerName = true;  // "Print owner name": the "Measured by" line
    bool printHeader = false;    // "Print header": the workshop's logo on top
    bool torqueInFtLbs = false;  // "Torque displayed as Ft.lbs"
    std::string companyName = "Your company";
    std::string companyPhone = "1234567890";
};

// The print choices as the settings hold them; the line width is read as its leading
// whole number, the company and phone as stored.
PrintSettings printSettingsOf(const DynoSettings& settings);

// The report's default font, and the one the print options dialog starts with.
QFont defaultReportFont();

// Everything the one-page report is drawn from. The slots' curves must be those of
// the runs selected in `selections` (the last update of the graph evaluated them).
struct ReportInputs {
    explicit ReportInputs(const SessionModel& sessions) : model(sessions) {}

    const SessionModel& model;
    GraphScale scale;
    GraphFlags flags;
    SlotSelections selections{};
    // "Airresistance value" and "Rolling resistance" as the last update read them.
    double airResistance = 0.030;
    double rollingResistance = 0.5;
    PrintSettings print;
    // Remark lines printed per slot, 0..3 (the print options dialog's choice).
    std::array<int, kSessionSlots> remarkLines{};
    QFont font = defaultReportFont();
    QImage headerPicture;  // "vkrprint.bmp"; none prints no header
    QImage smallPicture;   // the dyno's picture inside the frame; none prints none
};

// The report of what the graph shows after its last update: scale, flags, runs and
// resistance values as `state` holds them; print settings, remark lines and pictures
// still to be filled in.
ReportInputs reportOfGraph(const SessionModel& model, const GraphState& state);

}  // namespace dyno
