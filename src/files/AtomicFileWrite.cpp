#include "files/AtomicFileWrite.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <random>
#include <string>

#include "files/SaveTarget.h"

namespace dyno {

namespace {

namespace fs = std::filesystem;

constexpr std::string_view kNameLetters =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
constexpr std::size_t kTemporaryLetters = 6;
// Names already taken are tried again with other letters; this many in a row means
// something else is wrong.
constexpr int kMostNameAttempts = 100;

std::string systemText(int error) {
    return std::strerror(error);
}

std::string randomLetters() {
    thread_local std::mt19937 random{std::random_device{}()};
    std::uniform_int_distribution<std::size_t> pick(0, kNameLetters.size() - 1);
    std::string letters(kTemporaryLetters, ' ');
    for (char& letter : letters) letter = kNameLetters[pick(random)];
    return letters;
}

// A file descriptor that is closed when it goes out of scope, unless closed before.
class OpenFile {
  public:
    explicit OpenFile(int fd = -1) : fd_(fd) {}
    ~OpenFile() {
        if (fd_ >= 0) ::close(fd_);
    }
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;

    int fd() const { return fd_; }
    bool close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

  private:
    int fd_;
};

// The temporary of one save: "<name>.XXXXXX" beside the file it becomes, made new
// (O_EXCL), so whatever another user left at some name (a link, a FIFO, a file) is
// never opened, written or followed. Removed unless it was renamed into place.
class SaveTemporary {
  public:
    // `isReplacing`: a file is at the final name, whose mode the new one takes. Until
    // then the temporary is the user's alone, so that nobody can open it while its
    // mode is still the umask's and read what a private file will hold.
    SaveTemporary(const fs::path& finalName, bool isReplacing) {
        for (int attempt = 0; attempt < kMostNameAttempts; ++attempt) {
            path_ = finalName;
            path_ += "." + randomLetters();
            // A new file gets the mode before the umask, as a plain create gives.
            const int fd =
                ::open(path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                       isReplacing ? 0600 : 0666);
            if (fd >= 0) {
                file_ = std::make_unique<OpenFile>(fd);
                return;
            }
            error_ = errno;
            if (error_ != EEXIST) break;
        }
        path_.clear();
    }
    ~SaveTemporary() {
        file_.reset();
        if (!path_.empty() && !isPlaced_) ::unlink(path_.c_str());
    }
    SaveTemporary(const SaveTemporary&) = delete;
    SaveTemporary& operator=(const SaveTemporary&) = delete;

    bool isOpen() const { return file_ != nullptr; }
    int openError() const { return error_; }
    const fs::path& path() const { return path_; }
    int fd() const { return file_->fd(); }
    bool close() { return file_->close(); }
    void markPlaced() { isPlaced_ = true; }

  private:
    fs::path path_;
    std::unique_ptr<OpenFile> file_;
    int error_ = 0;
    bool isPlaced_ = false;
};

bool writeAll(int fd, std::span<const std::uint8_t> bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t written = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        done += static_cast<std::size_t>(written);
    }
    return true;
}

// The folder's entry for a renamed file reaches the disk with the folder's own
// flush. A file system that cannot flush a folder has nothing more to do there.
void flushFolder(const fs::path& file) {
    const fs::path folder = file.parent_path().empty() ? fs::path(".") : file.parent_path();
    OpenFile entry(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (entry.fd() >= 0) ::fsync(entry.fd());
}

// Writes `bytes` into the new temporary for `finalName` and flushes it to the disk:
// after a power cut the name then leads to the whole new file or to the old one,
// never to an empty file. A file already at `finalName` gives the temporary its
// permissions when `keepsMode`.
FileResult<> writeTemporary(SaveTemporary& temporary, std::span<const std::uint8_t> bytes,
                            const fs::path& finalName, bool keepsMode,
                            std::string_view failureMessage) {
    const auto fail = [&](const std::string& what) -> FileResult<> {
        return FileError{std::string(failureMessage), what + " " + temporary.path().string()};
    };
    if (!temporary.isOpen()) {
        return FileError{std::string(failureMessage), "cannot create a temporary beside " +
                                                          finalName.string() + ": " +
                                                          systemText(temporary.openError())};
    }
    // The file keeps who may read and write it, set before anything is written.
    struct stat old {};
    if (keepsMode && ::stat(finalName.c_str(), &old) == 0 && S_ISREG(old.st_mode) &&
        ::fchmod(temporary.fd(), old.st_mode & 07777) != 0) {
        return fail("cannot set the mode of");
    }
    if (!writeAll(temporary.fd(), bytes)) return fail("cannot write " + systemText(errno) + ":");
    if (::fsync(temporary.fd()) != 0) return fail("cannot flush " + systemText(errno) + ":");
    if (!temporary.close()) return fail("cannot close " + systemText(errno) + ":");
    return std::monostate{};
}

}  // namespace

FileResult<> writeFileAtomically(const std::filesystem::path& file,
                                 std::span<const std::uint8_t> bytes,
                                 std::string_view failureMessage) {
    // Through a link the file it leads to is replaced, and the link stays. Same
    // folder, so the rename never crosses file systems.
    const fs::path target = resolvedSaveTarget(file);
    struct stat old {};
    SaveTemporary temporary(target, ::stat(target.c_str(), &old) == 0 && S_ISREG(old.st_mode));
    if (auto written = writeTemporary(temporary, bytes, target, true, failureMessage); !written) {
        return written;
    }
    if (::rename(temporary.path().c_str(), target.c_str()) != 0) {
        return FileError{std::string(failureMessage),
                         "cannot rename to " + target.string() + ": " + systemText(errno)};
    }
    temporary.markPlaced();
    flushFolder(target);
    return std::monostate{};
}

namespace {

// 0, or the error of making `file` new with `bytes`, flushed to the disk.
int createInPlace(const fs::path& file, std::span<const std::uint8_t> bytes) {
    OpenFile made(::open(file.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666));
    if (made.fd() < 0) return errno;
    if (!writeAll(made.fd(), bytes) || ::fsync(made.fd()) != 0) {
        const int error = errno;
        ::unlink(file.c_str());
        return error != 0 ? error : EIO;
    }
    return made.close() ? 0 : errno;
}

}  // namespace

bool isNameFree(const std::filesystem::path& file) {
    struct stat entry {};
    return ::lstat(file.c_str(), &entry) != 0 && errno == ENOENT;
}

FileResult<> createFileAtomically(const std::filesystem::path& file,
                                  std::span<const std::uint8_t> bytes,
                                  std::string_view failureMessage) {
    SaveTemporary temporary(file, false);
    if (auto written = writeTemporary(temporary, bytes, file, false, failureMessage); !written) {
        return written;
    }
    // Neither call replaces or follows whatever is at the name, a dangling link
    // included. The link of the temporary is for file systems that cannot rename
    // without replacing.
    int error = 0;
    if (::renameat2(AT_FDCWD, temporary.path().c_str(), AT_FDCWD, file.c_str(), RENAME_NOREPLACE) ==
        0) {
        temporary.markPlaced();
    } else if (errno == EINVAL || errno == ENOSYS) {
        if (::link(temporary.path().c_str(), file.c_str()) != 0) error = errno;
        // A file system without links either (a FAT stick): the file is made new
        // in place, which still never follows or replaces what is at the name.
        if (error == EPERM || error == EOPNOTSUPP) error = createInPlace(file, bytes);
    } else {
        error = errno;
    }
    if (error != 0) {
        return FileError{std::string(failureMessage),
                         "cannot create " + file.string() + ": " + systemText(error)};
    }
    flushFolder(file);
    return std::monostate{};
}

}  // namespace dyno
