#include "widgets/DigitCounter.h"

#include <QPainter>
#include <array>

namespace dyno {

namespace {

// Bit k set = segment k (a..g) lit.
constexpr std::array<unsigned, 10> kDigitSegments = {
    0b0111111,  // 0: a b c d e f
    0b0000110,  // 1: b c
    0b1011011,  // 2: a b d e g
    0b1001111,  // 3: a b c d g
    0b1100110,  // 4: b c f g
    0b1101101,  // 5: a c d f g
    0b1111101,  // 6: a c d e f g
    0b0000111,  // 7: a b c
    0b1111111,  // 8: all
    0b1101111,  // 9: a b c d f g
};

}  // namespace

DigitCounter::DigitCounter(QWidget* parent) : QWidget(parent) {
    setAutoFillBackground(false);
}

void DigitCounter::setDigit(int digit) {
    const int shown = ((digit % 10) + 10) % 10;
    if (shown == digit_) return;
    digit_ = shown;
    update();
}

std::bitset<DigitCounter::kSegmentCount> DigitCounter::segmentsOf(int digit) {
    return {kDigitSegments[static_cast<std::size_t>(((digit % 10) + 10) % 10)]};
}

QRectF DigitCounter::segmentRect(Segment segment, QSizeF size) {
    // Segment thickness scales with the widget so a stretched digit stays in shape.
    const double t = std::max(2.0, std::min(size.width(), size.height()) * 0.14);
    const double left = t * 0.5, right = size.width() - t * 0.5;
    const double top = t * 0.5, bottom = size.height() - t * 0.5;
    const double middle = size.height() / 2.0;
    const double horizontalLength = right - left - t;
    const double upperLength = middle - top - t;
    const double lowerLength = bottom - middle - t;
    switch (segment) {
        case kA: return {left + t / 2, top - t / 2, horizontalLength, t};
        case kB: return {right - t / 2, top + t / 2, t, upperLength};
        case kC: return {right - t / 2, middle + t / 2, t, lowerLength};
        case kD: return {left + t / 2, bottom - t / 2, horizontalLength, t};
        case kE: return {left - t / 2, middle + t / 2, t, lowerLength};
        case kF: return {left - t / 2, top + t / 2, t, upperLength};
        case kG: return {left + t / 2, middle - t / 2, horizontalLength, t};
        case kSegmentCount: break;
    }
    return {};
}

void DigitCounter::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    const auto lit = segmentsOf(digit_);
    painter.setPen(Qt::NoPen);
    for (int s = kA; s < kSegmentCount; ++s) {
        painter.setBrush(lit[static_cast<std::size_t>(s)] ? litColour_ : darkColour_);
        painter.drawRect(segmentRect(static_cast<Segment>(s), size()));
    }
}

}  // namespace dyno
