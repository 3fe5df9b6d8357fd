#pragma once

#include <optional>
#include <string>
#include <utility>

/// Gives the current local date and time as the title line shows it.
class IDateTimeText {
public:
    virtual ~IDateTimeText() = default;
    /// The date together with the time, or nothing when it cannot be formatted.
    virtual std::optional<std::string> Now() = 0;
};

/// A fixed text, for tests and reproducible renderings.
class FixedDateTimeText : public IDateTimeText {
public:
    explicit FixedDateTimeText(std::optional<std::string> text) : text(std::move(text)) {}
    std::optional<std::string> Now() override { return text; }
    std::optional<std::string> text;
};
