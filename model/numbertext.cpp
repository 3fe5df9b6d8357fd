#include "model/numbertext.h"

#include <algorithm>
#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <limits>
#include <locale.h>
#include <vector>

namespace {

// The C locale, made once and kept for the life of the program.
locale_t CLocale() {
    static const locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return c;
}

// Switches this thread to the C locale for as long as it lives.
class ScopedCLocale {
public:
    ScopedCLocale() {
        if (CLocale() != static_cast<locale_t>(nullptr)) {
            previous = uselocale(CLocale());
        }
    }
    ~ScopedCLocale() {
        if (previous != static_cast<locale_t>(nullptr)) {
            uselocale(previous);
        }
    }
    ScopedCLocale(const ScopedCLocale&) = delete;
    ScopedCLocale& operator=(const ScopedCLocale&) = delete;

private:
    locale_t previous = static_cast<locale_t>(nullptr);
};

// The blanks scanf skips in the C locale.
bool IsCBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// from_chars takes no plus sign; a single leading one is allowed before a digit or point.
std::string_view WithoutPlus(std::string_view text) {
    if (text.size() > 1 && text[0] == '+' && text[1] != '-' && text[1] != '+') {
        text.remove_prefix(1);
    }
    return text;
}

} // namespace

std::string CFormat(const char* format, ...) {
    const ScopedCLocale cLocale;
    // Room for a line of six numbers written in full (a double has up to 309 digits before the
    // point), so that even such a line is formatted once.
    char small[4096];
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    const int n = std::vsnprintf(small, sizeof small, format, args);
    va_end(args);
    std::string out;
    if (n < 0) {
        va_end(again);
        return out;
    }
    if (static_cast<size_t>(n) < sizeof small) {
        out.assign(small, static_cast<size_t>(n));
    } else {
        std::vector<char> big(static_cast<size_t>(n) + 1);
        std::vsnprintf(big.data(), big.size(), format, again);
        out.assign(big.data(), static_cast<size_t>(n));
    }
    va_end(again);
    return out;
}

std::string FormatG15(double v) {
    return CFormat("%.15g", v);
}

std::string FormatFixed(double v, int width, int precision) {
    return CFormat("%*.*f", width, precision, v);
}

std::string FormatBounded(double v, int precision) {
    const double size = std::fabs(v);
    if (v == 0 || !std::isfinite(v) || (size >= 1e-3 && size < 1e9)) {
        return CFormat("%.*f", precision, v);
    }
    return CFormat("%.7g", v);
}

std::string FormatExact(double v) {
    if (std::isnan(v)) {
        return "nan";
    }
    if (std::isinf(v)) {
        return v > 0 ? "inf" : "-inf";
    }
    return CFormat("%.17g", v);
}

std::string FormatShortest(double v) {
    char buffer[32];
    const auto r = std::to_chars(buffer, buffer + sizeof buffer, v);
    return std::string(buffer, r.ptr);
}

bool ScanNumber(std::string_view text, double& value) {
    const std::string head(text.substr(0, kMaxScanChars));
    double scanned = 0.0;
    int count = 0;
    {
        const ScopedCLocale cLocale;
        count = std::sscanf(head.c_str(), "%lf", &scanned);
    }
    if (count != 1) {
        return false;
    }
    value = scanned;
    return true;
}

bool ScanInteger(std::string_view text, int32_t& value) {
    const std::string_view head = text.substr(0, kMaxScanChars);
    size_t i = 0;
    while (i < head.size() && IsCBlank(head[i])) {
        ++i;
    }
    bool negative = false;
    if (i < head.size() && (head[i] == '+' || head[i] == '-')) {
        negative = head[i] == '-';
        ++i;
    }
    const size_t firstDigit = i;
    constexpr int64_t kLimit = int64_t{std::numeric_limits<int32_t>::max()} + 1;
    int64_t magnitude = 0;
    while (i < head.size() && IsDigit(head[i])) {
        magnitude = std::min<int64_t>(magnitude * 10 + (head[i] - '0'), kLimit);
        ++i;
    }
    if (i == firstDigit) {
        return false;
    }
    const int64_t signedValue = negative ? -magnitude : magnitude;
    value = static_cast<int32_t>(std::clamp<int64_t>(
        signedValue, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
    return true;
}

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
