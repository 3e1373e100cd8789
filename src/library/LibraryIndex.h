#pragma once

#include <filesystem>
#include <memory>
#include <span>
#include <stdexcept>
#include <string>
#include <unordered_map>
#include <vector>

#include "library/IndexedSession.h"
#include "library/LibraryQuery.h"
#include "library/SqliteDatabase.h"

namespace dyno {

// How the index came to be open. A damaged index (not a database, damaged pages, a
// layout this program does not know) is moved aside as "<file>.damaged" and started
// anew; the folders it had scanned, as far as they could be read from it, are to be
// scanned again: the archives are the truth, the index only a copy of them.
struct LibraryOpenReport {
    bool rebuilt = false;
    std::string message;
    std::vector<std::filesystem::path> foldersToRescan;
};

// How an index file is opened.
struct LibraryOpening {
    // The user named the file (`--db`): one that is not an index at all (a session
    // archive, a text) is refused and left as it is, never taken for a damaged
    // index. The program's own file is the index whatever it holds.
    bool isNamedByUser = false;
    // A damaged index is moved aside and started anew; otherwise it is refused and
    // left as it is (a search changes no file).
    bool mayStartAnew = true;
};

// An index file that is not used, with the one-line reason; the file is untouched.
class IndexRefused : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// What the index knew of an archive the last time it was read.
struct KnownArchive {
    FileStamp stamp;
    SessionMemberFingerprint fingerprint;
    bool isReadable = true;
};

// The session library's index: one SQLite file beside nothing, in the user's data
// folder, that describes session archives kept anywhere. It only ever reads the
// archives. Several programs may use one index at once: every write is one
// transaction, and writers wait for each other. A SQLite database of another
// program is never made an index. Throws IndexRefused for a file it does not use.
class LibraryIndex {
  public:
    explicit LibraryIndex(const std::filesystem::path& file, const LibraryOpening& opening = {});

    const LibraryOpenReport& openReport() const { return openReport_; }
    const std::filesystem::path& file() const { return file_; }

    // The archives indexed in `folder` or below it, by path.
    std::unordered_map<std::string, KnownArchive> knownUnder(const std::filesystem::path& folder);

    // Adds or replaces these archives' entries, in one transaction.
    void store(std::span<const IndexedSession> sessions);
    // Drops these archives' entries, in one transaction.
    void remove(std::span<const std::filesystem::path> archives);

    // The folders scanned into this index, kept so a damaged index can be rebuilt.
    void addFolder(const std::filesystem::path& folder);
    std::vector<std::filesystem::path> folders();

    std::vector<IndexedSession> search(const LibraryQuery& query);
    // The archives in `folder` (empty: everywhere) that could not be read, with why.
    std::vector<IndexedSession> unreadable(const std::filesystem::path& folder = {});
    // The entry of one archive, if it is indexed.
    std::optional<IndexedSession> find(const std::filesystem::path& archive);

  private:
    void refuseWhatIsNotAnIndex(const LibraryOpening& opening) const;
    void open();
    void createSchema();
    void startAnew(const std::string& why);

    std::filesystem::path file_;
    std::unique_ptr<SqliteDatabase> db_;
    LibraryOpenReport openReport_;
};

// Paths as the index keys them: absolute and without "." or "..", symbolic links
// left as they are.
std::filesystem::path indexPath(const std::filesystem::path& path);

}  // namespace dyno
