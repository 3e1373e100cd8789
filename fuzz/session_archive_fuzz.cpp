// The archive reader over arbitrary files: libzip's view of damaged, cut and foreign
// archives, then the record reader over whatever member comes out.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <span>

#include "files/SessionArchive.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static auto slot = std::make_unique<dyno::TestSession>();
    const auto member = dyno::readSessionMemberFromImage(std::span(data, size));
    if (!member) {
        if (member.error().message != dyno::kCannotReadZipfile) std::abort();
        return 0;
    }
    if (member.value().size() > dyno::kSessionRecordSize) std::abort();
    dyno::decodeSessionRecord(member.value(), *slot);
    return 0;
}
