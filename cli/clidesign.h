#pragma once

#include "cli/clioptions.h"

#include <optional>
#include <string>

class SmithChrt;

/// What --optimize and --snap did, for the JSON's "optimization".
struct CliDesignOutcome {
    /// The reason the run must stop with a usage error, or empty.
    std::string error;
    /// The "optimization" object's JSON, or nullopt when neither option was given.
    std::optional<std::string> json;
};

/// Applies --optimize then --snap to doc (after the edits); the snapping serves the optimiser's
/// objective. An empty network, no judged point with data (for the gain, none with resistive
/// terminations) or a component list beyond the network are errors.
CliDesignOutcome ApplyCliDesign(const CliOptions& o, SmithChrt& doc);

/// The JSON of band.bodeFano for doc: null, or the limit of its termination bound to data.
std::string BodeFanoJson(const SmithChrt& doc);
