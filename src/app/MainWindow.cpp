#include "app/MainWindow.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMessageBox>
#include <QTabBar>
#include <QUrl>

#include "app/AdSettingsPage.h"
#include "app/AnalogPage.h"
#include "app/FilePage.h"
#include "app/GraphsPage.h"
#include "app/InfoPage.h"
#include "app/PageList.h"
#include "app/ParamPage.h"
#include "app/RemarksPage.h"
#include "app/SetupPage.h"
#include "app/SpeedPage.h"
#include "app/TestPage.h"

namespace dyno {

namespace {

// "MS Sans Serif" at 13 px where it exists; otherwise a sans face with the same
// metrics, so texts fit the fixed layout.
QFont windowFont() {
    QFont font;
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"),
                      QStringLiteral("Arial"), QStringLiteral("DejaVu Sans")});
    font.setPixelSize(13);
    return font;
}

}  // namespace

MainWindow::MainWindow(SessionModel& model, const QString& startDirectory, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      model_(model),
      startDirectory_(startDirectory),
      pageControl_(new QTabWidget(this)),
      helpbutton_(new QPushButton(QStringLiteral("Help"), this)),
      graphsPage_(new GraphsPage),
      testPage_(new TestPage),
      filePage_(new FilePage),
      paramPage_(new ParamPage),
      remarksPage_(new RemarksPage),
      setupPage_(new SetupPage),
      infoPage_(new InfoPage),
      speedPage_(new SpeedPage),
      analogPage_(new AnalogPage),
      adSettingsPage_(new AdSettingsPage) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("VKR Korvalis 2.32"));
    setFont(windowFont());
    setFixedSize(kClientWidth, kClientHeight);

    pageControl_->setObjectName(QStringLiteral("PageControl1"));
    pageControl_->setGeometry(0, 0, kClientWidth, kClientHeight);
    QFont bold = windowFont();
    bold.setBold(true);
    pageControl_->tabBar()->setFont(bold);

    // In tab order; each page sets its own component name.
    const std::array<QWidget*, kPages.size()> pagesInOrder{
        graphsPage_, testPage_, filePage_,  paramPage_,  remarksPage_,
        setupPage_,  infoPage_, speedPage_, analogPage_, adSettingsPage_};
    for (std::size_t i = 0; i < kPages.size(); ++i) {
        pagesInOrder[i]->setObjectName(QString::fromLatin1(kPages[i].componentName));
        pageControl_->addTab(pagesInOrder[i], QString::fromLatin1(kPages[i].caption));
    }
    pageControl_->setCurrentIndex(kInfoPageIndex);

    helpbutton_->setObjectName(QStringLiteral("helpbutton"));
    helpbutton_->setGeometry(kClientWidth - 80, 2, 75, 20);
    helpbutton_->raise();
    connect(helpbutton_, &QPushButton::clicked, this, &MainWindow::openHelp);
    connect(this, &MainWindow::functionKeyPressed, this, [this](FunctionKeyAction action) {
        if (action == FunctionKeyAction::OpenHelp) openHelp();
    });

    // The window sees function keys before its controls do.
    qApp->installEventFilter(this);
}

MainWindow::~MainWindow() {
    qApp->removeEventFilter(this);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget == nullptr || widget->window() != this) return false;
    const auto action = functionKeyAction(static_cast<QKeyEvent*>(event)->key());
    if (!action) return false;
    emit functionKeyPressed(*action);
    return true;
}

void MainWindow::openHelp() {
    const QString helpFile = QDir(startDirectory_).filePath(QStringLiteral("Vkr.hlp"));
    if (!QFileInfo::exists(helpFile)) {
        QMessageBox::information(this, QStringLiteral("VKR dyno"),
                                 QStringLiteral("The help file %1 was not found.").arg(helpFile));
        return;
    }
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(helpFile))) {
        QMessageBox::information(this, QStringLiteral("VKR dyno"),
                                 QStringLiteral("No viewer for %1 is set up.").arg(helpFile));
    }
}

}  // namespace dyno
