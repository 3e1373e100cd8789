#include "widgets/Led.h"

#include <QPainter>

namespace dyno {

Led::Led(QWidget* parent) : QWidget(parent) {}

void Led::setOn(bool on) {
    if (on == on_) return;
    on_ = on;
    update();
}

void Led::setOnColour(const QColor& colour) {
    onColour_ = colour;
    update();
}

void Led::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const int side = std::min(width(), height()) - 2;
    const QRect lamp((width() - side) / 2, (height() - side) / 2, side, side);
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(on_ ? onColour_ : offColour());
    painter.drawEllipse(lamp);
}

}  // namespace dyno
