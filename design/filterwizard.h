#pragma once

#include "design/wizardmessages.h"
#include "model/component.h"
#include "model/fieldrange.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class IMessageSink;
class SmithChrt;

// The filter synthesis wizard: an odd-order equal-ripple low-pass or high-pass ladder between
// two terminations of the design resistance Ro.

enum : int32_t {
    FILTER_LOWPASS = 0,
    FILTER_HIGHPASS = 1,
};

enum : int32_t {
    FIRST_SHUNT = 0,
    FIRST_SERIES = 1,
};

inline constexpr NumberRange kCutoffRange{1e-15, 1e15};
inline constexpr NumberRange kRippleRange{0.0001, 10};
inline constexpr IntegerRange kOrderRange{3, 15};
inline constexpr NumberRange kRoRange{1e-15, 1e15};

inline constexpr const char* kOrderRaisedMessage =
    "N was not Odd, I've increased the order to the nearest odd number";

/// The fields of the filter dialog, in its exchange order. The defaults are the values the
/// dialog opens with on a new document; FilterInputFor gives those of any document.
struct FilterInput {
    double cutoffMHz = 1000.0;
    double rippleDb = 0.1;
    int32_t order = 3;
    double ro = 50.0;
    int32_t filterType = FILTER_LOWPASS; ///< radio index; any value but 0 builds a high-pass
    int32_t firstElement = FIRST_SHUNT;  ///< radio index
};

/// Positions of the fields in the dialog's exchange order, as FieldError::field.
enum : int32_t {
    FILTER_FIELD_CUTOFF = 0,
    FILTER_FIELD_RIPPLE = 1,
    FILTER_FIELD_ORDER = 2,
    FILTER_FIELD_RO = 3,
    FILTER_FIELD_TYPE = 4,
    FILTER_FIELD_FIRST = 5,
};

/// The values the dialog opens with: cutoff at the analysis frequency, Ro the chart's Z0.
FilterInput FilterInputFor(const SmithChrt& doc);

/// The dialog's range checks in field order; the first failure, or nothing when all pass.
std::optional<FieldError> ValidateFilter(const FilterInput& in);

/// Low-pass prototype values g[1] .. g[N] (1 ohm, 1 rad/s) of the equal-ripple response.
/// Empty for an order outside 1 .. 16.
std::vector<double> ChebyshevPrototype(double rippleDb, int32_t order);

/// The document title of a synthesised filter.
std::string FilterTitle(int32_t filterType, double cutoffMHz, int32_t order, double rippleDb,
                        double ro);

/// What one accepted run does to the document. ApplyFilter carries it out in this order:
/// VSWR circles on and network emptied; orderMessage; chartZ0.re, startZ and goalZ = ro;
/// title; components appended with AddComponent from the generator side.
struct FilterResult {
    std::optional<FieldError> error; ///< input refused: nothing below is set, nothing is applied
    int32_t order = 0;               ///< N, raised to odd
    std::optional<std::string> orderMessage;
    double ro = 0.0;
    std::string title;
    std::vector<double> g;
    std::vector<Component> components;

    /// The messages the run raises, in order (a refused add would add "problem adding component").
    std::vector<std::string> Messages() const;
};

/// Synthesises the filter for the dialog's values.
FilterResult DesignFilter(const FilterInput& in);

/// Carries the result out on the document, reporting its messages to sink (may be null).
/// Returns the number of components added; the caller marks the document modified for them.
/// A result with an error reports the error message and changes nothing.
int32_t ApplyFilter(SmithChrt& doc, const FilterResult& r, IMessageSink* sink);

/// DesignFilter, then ApplyFilter.
int32_t RunFilter(SmithChrt& doc, const FilterInput& in, IMessageSink* sink);
