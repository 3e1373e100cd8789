#include "print/PageAt600Dpi.h"

#include <QPaintDevice>
#include <QPainter>

#include "print/ReportGeometry.h"

namespace dyno {

void paintAt600Dpi(QPaintDevice& page, const std::function<void(QPainter&, QSize)>& paint) {
    const double scaleX = page.logicalDpiX() / static_cast<double>(kReportDpi);
    const double scaleY = page.logicalDpiY() / static_cast<double>(kReportDpi);
    const QSize size(static_cast<int>(page.width() / scaleX),
                     static_cast<int>(page.height() / scaleY));
    QPainter painter(&page);
    if (page.logicalDpiX() != kReportDpi || page.logicalDpiY() != kReportDpi) {
        painter.scale(scaleX, scaleY);
    }
    paint(painter, size);
}

}  // namespace dyno
