#pragma once

#include <filesystem>
#include <memory>

#include "evaluation/AnalysisWorkspace.h"
#include "library/IndexedSession.h"
#include "model/TestSession.h"

namespace dyno {

// Reads session archives for the index: decodes the record and analyses its runs
// with the session's own settings (each run evaluated as the graph would, its
// coast-down and the runs' spread). Holds a scratch session and work arrays, so one reader per
// thread reads any number of archives without allocating a session each time. Archives are only
// read.
class SessionSummaryReader {
  public:
    SessionSummaryReader();

    // The summary of `archive`, stamped as the file was before it was read. A file
    // that changes while it is read is read again (a few times at most); an archive
    // that cannot be read comes back with the reason.
    IndexedSession read(const std::filesystem::path& archive);

  private:
    IndexedSession readOnce(const std::filesystem::path& archive, const FileStamp& stamp);
    void summariseRuns(const TestSession& session, IndexedSession& summary);

    std::unique_ptr<TestSession> session_;
    std::unique_ptr<AnalysisWorkspace> analysis_;
};

}  // namespace dyno
