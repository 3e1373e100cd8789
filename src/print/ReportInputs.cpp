#include "print/ReportInputs.h"

#include "model/TextNumbers.h"

namespace dyno {

PrintSettings printSettingsOf(const DynoSettings& settings) {
    PrintSettings print;
    print.lineWidth = leadingInteger(settings.printLineWidthText);
    print.printOwnerName = settings.printOwnerName;
    print.printHeader = settings.printHeader;
    print.torqueInFtLbs = settings.torqueInFtLbs;
    print.companyName = settings.companyName;
    print.companyPhone = settings.companyPhone;
    return print;
}

ReportInputs reportOfGraph(const SessionModel& model, const GraphState& state) {
    ReportInputs report(model);
    report.scale = state.scale;
    report.flags = state.flags;
    report.selections = state.selections;
    report.airResistance = state.airResistance;
    report.rollingResistance = state.rollingResistance;
    return report;
}

QFont defaultReportFont() {
    // Liberation Serif has the same metrics where Times New Roman is not installed.
    QFont font(QStringLiteral("Times New Roman"), 10);
    font.setStyleHint(QFont::Serif);
    return font;
}

}  // namespace dyno
