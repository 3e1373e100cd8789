#pragma once

#include <QPushButton>
#include <QTabWidget>
#include <QWidget>

#include "app/FunctionKeys.h"

namespace dyno {

class InfoPage;
class SessionModel;

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
    InfoPage* infoPage() const { return infoPage_; }

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
    InfoPage* infoPage_;
};

}  // namespace dyno
