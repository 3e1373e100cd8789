#pragma once

#include <QRect>
#include <QString>
#include <vector>

#include "display/graph/GraphAxes.h"
#include "display/graph/GraphScale.h"

// Where the parts of the printed report lie on the page. Positions are pixels of the
// printable area at 600 dpi (origin top left); reals are truncated where a pixel is
// needed.
namespace dyno {

inline constexpr int kReportDpi = 600;

struct ReportGeometry {
    int width = 0;            // W
    int height = 0;           // H
    int left = 0;             // L = W / 12
    int right = 0;            // R = W - 0.05 W
    int top = 0;              // T = H / 6
    int bottom = 0;           // B = 0.6 H
    double lineUnit = 0.0;    // U = H / 167: text lines below the graph
    double columnUnit = 0.0;  // c = W / 48: text columns

    explicit ReportGeometry(int pageWidth, int pageHeight);

    int frameWidth() const { return right - left; }   // GW
    int frameHeight() const { return bottom - top; }  // GH
    // The pixels inside and on the frame: curves are held to L..R and T..B.
    QRect frame() const { return {QPoint(left, top), QPoint(right, bottom)}; }
    // The frame's outline from (L, T) to (R, B), for drawing: a QRect drawn by the
    // painter covers its width plus one, so the outline is GW x GH.
    QRect frameOutline() const { return {left, top, frameWidth(), frameHeight()}; }
    // The power numbers' column, left of the frame.
    int powerLabelColumn() const;
    // The left edge of the numbers below the frame and of the text blocks (L - 30).
    int textLeft() const { return left - 30; }
    // y of a text line `lines` units below the frame's bottom.
    int lineBelowFrame(double lines) const;
};

// A text with its top-left corner at (x, y).
struct PageText {
    int x = 0;
    int y = 0;
    QString text;

    friend bool operator==(const PageText&, const PageText&) = default;
};

// The power axis of the print. It divides as the screen's does (Graphs page) but for
// spans of exactly 50 and 150, which the print takes one rule lower: 0-50 in ten
// divisions of 5, 0-150 in fifteen of 10. Its rowSpacing is the screen's and is not
// for the page (0 where the print divides otherwise): a page row is GH / divisions.
PowerAxis reportPowerAxisOf(const GraphScale& scale);

// The scale numbers and unit texts of the report; each needs its axis drawable.
std::vector<PageText> powerScaleTexts(const ReportGeometry& page, const GraphScale& scale,
                                      bool powerInKw);
std::vector<PageText> speedScaleTexts(const ReportGeometry& page, const GraphScale& scale,
                                      bool speedInMph);
// Engine speed across (fixed gearing with "Speed + Rpm"), in hundreds of rpm.
std::vector<PageText> rpmAcrossScaleTexts(const ReportGeometry& page, const GraphScale& scale);
// Engine speed on the right of the frame, in hundreds of rpm.
std::vector<PageText> rpmScaleTexts(const ReportGeometry& page, const GraphScale& scale);

// The frame's pen: twice the curves' width when that is above 4 pixels, else 5.
int reportFrameWidth(int lineWidth);

}  // namespace dyno
