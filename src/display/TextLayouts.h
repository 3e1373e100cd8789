#pragma once

#include <QFont>
#include <QHash>
#include <QStaticText>
#include <QString>
#include <optional>

namespace dyno {

// Laid-out texts by font and text, kept by whoever draws the same boxes update after
// update (the Graphs and Analog pages' images). Laying a text out is most of what
// drawing it costs, and the labels and readings come back; each is still drawn anew
// every time. A font's texts are dropped whole when they fill up. The owner draws
// on one thread and lets go of its layouts before the application ends, as fonts
// must not outlive the application's font data. A copy starts empty.
class TextLayouts {
  public:
    TextLayouts() = default;
    TextLayouts(const TextLayouts&) {}
    TextLayouts& operator=(const TextLayouts& other);

    const QStaticText& of(const QFont& font, const QString& text);

  private:
    static constexpr qsizetype kMostTexts = 512;
    QHash<QString, QHash<QString, QStaticText>> byFont_;
    // Nearly every text of an update comes in the font of the one before: its texts
    // are found without working out the font's key again.
    std::optional<QFont> lastFont_;
    QHash<QString, QStaticText>* texts_ = nullptr;
};

}  // namespace dyno
