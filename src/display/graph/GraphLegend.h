#pragma once

#include <QString>
#include <array>

#include "display/graph/DisplaySelection.h"
#include "model/SessionModel.h"

class QPainter;

namespace dyno {

class TextLayouts;

using SlotSelections = std::array<DisplaySelection, kSessionSlots>;

// Fills the legend box: "Maxhp" (or "Maxkw") and "Corr.f." headings, then for each
// slot with a legend line its maximum power and correction factor in the slot's
// colour. Returns the texts of the four remark lines under the graph: the first
// remark of each slot with a legend line, empty for the others.
std::array<QString, kSessionSlots> drawLegend(QPainter& legend, TextLayouts& texts,
                                              const SessionModel& model,
                                              const SlotSelections& selections, bool powerInKw);

}  // namespace dyno
