#include "model/TestSession.h"

#include <algorithm>
#include <cassert>

namespace dyno {

namespace {

template <typename Run, typename Session>
Run runOf(Session& session, int r) {
    assert(r >= 0 && r < kRunsStored);
    const std::size_t first = static_cast<std::size_t>(r) * kSamplesPerRun;
    auto& analog = session.analogSamples[static_cast<std::size_t>(r)];
    return Run{std::span(session.rollerPeriods).subspan(first).template first<kSamplesPerRun>(),
               std::span(session.rpmSamples).subspan(first).template first<kSamplesPerRun>(),
               {std::span(analog[0]), std::span(analog[1]), std::span(analog[2]),
                std::span(analog[3]), std::span(analog[4])}};
}

}  // namespace

TestRun TestSession::run(int r) {
    return runOf<TestRun>(*this, r);
}

ConstTestRun TestSession::run(int r) const {
    return runOf<ConstTestRun>(*this, r);
}

void TestSession::clearForRecording() {
    std::fill_n(rollerPeriods.begin(), kClearedBeforeRecording, 0);
    std::fill_n(rpmSamples.begin(), kClearedBeforeRecording, 0);
}

void TestSession::copyRecordingFrom(const TestSession& source) {
    if (&source == this) return;
    std::copy_n(source.rollerPeriods.begin(), kRecordedSamples, rollerPeriods.begin());
    std::copy_n(source.rpmSamples.begin(), kRecordedSamples, rpmSamples.begin());
    std::copy_n(source.analogSamples.begin(), kRunsPerSession, analogSamples.begin());
    header = source.header;
    values = source.values;
    correctionFactor = source.correctionFactor;
    remarkLine1 = source.remarkLine1;
    remarkLine2 = source.remarkLine2;
    remarkLine3 = source.remarkLine3;
    make = source.make;
    model = source.model;
    owner = source.owner;
}

int TestSession::leadingPeriods(int r, int limit) const {
    const auto periods = run(r).rollerPeriods;
    const int bound = std::clamp(limit, 0, kSamplesPerRun);
    int n = 0;
    while (n < bound && periods[static_cast<std::size_t>(n)] != 0) ++n;
    return n;
}

}  // namespace dyno
