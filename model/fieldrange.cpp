#include "model/fieldrange.h"

#include "model/numbertext.h"

std::string RangeMessage(NumberRange r) {
    return "Please enter a number between " + FormatG15(r.min) + " and " + FormatG15(r.max) + ".";
}

std::string RangeMessage(IntegerRange r) {
    return "Please enter an integer between " + std::to_string(r.min) + " and " +
           std::to_string(r.max) + ".";
}

std::string TextLengthMessage(int maxLength) {
    return "Please enter no more than " + std::to_string(maxLength) + " characters.";
}

namespace {

template <class T, class Range>
std::optional<std::string> ReadField(std::string_view text, Range range, T& value,
                                     bool (*scan)(std::string_view, T&), const char* unreadable) {
    T scanned{};
    if (!scan(text, scanned)) {
        return unreadable;
    }
    if (!range.Contains(scanned)) {
        return RangeMessage(range);
    }
    value = scanned;
    return std::nullopt;
}

} // namespace

std::optional<std::string> ReadNumberField(std::string_view text, NumberRange range,
                                           double& value) {
    return ReadField(text, range, value, ScanNumber, kEnterNumberMessage);
}

std::optional<std::string> ReadIntegerField(std::string_view text, IntegerRange range,
                                            int32_t& value) {
    return ReadField(text, range, value, ScanInteger, kEnterIntegerMessage);
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
