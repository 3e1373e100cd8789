#include "display/GraphPalette.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QHash>
#include <QPainter>
#include <QPalette>
#include <QStaticText>
#include <QThread>
#include <array>
#include <optional>

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

namespace {

// Laid-out texts of the screen's boxes by font and text. Laying a text out is most of
// what drawing it costs, and the labels and readings come back update after update;
// each is still drawn anew every time. Kept for the application's thread only, and
// emptied as the application ends: fonts must not outlive its font data. A font's
// texts are dropped whole when they fill up.
class TextLayouts {
  public:
    const QStaticText& of(const QFont& font, const QString& text) {
        if (!isDropAtEndRegistered_) {
            qAddPostRoutine([] { textLayouts().clear(); });
            isDropAtEndRegistered_ = true;
        }
        // Nearly every text of an update comes in the font of the one before.
        if (texts_ == nullptr || !(font == *lastFont_)) {
            lastFont_ = font;
            texts_ = &byFont_[font.key()];
        }
        if (const auto found = texts_->constFind(text); found != texts_->cend()) return *found;
        if (texts_->size() >= kMostTexts) texts_->clear();
        QStaticText layout(text);
        layout.setTextFormat(Qt::PlainText);
        layout.setPerformanceHint(QStaticText::AggressiveCaching);
        layout.prepare(QTransform(), font);
        return *texts_->insert(text, layout);
    }

    static TextLayouts& textLayouts() {
        static TextLayouts layouts;
        return layouts;
    }

  private:
    void clear() {
        texts_ = nullptr;
        lastFont_.reset();
        byFont_.clear();
        isDropAtEndRegistered_ = false;  // a later application registers again
    }

    static constexpr qsizetype kMostTexts = 512;
    QHash<QString, QHash<QString, QStaticText>> byFont_;
    std::optional<QFont> lastFont_;
    QHash<QString, QStaticText>* texts_ = nullptr;
    bool isDropAtEndRegistered_ = false;
};

}  // namespace

void drawTextAt(QPainter& painter, int x, int y, const QString& text) {
    // From the layouts: the screen's boxes, images drawn unscaled on the application's
    // thread. A page or a PDF is drawn as always, and so is text on its own background
    // (laid-out text leaves the background out).
    const bool isFromLayouts =
        qApp != nullptr && QThread::currentThread() == qApp->thread() &&
        painter.device() != nullptr && painter.device()->devType() == QInternal::Image &&
        painter.transform().isIdentity() && painter.backgroundMode() == Qt::TransparentMode;
    if (isFromLayouts) {
        painter.drawStaticText(QPoint(x, y), TextLayouts::textLayouts().of(painter.font(), text));
    } else {
        painter.drawText(x, y + painter.fontMetrics().ascent(), text);
    }
}

}  // namespace dyno::graph
