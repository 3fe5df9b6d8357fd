#include "app/dialogs/textlimitvalidator.h"

#include <algorithm>

CTextLimitValidator::CTextLimitValidator(int limit, QObject* parent)
    : QValidator(parent), limit(limit) {}

QValidator::State CTextLimitValidator::validate(QString& input, int& pos) const {
    const qsizetype allowed = std::max<qsizetype>(limit, currentLength);
    const qsizetype excess = input.size() - allowed;
    if (excess <= 0) {
        return Acceptable;
    }
    // The characters just typed or pasted stand before the cursor: drop the ones that do not fit.
    const qsizetype cut = std::min<qsizetype>(excess, pos);
    input.remove(pos - cut, cut);
    pos -= static_cast<int>(cut);
    return input.size() > allowed ? Invalid : Acceptable;
}
