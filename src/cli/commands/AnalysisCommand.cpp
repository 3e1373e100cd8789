// `dynotool analysis FILE [--run N] [--mph] [--kw] [--roller-weight KG] [--json|--csv]`:
// loads a session archive and analyses its three runs as the Analysis page does:
// each run's coast-down gives the losses and the engine-side power, and the runs
// are compared. Nothing of it is stored in the archive, so any archive, however old,
// is analysed from its samples. Output formats: see cli/output/AnalysisOutput.h.
#include <memory>
#include <ostream>
#include <string>

#include "cli/commands/Commands.h"
#include "cli/options/Arguments.h"
#include "cli/options/EvaluationArguments.h"
#include "cli/options/LoadSessionArgument.h"
#include "cli/output/AnalysisOutput.h"
#include "evaluation/CorrectionApply.h"
#include "evaluation/EvaluationWarnings.h"
#include "evaluation/SessionAnalysis.h"

namespace dyno::cli {

int runAnalysis(const std::vector<std::string>& words, std::ostream& out, std::ostream& err) {
    std::set<std::string> valueOptions = evaluationValueOptions();
    valueOptions.insert("run");
    std::set<std::string> flagOptions = evaluationFlagOptions();
    flagOptions.insert({"json", "csv"});
    const Arguments arguments(words, valueOptions, flagOptions);
    if (arguments.operands().size() != 1) throw UsageError("expects one session archive FILE");
    if (arguments.flag("json") && arguments.flag("csv")) {
        throw UsageError("choose one of --json and --csv");
    }
    const int onlyRun = arguments.integerIn("run", 1, kRunsPerSession, 0) - 1;
    const EvaluationOptions options = evaluationOptionsOf(arguments);

    auto session = std::make_unique<TestSession>();
    if (!loadSessionArgument("analysis", arguments.operands().front(), *session, err)) return 1;
    auto analysis = AnalysisWorkspace::create();
    analyseSession(*session, options, *analysis);

    const AnalysisShown shown{*analysis, options, factorInForce(session->correctionFactor),
                              onlyRun};
    for (int r = 0; r < kRunsPerSession; ++r) {
        if (!shown.shows(r)) continue;
        for (const std::string& warning : warningTexts(analysis->run(r).evaluation.warnings)) {
            err << "dynotool analysis: warning: run " << r + 1 << ": " << warning << "\n";
        }
    }
    if (arguments.flag("json")) {
        printAnalysisJson(shown, out);
    } else if (arguments.flag("csv")) {
        printAnalysisCsv(shown, out);
    } else {
        printAnalysisText(shown, out);
    }
    return 0;
}

}  // namespace dyno::cli
