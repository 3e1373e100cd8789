#pragma once

#include <QSize>
#include <functional>

class QPaintDevice;
class QPainter;

namespace dyno {

// The printed pages are laid out in pixels at 600 dpi: on a device of another
// resolution (the screen's, an image's) `paint` is given a painter scaled to it and
// the page's size in 600-dpi pixels, so the page looks the same everywhere.
void paintAt600Dpi(QPaintDevice& page, const std::function<void(QPainter&, QSize)>& paint);

}  // namespace dyno
