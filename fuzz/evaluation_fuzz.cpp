// Evaluates a run made of arbitrary bytes, as a damaged or foreign session file
// could present it: any header words, roller weight, correction factor and roller
// periods, with any display options. The evaluation must finish without touching
// memory outside the model, and keep its promises about the curve ranges.
//
// Input layout (missing bytes read as 0):
//   0..5    dynoModel, electronicsType, rollerCode (little-endian int16)
//   6..13   rollerWeight (double)      14..21  correctionFactor (double)
//   22..29  typed roller weight (double)
//   30      options: bit 0 mph, 1 kW, 2 rpm curve, 3 typed roller weight
//   31      slot (1..4) and run (0..2) chosen from this byte
//   32..    roller periods of the run (little-endian int32), then of the next run

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "evaluation/RunEvaluation.h"

namespace {

class ByteReader {
  public:
    ByteReader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    std::uint8_t byte() { return pos_ < size_ ? data_[pos_++] : 0; }

    // Little-endian, up to eight bytes.
    template <typename T>
    T value() {
        static_assert(sizeof(T) <= sizeof(std::uint64_t));
        std::uint64_t raw = 0;
        for (std::size_t i = 0; i < sizeof(T); ++i) raw |= std::uint64_t{byte()} << (8 * i);
        T result;
        std::memcpy(&result, &raw, sizeof(T));
        return result;
    }

    bool atEnd() const { return pos_ >= size_; }

  private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
};

void require(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace dyno;
    // Made once, like the program's model: state left by one input meets the next.
    static const auto model = SessionModel::create();
    static const auto workspace = EvaluationWorkspace::create();

    ByteReader in(data, size);
    SessionHeader header;
    header.words[SessionHeader::kDynoModel] = in.value<std::int16_t>();
    header.words[SessionHeader::kElectronicsType] = in.value<std::int16_t>();
    header.words[SessionHeader::kRollerCode] = in.value<std::int16_t>();
    const double rollerWeight = in.value<double>();
    const double correctionFactor = in.value<double>();
    EvaluationOptions options;
    options.typedRollerWeightKg = in.value<double>();
    const std::uint8_t flags = in.byte();
    options.speedInMph = (flags & 1) != 0;
    options.powerInKw = (flags & 2) != 0;
    options.rpmCurveShown = (flags & 4) != 0;
    options.useTypedRollerWeight = (flags & 8) != 0;
    const std::uint8_t choice = in.byte();
    const int slot = 1 + choice % kSessionSlots;
    const int run = (choice / kSessionSlots) % kRunsPerSession;

    TestSession& session = model->slot(slot);
    session.header = header;
    session.values.values[SessionValues::kRollerWeight] = rollerWeight;
    session.correctionFactor = correctionFactor;
    const std::size_t first = static_cast<std::size_t>(run) * kSamplesPerRun;
    std::size_t written = 0;
    for (std::size_t i = first; i < session.rollerPeriods.size() && !in.atEnd(); ++i, ++written) {
        session.rollerPeriods[i] = in.value<std::int32_t>();
        session.rpmSamples[i] = static_cast<std::int32_t>(written * 37);
    }
    if (first + written < session.rollerPeriods.size()) session.rollerPeriods[first + written] = 0;

    const EvaluationReport report = evaluate(*model, slot, run, options, *workspace);

    const int points = report.evalCount;
    require(points >= 0 && points <= kMaxEvaluatedPeriods - 1);
    require(points == 0 || workspace->evalCount() == points);
    const auto& curves = session.curves;
    for (int i = 0; i < kSamplesPerRun; ++i) {
        const auto k = static_cast<std::size_t>(i);
        if (i >= points) require(curves.speedCurve[k] == 0.0);
        if (i >= points - 1) {
            require(curves.powerCurve[k] == 0.0);
            require(curves.torqueCurve[k] == 0.0);
            require(curves.rpmCurve[k] == 0.0);
        }
    }
    return 0;
}
