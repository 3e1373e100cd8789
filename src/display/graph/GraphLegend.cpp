#include "display/graph/GraphLegend.h"

#include <QPainter>

#include "display/GraphPalette.h"
#include "evaluation/CorrectionApply.h"
#include "model/Cp1252.h"
#include "model/TextNumbers.h"

namespace dyno {

std::array<QString, kSessionSlots> drawLegend(QPainter& legend, TextLayouts& texts,
                                              const SessionModel& model,
                                              const SlotSelections& selections, bool powerInKw) {
    legend.fillRect(QRect(0, 0, 133, 97), graph::buttonFace());
    legend.setFont(graph::labelFont());
    legend.setPen(Qt::black);
    graph::drawTextAt(legend, texts, 0, 0,
                      powerInKw ? QStringLiteral("Maxkw") : QStringLiteral("Maxhp"));
    graph::drawTextAt(legend, texts, 90, 0, QStringLiteral("Corr.f."));

    std::array<QString, kSessionSlots> remarks;
    for (int s = 1; s <= kSessionSlots; ++s) {
        const auto index = static_cast<std::size_t>(s - 1);
        if (!selections[index].legendShown) continue;
        const TestSession& session = model.slot(s);
        const int y = 20 + 16 * (s - 1);
        legend.setPen(graph::legendColour(s));
        graph::drawTextAt(
            legend, texts, 0, y,
            QString::fromStdString(fromWindows1252(session.curves.maxPowerText.view())));
        graph::drawTextAt(
            legend, texts, 80, y,
            QString::fromStdString(formatFixed(factorInForce(session.correctionFactor), 3)));
        remarks[index] = QString::fromStdString(fromWindows1252(session.remarkLine1.view()));
    }
    return remarks;
}

}  // namespace dyno
