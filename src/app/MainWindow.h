#pragma once

#include <QPushButton>
#include <QTabWidget>
#include <QWidget>

#include "app/FunctionKeys.h"

namespace dyno {

class AdSettingsPage;
class AnalogPage;
class FilePage;
class GraphsPage;
class InfoPage;
class ParamPage;
class RemarksPage;
class SessionModel;
class SetupPage;
class SpeedPage;
class TestPage;

// Assembles the ten pages, owns nothing but them, and routes the function keys.
// The session model belongs to main() and lives as long as the window.
class MainWindow : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kClientWidth = 791;
    static constexpr int kClientHeight = 574;

    MainWindow(SessionModel& model, const QString& startDirectory, QWidget* parent = nullptr);
    ~MainWindow() override;

    QTabWidget* pages() const { return pageControl_; }
    GraphsPage* graphsPage() const { return graphsPage_; }
    TestPage* testPage() const { return testPage_; }
    FilePage* filePage() const { return filePage_; }
    ParamPage* paramPage() const { return paramPage_; }
    RemarksPage* remarksPage() const { return remarksPage_; }
    SetupPage* setupPage() const { return setupPage_; }
    InfoPage* infoPage() const { return infoPage_; }
    SpeedPage* speedPage() const { return speedPage_; }
    AnalogPage* analogPage() const { return analogPage_; }
    AdSettingsPage* adSettingsPage() const { return adSettingsPage_; }

  signals:
    // A function key was pressed anywhere in the window, with any modifier.
    void functionKeyPressed(FunctionKeyAction action);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void openHelp();

    SessionModel& model_;
    QString startDirectory_;
    QTabWidget* pageControl_;
    QPushButton* helpbutton_;
    GraphsPage* graphsPage_;
    TestPage* testPage_;
    FilePage* filePage_;
    ParamPage* paramPage_;
    RemarksPage* remarksPage_;
    SetupPage* setupPage_;
    InfoPage* infoPage_;
    SpeedPage* speedPage_;
    AnalogPage* analogPage_;
    AdSettingsPage* adSettingsPage_;
};

}  // namespace dyno
