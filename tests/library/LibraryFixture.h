#pragma once

#include <gtest/gtest.h>
#include <zip.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <memory>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "files/ArchiveFixtures.h"
#include "files/SessionArchive.h"
#include "library/LibraryIndex.h"
#include "library/LibraryScan.h"

namespace dyno::testing {

// What tells the archives of a test apart.
struct SessionTexts {
    std::string make, model, owner, remark;
    double rollerWeightKg = 184.0;  // a K40's power grows with the roller's weight
    int dynoModel = 0;
};

// A K40 session with one accelerating run; texts as typed on the Remarks page
// (Windows-1252).
inline std::unique_ptr<TestSession> sessionWith(const SessionTexts& texts) {
    auto session = std::make_unique<TestSession>();
    auto run = session->run(0);
    for (std::size_t i = 0; i < 900; ++i) {
        run.rollerPeriods[i] = 60000 - 40 * static_cast<std::int32_t>(i);
    }
    session->values.values[SessionValues::kRollerWeight] = texts.rollerWeightKg;
    session->header.words[SessionHeader::kElectronicsType] = 1;
    session->header.words[SessionHeader::kDynoModel] = static_cast<std::int16_t>(texts.dynoModel);
    session->make.assign(texts.make, kMakeModelStoredChars);
    session->model.assign(texts.model, kMakeModelStoredChars);
    session->owner.assign(texts.owner, kOwnerStoredChars);
    session->remarkLine1.assign(texts.remark, kRemarkStoredChars);
    return session;
}

inline void saveSession(const std::filesystem::path& archive, const SessionTexts& texts) {
    std::filesystem::create_directories(archive.parent_path());
    if (!saveSessionArchive(archive, *sessionWith(texts), SavedAirData{1000, 20, 50})) {
        throw std::runtime_error("cannot save test archive");
    }
}

inline void setModified(const std::filesystem::path& file, std::filesystem::file_time_type when) {
    std::filesystem::last_write_time(file, when);
}

// A scratch folder of archives with an index file beside it.
class LibraryFixture : public ::testing::Test {
  protected:
    std::filesystem::path archives() const { return scratch_ / "sessions"; }
    std::filesystem::path indexFile() const { return scratch_ / "index" / "library.sqlite"; }

    ScanReport scan(const ScanOptions& options = {}) {
        LibraryIndex index(indexFile());
        return scanFolder(index, archives(), options);
    }

    // File names found by `query`, in the order found.
    std::vector<std::string> namesFound(const LibraryQuery& query) {
        LibraryIndex index(indexFile());
        std::vector<std::string> names;
        for (const auto& session : index.search(query)) {
            names.push_back(session.path.filename().string());
        }
        return names;
    }

    std::vector<std::string> namesFound(const std::string& words) {
        LibraryQuery query;
        query.words = words;
        return namesFound(query);
    }

    ScratchFolder scratch_;
};

}  // namespace dyno::testing
