#include "display/dials/SpeedDial.h"

#include <QFont>
#include <QPainterPath>
#include <QPen>
#include <algorithm>
#include <cmath>
#include <numbers>

namespace dyno::speedo {

namespace {

// The electronics' software builds its tables with this value of pi; a position
// differs by a pixel here and there from one built with the exact value.
constexpr double kTablePi = 3.14159;

constexpr int kMarkerTop = 495;
constexpr int kLargestMarkerOffset = 296;
constexpr int kK40MarkerWidth = 3;
constexpr int kK40MarkerHeight = 18;
constexpr int kCardMarkerWidth = 9;
constexpr int kCardMarkerHeight = 20;
// The card's scaled value is percent of full scale; the bar is 296 pixels of 400 %.

// The arcs lie just outside the needles' reach, so a needle never crosses them.
constexpr double kArcRadius = 158.0;
constexpr double kArcWidth = 12.0;
constexpr double kFigureRadius = 178.0;
constexpr double kMinorTickInner = kArcRadius - 2.0;

const QColor kArcGreen{0, 160, 0};
const QColor kArcRed{255, 0, 0};
const QColor kTickWhite{255, 255, 255};
const QColor kFigureYellow{255, 255, 0};
const QColor kTitleOutline{255, 0, 0};
const QColor kHubGrey{96, 96, 96};

int barLeft(int channel) {
    return channel == 2 ? 440 : 40;
}

// Degrees on the screen (0 pointing right, clockwise, y down) of needle position p.
double screenAngleOf(double position) {
    return position < 270.0 ? 90.0 + position : position - 270.0;
}

QPointF pointOnDial(QPointF centre, double position, double radius) {
    const double a = screenAngleOf(position) * std::numbers::pi / 180.0;
    return {centre.x() + radius * std::cos(a), centre.y() + radius * std::sin(a)};
}

QFont dialFont(int pixelSize, bool isBold) {
    QFont font;
    font.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("Arial"),
                      QStringLiteral("DejaVu Sans")});
    font.setPixelSize(pixelSize);
    font.setBold(isBold);
    return font;
}

// The arc from position `from` to `to`, clockwise on the screen.
void drawArcBetween(QPainter& painter, QPointF centre, double from, double to,
                    const QColor& colour) {
    QPen pen(colour, kArcWidth);
    pen.setCapStyle(Qt::FlatCap);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    const QRectF circle(centre.x() - kArcRadius, centre.y() - kArcRadius, 2 * kArcRadius,
                        2 * kArcRadius);
    // The toolkit counts sixteenths of a degree, counter-clockwise from three o'clock.
    const auto sixteenths = [](double degrees) {
        return static_cast<int>(std::lround(degrees * 16));
    };
    painter.drawArc(circle, sixteenths(-90.0 - from), sixteenths(-(to - from)));
}

void drawTick(QPainter& painter, QPointF centre, double position, bool isMajor) {
    painter.setPen(QPen(kTickWhite, isMajor ? 2.0 : 1.0));
    const double inner = isMajor ? kArcRadius - kArcWidth / 2 : kMinorTickInner;
    painter.drawLine(pointOnDial(centre, position, inner),
                     pointOnDial(centre, position, kArcRadius + kArcWidth / 2));
}

void drawFigure(QPainter& painter, QPointF centre, double position, int value) {
    const QPointF at = pointOnDial(centre, position, kFigureRadius);
    painter.setPen(kFigureYellow);
    painter.drawText(QRectF(at.x() - 15, at.y() - 8, 30, 16), Qt::AlignCenter,
                     QString::number(value));
}

void drawTitle(QPainter& painter, QPointF centre, const QString& title) {
    const QFont font = dialFont(26, true);
    QPainterPath path;
    path.addText(0, 0, font, title);
    const QRectF bounds = path.boundingRect();
    path.translate(centre.x() - bounds.center().x(), centre.y() - 70 - bounds.center().y());
    painter.setPen(QPen(kTitleOutline, 1.5));
    painter.setBrush(kFigureYellow);
    painter.drawPath(path);
}

// One dial: `steps` figures `stepValue` apart from 0, `positionsPerValue` positions each,
// a minor tick between two figures; red from `redFromValue` when there is one.
struct DialScale {
    QPointF centre;
    QString title;
    int steps;
    int stepValue;
    double positionsPerValue;
    int redFromValue;  // above the last figure: no red part
};

void drawDial(QPainter& painter, const DialScale& scale) {
    const double last = kLargestNeedlePosition;
    const double redFrom = scale.redFromValue * scale.positionsPerValue;
    drawArcBetween(painter, scale.centre, 0.0, std::min(redFrom, last), kArcGreen);
    if (redFrom < last) drawArcBetween(painter, scale.centre, redFrom, last, kArcRed);

    painter.setFont(dialFont(11, true));
    for (int i = 0; i <= scale.steps; ++i) {
        const int value = i * scale.stepValue;
        const double position = value * scale.positionsPerValue;
        drawTick(painter, scale.centre, position, true);
        drawFigure(painter, scale.centre, position, value);
        if (i < scale.steps) {
            drawTick(painter, scale.centre,
                     position + scale.stepValue * scale.positionsPerValue / 2, false);
        }
    }
    drawTitle(painter, scale.centre, scale.title);
    painter.setPen(Qt::NoPen);
    painter.setBrush(kHubGrey);
    painter.drawEllipse(scale.centre, 5.0, 5.0);
}

}  // namespace

QPoint NeedleTable::end(int position) const {
    const auto k = static_cast<std::size_t>(std::clamp(position, 0, kNeedleTableEntries - 1));
    return {x[k], y[k]};
}

NeedleTable buildNeedleTable(int centreX) {
    NeedleTable table;
    table.centre = QPoint(centreX, kDialCentreY);
    for (int k = 0; k < kNeedleTableEntries; ++k) {
        const double a = screenAngleOf(k) * kTablePi / 180.0;
        const auto i = static_cast<std::size_t>(k);
        table.x[i] = static_cast<std::int32_t>(kNeedleLength * std::cos(a) + centreX);
        table.y[i] = static_cast<std::int32_t>(kNeedleLength * std::sin(a) + kDialCentreY);
    }
    return table;
}

void drawDialPicture(QPainter& painter) {
    painter.save();
    painter.fillRect(QRect(QPoint(0, 0), kDialPictureSize), Qt::black);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    const double kmhPerFigure = 10.0;
    drawDial(painter, {QPointF(kSpeedDialCentreX, kDialCentreY), QStringLiteral("Speed"), 25,
                       static_cast<int>(kmhPerFigure), kPositionsPerKmh, 1000});
    // Figures in hundreds of rpm: one hundred rpm is 100 / 62.5 = 1.6 positions.
    drawDial(painter, {QPointF(kRpmDialCentreX, kDialCentreY), QStringLiteral("Rpm x100"), 20, 10,
                       100.0 / kRpmPerPosition, kRpmRedFromHundreds});
    painter.restore();
}

QImage dialPicture() {
    QImage image(kDialPictureSize, QImage::Format_RGB32);
    QPainter painter(&image);
    drawDialPicture(painter);
    return image;
}

void drawNeedle(QPainter& painter, const NeedleTable& table, int position, const QColor& colour) {
    // The pixels of the line from the centre towards the end, the end itself left
    // out as the electronics' software draws it, whichever way the needle points.
    std::array<QPoint, kNeedleLength + 2> pixels;
    int count = 0;
    const QPoint from = table.centre;
    const QPoint to = table.end(position);
    const int dx = std::abs(to.x() - from.x());
    const int dy = -std::abs(to.y() - from.y());
    const int stepX = from.x() < to.x() ? 1 : -1;
    const int stepY = from.y() < to.y() ? 1 : -1;
    int error = dx + dy;
    QPoint at = from;
    while (at != to && count < static_cast<int>(pixels.size())) {
        pixels[static_cast<std::size_t>(count++)] = at;
        const int twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            at.rx() += stepX;
        }
        if (twice <= dx) {
            error += dx;
            at.ry() += stepY;
        }
    }
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(colour, 1));
    painter.drawPoints(pixels.data(), count);
    painter.restore();
}

QRect k40MarkerRect(int channel, int position) {
    const int offset = std::clamp(position, 0, kLargestMarkerOffset);
    return {barLeft(channel) + offset, kMarkerTop, kK40MarkerWidth, kK40MarkerHeight};
}

QRect cardMarkerRect(int channel, int offset) {
    return {barLeft(channel) + offset, kMarkerTop, kCardMarkerWidth, kCardMarkerHeight};
}

}  // namespace dyno::speedo
