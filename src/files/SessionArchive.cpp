#include "files/SessionArchive.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zip.h>

#include <cerrno>
#include <cstring>
#include <optional>

#include <fstream>
#include <iterator>
#include <string>
#include <system_error>

#include "files/AtomicFileWrite.h"
#include "files/SaveTarget.h"

namespace dyno {

namespace {

const std::string kMember(kSessionMemberName);
constexpr zip_uint32_t kDeflateLevel = 1;

std::string zipErrorText(int code) {
    zip_error_t error;
    zip_error_init_with_code(&error, code);
    std::string text = zip_error_strerror(&error);
    zip_error_fini(&error);
    return text;
}

FileError cannotReadZipfile(std::string detail) {
    return FileError{kCannotReadZipfile, std::move(detail)};
}

FileResult<zip_stat_t> statMember(zip_t* archive) {
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_stat(archive, kMember.c_str(), 0, &stat) != 0) {
        return cannotReadZipfile("no member " + kMember);
    }
    return stat;
}

SessionMemberFingerprint fingerprintOf(const zip_stat_t& stat) {
    SessionMemberFingerprint fingerprint;
    if (stat.valid & ZIP_STAT_CRC) fingerprint.crc = stat.crc;
    if (stat.valid & ZIP_STAT_SIZE) fingerprint.size = stat.size;
    return fingerprint;
}

// Reads the member of an open archive; the caller closes the archive.
FileResult<std::vector<std::uint8_t>> readMember(zip_t* archive, std::size_t limit) {
    auto found = statMember(archive);
    if (!found) return found.error();
    const zip_stat_t& stat = found.value();
    zip_file_t* member = zip_fopen(archive, kMember.c_str(), 0);
    if (member == nullptr) return cannotReadZipfile(zip_strerror(archive));

    std::vector<std::uint8_t> bytes(limit);
    std::size_t got = 0;
    while (got < limit) {
        const zip_int64_t n = zip_fread(member, bytes.data() + got, limit - got);
        if (n < 0) {
            FileError error = cannotReadZipfile(zip_file_strerror(member));
            zip_fclose(member);
            return error;
        }
        if (n == 0) break;
        got += static_cast<std::size_t>(n);
    }
    // libzip checks the CRC when the data end; a member that ends exactly at the
    // limit has to be read to its end once more for that check to run.
    const bool endsWithinLimit = (stat.valid & ZIP_STAT_SIZE) && stat.size <= limit;
    if (got == limit && endsWithinLimit) {
        std::uint8_t probe = 0;
        if (zip_fread(member, &probe, 1) < 0) {
            FileError error = cannotReadZipfile(zip_file_strerror(member));
            zip_fclose(member);
            return error;
        }
    }
    zip_fclose(member);
    bytes.resize(got);
    return bytes;
}

bool deleteSessionMembers(zip_t* zip) {
    const zip_int64_t count = zip_get_num_entries(zip, 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        const auto index = static_cast<zip_uint64_t>(i);
        const char* name = zip_get_name(zip, index, 0);
        if (name != nullptr && kMember == name && zip_delete(zip, index) != 0) return false;
    }
    return true;
}

// Larger than any archive of a session (its record is 108404 bytes before
// compression): such a file is refused rather than read into memory three times.
constexpr std::uintmax_t kLargestOldArchive = 64u << 20;

// The archive a save replaces, as it is on disk; nothing when there is none yet.
// Only a plain file is read, judged on the file opened (not on its name, which can
// change in between): a FIFO at the name would hold the save for ever, so the open
// does not wait for a writer.
FileResult<std::vector<std::uint8_t>> oldArchiveBytes(const std::filesystem::path& target) {
    const int fd = ::open(target.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT) return std::vector<std::uint8_t>{};
        return FileError{kCannotSaveFile,
                         "cannot read " + target.string() + ": " + std::strerror(errno)};
    }
    struct stat status {};
    std::vector<std::uint8_t> bytes;
    std::optional<FileError> refused;
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        refused = FileError{kCannotSaveFile, target.string() + " is not a file"};
    } else if (static_cast<std::uintmax_t>(status.st_size) > kLargestOldArchive) {
        refused =
            FileError{kCannotSaveFile, target.string() + " is too large for a session archive"};
    } else {
        bytes.resize(static_cast<std::size_t>(status.st_size));
        std::size_t got = 0;
        while (got < bytes.size()) {
            const ssize_t n = ::read(fd, bytes.data() + got, bytes.size() - got);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) break;
            got += static_cast<std::size_t>(n);
        }
        if (got != bytes.size())
            refused = FileError{kCannotSaveFile, "cannot read " + target.string()};
    }
    ::close(fd);
    if (refused) return *refused;
    return bytes;
}

// The bytes an archive holds after it was closed into a memory source.
FileResult<std::vector<std::uint8_t>> bytesOf(zip_source_t* source) {
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_source_stat(source, &stat) != 0 || (stat.valid & ZIP_STAT_SIZE) == 0 ||
        zip_source_open(source) != 0) {
        return FileError{kCannotSaveFile, zip_error_strerror(zip_source_error(source))};
    }
    std::vector<std::uint8_t> bytes(stat.size);
    const zip_int64_t got = zip_source_read(source, bytes.data(), bytes.size());
    zip_source_close(source);
    if (got != static_cast<zip_int64_t>(bytes.size())) {
        return FileError{kCannotSaveFile, "the new archive could not be read back"};
    }
    return bytes;
}

}  // namespace

bool hasSessionArchiveName(const std::filesystem::path& file) {
    return file.filename().string().find(kSessionArchiveMark) != std::string::npos;
}

std::filesystem::path sessionArchiveName(const std::filesystem::path& chosen) {
    std::string name = chosen.filename().string();
    if (const auto mark = name.find(kSessionArchiveMark); mark != std::string::npos) {
        name.resize(mark);
    }
    name += kSessionArchiveMark;
    return chosen.parent_path() / name;
}

bool mustConfirmOverwrite(const std::filesystem::path& chosen,
                          const std::filesystem::path& archive) {
    std::error_code ignored;
    return archive != chosen && std::filesystem::exists(archive, ignored);
}

namespace {

FileResult<> saveSessionArchiveOrThrow(const std::filesystem::path& archive,
                                       const TestSession& session1, const SavedAirData& air) {
    const std::vector<std::uint8_t> record = encodeSessionRecord(session1, air);

    // Through a link the archive it leads to is updated, and the link stays.
    const std::filesystem::path target = resolvedSaveTarget(archive);
    removeStaleSaveTemporaries(target.parent_path());
    // The new archive is made in memory from the old one and written as the settings
    // files are: to a temporary of its own, flushed to the disk, then renamed.
    auto old = oldArchiveBytes(target);
    if (!old) return old.error();
    zip_error_t openError;
    zip_error_init(&openError);
    zip_source_t* memory = zip_source_buffer_create(
        old.value().empty() ? nullptr : old.value().data(), old.value().size(), 0, &openError);
    if (memory == nullptr) {
        FileError error{kCannotSaveFile, zip_error_strerror(&openError)};
        zip_error_fini(&openError);
        return error;
    }
    // An empty file (made by `touch`, or a copy cut short) holds no archive to keep.
    const int flags = old.value().empty() ? ZIP_CREATE | ZIP_TRUNCATE : ZIP_CREATE;
    zip_t* zip = zip_open_from_source(memory, flags, &openError);
    if (zip == nullptr) {
        FileError error{kCannotSaveFile, zip_error_strerror(&openError)};
        zip_error_fini(&openError);
        zip_source_free(memory);
        return error;
    }
    zip_error_fini(&openError);
    // The archive owns the source now; kept past zip_close, which writes the new
    // archive into it.
    zip_source_keep(memory);
    const auto fail = [&](FileError error) -> FileResult<> {
        zip_discard(zip);
        zip_source_free(memory);
        return error;
    };

    // The buffer stays ours (freep = 0) and lives until zip_close has written it.
    zip_source_t* source = zip_source_buffer(zip, record.data(), record.size(), 0);
    if (source == nullptr) return fail(FileError{kCannotSaveFile, zip_strerror(zip)});
    // The old member is deleted and a new one added rather than overwritten in place:
    // libzip keeps a replaced member's compression level at its default (the slowest)
    // when the method stays deflate.
    // Every member of that name goes: another tool may have added a second one, and
    // a reader that takes the first would otherwise find an old copy.
    const zip_int64_t index =
        deleteSessionMembers(zip) ? zip_file_add(zip, kMember.c_str(), source, 0) : -1;
    if (index < 0) {
        FileError error{kCannotSaveFile, zip_strerror(zip)};
        zip_source_free(source);
        return fail(error);
    }
    // Plain deflate, so any zip tool opens the archive, at the fastest level: the
    // sample data compress hardly better at the slowest, which takes five times as
    // long.
    if (zip_set_file_compression(zip, static_cast<zip_uint64_t>(index), ZIP_CM_DEFLATE,
                                 kDeflateLevel) != 0 ||
        zip_close(zip) != 0) {
        return fail(FileError{kCannotSaveFile, zip_strerror(zip)});
    }
    auto bytes = bytesOf(memory);
    zip_source_free(memory);
    if (!bytes) return bytes.error();
    return writeFileAtomically(target, bytes.value(), kCannotSaveFile);
}

}  // namespace

FileResult<> saveSessionArchive(const std::filesystem::path& archive, const TestSession& session1,
                                const SavedAirData& air) {
    // A save that cannot get its memory fails as a save, and slot 1 stays in the
    // window to be saved elsewhere.
    try {
        return saveSessionArchiveOrThrow(archive, session1, air);
    } catch (const std::exception& error) {
        return FileError{kCannotSaveFile, error.what()};
    }
}

FileResult<std::vector<std::uint8_t>> readSessionMember(const std::filesystem::path& archive,
                                                        std::size_t limit) {
    int openError = 0;
    zip_t* zip = zip_open(archive.c_str(), ZIP_RDONLY, &openError);
    if (zip == nullptr) return cannotReadZipfile(zipErrorText(openError));
    auto result = readMember(zip, limit);
    zip_discard(zip);
    return result;
}

FileResult<SessionMemberImage> readSessionMemberImage(const std::filesystem::path& archive,
                                                      std::size_t limit) {
    int openError = 0;
    zip_t* zip = zip_open(archive.c_str(), ZIP_RDONLY, &openError);
    if (zip == nullptr) return cannotReadZipfile(zipErrorText(openError));
    auto found = statMember(zip);
    auto bytes = readMember(zip, limit);
    zip_discard(zip);
    if (!found) return found.error();
    if (!bytes) return bytes.error();
    return SessionMemberImage{std::move(bytes.value()), fingerprintOf(found.value())};
}

FileResult<SessionMemberFingerprint> readSessionMemberFingerprint(
    const std::filesystem::path& archive) {
    int openError = 0;
    zip_t* zip = zip_open(archive.c_str(), ZIP_RDONLY, &openError);
    if (zip == nullptr) return cannotReadZipfile(zipErrorText(openError));
    auto found = statMember(zip);
    zip_discard(zip);
    if (!found) return found.error();
    return fingerprintOf(found.value());
}

FileResult<std::vector<std::uint8_t>> readSessionMemberFromImage(
    std::span<const std::uint8_t> archiveImage, std::size_t limit) {
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source =
        zip_source_buffer_create(archiveImage.data(), archiveImage.size(), 0, &error);
    if (source == nullptr) {
        std::string detail = zip_error_strerror(&error);
        zip_error_fini(&error);
        return cannotReadZipfile(std::move(detail));
    }
    zip_t* zip = zip_open_from_source(source, ZIP_RDONLY, &error);
    if (zip == nullptr) {
        std::string detail = zip_error_strerror(&error);
        zip_error_fini(&error);
        zip_source_free(source);
        return cannotReadZipfile(std::move(detail));
    }
    zip_error_fini(&error);
    auto result = readMember(zip, limit);
    zip_discard(zip);  // frees the source as well
    return result;
}

}  // namespace dyno
