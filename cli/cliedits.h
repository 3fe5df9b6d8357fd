#pragma once

#include "cli/clioptions.h"

class IMessageSink;
class SmithChrt;

/// Applies the command line's edits to doc in their fixed order: frequency (bound impedances
/// follow it), band (or band off), unbinding the data, Z0, start, goal, losses (--lossless, the
/// defaults, the parts' own), MatchMe, filter. The data of --start-data and --goal-data is bound
/// before (CCliRun reads the files). An impedance set by
/// --start, --goal or a wizard replaces its data, with a message. A wizard value outside its
/// dialog's range, MatchMe without a value for a bound impedance, or unbinding an impedance
/// whose data has no value reports the reason and gives false, with the edits before it applied.
bool ApplyCliEdits(const CliOptions& o, SmithChrt& doc, IMessageSink& messages);
