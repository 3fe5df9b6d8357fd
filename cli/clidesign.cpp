#include "cli/clidesign.h"

#include "cli/clitext.h"
#include "design/bodefano.h"
#include "design/optimiser.h"
#include "design/standardvalues.h"
#include "model/smithchrt.h"

#include <algorithm>

namespace {

std::string Field(const char* key, const std::string& json) {
    return JsonString(key) + ": " + json;
}

std::string Join(const std::vector<std::string>& fields, const char* separator) {
    std::string out;
    for (const std::string& f : fields) {
        out += out.empty() ? "" : separator;
        out += f;
    }
    return out;
}

void Install(SmithChrt& doc, const std::vector<Component>& network) {
    std::copy(network.begin(), network.end(), doc.components.begin());
}

} // namespace

CliDesignOutcome ApplyCliDesign(const CliOptions& o, SmithChrt& doc) {
    CliDesignOutcome outcome;
    if (!o.optimise && !o.snapSeries) {
        return outcome;
    }
    const char* option = o.optimise ? "--optimize" : "--snap";
    OptimiseSettings settings;
    if (o.optimise) {
        settings.objective =
            o.optimise->objective == "gain" ? OptimiseObjective::Gain : OptimiseObjective::Vswr;
        settings.seed = o.optimise->seed;
        for (int32_t i : o.optimise->components) {
            settings.components.push_back(i - 1);
        }
    }
    OptimiseResult optimised;
    if (o.optimise) {
        optimised = OptimiseNetwork(doc, settings);
    } else {
        // Snapping alone: the checks the optimiser makes, with nothing tuned.
        settings.components = {};
        optimised.network.assign(doc.components.begin(),
                                 doc.components.begin() +
                                     std::clamp(doc.componentCount, 0, MAX_COMPONENTS));
        if (optimised.network.empty()) {
            optimised.problem = OptimiseProblem::EmptyNetwork;
        } else {
            optimised.before = NetworkObjective(doc, settings.objective);
            optimised.after = optimised.before;
            if (std::isnan(optimised.before)) {
                optimised.problem = OptimiseProblem::NoData;
            }
        }
    }
    if (optimised.problem != OptimiseProblem::None) {
        outcome.error = std::string(option) + ": " + OptimiseProblemText(optimised.problem);
        return outcome;
    }
    Install(doc, optimised.network);

    std::string snapped = "null";
    std::string afterSnap = "null";
    int32_t evaluations = optimised.evaluations;
    if (o.snapSeries) {
        // Snapping serves the objective the optimiser took.
        const SnapResult s =
            SnapToStandard(doc, *FindStandardSeries(*o.snapSeries), settings.objective);
        Install(doc, s.network);
        snapped = JsonString(*o.snapSeries);
        afterSnap = JsonNumber(s.after);
        evaluations += s.evaluations;
    }
    std::vector<std::string> components;
    for (int32_t i : optimised.components) {
        components.push_back(std::to_string(i + 1));
    }
    outcome.json = "{\n    " +
                   Join({Field("objective", JsonString(OptimiseObjectiveName(settings.objective))),
                         Field("components", "[" + Join(components, ", ") + "]"),
                         Field("before", JsonNumber(optimised.before)),
                         Field("after", JsonNumber(optimised.after)),
                         Field("evaluations", std::to_string(evaluations)),
                         Field("milliseconds", JsonNumber(optimised.milliseconds)),
                         Field("seed", o.optimise ? std::to_string(o.optimise->seed) : "null"),
                         Field("snapped", snapped), Field("afterSnap", afterSnap),
                         Field("pointsWithoutData", std::to_string(optimised.pointsWithoutData))},
                        ",\n    ") +
                   "\n  }";
    return outcome;
}

std::string BodeFanoJson(const SmithChrt& doc) {
    const std::optional<BodeFanoLimit> limit = DocumentBodeFano(doc);
    if (!limit) {
        return "null";
    }
    const bool capacitive = limit->fit.model == TerminationModel::SeriesRC ||
                            limit->fit.model == TerminationModel::ParallelRC;
    return "{" +
           Join({Field("termination", JsonString(limit->fromStart ? "start" : "goal")),
                 Field("model", JsonString(TerminationModelName(limit->fit.model))),
                 Field("r", JsonNumber(limit->fit.r)),
                 Field(capacitive ? "c" : "l", JsonNumber(limit->fit.reactive)),
                 Field("fitError", JsonNumber(limit->fit.relativeError)),
                 Field("minReflection", JsonNumber(limit->minReflection)),
                 Field("minVswr", JsonNumber(limit->minVswr)),
                 Field("maxReturnLossDb", JsonNumber(limit->maxReturnLossDb))},
                ", ") +
           "}";
}
