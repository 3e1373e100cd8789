#pragma once

#include <optional>
#include <vector>

#include "display/graph/GraphScale.h"
#include "model/TestSession.h"
#include "print/ReportGeometry.h"
#include "print/ReportInputs.h"

// The texts under the graph: the "Measured by" line and one block per printed
// session, blocks 11 line units apart.
namespace dyno {

// "SAE J1349 corr.f.", "DIN corr.f.", ... for a session's correction standard.
QString correctionLabel(int correctionStandard);

// "Measured by <company> tel.<phone> on the VKR Korvalis."
QString measuredByText(const PrintSettings& print);

// That line, below the frame, when the owner name is printed.
std::optional<PageText> ownerLine(const ReportGeometry& page, const PrintSettings& print);

// Make, model and owner, up to `remarkLines` remark lines, the maxima and the
// correction of the session in slot 1..4.
std::vector<PageText> sessionBlockTexts(const ReportGeometry& page, int slot,
                                        const TestSession& session, int remarkLines,
                                        const GraphFlags& flags, bool torqueInFtLbs);

}  // namespace dyno
