#include "app/files/LibraryRescan.h"

#include <QMetaObject>
#include <exception>

namespace dyno {

LibraryRescan::LibraryRescan(std::filesystem::path indexFile, QObject* parent)
    : QObject(parent), indexFile_(std::move(indexFile)) {}

LibraryRescan::~LibraryRescan() {
    // The thread posts to this object; stop and join it before the object goes.
    scanner_.request_stop();
    if (scanner_.joinable()) scanner_.join();
}

void LibraryRescan::start(std::vector<std::filesystem::path> folders) {
    if (running_) return;
    if (scanner_.joinable()) scanner_.join();
    running_ = true;
    scanner_ = std::jthread([this, folders = std::move(folders)](std::stop_token stop) {
        ScanReport total;
        QString failure;
        try {
            LibraryIndex index(indexFile_);
            ScanOptions options;
            options.stop = stop;
            options.progress = [this](const ScanProgress& progress) {
                QMetaObject::invokeMethod(
                    this, [this, progress] { emit progressed(progress.examined, progress.found); },
                    Qt::QueuedConnection);
            };
            for (const auto& folder : folders) {
                const ScanReport one = scanFolder(index, folder, options);
                total.found += one.found;
                total.added += one.added;
                total.changed += one.changed;
                total.removed += one.removed;
                total.unreadable += one.unreadable;
                total.cancelled = total.cancelled || one.cancelled;
                if (one.folderMissing) failure = QString::fromStdString(folder.string());
            }
            if (!failure.isEmpty()) failure = QStringLiteral("Folder not found: ") + failure;
        } catch (const std::exception& error) {
            failure = QString::fromLocal8Bit(error.what());
        }
        QMetaObject::invokeMethod(
            this, [this, total, failure] { report(total, failure); }, Qt::QueuedConnection);
    });
}

void LibraryRescan::cancel() {
    scanner_.request_stop();
}

void LibraryRescan::report(const ScanReport& total, const QString& failure) {
    running_ = false;
    if (!failure.isEmpty()) {
        emit finished(failure);
        return;
    }
    QString summary = QStringLiteral("Sessions found: %1, new: %2, changed: %3, removed: %4")
                          .arg(total.found)
                          .arg(total.added)
                          .arg(total.changed)
                          .arg(total.removed);
    if (total.unreadable > 0) {
        summary += QStringLiteral(", unreadable: %1").arg(total.unreadable);
    }
    if (total.cancelled) summary = QStringLiteral("Rescan cancelled: ") + summary;
    emit finished(summary);
}

}  // namespace dyno
