#pragma once

#include <string>
#include <string_view>
#include <vector>

// Texts of the command line and of the tool's outputs; the numbers in them are written and read
// by numbertext.h.

/// A JSON value: FormatExact for a finite number, the quoted text otherwise.
std::string JsonNumber(double v);
/// A JSON string literal of UTF-8 text; invalid bytes become U+FFFD.
std::string JsonString(std::string_view utf8);

/// The parts of text between the separators (one part more than there are separators).
std::vector<std::string> SplitFields(std::string_view text, char separator);
