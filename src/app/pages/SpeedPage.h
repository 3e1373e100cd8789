#pragma once

#include <QImage>
#include <QWidget>
#include <array>

#include "acquisition/SequenceView.h"
#include "display/dials/SpeedDial.h"
#include "evaluation/DynoPreparation.h"

class QLabel;
class QPushButton;

namespace dyno {

class DigitCounter;
class LevelBar;
class ShadowLabel;

// The Speed page: the dial picture, the needles and bar markers drawn on the paint
// box `pbox1` above it, the run number `digit`, the rider's instruction `remotetext`
// and the level bars of analog channels 1 and 2.
//
// What is drawn stays on the paint box until drawn over: a needle is moved by
// erasing it (black) at its old position and drawing it (yellow) at the new one.
// Erasing gives the paint box back its transparency, so the dial picture shows again
// where the needle was.
class SpeedPage : public QWidget, public SequenceView, public LiveDisplay {
    Q_OBJECT
  public:
    explicit SpeedPage(QWidget* parent = nullptr);

    void showRemoteText(std::string_view text, Rgb shadow, Rgb font) override;
    void showRemoteTextInLastColours(std::string_view text) override;
    void showDigit(int digit) override;
    void drawNeedle(Dial dial, int position, Rgb colour) override;
    void moveK40Marker(int channel, int oldPosition, int position) override;
    // The card's marker of channel 1 or 2, as offsets from cardMarkerOffset().
    void moveCardMarker(int channel, int oldOffset, int offset);

    // Under the rider's instruction: that the electronics do not answer; empty
    // hides it.
    void showNoAnswer(const QString& text);
    QString noAnswerText() const;

    // The green and yellow levels of `ad1_bar` and `ad2_bar`, set at each start.
    void setBarZones(const std::array<BarMarkerPositions, 2>& zones);

    // "Stop": shown while a card session runs, which it stops at its next wait.
    QPushButton* stopButton() const { return stop_; }

    const speedo::DialTables& dialTables() const { return tables_; }
    // What has been drawn on `pbox1`, transparent where nothing is.
    const QImage& paintBoxImage() const { return drawing_; }
    // The run number `digit` shows.
    int runNumber() const;

  signals:
    // Every instruction the rider is shown, as shown.
    void riderInstructionShown(const QString& text);

  private:
    // Clears the marker's old rectangle, then fills the new one yellow.
    void moveMarker(const QRect& erased, const QRect& drawn);

    speedo::DialTables tables_;
    QImage drawing_;
    QWidget* paintBox_;
    ShadowLabel* riderInstruction_;
    QLabel* noAnswer_;
    DigitCounter* runNumber_;
    std::array<LevelBar*, 2> bars_{};
    QPushButton* stop_;
};

}  // namespace dyno
