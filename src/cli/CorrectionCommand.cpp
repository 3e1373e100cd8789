// dynotool correction: the Param. page's "Use correction factor" for scripts.
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "cli/Arguments.h"
#include "cli/Commands.h"
#include "cli/CorrectionArguments.h"
#include "cli/Json.h"
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
    // The texts are read as the Param. page reads its boxes: "abc" reads 0.
    const std::string temperature = arguments.required("temperature");
    const std::string pressure = arguments.required("pressure");
    const std::string humidity = arguments.required("humidity");
    CorrectionPageEntries entries;
    entries.temperatureText = temperature;
    entries.pressureText = pressure;
    entries.humidityText = humidity;
    entries.standard = standardArgument(arguments.required("standard"));
    entries.units = AirUnitOptions{arguments.flag("fahrenheit"), arguments.flag("inch-hg")};

    const CorrectionResult result = correctionFromPage(entries);
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
