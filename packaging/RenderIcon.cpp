// Renders the program's emblem as the desktop icon: `dyno_icon OUT.png SIZE`.
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cstdio>
#include <cstdlib>

#include "display/DynoEmblem.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: dyno_icon OUT.png SIZE\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    const int size = std::atoi(argv[2]);
    // The emblem is wider than high: centred on a square of its own black.
    const QImage emblem = dyno::dynoEmblem(QSize(size, size * 10 / 21));
    QImage icon(size, size, QImage::Format_ARGB32);
    icon.fill(Qt::transparent);
    QPainter painter(&icon);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(Qt::black);
    painter.setPen(Qt::NoPen);
    painter.drawRoundedRect(QRectF(0, 0, size, size), size / 8.0, size / 8.0);
    painter.drawImage((size - emblem.width()) / 2, (size - emblem.height()) / 2, emblem);
    painter.end();
    return icon.save(QString::fromLocal8Bit(argv[1]), "PNG") ? 0 : 1;
}
