#pragma once

#include <QPoint>
#include <vector>

#include "display/curves/Spline.h"
#include "print/ReportGeometry.h"
#include "print/ReportInputs.h"

class QPainter;

// The curves of the report: each session's power, engine speed and torque as
// splines kept inside the frame, and the road-load dots.
namespace dyno {

// Which parts of the graph the scale lets the report draw.
struct ReportAxes {
    bool curves = false;  // power and the horizontal axis have divisions
    bool rpm = false;     // the engine-speed scale on the right has divisions
};

// Room for the control points and the polyline, reused from curve to curve.
struct ReportCurveScratch {
    std::vector<SplinePoint> points;
    std::vector<QPoint> polyline;
};

// Draws the shown curves of slot 1..4 in the slot's colour, in the order power,
// engine speed, torque. A shown curve that never reaches the start of its axis ends
// the session's part of the report: returns false, and neither its remaining curves
// nor its text block are printed. Nothing is drawn on an axis without divisions.
bool drawSessionCurves(QPainter& painter, const ReportGeometry& page, const ReportInputs& report,
                       int slot, const ReportAxes& axes, ReportCurveScratch& scratch);

// Road load (air drag grows with the square of speed, rolling resistance is
// constant) as single aqua pixels, one per pixel column of the frame, when the
// air curve is asked for with speed across and a slot shows torque.
void drawRoadLoad(QPainter& painter, const ReportGeometry& page, const ReportInputs& report);

}  // namespace dyno
