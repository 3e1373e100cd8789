#include "app/pages/GraphPaintBox.h"

#include <QMouseEvent>
#include <QPainter>

namespace dyno {

GraphPaintBox::GraphPaintBox(const char* componentName, const QImage& image, QWidget* parent)
    : QWidget(parent), image_(image) {
    setObjectName(QString::fromLatin1(componentName));
    setFixedSize(image.size());
    // The image covers every pixel of the box.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void GraphPaintBox::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.drawImage(event->rect(), image_, event->rect());
}

void GraphPaintBox::mousePressEvent(QMouseEvent* event) {
    emit mousePressed(event->button(), event->position().toPoint());
}

void GraphPaintBox::mouseMoveEvent(QMouseEvent* event) {
    emit mouseMoved(event->position().toPoint());
}

void GraphPaintBox::mouseReleaseEvent(QMouseEvent* event) {
    emit mouseReleased(event->button(), event->position().toPoint());
}

}  // namespace dyno
