#include "display/analog/AnalogCursor.h"

#include "display/GraphPalette.h"
#include "model/TextNumbers.h"

namespace dyno {

std::vector<ReadoutField> readAnalogCursor(const AnalogView& view, const SessionModel& model,
                                           int x) {
    std::vector<ReadoutField> fields;
    for (int s = 1; s <= kSessionSlots; ++s) {
        const auto index = static_cast<std::size_t>(s - 1);
        const int item = view.runItem[index];
        if (item < 1 || item > kRunsPerSession) continue;
        const int run = item - 1;
        const int y = 10 + 20 * (s - 1);
        const QColor colour = graph::powerColour(s);
        ReadoutField speed{5, y, 11, colour, {}};
        ReadoutField engineSpeed{50, y, 13, colour, {}};
        const long long k = static_cast<long long>(x) + view.slotShift[index] + view.scrollOffset;
        if (k >= 0 && k < kSamplesPerRun) {
            const TestSession& session = model.slot(s);
            const double kmh = session.curves.speedCurve[static_cast<std::size_t>(k)];
            speed.text = QString::fromStdString(formatFixed(kmh, 1));
            engineSpeed.text =
                view.fixedGearing
                    ? QString::fromStdString(formatFixed(kmh * session.values.rpmPer100(run), 0))
                    : QString::number(
                          session.rpmSamples[static_cast<std::size_t>(run * kSamplesPerRun + k)]);
        }
        fields.push_back(speed);
        fields.push_back(engineSpeed);
    }
    return fields;
}

}  // namespace dyno
