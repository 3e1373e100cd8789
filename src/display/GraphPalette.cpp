#include "display/GraphPalette.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>
#include <QPalette>
#include <array>

#include "display/TextLayouts.h"

namespace dyno::graph {

namespace {

QColor ofSlot(const std::array<QColor, 4>& colours, int slot) {
    return colours.at(static_cast<std::size_t>(slot - 1));
}

}  // namespace

QColor legendColour(int slot) {
    static const std::array<QColor, 4> colours{QColor(0xFF, 0x00, 0x00), QColor(0x00, 0x00, 0xFF),
                                               QColor(0x00, 0x80, 0x00), QColor(0x80, 0x00, 0x80)};
    return ofSlot(colours, slot);
}

QColor powerColour(int slot) {
    static const std::array<QColor, 4> colours{QColor(0xFF, 0x00, 0x00), QColor(0x00, 0xFF, 0xFF),
                                               QColor(0x00, 0xFF, 0x00), QColor(0xFF, 0x00, 0xFF)};
    return ofSlot(colours, slot);
}

QColor rpmColour(int slot) {
    static const std::array<QColor, 4> colours{QColor(0xFF, 0x7F, 0x00), QColor(0x7F, 0x7F, 0xFF),
                                               QColor(0x33, 0xFF, 0x99), QColor(0xFF, 0x99, 0xC8)};
    return ofSlot(colours, slot);
}

QColor torqueColour(int slot) {
    static const std::array<QColor, 4> colours{QColor(0xFF, 0x50, 0x00), QColor(0x50, 0x50, 0xFF),
                                               QColor(0x19, 0xFF, 0x64), QColor(0xFF, 0x64, 0x96)};
    return ofSlot(colours, slot);
}

QColor buttonFace() {
    return QGuiApplication::palette().color(QPalette::Active, QPalette::Button);
}

QImage filledImage(QSize size, const QColor& colour) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

namespace {

// Where the desktop lacks the strips' font, a narrow sans serif keeps three-digit
// labels 25 pixels apart from running into each other.
QFont stripFont() {
    QFont font;
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"),
                      QStringLiteral("Arial")});
    font.setStyleHint(QFont::SansSerif);
    return font;
}

}  // namespace

QFont labelFont() {
    QFont font = stripFont();
    font.setPixelSize(13);
    return font;
}

QFont readoutFont() {
    QFont font = stripFont();
    font.setPointSize(7);
    // Plain pixels in the slot colour, so that the blanking field covers them exactly.
    font.setStyleStrategy(QFont::NoAntialias);
    return font;
}

void drawTextAt(QPainter& painter, int x, int y, const QString& text) {
    painter.drawText(x, y + painter.fontMetrics().ascent(), text);
}

void drawTextAt(QPainter& painter, TextLayouts& layouts, int x, int y, const QString& text) {
    // From the layouts: images drawn unscaled. A page or a PDF is drawn as always,
    // and so is text on its own background (laid-out text leaves the background out).
    const bool isFromLayouts =
        painter.device() != nullptr && painter.device()->devType() == QInternal::Image &&
        painter.transform().isIdentity() && painter.backgroundMode() == Qt::TransparentMode;
    if (isFromLayouts) {
        painter.drawStaticText(QPoint(x, y), layouts.of(painter.font(), text));
    } else {
        drawTextAt(painter, x, y, text);
    }
}

}  // namespace dyno::graph
