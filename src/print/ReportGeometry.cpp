#include "print/ReportGeometry.h"

#include "display/graph/GraphAxes.h"
#include "model/TextNumbers.h"

namespace dyno {

namespace {

QString number(std::int64_t value) {
    return QString::fromStdString(formatFixed(static_cast<double>(value), 0));
}

int pixel(double value) {
    return static_cast<int>(value);
}

// Numbers up the left (power) or right (engine speed) of the frame: the start at the
// bottom, labels 1..4 always, higher ones only while they stay 20 pixels under the
// top, the end value at the top.
template <typename LabelText>
void addUpwardLabels(std::vector<PageText>& texts, const ReportGeometry& page, int x,
                     std::int64_t divisions, const QString& startText, const QString& endText,
                     LabelText labelAt) {
    const int base = page.top - 20;
    const double division =
        static_cast<double>(page.frameHeight()) / static_cast<double>(divisions);
    texts.push_back({x, base + page.frameHeight(), startText});
    for (int k = 1; k <= 15; ++k) {
        const double offset = k * division;
        if (k > 4 && !(page.frameHeight() - 20 > offset)) continue;
        texts.push_back({x, pixel(base + page.frameHeight() - offset), labelAt(k)});
    }
    texts.push_back({x, base, endText});
}

// Numbers along the bottom of the frame: the start at L - 30, labels 1..4 always,
// higher ones while at least one division short of the right edge, the end at R.
template <typename LabelText>
void addAcrossLabels(std::vector<PageText>& texts, const ReportGeometry& page, int lastK,
                     std::int64_t divisions, const QString& startText, const QString& endText,
                     LabelText labelAt) {
    const int y = page.lineBelowFrame(1.0);
    const double division = static_cast<double>(page.frameWidth()) / static_cast<double>(divisions);
    texts.push_back({page.textLeft(), y, startText});
    for (int k = 1; k <= lastK; ++k) {
        const double x = page.textLeft() + k * division;
        if (k > 4 && !(x <= page.right - division)) continue;
        texts.push_back({pixel(x), y, labelAt(k)});
    }
    texts.push_back({page.right, y, endText});
}

QString hundreds(std::int64_t rpm) {
    return number(rpm / 100);
}

// Hundreds of rpm with at most one decimal, and none when it is 0 ("125", "12.5",
// "114.6"): the labels stand between the frame and the page's edge, which six
// significant digits ("114.583") overrun.
QString rpmHundredsText(double hundredsOfRpm) {
    QString text = QString::number(hundredsOfRpm, 'f', 1);
    if (text.endsWith(QStringLiteral(".0"))) text.chop(2);
    if (text == QStringLiteral("-0")) text = QStringLiteral("0");
    return text;
}

}  // namespace

ReportGeometry::ReportGeometry(int pageWidth, int pageHeight)
    : width(pageWidth),
      height(pageHeight),
      left(pageWidth / 12),
      right(pixel(pageWidth - 0.05 * pageWidth)),
      top(pageHeight / 6),
      bottom(pixel(0.6 * pageHeight)),
      lineUnit(pageHeight * 0.005988023952095809),
      columnUnit(pageWidth * 0.020833333333333333) {}

int ReportGeometry::powerLabelColumn() const {
    return pixel(left - width / 28.0);
}

int ReportGeometry::lineBelowFrame(double lines) const {
    return pixel(bottom + lines * lineUnit);
}

PowerAxis reportPowerAxisOf(const GraphScale& scale) {
    PowerAxis axis = powerAxisOf(scale);
    if (axis.span == 50 || axis.span == 150) {
        axis.divisions = axis.span == 50 ? axis.span / 5 : axis.span / 10;
        axis.labelStep = axis.span / axis.divisions;
        axis.rowSpacing = 0.0;  // no screen spacing for this division; the page's is GH / divisions
    }
    return axis;
}

std::vector<PageText> powerScaleTexts(const ReportGeometry& page, const GraphScale& scale,
                                      bool powerInKw) {
    const PowerAxis axis = reportPowerAxisOf(scale);
    std::vector<PageText> texts;
    addUpwardLabels(texts, page, page.powerLabelColumn(), axis.divisions, number(scale.startHp),
                    number(scale.endHp),
                    [&](int k) { return number(scale.startHp + k * axis.labelStep); });
    const double fifth = page.frameHeight() / 5.0;
    texts.push_back({0, pixel(page.top - 20 + 2.4 * fifth),
                     powerInKw ? QStringLiteral("Kw") : QStringLiteral("Hp")});
    return texts;
}

std::vector<PageText> speedScaleTexts(const ReportGeometry& page, const GraphScale& scale,
                                      bool speedInMph) {
    const SpeedAxis axis = speedAxisOf(scale);
    std::vector<PageText> texts;
    addAcrossLabels(texts, page, 17, axis.divisions, number(scale.startKmh), number(scale.endKmh),
                    [&](int k) { return number(scale.startKmh + k * axis.labelStep); });
    texts.push_back({page.width / 2, page.lineBelowFrame(3.0),
                     speedInMph ? QStringLiteral("Mph") : QStringLiteral("Kph")});
    return texts;
}

std::vector<PageText> rpmAcrossScaleTexts(const ReportGeometry& page, const GraphScale& scale) {
    const RpmAxis axis = rpmAxisOf(scale);
    std::vector<PageText> texts;
    addAcrossLabels(texts, page, 15, axis.divisions, hundreds(scale.startRpm),
                    hundreds(scale.endRpm),
                    [&](int k) { return hundreds(scale.startRpm + k * axis.step); });
    texts.push_back({page.width / 2, page.lineBelowFrame(3.0), QStringLiteral("Rpm")});
    return texts;
}

std::vector<PageText> rpmScaleTexts(const ReportGeometry& page, const GraphScale& scale) {
    const RpmAxis axis = rpmAxisOf(scale);
    // The step is not truncated here, so labels such as 12.5 (hundreds) appear.
    const double step = static_cast<double>(axis.span) / static_cast<double>(axis.divisions);
    std::vector<PageText> texts;
    addUpwardLabels(texts, page, page.right + 20, axis.divisions, hundreds(scale.startRpm),
                    hundreds(scale.endRpm),
                    [&](int k) { return rpmHundredsText((scale.startRpm + k * step) * 0.01); });
    texts.push_back({page.right + 20, page.top - 250, QStringLiteral("Rpm")});
    return texts;
}

int reportFrameWidth(int lineWidth) {
    return 2 * lineWidth > 4 ? 2 * lineWidth : 5;
}

}  // namespace dyno
