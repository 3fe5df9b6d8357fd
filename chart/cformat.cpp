#include "cformat.h"

#include <clocale>
#include <cstdarg>
#include <cstdio>
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
