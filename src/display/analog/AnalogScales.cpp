#include "display/analog/AnalogScales.h"

#include <QPainter>

#include "display/GraphPalette.h"

namespace dyno {

namespace {

QString typed(const std::string& text) {
    return QString::fromStdString(text);
}

QString number(std::int64_t value) {
    return QString::number(value);
}

}  // namespace

std::vector<ScaleText> leftScaleTexts(const AnalogChannelTexts& channel) {
    std::vector<ScaleText> texts;
    texts.push_back({0, typed(channel.topValue)});
    int y = 40;
    for (const std::string& label : channel.scaleLabels) {
        texts.push_back({y, typed(label)});
        y += 40;
    }
    texts.push_back({400, typed(channel.bottomValue)});
    texts.push_back({220, typed(channel.unitText)});
    return texts;
}

std::vector<ScaleText> rightScaleTexts(AnalogCurve curve, std::int32_t endHp, bool powerInKw,
                                       bool speedInMph) {
    if (curve == AnalogCurve::power) {
        // Wide enough that endHp - 4q cannot overflow for any 32-bit endHp.
        const std::int64_t top = endHp;
        const std::int64_t q = top / 5;
        return {{0, number(top)},
                {80, number(top - q)},
                {160, number(top - 2 * q)},
                {200, powerInKw ? QStringLiteral("Kw") : QStringLiteral("Hp")},
                {240, number(top - 3 * q)},
                {320, number(top - 4 * q)},
                {400, QStringLiteral("0")}};
    }
    std::vector<ScaleText> texts;
    for (int speed = 200; speed >= 0; speed -= 20) {
        texts.push_back({2 * (200 - speed), number(speed)});
        if (speed == 100) {
            texts.push_back({220, speedInMph ? QStringLiteral("Mph") : QStringLiteral("Kph")});
        }
    }
    return texts;
}

void drawScaleStrip(QPainter& strip, TextLayouts& layouts, const std::vector<ScaleText>& texts) {
    // The whole strip (the wider 41 x 421): the bottom text reaches below row 405,
    // and what an earlier redraw left there would stay, and darken where the same
    // text is drawn again.
    strip.fillRect(QRect(0, 0, 41, 421), graph::buttonFace());
    strip.setFont(graph::labelFont());
    strip.setPen(Qt::black);
    for (const ScaleText& text : texts) graph::drawTextAt(strip, layouts, 0, text.y, text.text);
}

}  // namespace dyno
