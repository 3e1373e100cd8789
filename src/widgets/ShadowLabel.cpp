#include "widgets/ShadowLabel.h"

#include <QPainter>

namespace dyno {

ShadowLabel::ShadowLabel(QWidget* parent) : QWidget(parent) {}

void ShadowLabel::setText(const QString& text) {
    text_ = text;
    update();
}

void ShadowLabel::setFontColour(const QColor& colour) {
    fontColour_ = colour;
    update();
}

void ShadowLabel::setShadowColour(const QColor& colour) {
    shadowColour_ = colour;
    update();
}

void ShadowLabel::setHighlightColour(const QColor& colour) {
    highlightColour_ = colour;
    update();
}

void ShadowLabel::setBackgroundColour(const QColor& colour) {
    backgroundColour_ = colour;
    update();
}

void ShadowLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), backgroundColour_);
    painter.setFont(font());
    const QRect area =
        rect().adjusted(kHighlightOffset, kHighlightOffset, -kShadowOffset, -kShadowOffset);
    const int flags = Qt::AlignCenter | Qt::TextSingleLine;
    painter.setPen(highlightColour_);
    painter.drawText(area.translated(-kHighlightOffset, -kHighlightOffset), flags, text_);
    painter.setPen(shadowColour_);
    painter.drawText(area.translated(kShadowOffset, kShadowOffset), flags, text_);
    painter.setPen(fontColour_);
    painter.drawText(area, flags, text_);
}

}  // namespace dyno
