#pragma once

#include <QColor>
#include <QWidget>

namespace dyno {

// A round status lamp, for example the serial port LED on the Setup page.
class Led : public QWidget {
    Q_OBJECT
  public:
    explicit Led(QWidget* parent = nullptr);

    bool isOn() const { return on_; }
    void setOn(bool on);

    void setOnColour(const QColor& colour);
    QColor onColour() const { return onColour_; }
    // A lamp that is off shows a dark shade of its own colour.
    QColor offColour() const {
        return QColor(onColour_.red() / 4, onColour_.green() / 4, onColour_.blue() / 4);
    }

    QSize sizeHint() const override { return {16, 16}; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    bool on_ = false;
    QColor onColour_{0, 255, 0};
};

}  // namespace dyno
