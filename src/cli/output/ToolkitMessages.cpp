#include "cli/output/ToolkitMessages.h"

#include <QString>
#include <QtGlobal>
#include <cstdio>

namespace dyno::cli {

namespace {

void toStderrWhenSerious(QtMsgType type, const QMessageLogContext&, const QString& text) {
    static const bool isDebugging = qEnvironmentVariableIsSet("DYNOTOOL_DEBUG");
    if (!isDebugging && type != QtCriticalMsg && type != QtFatalMsg) return;
    std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
}

}  // namespace

void quietToolkitMessages() {
    qInstallMessageHandler(toStderrWhenSerious);
}

}  // namespace dyno::cli
