#include "print/ReportTexts.h"

#include <algorithm>

#include "model/Cp1252.h"
#include "model/TextNumbers.h"

namespace dyno {

namespace {

template <std::size_t N>
QString textOf(const FixedText<N>& text) {
    return QString::fromStdString(fromWindows1252(text.view()));
}

QString fixed(double value, int decimals) {
    return QString::fromStdString(formatFixed(value, decimals));
}

// The largest engine speed of the plotted run: what "Maxrpm" shows.
double largestRpm(const TestSession& session) {
    const auto& rpm = session.curves.rpmCurve;
    return *std::max_element(rpm.begin(), rpm.begin() + (kSamplesPerRun - 1));
}

}  // namespace

QString correctionLabel(int correctionStandard) {
    switch (correctionStandard) {
        case 1: return QStringLiteral("SAE J1349 corr.f.");
        case 2: return QStringLiteral("DIN corr.f.");
        case 3: return QStringLiteral("EEC corr.f.");
        case 4: return QStringLiteral("ISO 1585 corr.f.");
        default: return QStringLiteral("STP corr.f.");
    }
}

QString measuredByText(const PrintSettings& print) {
    return QStringLiteral("Measured by %1 tel.%2 on the VKR Korvalis.")
        .arg(QString::fromStdString(print.companyName), QString::fromStdString(print.companyPhone));
}

std::optional<PageText> ownerLine(const ReportGeometry& page, const PrintSettings& print) {
    if (!print.printOwnerName) return std::nullopt;
    return PageText{page.textLeft(), page.lineBelowFrame(6.0), measuredByText(print)};
}

std::vector<PageText> sessionBlockTexts(const ReportGeometry& page, int slot,
                                        const TestSession& session, int remarkLines,
                                        const GraphFlags& flags, bool torqueInFtLbs) {
    const double offset = 11.0 * (slot - 1);
    const int x = page.textLeft();
    const auto column = [&](double c) { return static_cast<int>(x + c * page.columnUnit); };
    const auto line = [&](double units) { return page.lineBelowFrame(units + offset); };
    const int labels = column(33);
    const int values = column(40);

    std::vector<PageText> texts;
    texts.push_back({x, line(10), textOf(session.make)});
    texts.push_back({column(7), line(10), textOf(session.model)});
    texts.push_back({column(14), line(10), textOf(session.owner)});
    texts.push_back(
        {labels, line(10), flags.powerInKw ? QStringLiteral("Maxkw") : QStringLiteral("Maxhp")});
    texts.push_back({values, line(10), textOf(session.curves.maxPowerText)});

    const TestSession::Remark* remarks[] = {&session.remarkLine1, &session.remarkLine2,
                                            &session.remarkLine3};
    for (int r = 0; r < std::clamp(remarkLines, 0, 3); ++r) {
        texts.push_back({x, line(12.5 + 2.5 * r), textOf(*remarks[r])});
    }

    QString torqueLabel = QStringLiteral("Roll.tq");
    if (!flags.speedOnXAxis)
        torqueLabel = torqueInFtLbs ? QStringLiteral("Max Ft.lbs") : QStringLiteral("Max Nm");
    texts.push_back({labels, line(12.5), torqueLabel});
    texts.push_back({values, line(12.5), textOf(session.curves.maxTorqueText)});

    if (flags.speedOnXAxis) {
        texts.push_back({labels, line(15),
                         flags.speedInMph ? QStringLiteral("Maxmph") : QStringLiteral("Maxkph")});
        texts.push_back({values, line(15), textOf(session.curves.maxSpeedText)});
    } else {
        texts.push_back({labels, line(15), QStringLiteral("Maxrpm")});
        texts.push_back({values, line(15), fixed(largestRpm(session), 0)});
    }

    texts.push_back({labels, line(17.5), correctionLabel(session.header.correctionStandard())});
    texts.push_back({values, line(17.5), fixed(session.correctionFactor, 3)});
    return texts;
}

}  // namespace dyno
