#pragma once

#include <QImage>
#include <QPainter>

#include "display/TextLayouts.h"

// The three paint boxes of the Analog page, each drawn in its own pixel coordinates
// (origin top left): the page shows these images, `dynotool analog` writes them.
namespace dyno {

struct AnalogCanvas {
    QPainter& plot;        // anawin: the 600 x 400 black plot
    QPainter& leftScale;   // lskala: the scale of one channel, left of the plot
    QPainter& rightScale;  // hskala: the power or speed scale, right of it
    TextLayouts& texts;    // the scales' layouts, kept by the boxes' owner
};

struct AnalogImages {
    QImage plot;        // 600 x 400
    QImage leftScale;   // 37 x 421
    QImage rightScale;  // 41 x 421
    // The scales' layouts, kept from redraw to redraw of these boxes.
    TextLayouts texts;

    // Images of the page's sizes: the plot black, the scales in the button face.
    static AnalogImages create();

    // The boxes laid out as on the page (left scale at (4,0), plot at (44,2), right
    // scale at (648,0)) on the button face: 689 x 421.
    QImage panel() const;
};

// Painters open on the three images for as long as this object lives.
class AnalogPainters {
  public:
    explicit AnalogPainters(AnalogImages& images);
    AnalogPainters(const AnalogPainters&) = delete;
    AnalogPainters& operator=(const AnalogPainters&) = delete;

    AnalogCanvas& canvas() { return canvas_; }

  private:
    QPainter plot_, leftScale_, rightScale_;
    AnalogCanvas canvas_;
};

}  // namespace dyno
