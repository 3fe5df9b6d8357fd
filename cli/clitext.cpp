#include "cli/clitext.h"

#include "model/numbertext.h"
#include "model/textcodec.h"

#include <cmath>
#include <cstdio>

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
