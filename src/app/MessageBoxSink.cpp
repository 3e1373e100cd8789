#include "app/MessageBoxSink.h"

#include <QMessageBox>

namespace dyno {

namespace {

QString fromView(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

void MessageBoxSink::show(MessageKind kind, std::string_view caption, std::string_view text) {
    const QMessageBox::Icon icon = kind == MessageKind::Error     ? QMessageBox::Critical
                                   : kind == MessageKind::Warning ? QMessageBox::Warning
                                                                  : QMessageBox::Information;
    QMessageBox box(icon, fromView(caption), fromView(text), QMessageBox::Ok, parent_);
    box.exec();
}

}  // namespace dyno
