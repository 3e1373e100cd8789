#include "widgets/LevelBar.h"

#include <QPainter>
#include <algorithm>

namespace dyno {

LevelBar::LevelBar(QWidget* parent) : QWidget(parent) {}

void LevelBar::setPosition(int percent) {
    percent = std::clamp(percent, 0, 100);
    if (percent == position_) return;
    position_ = percent;
    update();
}

void LevelBar::setZoneLimits(int firstPercent, int secondPercent) {
    firstLimit_ = std::clamp(firstPercent, 0, 100);
    secondLimit_ = std::clamp(secondPercent, firstLimit_, 100);
    update();
}

LevelBar::Zone LevelBar::zoneAt(double percent) const {
    if (percent < firstLimit_) return Zone::Green;
    if (percent < secondLimit_) return Zone::Yellow;
    return Zone::Red;
}

QColor LevelBar::litColour(Zone zone) {
    switch (zone) {
        case Zone::Green: return {0, 255, 0};
        case Zone::Yellow: return {255, 255, 0};
        case Zone::Red: return {255, 0, 0};
    }
    return {};
}

QColor LevelBar::unlitColour(Zone zone) {
    const QColor lit = litColour(zone);
    return QColor(lit.red() / 5, lit.green() / 5, lit.blue() / 5);
}

void LevelBar::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    const int w = width();
    const int litWidth = w * position_ / 100;
    // Paint column runs of equal zone and state instead of pixel by pixel.
    int runStart = 0;
    for (int x = 1; x <= w; ++x) {
        const auto zoneOf = [&](int column) { return zoneAt(100.0 * column / w); };
        const bool boundary =
            x == w || zoneOf(x) != zoneOf(runStart) || (x < litWidth) != (runStart < litWidth);
        if (!boundary) continue;
        const Zone zone = zoneOf(runStart);
        painter.fillRect(runStart, 1, x - runStart, height() - 2,
                         runStart < litWidth ? litColour(zone) : unlitColour(zone));
        runStart = x;
    }
}

}  // namespace dyno
