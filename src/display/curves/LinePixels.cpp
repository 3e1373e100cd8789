#include "display/curves/LinePixels.h"

#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace dyno {

namespace {

const QRect kGraphArea(0, 0, 600, 400);

// Segments longer than this are cut to the area before stepping, so that a wild
// value far off the graph cannot cost millions of steps. Real curves never come near.
constexpr long kLongSegment = 4096;

// Cuts the segment a-b to `box` (Liang-Barsky); false when it misses the box.
bool clipToBox(QPointF& a, QPointF& b, const QRectF& box) {
    double t0 = 0.0, t1 = 1.0;
    const double dx = b.x() - a.x(), dy = b.y() - a.y();
    const double p[] = {-dx, dx, -dy, dy};
    const double q[] = {a.x() - box.left(), box.right() - a.x(), a.y() - box.top(),
                        box.bottom() - a.y()};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0.0) {
            if (q[i] < 0.0) return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0.0) {
            t0 = std::max(t0, t);
        } else {
            t1 = std::min(t1, t);
        }
        if (t0 > t1) return false;
    }
    const QPointF start = a;
    a = start + t0 * QPointF(dx, dy);
    b = start + t1 * QPointF(dx, dy);
    return true;
}

bool inside(const QRect& area, int x, int y) {
    return x >= area.left() && x <= area.right() && y >= area.top() && y <= area.bottom();
}

// Bresenham from (x, y) towards (toX, toY), `steps` pixels.
template <typename Set>
void stepLine(int x, int y, int toX, int toY, long steps, Set&& set) {
    const long dx = std::labs(static_cast<long>(toX) - x);
    const long dy = -std::labs(static_cast<long>(toY) - y);
    const int sx = x < toX ? 1 : -1;
    const int sy = y < toY ? 1 : -1;
    long error = dx + dy;
    for (long i = 0; i < steps; ++i) {
        set(x, y);
        const long twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            x += sx;
        }
        if (twice <= dx) {
            error += dx;
            y += sy;
        }
    }
}

// The pixels of segment a-b near `area`, end point left out; `set` gets each one and
// leaves out those off the area.
template <typename Set>
void segmentPixels(QPoint a, QPoint b, const QRect& area, Set&& set) {
    if (std::max(a.x(), b.x()) < area.left() || std::min(a.x(), b.x()) > area.right() ||
        std::max(a.y(), b.y()) < area.top() || std::min(a.y(), b.y()) > area.bottom()) {
        return;
    }
    const long steps = std::max(std::labs(static_cast<long>(b.x()) - a.x()),
                                std::labs(static_cast<long>(b.y()) - a.y()));
    // Most curve segments are a pixel long: only their start is set.
    if (steps <= 1) {
        if (steps == 1) set(a.x(), a.y());
        return;
    }
    if (steps <= kLongSegment) {
        stepLine(a.x(), a.y(), b.x(), b.y(), steps, set);
        return;
    }
    const QRectF box = QRectF(area).adjusted(-2, -2, 2, 2);
    // The end point is never drawn; a cut end lies outside the area and may be.
    const bool endsInside = box.contains(QPointF(b));
    QPointF from(a), to(b);
    if (!clipToBox(from, to, box)) return;
    const QPoint start(static_cast<int>(std::lround(from.x())),
                       static_cast<int>(std::lround(from.y())));
    const QPoint end(static_cast<int>(std::lround(to.x())), static_cast<int>(std::lround(to.y())));
    const long clippedSteps = std::max(std::labs(static_cast<long>(end.x()) - start.x()),
                                       std::labs(static_cast<long>(end.y()) - start.y()));
    stepLine(start.x(), start.y(), end.x(), end.y(), clippedSteps + (endsInside ? 0 : 1), set);
}

// The image a painter draws straight onto, when single pixels may be written into it
// directly, an order of magnitude faster than the paint engine's point drawing.
QImage* directTarget(QPainter& painter, const QColor& colour) {
    QPaintDevice* device = painter.device();
    if (device == nullptr || device->devType() != QInternal::Image) return nullptr;
    auto* image = static_cast<QImage*>(device);
    const QImage::Format format = image->format();
    const bool plainFormat = format == QImage::Format_RGB32 || format == QImage::Format_ARGB32 ||
                             format == QImage::Format_ARGB32_Premultiplied;
    if (!plainFormat || !image->isDetached() || !painter.transform().isIdentity() ||
        painter.hasClipping() ||
        painter.compositionMode() != QPainter::CompositionMode_SourceOver ||
        colour.alpha() != 255) {
        return nullptr;
    }
    return image;
}

}  // namespace

void appendPolylinePixels(std::span<const QPoint> points, const QRect& area,
                          std::vector<QPoint>& pixels) {
    const auto set = [&](int x, int y) {
        if (inside(area, x, y)) pixels.emplace_back(x, y);
    };
    for (std::size_t i = 1; i < points.size(); ++i)
        segmentPixels(points[i - 1], points[i], area, set);
}

AreaPixels::AreaPixels(QPainter& painter, const QColor& colour, std::vector<QPoint>& collected)
    : painter_(painter),
      colour_(colour),
      collected_(collected),
      width_(static_cast<unsigned>(kGraphArea.width())),
      height_(static_cast<unsigned>(kGraphArea.height())) {
    if (QImage* image = directTarget(painter, colour)) {
        // QImage::bits() of a detached image neither copies nor moves it.
        bits_ = reinterpret_cast<QRgb*>(image->bits());
        stride_ = image->bytesPerLine() / static_cast<qsizetype>(sizeof(QRgb));
        rgb_ = colour.rgb();
        width_ = std::min(width_, static_cast<unsigned>(image->width()));
        height_ = std::min(height_, static_cast<unsigned>(image->height()));
    } else {
        collected_.clear();
    }
}

AreaPixels::~AreaPixels() {
    if (bits_ != nullptr || collected_.empty()) return;
    painter_.setPen(QPen(colour_, 1));
    painter_.drawPoints(collected_.data(), static_cast<int>(collected_.size()));
}

void AreaPixels::segment(QPoint from, QPoint to) {
    segmentPixels(from, to, kGraphArea, [this](int x, int y) { set(x, y); });
}

void drawPolylinePixels(QPainter& painter, std::span<const QPoint> points, const QColor& colour,
                        std::vector<QPoint>& pixels) {
    AreaPixels area(painter, colour, pixels);
    for (std::size_t i = 1; i < points.size(); ++i) area.segment(points[i - 1], points[i]);
}

void drawAreaPoints(QPainter& painter, std::span<const QPoint> points, const QColor& colour) {
    std::vector<QPoint> collected;
    AreaPixels area(painter, colour, collected);
    for (const QPoint& p : points) area.set(p.x(), p.y());
}

}  // namespace dyno
