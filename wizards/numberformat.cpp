#include "numberformat.h"

#include <array>
#include <charconv>

namespace {

// Large enough for any double in fixed notation with the precisions used here.
using Buffer = std::array<char, 400>;

std::string Padded(std::string text, int width) {
    if (width > 0 && text.size() < static_cast<size_t>(width)) {
        text.insert(0, static_cast<size_t>(width) - text.size(), ' ');
    }
    return text;
}

} // namespace

std::string FormatG15(double v) {
    Buffer buf;
    const auto res =
        std::to_chars(buf.data(), buf.data() + buf.size(), v, std::chars_format::general, 15);
    return std::string(buf.data(), res.ptr);
}

std::string FormatFixed(double v, int width, int precision) {
    Buffer buf;
    const auto res =
        std::to_chars(buf.data(), buf.data() + buf.size(), v, std::chars_format::fixed, precision);
    if (res.ec != std::errc()) {
        return Padded("", width);
    }
    return Padded(std::string(buf.data(), res.ptr), width);
}
