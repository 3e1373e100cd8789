#pragma once

#include <QString>
#include <array>
#include <cstdint>
#include <vector>

#include "display/analog/AnalogView.h"

class QPainter;

// The two scale strips beside the analog plot. Each is cleared and written with
// texts whose top-left corners sit at x = 0.
namespace dyno {

class TextLayouts;

struct ScaleText {
    int y;
    QString text;
};

// The chosen channel's texts as typed on the A/D Sett. page: top value at y 0, the
// nine labels at y 40 .. 360, the bottom value at 400, the unit text at 220.
std::vector<ScaleText> leftScaleTexts(const AnalogChannelTexts& channel);

// "Hp": endHp and four fifths of it (integer steps, q = endHp / 5) down to "0", with
// "Kw" or "Hp" at y 200; "Speed": 200 down to 0 in steps of 20 with "Mph" or "Kph".
std::vector<ScaleText> rightScaleTexts(AnalogCurve curve, std::int32_t endHp, bool powerInKw,
                                       bool speedInMph);

void drawScaleStrip(QPainter& strip, TextLayouts& layouts, const std::vector<ScaleText>& texts);

}  // namespace dyno
