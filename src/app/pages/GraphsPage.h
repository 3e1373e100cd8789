#pragma once

#include <QPoint>
#include <QWidget>
#include <array>
#include <functional>
#include <memory>

#include "display/graph/GraphCursor.h"
#include "display/graph/GraphImages.h"
#include "display/graph/GraphScale.h"
#include "display/graph/GraphUpdate.h"

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QPushButton;

namespace dyno {

class Slot1Lock;
class EvaluationWorkspace;
class GraphPaintBox;
class ParamPage;
class SessionModel;
class SetupPage;

// The Graphs page: the graph of up to four sessions with its label strips and
// legend, the run choice and Hp/Tq/Clear boxes of each slot, the copy boxes, the
// scale presets and "Update Display". Every control redraws the whole graph from
// the model. The graph limits, unit boxes and air/rolling resistance values live
// on the Param. and Setup pages, which the page reads at every update.
class GraphsPage : public QWidget {
    Q_OBJECT
  public:
    // `scaleInForce` is the window's one graph scale: the settings file sets it, the
    // update and the zoom change it, the print reads it. It is only read and written
    // by the update and the mouse, so the window may pass one it constructs later.
    // An update evaluates and copies slot 1: none while `slot1` refuses reading it.
    GraphsPage(SessionModel& model, GraphScale& scaleInForce, ParamPage& paramPage,
               const SetupPage& setupPage, const Slot1Lock& slot1, QWidget* parent = nullptr);
    ~GraphsPage() override;

    // Copies the Remarks page of session 1 into slot 1; runs before every copy.
    void setStoreRemarksOfSession1(std::function<void()> store) {
        storeRemarksOfSession1_ = std::move(store);
    }

    // What the five boxes show, the state kept between updates and the cursor
    // reading on display (empty slots while the right button is up).
    const GraphImages& images() const { return images_; }
    const GraphState& graphState() const { return *state_; }
    const CursorReadout& cursorReadout() const { return readout_; }
    // "Show": true for "Speed + Rpm".
    bool isSpeedAndRpmChosen() const;
    // "Fixed Gearing": engine speed worked out from the gearing ratio of the run.
    bool isFixedGearingChosen() const;

    // "Show each run as it arrives": slot 1 with run 1..3 chosen, then updated, as if
    // the user had chosen that run and pressed "Update Display", except that ticked
    // copy and clear boxes are left for the user's own update.
    void showRunOfSlot1(int run);

  public slots:
    // "Update Display", F2 and every control of the page.
    void updateDisplay();
    // Entering the page: the Hp/Kw and speed-unit captions follow "Show power as
    // KW" and "Show speed as MPH".
    void relabelUnits();
    // A test starts: speed goes back across and the engine-speed axis follows the
    // "Show" choice of that moment, until the next update reads it again.
    void latchGraphChoice(bool isSpeedAndRpm);

  signals:
    // Session 1 was copied into `slot` (2..4): its Remarks boxes are to show it.
    void sessionCopied(int slot);
    void printRequested();

  protected:
    // The legend box is redrawn with the whole graph whenever the page comes to the
    // front, so the page always opens on the current model.
    void showEvent(QShowEvent* event) override;

  private:
    void redraw(bool carriesOutTicks);
    struct SlotControls {
        QGroupBox* runGroup = nullptr;
        QCheckBox* power = nullptr;
        QCheckBox* torque = nullptr;
        QCheckBox* clear = nullptr;
        QLineEdit* remarkLine = nullptr;
    };

    // The constructor's groups of controls, in the order they are made.
    void buildPaintBoxes();
    void buildDisplayChoices();
    void buildPresets();
    void buildCopyBoxes();
    void buildPrintButton();
    void buildRemarkLinesAndSlots();
    void buildSlot(int slot);
    void buildManualSmoothing();
    GraphControls readControls() const;
    void showControls(const GraphControls& controls);
    void repaintBoxes();

    void graphMousePressed(Qt::MouseButton button, QPoint position);
    void graphMouseMoved(QPoint position);
    void graphMouseReleased(Qt::MouseButton button);

    SessionModel& model_;
    const Slot1Lock& slot1_;
    GraphScale& scaleInForce_;
    ParamPage& paramPage_;
    const SetupPage& setupPage_;
    std::unique_ptr<EvaluationWorkspace> workspace_;
    std::unique_ptr<GraphState> state_;
    GraphImages images_;
    std::function<void()> storeRemarksOfSession1_;

    GraphPaintBox* graphBox_;
    std::array<GraphPaintBox*, 4> stripsAndLegend_{};  // lodret, vandret, lodret2, data1
    std::array<SlotControls, 4> slots_{};
    std::array<QCheckBox*, 3> copyBoxes_{};
    std::array<QPushButton*, 11> presetButtons_{};
    QGroupBox* graphChoice_ = nullptr;
    QCheckBox* fixedGearing_ = nullptr;

    // The mouse on the graph: the rubber band of a left drag, the cursor line of
    // the right button.
    bool dragging_ = false;
    QPoint dragStart_;
    QPoint dragEnd_;
    bool cursorOn_ = false;
    int cursorX_ = 0;
    CursorReadout readout_{};
};

}  // namespace dyno
