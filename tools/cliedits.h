#pragma once

#include "clioptions.h"

class IMessageSink;
class SmithChrt;

/// Applies the command line's edits to doc in their fixed order: frequency, band (or band off),
/// Z0, start, goal, MatchMe, filter. A wizard value outside its dialog's range reports the dialog's
/// message and gives false, with the edits before it applied.
bool ApplyCliEdits(const CliOptions& o, SmithChrt& doc, IMessageSink& messages);
