#pragma once

#include <QColor>
#include <QPoint>
#include <QRect>
#include <QRgb>
#include <cstdint>
#include <span>
#include <vector>

class QPainter;

// Lines of the graph as pixels. The curves are polylines of thousands of one- and
// two-pixel segments; rasterising them here and setting the pixels is many times
// faster than stroking each segment, and fixes the pixels exactly, whatever device
// the painter draws on.
namespace dyno {

// Appends the pixels inside `area` of the polyline through `points` as pen moves
// draw it: every segment from its start up to, but not including, its end point
// (the next segment starts there), so the last point itself stays unset.
void appendPolylinePixels(std::span<const QPoint> points, const QRect& area,
                          std::vector<QPoint>& pixels);

// Pixels of the graph area in one colour. On the page and in `dynotool graph` the
// painter draws straight onto an image, and the pixels are written into it as they
// come; any other device (a printer, a scaled or clipped painter) gets them through
// the painter when this ends. Pixels off the area are left out, so that on a page
// the graph does not spill over its frame.
class AreaPixels {
  public:
    // `collected` is scratch space for a painter that is not drawn through directly.
    AreaPixels(QPainter& painter, const QColor& colour, std::vector<QPoint>& collected);
    ~AreaPixels();
    AreaPixels(const AreaPixels&) = delete;
    AreaPixels& operator=(const AreaPixels&) = delete;

    void set(int x, int y) {
        if (static_cast<unsigned>(x) >= width_ || static_cast<unsigned>(y) >= height_) return;
        if (bits_ != nullptr) {
            bits_[static_cast<qsizetype>(y) * stride_ + x] = rgb_;
        } else {
            collected_.emplace_back(x, y);
        }
    }
    // The same where `condition` holds, without a branch on it when drawing straight
    // into an image: for tight loops whose condition the processor cannot foresee.
    void setWhere(bool condition, int x, int y) {
        const bool wanted =
            condition & (static_cast<unsigned>(x) < width_) & (static_cast<unsigned>(y) < height_);
        if (bits_ != nullptr) {
            // The target is chosen with a mask, not a conditional: the compiler turns
            // a conditional back into a branch, which the processor guesses wrong at
            // about every other curve sample. Address arithmetic in unsigned
            // integers, so that an unwanted pixel far off the image is no pointer.
            const std::uintptr_t keep = 0 - static_cast<std::uintptr_t>(wanted);
            const std::uintptr_t pixel =
                reinterpret_cast<std::uintptr_t>(bits_) +
                static_cast<std::uintptr_t>(static_cast<qsizetype>(y) * stride_ + x) * sizeof(QRgb);
            const std::uintptr_t elsewhere = reinterpret_cast<std::uintptr_t>(&discarded_);
            *reinterpret_cast<QRgb*>((pixel & keep) | (elsewhere & ~keep)) = rgb_;
        } else if (wanted) {
            collected_.emplace_back(x, y);
        }
    }
    // A segment as a pen move draws it: from `from` up to, not including, `to`.
    void segment(QPoint from, QPoint to);

    // The image drawn into, as plain values, for loops that aim many pixels at once
    // the way setWhere() does: a pixel it must not set goes to `discarded`.
    struct Direct {
        QRgb* bits;
        qsizetype stride;
        unsigned width;
        unsigned height;
        QRgb rgb;
        QRgb* discarded;
    };
    // False when the painter is not drawn through directly (a printer, a scaled one).
    bool isDirect() const { return bits_ != nullptr; }
    Direct direct() { return {bits_, stride_, width_, height_, rgb_, &discarded_}; }

  private:
    QPainter& painter_;
    QColor colour_;
    std::vector<QPoint>& collected_;
    QRgb* bits_ = nullptr;
    qsizetype stride_ = 0;  // pixels per image row
    QRgb rgb_ = 0;
    QRgb discarded_ = 0;  // where setWhere writes when its condition fails
    unsigned width_;
    unsigned height_;
};

// Draws the polyline's pixels of the graph area in `colour`. `pixels` is scratch space.
void drawPolylinePixels(QPainter& painter, std::span<const QPoint> points, const QColor& colour,
                        std::vector<QPoint>& pixels);

// Sets single pixels of the graph area.
void drawAreaPoints(QPainter& painter, std::span<const QPoint> points, const QColor& colour);

}  // namespace dyno
