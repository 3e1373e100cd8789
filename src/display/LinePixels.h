#pragma once

#include <QPoint>
#include <QRect>
#include <span>
#include <vector>

class QColor;
class QPainter;

// Lines of the graph as pixels. The curves are polylines of thousands of one- and
// two-pixel segments; rasterising them here and handing the painter a list of points
// is many times faster than stroking each segment, and fixes the pixels exactly,
// whatever device the painter draws on.
namespace dyno {

// Appends the pixels inside `area` of the polyline through `points` as pen moves
// draw it: every segment from its start up to, but not including, its end point
// (the next segment starts there), so the last point itself stays unset.
void appendPolylinePixels(std::span<const QPoint> points, const QRect& area,
                          std::vector<QPoint>& pixels);

// Draws those pixels of the graph area in `colour`. `pixels` is scratch space.
void drawPolylinePixels(QPainter& painter, std::span<const QPoint> points, const QColor& colour,
                        std::vector<QPoint>& pixels);

// Sets single pixels of the graph area; points outside it are left out, so that on a
// page the graph does not spill over its frame.
void drawAreaPoints(QPainter& painter, std::span<const QPoint> points, const QColor& colour);

}  // namespace dyno
