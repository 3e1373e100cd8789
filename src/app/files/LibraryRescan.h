#pragma once

#include <QObject>
#include <QString>
#include <filesystem>
#include <thread>
#include <vector>

#include "library/LibraryScan.h"

namespace dyno {

// Scans folders into the session index on a thread of its own, so the window stays
// live; progress and the end are reported on the window thread. The scan has its own
// connection to the index: SQLite keeps it and the window's searches apart.
class LibraryRescan : public QObject {
    Q_OBJECT
  public:
    explicit LibraryRescan(std::filesystem::path indexFile, QObject* parent = nullptr);
    ~LibraryRescan() override;

    // Scans `folders` one after the other; ignored while a scan runs.
    void start(std::vector<std::filesystem::path> folders);
    // Stops soon; what was read so far stays in the index.
    void cancel();
    bool isRunning() const { return running_; }

  signals:
    void progressed(int examined, int found);
    // A one-line account of the scan, or why it failed.
    void finished(const QString& summary);

  private:
    void report(const ScanReport& total, const QString& failure);

    std::filesystem::path indexFile_;
    std::jthread scanner_;
    bool running_ = false;
};

}  // namespace dyno
