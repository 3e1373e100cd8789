#pragma once

#include <QColor>
#include <QString>
#include <QWidget>

namespace dyno {

// A large label whose text carries a coloured shadow below right and a highlight
// above left, like the instruction line `remotetext` on the Speed page
// ("Serial buffer full" in red with a yellow shadow).
class ShadowLabel : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kShadowOffset = 2;
    static constexpr int kHighlightOffset = 1;

    explicit ShadowLabel(QWidget* parent = nullptr);

    QString text() const { return text_; }
    void setText(const QString& text);

    QColor fontColour() const { return fontColour_; }
    QColor shadowColour() const { return shadowColour_; }
    QColor highlightColour() const { return highlightColour_; }
    QColor backgroundColour() const { return backgroundColour_; }
    void setFontColour(const QColor& colour);
    void setShadowColour(const QColor& colour);
    void setHighlightColour(const QColor& colour);
    void setBackgroundColour(const QColor& colour);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QString text_;
    QColor fontColour_{Qt::white};
    QColor shadowColour_{Qt::red};
    QColor highlightColour_{Qt::black};
    QColor backgroundColour_{Qt::black};
};

}  // namespace dyno
