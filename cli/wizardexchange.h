#pragma once

#include "cli/clioptions.h"
#include "design/filterwizard.h"
#include "design/matchmewizard.h"
#include "model/fieldrange.h"

#include <optional>

class SmithChrt;

// The wizard dialogs' save step for values typed on the command line: fields are read and
// checked in the dialog's order by the dialogs' own ReadNumberField and ReadIntegerField, and
// the first failure gives the dialog's message.

/// The MatchMe dialog opened on doc, with the section count and topology of the request entered.
std::optional<FieldError> ExchangeMatchMe(const MatchMeRequest& request, const SmithChrt& doc,
                                          MatchMeInput& input);

/// The filter dialog with every field of the request entered.
std::optional<FieldError> ExchangeFilter(const FilterRequest& request, FilterInput& input);
