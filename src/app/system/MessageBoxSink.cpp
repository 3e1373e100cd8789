#include "app/system/MessageBoxSink.h"

#include <QApplication>
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
    // Without a parent of its own the box sits over whichever window is active.
    QWidget* over = parent_ != nullptr ? parent_ : QApplication::activeWindow();
    QMessageBox box(icon, fromView(caption), fromView(text), QMessageBox::Ok, over);
    box.exec();
}

}  // namespace dyno
