// dynotool correction: the Param. page's "Use correction factor" for scripts.
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "cli/commands/Commands.h"
#include "cli/options/Arguments.h"
#include "cli/options/CorrectionArguments.h"
#include "cli/output/Json.h"
#include "evaluation/CorrectionApply.h"
#include "evaluation/CorrectionSources.h"
#include "evaluation/CorrectionStandard.h"
#include "model/MessageSink.h"
#include "model/TextNumbers.h"

namespace dyno::cli {

int runCorrection(const std::vector<std::string>& words, std::ostream& out, std::ostream& err) {
    const Arguments arguments(words, {"temperature", "pressure", "humidity", "standard"},
                              {"fahrenheit", "inch-hg"});
    if (!arguments.operands().empty()) {
        throw UsageError("unexpected argument '" + arguments.operands().front() + "'");
    }
    for (const char* name : {"temperature", "pressure", "humidity"}) arguments.required(name);
    const AirConditions typed{*arguments.number("temperature"), *arguments.number("pressure"),
                              *arguments.number("humidity")};
    const CorrectionStandard standard = standardArgument(arguments.required("standard"));
    const AirUnitOptions units{arguments.flag("fahrenheit"), arguments.flag("inch-hg")};

    const CorrectionResult result = correctionFromTypedAir(typed, units, standard);
    StreamMessageSink messages(err);
    reportCorrection(result, messages);
    out << JsonObject()
               .add("factor", result.factor)
               .add("text", result.correctionText)
               .add("outOfLimits", result.isOutOfLimits)
               .str()
        << "\n";
    return 0;
}

}  // namespace dyno::cli
