#include "display/DynoEmblem.h"

#include <QFont>
#include <QPainter>
#include <algorithm>

namespace dyno {

QImage dynoEmblem(QSize size) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const double w = size.width();
    const double h = size.height();
    const double unit = std::min(w / 2.4, h / 1.15);  // wheel and roller stacked fit the height

    // The roller, and the wheel resting on it.
    const QPointF rollerCentre(unit * 0.55, h - unit * 0.3);
    painter.setPen(QPen(QColor(0, 160, 0), unit * 0.05));
    painter.setBrush(QColor(40, 40, 40));
    painter.drawEllipse(rollerCentre, unit * 0.22, unit * 0.22);
    const QPointF wheelCentre(rollerCentre.x(), rollerCentre.y() - unit * 0.5);
    painter.setPen(QPen(QColor(255, 255, 0), unit * 0.06));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(wheelCentre, unit * 0.28, unit * 0.28);
    painter.drawLine(wheelCentre - QPointF(unit * 0.28, 0), wheelCentre + QPointF(unit * 0.28, 0));
    painter.drawLine(wheelCentre - QPointF(0, unit * 0.28), wheelCentre + QPointF(0, unit * 0.28));

    // The name, in the dials' colours.
    QFont font;
    font.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
    font.setBold(true);
    font.setPixelSize(std::max(8, static_cast<int>(unit * 0.38)));
    painter.setFont(font);
    const QRectF text(unit * 1.05, 0, w - unit * 1.1, h);
    painter.setPen(QColor(255, 0, 0));
    painter.drawText(text.translated(2, 2), Qt::AlignVCenter | Qt::AlignLeft,
                     QStringLiteral("VKR\ndyno"));
    painter.setPen(QColor(255, 255, 0));
    painter.drawText(text, Qt::AlignVCenter | Qt::AlignLeft, QStringLiteral("VKR\ndyno"));
    return image;
}

}  // namespace dyno
