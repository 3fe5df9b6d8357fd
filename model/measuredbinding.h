#pragma once

#include "model/complex.h"
#include "model/matchfigures.h"
#include "model/measureddata.h"

#include <memory>
#include <string>
#include <vector>

class SmithChrt;
struct BandSettings;

// Measured loads: the starting impedance, the goal impedance, or both, bound to one-port data.
// While an end is bound its impedance (startZ or goalZ) holds the data's value at the analysis
// frequency, and NaN (both parts) where the data has no value: outside its frequency range there
// is no number to give. The data holds what a load is; the goal bound to it is the conjugate of
// that impedance, the impedance the network must end in for a conjugate match, and the match
// figures against it are those of the power-wave reflection (what the generator's port really
// sees through a lossless network). A typed goal is compared plainly, as it always was. The data is
// stored with the document (trailer records "SDAT", "GDAT").

/// The two impedances that data can be bound to.
enum class LoadEnd { Start, Goal };

/// The data bound to an end, or null.
const std::shared_ptr<const MeasuredData>& BoundData(const SmithChrt& chart, LoadEnd end);

/// The data's value at frequency (MHz), or NaN in both parts where it has none.
Complex MeasuredValueOrNaN(const MeasuredData& data, double frequency);

/// The value an end bound to data takes at frequency (MHz): the data's impedance for the start,
/// its conjugate for the goal; NaN in both parts where the data has none.
Complex BoundValueAt(const MeasuredData& data, LoadEnd end, double frequency);

/// How the chart's ending impedance is compared with its goal: by the power-wave reflection while
/// the goal is bound to data, plainly otherwise.
MatchReflection GoalReflection(const SmithChrt& chart);

/// The match figures of endZ against the chart's goal, compared as GoalReflection says.
MatchFigures ChartMatch(const SmithChrt& chart, Complex endZ);

/// True when the data's range holds frequency (MHz), ends included.
bool HasValueAt(const MeasuredData& data, double frequency);

/// The most points one end can be bound to: both ends' records then fit the document trailer.
inline constexpr std::size_t kMaxBoundPoints = 500000;

/// Empty when data can be bound, otherwise why not (too many points for the document).
std::string CheckBindable(const MeasuredData& data);

/// Binds data to an end; its impedance takes the data's value at the analysis frequency.
void BindMeasuredData(SmithChrt& chart, LoadEnd end, std::shared_ptr<const MeasuredData> data);

/// Each bound impedance takes its data's value at the analysis frequency. Called after anything
/// that may have changed the frequency (every view command, the command line's edits, each row of
/// a sweep, reading a document); harmless at any other time.
void RefreshBoundImpedances(SmithChrt& chart);

/// True when an end is bound but its impedance has no value at the analysis frequency.
bool HasNoValueNow(const SmithChrt& chart, LoadEnd end);

/// True when an end is bound and has no value now, or its data holds an ideal open there (no
/// finite impedance, which a wizard, a netlist or a typed impedance cannot take).
bool HasNoFiniteValueNow(const SmithChrt& chart, LoadEnd end);

/// Unbinds an end; the impedance keeps its current value. Refused (false, nothing changed) while
/// that value is not finite (the data has none at the analysis frequency, or holds an ideal
/// open there): an unbound impedance must be a number. An end that is not bound gives true.
bool UnbindMeasuredData(SmithChrt& chart, LoadEnd end);

/// Unbinds every bound end whose impedance is no longer its data's value at the analysis
/// frequency (the user typed another, a wizard set one) and returns the ends unbound. A value
/// within 1e-12 (relative) of the data's is the data's own, written into a dialog's field and read
/// back. Call it after the edit and before any change of the frequency in the same command; the
/// next RefreshBoundImpedances gives an end kept bound its exact value again.
std::vector<LoadEnd> UnbindEditedEnds(SmithChrt& chart);

/// The ends whose impedance an edit has set to something other than their data's value, as
/// UnbindEditedEnds would unbind them; nothing is changed.
std::vector<LoadEnd> EditedEnds(const SmithChrt& chart);

/// Gives a bound end its data's value again, undoing an edit that is not to unbind it.
void RestoreBoundValue(SmithChrt& chart, LoadEnd end);

/// What a dialog shows beside a bound impedance: "From data: dipole.s1p" for the start,
/// "Conjugate of data: amp.s1p" for the goal; empty for an end that is not bound.
std::string BoundNote(const SmithChrt& chart, LoadEnd end);

/// The question asked before an edit unbinds an end: OK unbinds, Cancel keeps the data.
std::string UnbindQuestion(LoadEnd end, const std::string& dataName);

/// Why a bound impedance has no (finite) value now, for example "the starting impedance's data
/// (dipole.s1p) has no value at 1200 MHz: it covers 100 to 1000 MHz".
std::string NoValueMessage(const SmithChrt& chart, LoadEnd end);

/// "starting" or "goal".
const char* LoadEndWord(LoadEnd end);

/// The message shown when an edit has unbound an end.
std::string UnboundByEditMessage(LoadEnd end, const std::string& dataName);

/// The locus of the data on the chart: the data's own points with frequencies inside the band
/// and its interpolated values at the band's ends, when the band display is on; otherwise every
/// point of the data. Empty when the band and the data do not overlap.
std::vector<Complex> MeasuredLocus(const MeasuredData& data, const BandSettings& band);

/// The lowest and highest reference impedance of the data's points (ohm).
struct ReferenceSpan {
    double low = 0.0;
    double high = 0.0;
};
ReferenceSpan ReferencesOf(const MeasuredData& data);
