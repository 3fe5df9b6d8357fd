#include "cli/clioptions.h"
#include "cli/clioptiontable.h"

#include "quorbel_config.h"

namespace {

constexpr const char* kUsageHead = R"(quorbel-cli [DOCUMENT.qbl] [OPTION]...
Reads DOCUMENT, or starts from a new document with the new-document defaults, applies the edits in this fixed order whatever their order on the line, then writes the outputs in the order listed.
Edits:
)";

constexpr const char* kUsageTail =
    R"(Without any argument the tool prints this text to stderr and exits with status 2.
Exit status: 0 success; 1 the document or a data file could not be read or written (stderr names the file,
then the window's message text or the Touchstone reader's message); 2 bad usage, --start with --start-data or
--goal with --goal-data, --matchme or --spice or --unbind-data where bound data has no value at the analysis
frequency, a band that is not 0 < F1 < F2 with 2 <= N <= 10001, --plot with the
band display off, or a wizard value outside its dialog's range (the dialog's validation message on stderr).
Messages that the window would show in message boxes during the run go to stderr, each distinct one once,
each line beginning "quorbel-cli: ".
JSON keys: title, frequency, chartZ0 [re,im], startZ [re,im], goalZ [re,im], startData and goalData (null when
not bound, else {name, points, fmin, fmax in MHz, reference in ohm, or {min, max} where it varies}), tunePercent, activeIndex, componentCount, components [{kind, placement, tunedElement, resistance, capacitance, inductance, lineZ0, lineAngle, lineFreq, outZ [re,im]}], endZ [re,im] or null for an empty network, vswr, returnLossDb, mismatchLossDb (null for an empty network), maxNetworkQ (the value the draw at --size leaves), band (null while the band display is off, else {low, high, points, frequencies, endZ [[re,im]...], vswr, returnLossDb, mismatchLossDb, worstVswr, worstFrequency}, one list entry per band frequency; bound data at each band frequency; with a device, device {k, mu, magDb, msgDb, fminDb} lists), device (null, or at the analysis frequency {name, fmin, fmax, points, noisePoints, k, mu, muPrime, delta [re,im], unconditionallyStable, magDb (null unless K>1 and |Delta|<1), msgDb, gammaMS [re,im] or null, gammaML, fminDb, gammaOpt, rn in ohm, circles [{type, value, center [re,im], radius, unstableInside (stability circles only)}]}, reflections on the chart Z0). Numbers with 17 significant digits; non-finite numbers as the strings "nan", "inf" and "-inf".
)";

} // namespace

std::string CliUsageText() {
    return kUsageHead + CliOptionHelp(OptionGroup::Edit) + "Outputs:\n" +
           CliOptionHelp(OptionGroup::Output) + "Other options:\n" +
           CliOptionHelp(OptionGroup::Other) + kUsageTail;
}

std::string CliVersionText() {
    return std::string("quorbel-cli ") + kProgramVersion + "\n";
}
