#pragma once

#include <QColor>
#include <QWidget>
#include <bitset>

namespace dyno {

// A single seven-segment digit stretched over the widget, like the run counter
// on the Speed page. Segments are lettered a (top) clockwise to f, g the middle.
class DigitCounter : public QWidget {
    Q_OBJECT
  public:
    enum Segment { kA, kB, kC, kD, kE, kF, kG, kSegmentCount };

    explicit DigitCounter(QWidget* parent = nullptr);

    int digit() const { return digit_; }
    // Values outside 0..9 show their last decimal digit, as a one-digit counter does.
    void setDigit(int digit);

    static std::bitset<kSegmentCount> segmentsOf(int digit);
    // Where a segment is drawn in a widget of the given size; tests probe its centre.
    static QRectF segmentRect(Segment segment, QSizeF size);

    QSize sizeHint() const override { return {50, 80}; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    int digit_ = 0;
    QColor litColour_{255, 0, 0};
    QColor darkColour_{48, 0, 0};
};

}  // namespace dyno
