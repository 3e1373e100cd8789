#include "library/LibraryScan.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <thread>
#include <unordered_set>
#include <vector>

#include "files/SessionArchive.h"
#include "library/SessionSummary.h"

namespace dyno {

namespace {

// Archives stored per transaction: large enough that a first scan is not held up by
// commits, small enough that another program waiting for the index is not held long.
constexpr std::size_t kStoreBatch = 256;
constexpr auto kProgressInterval = std::chrono::milliseconds(50);

struct ScanJob {
    std::filesystem::path path;
    const KnownArchive* known = nullptr;  // null: not in the index yet
};

struct ScanOutcome {
    enum Kind { unchanged, read, gone } kind = unchanged;
    bool wasKnown = false;
    IndexedSession session;
};

std::vector<std::filesystem::path> archivesIn(const std::filesystem::path& root) {
    std::vector<std::filesystem::path> archives;
    std::error_code error;
    std::filesystem::recursive_directory_iterator walk(
        root, std::filesystem::directory_options::skip_permission_denied, error);
    // A folder that vanishes while it is walked ends the walk; what was listed counts.
    for (; !error && walk != std::filesystem::recursive_directory_iterator();
         walk.increment(error)) {
        std::error_code typeError;
        if (walk->is_regular_file(typeError) && hasSessionArchiveName(walk->path())) {
            archives.push_back(walk->path());
        }
    }
    return archives;
}

ScanOutcome examine(const ScanJob& job, SessionSummaryReader& reader) {
    ScanOutcome outcome;
    outcome.wasKnown = job.known != nullptr;
    if (job.known) {
        const auto stamp = stampOf(job.path);
        if (!stamp) {
            outcome.kind = ScanOutcome::gone;
            outcome.session.path = job.path;
            return outcome;
        }
        if (*stamp == job.known->stamp) {
            // An unreadable archive is read again only when it is written again.
            if (!job.known->isReadable) return outcome;
            const auto fingerprint = readSessionMemberFingerprint(job.path);
            if (fingerprint && fingerprint.value() == job.known->fingerprint) return outcome;
        }
    }
    outcome.kind = ScanOutcome::read;
    try {
        outcome.session = reader.read(job.path);
    } catch (const std::exception& error) {
        outcome.session = IndexedSession{};
        outcome.session.path = job.path;
        outcome.session.unreadableReason = error.what();
    }
    return outcome;
}

// Hands out jobs to the reading threads and collects what they found.
class ScanQueue {
  public:
    explicit ScanQueue(std::vector<ScanJob> jobs) : jobs_(std::move(jobs)) {}

    const ScanJob* nextJob() {
        const std::size_t at = next_.fetch_add(1);
        return at < jobs_.size() ? &jobs_[at] : nullptr;
    }

    void deliver(ScanOutcome outcome) {
        {
            const std::lock_guard lock(mutex_);
            ready_.push_back(std::move(outcome));
        }
        wake_.notify_one();
    }

    void workerDone() {
        {
            const std::lock_guard lock(mutex_);
            ++workersDone_;
        }
        wake_.notify_one();
    }

    // Waits a little for outcomes; false once every worker is done and all is taken.
    bool collect(std::deque<ScanOutcome>& into, int workers) {
        std::unique_lock lock(mutex_);
        wake_.wait_for(lock, kProgressInterval,
                       [&] { return !ready_.empty() || workersDone_ == workers; });
        const bool more = !(ready_.empty() && workersDone_ == workers);
        while (!ready_.empty()) {
            into.push_back(std::move(ready_.front()));
            ready_.pop_front();
        }
        return more;
    }

  private:
    std::vector<ScanJob> jobs_;
    std::atomic<std::size_t> next_{0};
    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<ScanOutcome> ready_;
    int workersDone_ = 0;
};

class ScanWriter {
  public:
    ScanWriter(LibraryIndex& index, ScanReport& report) : index_(index), report_(report) {}

    void take(ScanOutcome& outcome) {
        ++examined_;
        switch (outcome.kind) {
            case ScanOutcome::unchanged: ++report_.unchanged; break;
            case ScanOutcome::gone: gone_.push_back(outcome.session.path); break;
            case ScanOutcome::read:
                ++(outcome.wasKnown ? report_.changed : report_.added);
                if (!outcome.session.isReadable()) ++report_.unreadable;
                batch_.push_back(std::move(outcome.session));
                break;
        }
    }

    void flush(bool all) {
        if (batch_.size() >= kStoreBatch || (all && !batch_.empty())) {
            index_.store(batch_);
            batch_.clear();
        }
    }

    int examined() const { return examined_; }
    std::vector<std::filesystem::path>& gone() { return gone_; }

  private:
    LibraryIndex& index_;
    ScanReport& report_;
    std::vector<IndexedSession> batch_;
    std::vector<std::filesystem::path> gone_;
    int examined_ = 0;
};

}  // namespace

ScanReport scanFolder(LibraryIndex& index, const std::filesystem::path& folder,
                      const ScanOptions& options) {
    ScanReport report;
    const std::filesystem::path root = indexPath(folder);
    std::error_code error;
    if (!std::filesystem::is_directory(root, error)) {
        report.folderMissing = true;
        return report;
    }
    index.addFolder(root);
    const auto known = index.knownUnder(root);

    std::vector<ScanJob> jobs;
    std::unordered_set<std::string> seen;
    for (auto& path : archivesIn(root)) {
        const std::string key = indexPath(path).string();
        const auto it = known.find(key);
        seen.insert(key);
        jobs.push_back({key, it == known.end() ? nullptr : &it->second});
    }
    report.found = static_cast<int>(jobs.size());

    ScanQueue queue(std::move(jobs));
    const int cores = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    const int workers =
        std::clamp(options.threads > 0 ? options.threads : cores, 1, std::max(1, report.found));
    std::vector<std::jthread> readers;
    for (int w = 0; w < workers; ++w) {
        readers.emplace_back([&queue, &options](std::stop_token ownStop) {
            SessionSummaryReader reader;
            while (!ownStop.stop_requested() && !options.stop.stop_requested()) {
                const ScanJob* job = queue.nextJob();
                if (job == nullptr) break;
                queue.deliver(examine(*job, reader));
            }
            queue.workerDone();
        });
    }

    ScanWriter writer(index, report);
    std::deque<ScanOutcome> arrived;
    int reported = -1;
    for (bool more = true; more;) {
        more = queue.collect(arrived, workers);
        for (auto& outcome : arrived) writer.take(outcome);
        arrived.clear();
        writer.flush(!more);
        if (options.progress && writer.examined() != reported) {
            reported = writer.examined();
            options.progress({reported, report.found});
        }
    }
    readers.clear();

    if (options.stop.stop_requested() && writer.examined() < report.found) {
        report.cancelled = true;
        return report;
    }
    // Known archives the walk did not list: gone, unless they are still there (a
    // folder that could not be listed keeps its entries).
    for (const auto& [path, archive] : known) {
        if (!seen.count(path) && !stampOf(path)) writer.gone().emplace_back(path);
    }
    index.remove(writer.gone());
    report.removed = static_cast<int>(writer.gone().size());
    return report;
}

void indexArchive(LibraryIndex& index, const std::filesystem::path& archive) {
    const std::filesystem::path path = indexPath(archive);
    if (!stampOf(path)) {
        index.remove({&path, 1});
        return;
    }
    SessionSummaryReader reader;
    const IndexedSession session = reader.read(path);
    index.store({&session, 1});
}

}  // namespace dyno
