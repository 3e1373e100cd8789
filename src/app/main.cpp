// vkr_dyno: the desktop program of the roller dynamometer.
#include <QApplication>
#include <QDir>
#include <QMessageBox>

#include "app/MainWindow.h"
#include "app/SingleInstanceGuard.h"
#include "model/SessionModel.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("vkr_dyno"));

    dyno::SingleInstanceGuard guard;
    if (!guard.acquire()) {
        QMessageBox::information(nullptr, QStringLiteral("vkr_dyno"),
                                 QStringLiteral("VKR dyno program is already running"));
        return 0;
    }

    // The settings files and the print logo live in the folder the program starts in.
    const QString startDirectory = QDir::currentPath();
    auto model = dyno::SessionModel::create();
    dyno::MainWindow window(*model, startDirectory);
    window.show();
    return QApplication::exec();
}
