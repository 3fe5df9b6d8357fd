#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Number texts of the command line and of the tool's outputs, by the C rules whatever the
// locale.

/// The whole text as a decimal number (an optional sign, digits, point, exponent; also "inf"
/// and "nan"); nothing when any part of it is not.
std::optional<double> ParseNumber(std::string_view text);
/// The whole text as a decimal integer; nothing when it is not one or lies outside int64.
std::optional<int64_t> ParseInteger(std::string_view text);

/// "%.17g", with "nan", "inf" and "-inf" for the non-finite numbers.
std::string FormatExact(double v);
/// A JSON value: FormatExact for a finite number, the quoted text otherwise.
std::string JsonNumber(double v);
/// A JSON string literal of UTF-8 text; invalid bytes become U+FFFD.
std::string JsonString(std::string_view utf8);

/// The parts of text between the separators (one part more than there are separators).
std::vector<std::string> SplitFields(std::string_view text, char separator);
