#pragma once

#include <QColor>
#include <QWidget>

namespace dyno {

// A horizontal level bar lit from the left up to its position (0..100 %), each
// part in the colour of its zone: lime up to the first limit, yellow up to the
// second, red above. The Speed page shows the analog channels 1 and 2 on two.
class LevelBar : public QWidget {
    Q_OBJECT
  public:
    enum class Zone { Green, Yellow, Red };

    explicit LevelBar(QWidget* parent = nullptr);

    int position() const { return position_; }
    // Clipped to 0..100; the bar moves in steps of one percent.
    void setPosition(int percent);

    int firstLimit() const { return firstLimit_; }
    int secondLimit() const { return secondLimit_; }
    // Zone limits in percent (the green and yellow levels); clipped to 0..100 and
    // kept in order, so a second limit below the first leaves no yellow zone.
    void setZoneLimits(int firstPercent, int secondPercent);

    Zone zoneAt(double percent) const;
    static QColor litColour(Zone zone);
    static QColor unlitColour(Zone zone);

    QSize sizeHint() const override { return {299, 20}; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    int position_ = 0;
    int firstLimit_ = 50;
    int secondLimit_ = 75;
};

}  // namespace dyno
