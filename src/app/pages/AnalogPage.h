#pragma once

#include <QPoint>
#include <QWidget>
#include <array>
#include <functional>
#include <memory>

#include "display/analog/AnalogImages.h"
#include "display/analog/AnalogPlot.h"
#include "display/analog/AnalogView.h"

class QCheckBox;
class QGroupBox;
class QScrollBar;
class QSpinBox;

namespace dyno {

class Slot1Lock;
class EvaluationWorkspace;
class GraphPaintBox;
class SessionModel;

// The Analog page: the recorded analog channels of up to four session slots
// against sample number, with each slot's run choice and time shift, the channel
// boxes, the scale choices, the horizontal zoom and the common scroll bar. Every
// choice redraws the whole picture from the model; the right mouse button shows a
// cursor with speed and engine speed. Other code finds its controls by their
// component names.
class AnalogPage : public QWidget {
    Q_OBJECT
  public:
    // Every redraw evaluates the slots: none while `slot1` refuses reading slot 1.
    AnalogPage(SessionModel& model, const Slot1Lock& slot1, QWidget* parent = nullptr);
    ~AnalogPage() override;

    // What the page reads from elsewhere (the A/D Sett. page's channels, the units,
    // the power axis in force, fixed gearing) is filled in by this reader on every
    // redraw; without one the window's defaults hold.
    using OtherPagesReader = std::function<void(AnalogView&)>;
    void setOtherPagesReader(OtherPagesReader reader) { readOtherPages_ = std::move(reader); }

    // The page's controls and the other pages as the next redraw reads them.
    AnalogView view() const;
    // The three boxes as last drawn.
    const AnalogImages& images() const { return images_; }

  public slots:
    // "Update" and every choice of the page.
    void redraw();
    // "Reset tests": every slot back to sample offset 0, then a redraw.
    void resetTests();

  private:
    // The constructor's groups of controls, in the order they are made.
    void buildPaintBoxes();
    void buildScrollbar();
    void buildButtons();
    void buildZoom();
    void buildChannelBoxes();
    void buildRunGroups();
    void buildScaleGroups();
    void buildMoves();

    void zoomChanged(int zoom);
    void plotMousePressed(Qt::MouseButton button, QPoint position);
    void plotMouseMoved(QPoint position);
    void plotMouseReleased(Qt::MouseButton button);
    void repaintBoxes();

    SessionModel& model_;
    const Slot1Lock& slot1_;
    std::unique_ptr<EvaluationWorkspace> workspace_;
    AnalogImages images_;
    AnalogBuffers buffers_;
    OtherPagesReader readOtherPages_;

    std::array<GraphPaintBox*, 3> boxes_{};  // anawin, lskala, hskala
    std::array<QGroupBox*, 4> runGroups_{};
    std::array<QCheckBox*, 5> channelBoxes_{};
    std::array<QSpinBox*, 4> moves_{};
    QGroupBox* curveGroup_ = nullptr;
    QGroupBox* leftScaleGroup_ = nullptr;
    QSpinBox* zoom_ = nullptr;
    QScrollBar* scrollbar_ = nullptr;
    // Last position of the scroll bar: the common sample offset of every slot.
    int scrollOffset_ = 0;

    bool cursorOn_ = false;
    int cursorX_ = 0;
};

}  // namespace dyno
