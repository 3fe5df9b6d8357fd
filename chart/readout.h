#pragma once

#include "model/complex.h"
#include "model/component.h"

#include <string>

class SmithChrt;

/// The readout's lines and the marker labels, formatted by C printf rules.
namespace readout {

/// "+j" for a zero or positive imaginary part, "-j" for a negative one.
const char* SignText(double im);
/// "Title:   %60s      %s"; the field counts characters of the UTF-8 title, not bytes.
std::string TitleLine(const std::string& title, const std::string& dateTime);
std::string SettingsLine(const SmithChrt& sc);
/// The starting line; while the starting impedance is bound to data that has no value at the
/// analysis frequency, "Starting [Generator]: no data at %.3f MHz" in its place.
std::string StartingLine(const SmithChrt& sc);
/// "%s: no data at %.3f MHz": the line in place of a bound impedance's line where its data has
/// no value.
std::string NoDataLine(const char* name, double frequency);
/// The word of a placement, or nullptr for a placement outside 1 to 5.
const char* PlacementWord(int32_t placement);
/// The description of a component of known kind with element impedance ze at f MHz.
std::string ComponentDescription(const Component& c, Complex ze, double f);
std::string EndingLine(const SmithChrt& sc);
/// The goal line; "Goal [Load]: no data at %.3f MHz" as for the starting line.
std::string GoalLine(const SmithChrt& sc);
std::string MatchLine(Complex endZ, Complex goalZ);
/// The match line of sc's ending impedance against its goal. With no data bound exactly
/// MatchLine(endZ, goalZ); while data is bound the figures are ChartMatch's and a figure that is
/// not a number gets words: " Match: no data at %.3f MHz" where an end has no value, "perfect
/// match" for a return loss of kPerfectMatchDb or more.
std::string MatchLine(const SmithChrt& sc);
std::string QLine(double maxNetworkQ);
/// The line that follows the closing lines while a loss is set: the network's dissipation loss
/// and transducer gain at the analysis frequency, "Loss in parts=%4.2fdB, GT=%4.2fdB".
std::string LossLine(const SmithChrt& sc);
std::string MarkerLabel(const SmithChrt& sc, Complex z);

/// Shown in the title line when the date and time cannot be formatted.
inline constexpr const char* kInvalidDateTime = "Invalid DateTime";

} // namespace readout

namespace readout {
/// Writes one readout line at the text cursor and moves the cursor down by lineHeight.
void WriteLine(SmithChrt& sc, const std::string& text);
} // namespace readout
