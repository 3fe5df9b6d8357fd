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
--goal with --goal-data, a loss option out of range or --component-loss on a resistor, an RLC or a
component the network does not have, --matchme or --spice or --unbind-data where bound data has no value at the analysis
frequency, a band that is not 0 < F1 < F2 with 2 <= N <= 10001, --plot with the
band display off, or a wizard value outside its dialog's range (the dialog's validation message on stderr),
--optimize or --snap on an empty network or with no frequency that has data, a component number beyond the network.
Messages that the window would show in message boxes during the run go to stderr, each distinct one once,
each line beginning "quorbel-cli: ".
JSON keys: title, frequency, chartZ0 [re,im], startZ [re,im], goalZ [re,im], startData and goalData (null when
not bound, else {name, points, fmin, fmax in MHz, reference in ohm, or {min, max} where it varies}; goalData
also conjugate: true, as the goal bound to data is the conjugate of the data's impedance), tunePercent, activeIndex, componentCount, components [{kind, placement, tunedElement, resistance, capacitance, inductance, lineZ0, lineAngle, lineFreq, outZ [re,im], loss (the component's effective loss, as below, or null)}], endZ [re,im] or null for an empty network, vswr, returnLossDb, mismatchLossDb (null for an empty network), maxNetworkQ (the value the draw at --size leaves), losses (null when no default is set, else {inductorQ, capacitorQ, lineLoss}, each null or {q or db, mhz (null for a constant law given without one), law}), transducerGainDb and dissipationLossDb (the network as a two-port from the starting impedance into the load whose conjugate the goal is; nan where a termination's real part is not positive), optimization (null without --optimize and --snap, else {objective ("vswr" or "gain"), components (1-based), before, after (the worst VSWR, or for gain the worst transducer gain in dB), evaluations, milliseconds, seed, snapped (the series or null), afterSnap, pointsWithoutData}), band (null while the band display is off, else {low, high, points, frequencies, endZ [[re,im]...], vswr, returnLossDb, mismatchLossDb, worstVswr, worstFrequency, missingPoints (band frequencies where bound data had no value), limit (null, or {kind "rl" or "vswr", value}), failingPoints (band frequencies failing the limit), transducerGainDb, dissipationLossDb, worstTransducerGainDb, and with --bode-fano bodeFano: null or {termination ("start" or "goal"), model, r, c (pF) or l (nH), fitError, minReflection, minVswr, maxReturnLossDb}}, one list entry per band frequency; bound data at each band frequency; with a device, device {k, mu, magDb, msgDb, fminDb} lists), device (null, or at the analysis frequency {name, fmin, fmax, points, noisePoints, k, mu, muPrime, delta [re,im], unconditionallyStable, magDb (null unless K>1 and |Delta|<1), msgDb, gammaMS [re,im] or null, gammaML, fminDb, gammaOpt, rn in ohm, circles [{type, value, center [re,im], radius, unstableInside (stability circles only)}]}, reflections on the chart Z0). Numbers with 17 significant digits; non-finite numbers as the strings "nan", "inf" and "-inf".
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
