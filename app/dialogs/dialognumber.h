#pragma once

#include <QString>

#include <cstdint>

/// At most this many characters of an edit are scanned for a number.
inline constexpr int kMaxScanChars = 400;

/// A number as the dialogs show it: "%.*g" with 15 significant digits, C rules whatever the locale.
QString FormatDialogNumber(double value);

/// An integer as the dialogs show it: "%d".
QString FormatDialogInteger(int32_t value);

/// Reads a number like scanf "%lf" in the C locale: leading blanks are skipped, the longest prefix
/// that forms a number is taken and the rest is ignored. Only the first kMaxScanChars characters
/// are looked at. Returns false (and leaves value alone) when no number starts the text.
bool ScanDialogNumber(const QString& text, double& value);

/// Reads a decimal integer the same way: blanks, an optional sign, then at least one digit.
/// Values beyond the 32-bit range are clamped to its nearest end.
bool ScanDialogInteger(const QString& text, int32_t& value);
