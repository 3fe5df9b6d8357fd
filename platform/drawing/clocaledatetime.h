#pragma once

#include "chart/datetimetext.h"

/// The current local date and time as the user's locale writes a date together with a time.
class CLocaleDateTime : public IDateTimeText {
public:
    std::optional<std::string> Now() override;
};
