#pragma once

#include <string>

/// printf-style formatting by the rules of the C locale, whatever locale the program runs in.
/// Non-finite numbers come out as C printf writes them: "inf", "-inf", "nan", "-nan".
std::string CFormat(const char* format, ...) __attribute__((format(printf, 1, 2)));
