#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// How the dialogs read and check a typed field, with the texts they show, so that the dialogs
// and the command-line tool accept the same values and refuse the others with the same words.

inline constexpr const char* kEnterNumberMessage = "Please enter a number.";
inline constexpr const char* kEnterIntegerMessage = "Please enter an integer.";

/// Allowed values of a number field, both ends included.
struct NumberRange {
    double min;
    double max;
    /// NaN is outside every range.
    constexpr bool Contains(double v) const { return min <= v && v <= max; }
};

/// Allowed values of an integer field, both ends included.
struct IntegerRange {
    int32_t min;
    int32_t max;
    constexpr bool Contains(int32_t v) const { return min <= v && v <= max; }
};

/// "Please enter a number between %1 and %2." with the bounds as "%.15g".
std::string RangeMessage(NumberRange r);
/// "Please enter an integer between %1 and %2." with the bounds as decimal integers.
std::string RangeMessage(IntegerRange r);
/// "Please enter no more than %1 characters."
std::string TextLengthMessage(int maxLength);

/// Reads a typed number field as the dialogs do on OK: the longest leading number (ScanNumber),
/// then the range check. Returns the message that refuses the text; value is set only when
/// there is none.
std::optional<std::string> ReadNumberField(std::string_view text, NumberRange range, double& value);
/// The same for an integer field (ScanInteger).
std::optional<std::string> ReadIntegerField(std::string_view text, IntegerRange range,
                                            int32_t& value);

/// The first field of a dialog that fails its check: its 0-based position in the dialog's
/// exchange order (the field to focus) and the message to show.
struct FieldError {
    int32_t field = 0;
    std::string message;
    friend bool operator==(const FieldError&, const FieldError&) = default;
};

/// The range check of one field: nothing when v lies in r, else the field and r's message.
std::optional<FieldError> CheckField(int32_t field, double v, NumberRange r);
std::optional<FieldError> CheckField(int32_t field, int32_t v, IntegerRange r);
