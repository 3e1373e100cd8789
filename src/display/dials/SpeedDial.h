#pragma once

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <array>
#include <cstdint>

#include "acquisition/SequenceView.h"
#include "evaluation/DynoPreparationChannels.h"

// The Speed page's two dials: the picture behind the needles, the needle tables and
// the live marker rectangles above the two level bars. Everything is in pixels of the
// page's paint box, origin top left, y growing downward.
namespace dyno::speedo {

// The dial picture and the paint box the needles are drawn on.
inline constexpr QSize kDialPictureSize{781, 538};
inline constexpr QSize kPaintBoxSize{750, 538};

inline constexpr int kDialCentreY = 303;
inline constexpr int kSpeedDialCentreX = 195;
inline constexpr int kRpmDialCentreX = 588;
inline constexpr int kNeedleLength = 145;
// Needle positions are degrees of travel, 0 straight down, clockwise on the screen.
inline constexpr int kNeedleTableEntries = 360;
inline constexpr int kLargestNeedlePosition = 320;

// Speed dial: 1.28 positions per km/h, so 250 km/h is 320. Rpm dial: 62.5 rpm per
// position, so 20 000 rpm ("200" on the "Rpm x100" dial) is 320; red from 16 000.
inline constexpr double kPositionsPerKmh = 1.28;
inline constexpr double kRpmPerPosition = 62.5;
inline constexpr int kRpmRedFromHundreds = 160;

// One dial's needle ends: entry k is where a needle at position k ends. The x and y
// tables are kept apart, as the electronics' software indexes them.
struct NeedleTable {
    static constexpr std::size_t kStorage = 362;  // 360 entries used

    QPoint centre;
    std::array<std::int32_t, kStorage> x{};
    std::array<std::int32_t, kStorage> y{};

    // The needle's end at `position`; positions outside 0..359 are clamped.
    QPoint end(int position) const;
};

// The table of the dial centred at (centreX, 303): 145 pixels long, truncated toward
// zero, with 3.14159 for pi as the electronics' software computes it.
NeedleTable buildNeedleTable(int centreX);

// Both dials' tables, built once when the program starts.
struct DialTables {
    NeedleTable speed = buildNeedleTable(kSpeedDialCentreX);
    NeedleTable rpm = buildNeedleTable(kRpmDialCentreX);

    const NeedleTable& of(Dial dial) const { return dial == Dial::Speed ? speed : rpm; }
};

// The dial picture: black, two thick green arcs with white ticks running clockwise from
// straight down through 320 degrees, the "Speed" dial with figures 0..250 and the
// "Rpm x100" dial with figures 0..200 and its arc red from 160.
void drawDialPicture(QPainter& painter);
QImage dialPicture();

// A one-pixel line from the dial's centre to its table entry at `position`. Black is
// painted as any other colour; the Speed page erases with it.
void drawNeedle(QPainter& painter, const NeedleTable& table, int position, const QColor& colour);

// The K40 marker of level bar 1 or 2 at `position` pixels from the bar's left end
// (clipped to 0..296): 3 wide, 18 high, its top at y 495.
QRect k40MarkerRect(int channel, int position);

// The card's marker offset of a scaled value: dyno::cardMarkerOffset.
using dyno::cardMarkerOffset;
// 9 wide, 20 high, its top at y 495.
QRect cardMarkerRect(int channel, int offset);

}  // namespace dyno::speedo
