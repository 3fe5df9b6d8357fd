#pragma once

#include "design/wizardmessages.h"
#include "model/complex.h"
#include "model/component.h"
#include "model/fieldrange.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class IMessageSink;
class SmithChrt;

// The MatchMe wizard: a matching network of N lumped L-sections or quarter-wave lines that
// carries the starting impedance to the goal at the analysis frequency.

enum : int32_t {
    TOPO_LOWPASS = 0,
    TOPO_HIGHPASS = 1,
    TOPO_QUARTER_WAVE = 2,
};

inline constexpr IntegerRange kSectionCountRange{1, 10};
inline constexpr NumberRange kMatchResistanceRange{1e-15, 1e15};
inline constexpr NumberRange kMatchReactanceRange{-1e15, 1e15};

inline constexpr const char* kMatchExampleMessage =
    "no need to match!!, I'm gonna give you an example instead!!";
inline constexpr const char* kMatchTopologyMessage = "MatchMe shouldn't have gotten here!";

/// The fields of the MatchMe dialog, in its exchange order. The defaults are the values the
/// dialog opens with on a new document; MatchMeInputFor gives those of any document.
struct MatchMeInput {
    int32_t sectionCount = 1;
    int32_t topology = TOPO_LOWPASS; ///< radio index; the dialog does not check it
    double startR = 50.0;
    double startX = 0.0;
    double goalR = 50.0;
    double goalX = 0.0;
};

/// Positions of the fields in the dialog's exchange order, as FieldError::field.
enum : int32_t {
    MATCH_FIELD_SECTIONS = 0,
    MATCH_FIELD_TOPOLOGY = 1,
    MATCH_FIELD_START_R = 2,
    MATCH_FIELD_START_X = 3,
    MATCH_FIELD_GOAL_R = 4,
    MATCH_FIELD_GOAL_X = 5,
};

/// The values the dialog opens with: one low-pass section between the document's impedances.
MatchMeInput MatchMeInputFor(const SmithChrt& doc);

/// The dialog's range checks in field order; the first failure, or nothing when all pass.
std::optional<FieldError> ValidateMatchMe(const MatchMeInput& in);

/// Working values of one section, which carries rLow to rHigh.
struct MatchMeSection {
    double rLow = 0.0;
    double rHigh = 0.0;
    double q = 0.0;
    double a = 0.0;       ///< 1 + 1/q^2
    double seriesL = 0.0; ///< nH
    double shuntC = 0.0;  ///< pF
    double seriesC = 0.0; ///< pF
    double shuntL = 0.0;  ///< nH
    double lineZ0 = 0.0;  ///< ohm
};

/// What one accepted run does to the document. ApplyMatchMe carries it out in this order:
/// VSWR circles on; startZ = enteredStartZ and goalZ; exampleMessage; startZ (the stored tenth
/// in the example case); Q arcs on; network emptied; additions appended with AddComponent, with
/// topologyMessage shown before additions[topologyMessageAt]; the network reversed when reversed.
struct MatchMeResult {
    std::optional<FieldError> error; ///< input refused: nothing below is set, nothing is applied
    Complex enteredStartZ;
    std::optional<std::string> exampleMessage;
    Complex startZ;
    Complex goalZ;
    bool reversed = false;      ///< the start resistance is the higher one
    std::vector<double> ladder; ///< R[1] .. R[N+1], from the lower resistance to the higher
    std::vector<MatchMeSection> sections;
    std::optional<Component> startFix;
    std::optional<Component> goalFix;
    std::vector<Component> additions; ///< in AddComponent order, from the low-resistance end
    std::optional<std::string> topologyMessage;
    size_t topologyMessageAt = 0;

    /// The messages the run raises, in order (a refused add would add "problem adding component").
    std::vector<std::string> Messages() const;
};

/// Synthesises the network for the dialog's values at the analysis frequency (MHz).
MatchMeResult DesignMatchMe(const MatchMeInput& in, double frequencyMHz);

/// Carries the result out on the document, reporting its messages to sink (may be null).
/// Returns the number of components added; the caller marks the document modified for them.
/// A result with an error reports the error message and changes nothing.
int32_t ApplyMatchMe(SmithChrt& doc, const MatchMeResult& r, IMessageSink* sink);

/// DesignMatchMe at the document's frequency, then ApplyMatchMe.
int32_t RunMatchMe(SmithChrt& doc, const MatchMeInput& in, IMessageSink* sink);
