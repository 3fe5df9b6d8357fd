#include "fieldrange.h"

#include "numberformat.h"

std::string RangeMessage(NumberRange r) {
    return "Please enter a number between " + FormatG15(r.min) + " and " + FormatG15(r.max) + ".";
}

std::string RangeMessage(IntegerRange r) {
    return "Please enter an integer between " + std::to_string(r.min) + " and " +
           std::to_string(r.max) + ".";
}

std::optional<FieldError> CheckField(int32_t field, double v, NumberRange r) {
    if (r.Contains(v)) {
        return std::nullopt;
    }
    return FieldError{field, RangeMessage(r)};
}

std::optional<FieldError> CheckField(int32_t field, int32_t v, IntegerRange r) {
    if (r.Contains(v)) {
        return std::nullopt;
    }
    return FieldError{field, RangeMessage(r)};
}
