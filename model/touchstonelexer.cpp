#include "model/touchstonelexer.h"

#include "model/asciitext.h"
#include "model/numbertext.h"
#include "model/touchstone.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <optional>

namespace touchstone {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\v' || c == '\f';
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) {
        s.remove_prefix(1);
    }
    while (!s.empty() && IsBlank(s.back())) {
        s.remove_suffix(1);
    }
    return s;
}

/// Lower case with runs of blanks made one space, for comparing keywords and options.
std::string Simplified(std::string_view s) {
    std::string out;
    for (char c : Trim(s)) {
        if (IsBlank(c)) {
            if (out.back() != ' ') {
                out += ' ';
            }
        } else {
            out += AsciiLowerChar(c);
        }
    }
    return out;
}

bool StartsWithNoCase(std::string_view s, std::string_view prefix) {
    if (s.size() < prefix.size()) {
        return false;
    }
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (AsciiLowerChar(s[i]) != prefix[i]) {
            return false;
        }
    }
    return true;
}

/// The blank-separated words of a line; '!' also separates when bangs is set.
std::vector<std::string_view> Words(std::string_view s, bool bangs) {
    std::vector<std::string_view> words;
    std::size_t i = 0;
    auto separates = [bangs](char c) { return IsBlank(c) || (bangs && c == '!'); };
    while (i < s.size()) {
        while (i < s.size() && separates(s[i])) {
            ++i;
        }
        const std::size_t start = i;
        while (i < s.size() && !separates(s[i])) {
            ++i;
        }
        if (i > start) {
            words.push_back(s.substr(start, i - start));
        }
    }
    return words;
}

/// A word as the user should see it in a message: quoted, shortened, printable.
std::string Quote(std::string_view word) {
    constexpr std::size_t kLongest = 24;
    std::string out = "'";
    for (std::size_t i = 0; i < word.size() && i < kLongest; ++i) {
        const unsigned char c = static_cast<unsigned char>(word[i]);
        out += (c >= 0x20 && c < 0x7f) ? static_cast<char>(c) : '?';
    }
    if (word.size() > kLongest) {
        out += "...";
    }
    return out + "'";
}

std::string NumberText(double v) {
    return FormatShortest(v);
}

/// A finite decimal number; one '+' may stand before it (also before a '-', as files have it).
bool ParseNumber(std::string_view word, double& value) {
    if (!word.empty() && word.front() == '+') {
        word.remove_prefix(1);
        if (!word.empty() && word.front() == '+') {
            return false;
        }
    }
    const std::optional<double> v = ::ParseNumber(word);
    if (!v || !std::isfinite(*v)) {
        return false;
    }
    value = *v;
    return true;
}

/// A whole number, without a sign or with '-'.
bool ParseInteger(std::string_view word, long long& value) {
    if (!word.empty() && word.front() == '+') {
        return false;
    }
    const std::optional<int64_t> v = ::ParseInteger(word);
    if (!v) {
        return false;
    }
    value = *v;
    return true;
}

/// The number of ports the name's extension states (.s2p, .z1p, ...); 0 when it states none.
int PortsFromName(std::string_view name) {
    const std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos) {
        return 0;
    }
    const std::string ext = Simplified(name.substr(dot + 1));
    if (ext.size() < 3 || std::strchr("syzgh", ext.front()) == nullptr || ext.back() != 'p') {
        return 0;
    }
    long long n = 0;
    if (!ParseInteger(std::string_view(ext).substr(1, ext.size() - 2), n) || n < 1 ||
        n > kTouchstoneMaxPorts) {
        return 0;
    }
    return static_cast<int>(n);
}

/// "1 port", "2 ports".
std::string Plural(std::size_t n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

} // namespace touchstone
