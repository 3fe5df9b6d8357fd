#include "dialognumber.h"

#include <QByteArray>

#include <algorithm>
#include <clocale>
#include <cstdio>
#include <limits>
#include <locale.h>

namespace {

// The C locale for this thread while it lives, so that the user's decimal comma never applies.
class ScopedCLocale {
public:
    ScopedCLocale() : previous(uselocale(CLocale())) {}
    ~ScopedCLocale() { uselocale(previous); }
    ScopedCLocale(const ScopedCLocale&) = delete;
    ScopedCLocale& operator=(const ScopedCLocale&) = delete;

private:
    static locale_t CLocale() {
        static const locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
        return c != static_cast<locale_t>(nullptr) ? c : LC_GLOBAL_LOCALE;
    }

    locale_t previous;
};

bool IsCBlank(QChar c) {
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\v' || c == u'\f' || c == u'\r';
}

} // namespace

QString FormatDialogNumber(double value) {
    char buffer[64];
    {
        ScopedCLocale c;
        std::snprintf(buffer, sizeof buffer, "%.*g", 15, value);
    }
    return QString::fromLatin1(buffer);
}

QString FormatDialogInteger(int32_t value) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%d", static_cast<int>(value));
    return QString::fromLatin1(buffer);
}

bool ScanDialogNumber(const QString& text, double& value) {
    const QByteArray bytes = text.left(kMaxScanChars).toUtf8();
    double scanned = 0.0;
    int count = 0;
    {
        ScopedCLocale c;
        count = std::sscanf(bytes.constData(), "%lf", &scanned);
    }
    if (count != 1) {
        return false;
    }
    value = scanned;
    return true;
}

bool ScanDialogInteger(const QString& text, int32_t& value) {
    const QString head = text.left(kMaxScanChars);
    qsizetype i = 0;
    while (i < head.size() && IsCBlank(head[i])) {
        ++i;
    }
    bool negative = false;
    if (i < head.size() && (head[i] == u'+' || head[i] == u'-')) {
        negative = head[i] == u'-';
        ++i;
    }
    const qsizetype firstDigit = i;
    constexpr int64_t kLimit = int64_t{std::numeric_limits<int32_t>::max()} + 1;
    int64_t magnitude = 0;
    while (i < head.size() && head[i] >= u'0' && head[i] <= u'9') {
        magnitude = std::min<int64_t>(magnitude * 10 + (head[i].unicode() - u'0'), kLimit);
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
