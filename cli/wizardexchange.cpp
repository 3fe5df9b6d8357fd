#include "cli/wizardexchange.h"

std::optional<FieldError> ExchangeMatchMe(const MatchMeRequest& request, const SmithChrt& doc,
                                          MatchMeInput& input) {
    input = MatchMeInputFor(doc);
    if (auto message = ReadIntegerField(request.sections, kSectionCountRange, input.sectionCount)) {
        return FieldError{MATCH_FIELD_SECTIONS, *message};
    }
    input.topology = request.topology;
    return ValidateMatchMe(input);
}

std::optional<FieldError> ExchangeFilter(const FilterRequest& request, FilterInput& input) {
    input = FilterInput{};
    input.filterType = request.filterType;
    input.firstElement = request.firstElement;
    if (auto message = ReadNumberField(request.cutoff, kCutoffRange, input.cutoffMHz)) {
        return FieldError{FILTER_FIELD_CUTOFF, *message};
    }
    if (auto message = ReadNumberField(request.ripple, kRippleRange, input.rippleDb)) {
        return FieldError{FILTER_FIELD_RIPPLE, *message};
    }
    if (auto message = ReadIntegerField(request.order, kOrderRange, input.order)) {
        return FieldError{FILTER_FIELD_ORDER, *message};
    }
    if (auto message = ReadNumberField(request.ro, kRoRange, input.ro)) {
        return FieldError{FILTER_FIELD_RO, *message};
    }
    return std::nullopt;
}
