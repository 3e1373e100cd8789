#include "display/TextLayouts.h"

#include <QTransform>

namespace dyno {

TextLayouts& TextLayouts::operator=(const TextLayouts& other) {
    if (this != &other) {
        byFont_.clear();
        lastFont_.reset();
        texts_ = nullptr;
    }
    return *this;
}

const QStaticText& TextLayouts::of(const QFont& font, const QString& text) {
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

}  // namespace dyno
