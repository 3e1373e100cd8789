#pragma once

#include <QImage>
#include <QPoint>
#include <QWidget>

namespace dyno {

// A paint box of the Graphs page: shows an image drawn by the graph code, pixel for
// pixel, and reports the mouse in the image's pixel coordinates. The image belongs
// to the page; the box is as large as the image.
class GraphPaintBox : public QWidget {
    Q_OBJECT
  public:
    GraphPaintBox(const char* componentName, const QImage& image, QWidget* parent = nullptr);

  signals:
    void mousePressed(Qt::MouseButton button, QPoint position);
    // Only while a button is held; the position may lie outside the box.
    void mouseMoved(QPoint position);
    void mouseReleased(Qt::MouseButton button, QPoint position);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    const QImage& image_;
};

}  // namespace dyno
