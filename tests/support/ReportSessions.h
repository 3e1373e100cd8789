#pragma once

// Four named made-up sessions in slots 1..4, saved as archives in a fresh folder,
// for the tests that print them from the window and with dynotool.
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "display/SyntheticRuns.h"
#include "files/SessionArchive.h"
#include "model/SessionModel.h"

namespace dyno::testing {

struct ReportSessions {
    std::filesystem::path folder;
    std::vector<std::string> archives;

    // Fills `model`'s slots; false when an archive cannot be written.
    bool saveInto(SessionModel& model, const std::string& folderName) {
        folder = std::filesystem::temp_directory_path() / (folderName + std::to_string(::getpid()));
        std::filesystem::create_directories(folder);
        for (int s = 1; s <= 4; ++s) {
            TestSession& session = model.slot(s);
            graph_testing::recordSyntheticRun(session, 0, graph_testing::syntheticRunOfSlot(s));
            graph_testing::nameSyntheticSession(session, s);
            archives.push_back((folder / ("session" + std::to_string(s) + ".zsd")).string());
            if (!saveSessionArchive(archives.back(), session, SavedAirData{}).ok()) return false;
        }
        return true;
    }

    ~ReportSessions() {
        if (!folder.empty()) std::filesystem::remove_all(folder);
    }
};

}  // namespace dyno::testing
