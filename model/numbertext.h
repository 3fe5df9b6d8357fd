#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The program's numbers as text, written and read by the rules of the C locale whatever locale
// the program runs in: the readout, the dialogs, the wizards and the command-line tool all go
// through these.

/// printf-style formatting. Non-finite numbers come out as C printf writes them: "inf", "-inf",
/// "nan", "-nan".
std::string CFormat(const char* format, ...) __attribute__((format(printf, 1, 2)));

/// "%.15g": up to 15 significant digits, as the dialogs show numbers and range bounds.
std::string FormatG15(double v);
/// "%W.Pf": fixed notation with precision digits, padded on the left with blanks to width.
std::string FormatFixed(double v, int width, int precision);
/// "%.Pf" for numbers of ordinary size (zero, and 0.001 up to but not including 1e9 in size,
/// and the non-finite ones), which then read exactly as before; "%.7g" for the others, so that
/// a huge or tiny number never runs to hundreds of digits ("1e+300" rather than 301 digits,
/// "2.5e-06" rather than "0.000").
std::string FormatBounded(double v, int precision);
/// "%.17g", with "nan", "inf" and "-inf" for the non-finite numbers: reads back to the same
/// double.
std::string FormatExact(double v);

/// The shortest text that reads back to the same double (as std::to_chars writes it).
std::string FormatShortest(double v);

/// At most this many characters of a typed text are scanned for a number.
inline constexpr size_t kMaxScanChars = 400;

/// Reads a number like scanf "%lf": leading blanks are skipped, the longest prefix that forms a
/// number is taken and the rest is ignored. Only the first kMaxScanChars characters are looked
/// at. Returns false (and leaves value alone) when no number starts the text.
bool ScanNumber(std::string_view text, double& value);
/// Reads a decimal integer the same way: blanks, an optional sign, then at least one digit.
/// Values beyond the 32-bit range are clamped to its nearest end.
bool ScanInteger(std::string_view text, int32_t& value);

/// The whole text as a decimal number (an optional sign, digits, point, exponent; also "inf"
/// and "nan"); nothing when any part of it is not.
std::optional<double> ParseNumber(std::string_view text);
/// The whole text as a decimal integer; nothing when it is not one or lies outside int64.
std::optional<int64_t> ParseInteger(std::string_view text);
