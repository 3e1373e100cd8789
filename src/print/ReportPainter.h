#pragma once

#include <QSize>

#include "print/ReportInputs.h"

class QPaintDevice;
class QPainter;

// The one-page test report: frame, grid, scales and curves of up to four sessions
// at printer scale, a text block per session, the workshop's header and the
// "Measured by" line. The same drawing goes to a printer, a PDF and an image.
namespace dyno {

// Draws the report on `page` (a printer, a PDF writer or an image). The layout is
// made for 600 dpi: on a device of another resolution the page is drawn in
// 600-dpi units and scaled to it, so that it looks the same everywhere.
void paintReport(QPaintDevice& page, const ReportInputs& report);

// The same on an open painter whose units are pixels at 600 dpi, for a page of
// `pageSize` of them.
void paintReport(QPainter& painter, QSize pageSize, const ReportInputs& report);

}  // namespace dyno
