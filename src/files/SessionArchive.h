#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string_view>
#include <vector>

#include "files/FileResult.h"
#include "files/SavedAirData.h"
#include "files/SessionRecordCodec.h"
#include "model/TestSession.h"

namespace dyno {

// A session archive: a standard zip file whose name carries ".zsd", holding the
// session record as the member "vkrzip.diz". Other members are left alone.
inline constexpr std::string_view kSessionMemberName = "vkrzip.diz";
inline constexpr std::string_view kSessionArchiveMark = ".zsd";

// Whether the file name (not the folders above it) contains ".zsd", case-sensitive.
// Only such files are opened as archives; RUN.ZSD is a plain file.
bool hasSessionArchiveName(const std::filesystem::path& file);

// The archive a save writes for the name chosen in the save dialog: the file name is
// cut at its first ".zsd" and ".zsd" is appended (run and run.zsd.old give run.zsd,
// test.ZSD gives test.ZSD.zsd). Folders are kept as chosen, so a folder named
// runs.zsd.old does not redirect the save.
std::filesystem::path sessionArchiveName(const std::filesystem::path& chosen);

// The save dialog asked about the chosen name only; when the rule above gives another
// name and a file of that name exists, the user must be asked again before the save
// replaces the member inside it.
bool mustConfirmOverwrite(const std::filesystem::path& chosen,
                          const std::filesystem::path& archive);

// Writes the record of `session1` with the Param. page's air data as the member
// "vkrzip.diz" of `archive` (deflated), creating the archive or replacing the member.
// The new archive is made in memory and written as writeFileAtomically() writes, so a
// failed save leaves the old archive as it was. Fails with "Cannot save file".
FileResult<> saveSessionArchive(const std::filesystem::path& archive, const TestSession& session1,
                                const SavedAirData& air);

// The first `limit` bytes of the member "vkrzip.diz", extracted into memory. A longer
// (or endlessly compressing) member is read only that far. Fails with "Cannot read
// zipfile" when the archive or the member cannot be opened or its data are damaged.
FileResult<std::vector<std::uint8_t>> readSessionMember(const std::filesystem::path& archive,
                                                        std::size_t limit = kSessionRecordSize);

// What the archive's directory records about the member: its CRC-32 and length. A
// fingerprint of the content that costs no inflating; a full read checks the data
// against it.
struct SessionMemberFingerprint {
    std::uint32_t crc = 0;
    std::uint64_t size = 0;
    friend bool operator==(const SessionMemberFingerprint&,
                           const SessionMemberFingerprint&) = default;
};

// The member's first `limit` bytes with the fingerprint read through the same open
// archive, so both describe one version of a file that is being replaced.
struct SessionMemberImage {
    std::vector<std::uint8_t> bytes;
    SessionMemberFingerprint fingerprint;
};
FileResult<SessionMemberImage> readSessionMemberImage(const std::filesystem::path& archive,
                                                      std::size_t limit = kSessionRecordSize);

// Only the fingerprint, from the archive's directory. Fails as readSessionMember.
FileResult<SessionMemberFingerprint> readSessionMemberFingerprint(
    const std::filesystem::path& archive);

// The same for an archive held in memory.
FileResult<std::vector<std::uint8_t>> readSessionMemberFromImage(
    std::span<const std::uint8_t> archiveImage, std::size_t limit = kSessionRecordSize);

}  // namespace dyno
