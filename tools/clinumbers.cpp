#include "clinumbers.h"

#include "textcodec.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace {

// from_chars takes no plus sign; a single leading one is allowed before a digit or point.
std::string_view WithoutPlus(std::string_view text) {
    if (text.size() > 1 && text[0] == '+' && text[1] != '-' && text[1] != '+') {
        text.remove_prefix(1);
    }
    return text;
}

} // namespace

std::optional<double> ParseNumber(std::string_view text) {
    text = WithoutPlus(text);
    double v = 0;
    const char* end = text.data() + text.size();
    const auto res = std::from_chars(text.data(), end, v, std::chars_format::general);
    if (text.empty() || res.ec != std::errc() || res.ptr != end) {
        return std::nullopt;
    }
    return v;
}

std::optional<int64_t> ParseInteger(std::string_view text) {
    text = WithoutPlus(text);
    int64_t v = 0;
    const char* end = text.data() + text.size();
    const auto res = std::from_chars(text.data(), end, v, 10);
    if (text.empty() || res.ec != std::errc() || res.ptr != end) {
        return std::nullopt;
    }
    return v;
}

std::string FormatExact(double v) {
    if (std::isnan(v)) {
        return "nan";
    }
    if (std::isinf(v)) {
        return v > 0 ? "inf" : "-inf";
    }
    std::array<char, 64> buf;
    const auto res =
        std::to_chars(buf.data(), buf.data() + buf.size(), v, std::chars_format::general, 17);
    return std::string(buf.data(), res.ptr);
}

std::string JsonNumber(double v) {
    const std::string text = FormatExact(v);
    return std::isfinite(v) ? text : "\"" + text + "\"";
}

std::string JsonString(std::string_view utf8) {
    const std::string clean = EncodeUtf8(DecodeUtf8(utf8));
    std::string out = "\"";
    for (const char ch : clean) {
        const auto b = static_cast<unsigned char>(ch);
        if (ch == '"' || ch == '\\') {
            out += '\\';
            out += ch;
        } else if (ch == '\n') {
            out += "\\n";
        } else if (ch == '\r') {
            out += "\\r";
        } else if (ch == '\t') {
            out += "\\t";
        } else if (b < 0x20 || b == 0x7F) {
            char esc[8];
            std::snprintf(esc, sizeof esc, "\\u%04x", b);
            out += esc;
        } else {
            out += ch;
        }
    }
    return out + "\"";
}

std::vector<std::string> SplitFields(std::string_view text, char separator) {
    std::vector<std::string> parts;
    size_t from = 0;
    for (;;) {
        const size_t at = text.find(separator, from);
        if (at == std::string_view::npos) {
            parts.emplace_back(text.substr(from));
            return parts;
        }
        parts.emplace_back(text.substr(from, at - from));
        from = at + 1;
    }
}
