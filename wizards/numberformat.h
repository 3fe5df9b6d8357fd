#pragma once

#include <string>

// Number texts in the C library's printf forms, independent of the process locale.

/// "%.15g": up to 15 significant digits, as the dialogs show numbers and range bounds.
std::string FormatG15(double v);
/// "%W.Pf": fixed notation with precision digits, padded on the left with blanks to width.
std::string FormatFixed(double v, int width, int precision);
