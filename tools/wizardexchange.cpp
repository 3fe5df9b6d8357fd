#include "wizardexchange.h"

#include "clinumbers.h"

#include <algorithm>
#include <cstdint>
#include <string>

namespace {

// An integer field: one that is not a whole number is refused; one beyond int32 is kept at
// the nearest int32, which fails every range check of these dialogs.
bool ReadInteger(const std::string& text, int32_t& value) {
    const std::optional<int64_t> v = ParseInteger(text);
    if (!v) {
        return false;
    }
    value = static_cast<int32_t>(std::clamp<int64_t>(*v, INT32_MIN, INT32_MAX));
    return true;
}

bool ReadNumber(const std::string& text, double& value) {
    const std::optional<double> v = ParseNumber(text);
    if (v) {
        value = *v;
    }
    return v.has_value();
}

} // namespace

std::optional<FieldError> ExchangeMatchMe(const MatchMeRequest& request, const SmithChrt& doc,
                                          MatchMeInput& input) {
    input = MatchMeInputFor(doc);
    if (!ReadInteger(request.sections, input.sectionCount)) {
        return FieldError{MATCH_FIELD_SECTIONS, kEnterIntegerMessage};
    }
    input.topology = request.topology;
    return ValidateMatchMe(input);
}

std::optional<FieldError> ExchangeFilter(const FilterRequest& request, FilterInput& input) {
    // Fields that cannot be read keep the (valid) defaults, so that the range check reports only
    // a field before the first unreadable one.
    input = FilterInput{};
    std::optional<FieldError> unreadable;
    if (!ReadNumber(request.cutoff, input.cutoffMHz)) {
        unreadable = FieldError{FILTER_FIELD_CUTOFF, kEnterNumberMessage};
    } else if (!ReadNumber(request.ripple, input.rippleDb)) {
        unreadable = FieldError{FILTER_FIELD_RIPPLE, kEnterNumberMessage};
    } else if (!ReadInteger(request.order, input.order)) {
        unreadable = FieldError{FILTER_FIELD_ORDER, kEnterIntegerMessage};
    } else if (!ReadNumber(request.ro, input.ro)) {
        unreadable = FieldError{FILTER_FIELD_RO, kEnterNumberMessage};
    }
    input.filterType = request.filterType;
    input.firstElement = request.firstElement;
    const std::optional<FieldError> outOfRange = ValidateFilter(input);
    if (unreadable && (!outOfRange || outOfRange->field > unreadable->field)) {
        return unreadable;
    }
    return outOfRange;
}
