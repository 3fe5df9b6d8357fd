#include "cli/clioptions.h"

#include "quorbel_config.h"

const char* CliUsageText() {
    return R"(quorbel-cli [DOCUMENT.qbl] [OPTION]...
Reads DOCUMENT, or starts from a new document with the new-document defaults, applies the edits in this fixed order whatever their order on the line, then writes the outputs in the order listed.
Edits:
    --start-data FILE    bind the starting [Generator] impedance to a one-port Touchstone file's data
                         (.s1p, .z1p, .y1p, .ts; versions 1.1 and 2.0): from then on it takes the data's value
                         at the analysis frequency, interpolated between the data's frequencies, and has none
                         (nan) outside their range; the data is stored in the document (--save)
    --goal-data FILE     the same for the goal [Load] impedance
    --start-port N, --goal-port N
                         for S-parameter data of several ports, the port whose reflection to take (the
                         other ports terminated in their references)
    --device FILE        load a two-port device (transistor) from a Touchstone file (.s2p in any version, S, Y
                         or Z in RI, MA or DB, with its noise data): the readout gains a line with K, mu,
                         MAG (or MSG) and Fmin at the analysis frequency; --circles draws its circles
    --device-ports I,J   for a file of more ports, the two that are the device's ports 1 and 2
    --unbind-device      unload the device (a goal bound to it keeps its present value)
    --goal-device KIND   bind the goal [Load] impedance to the impedance the device wants, at every frequency:
                         source-gain (of Gamma_MS), source-noise (of Gamma_opt) or load-gain (of Gamma_ML),
                         compared plainly with the ending impedance; none where the device has none there
                         (no simultaneous match without unconditional stability, no noise data)
    --circles LIST       the device's circles on the chart, entries separated by ';': stability,
                         available-gain[:STEP,STEP...], operating-gain[:STEP,...] (dB below MAG/MSG, default
                         1,2,3), noise[:STEP,...] (dB above Fmin, default 0.25,0.5,1,2)
    --frequency MHZ      analysis frequency (applied after the data is bound, so it decides the data's value)
    --band F1:F2:N       band analysis from F1 to F2 MHz at N frequencies (0 < F1 < F2, 2 <= N <= 10001),
                         with the band display on: the chart draws the band's locus and the readout its line
    --band-off           no band: the band display off and the band's settings at their defaults
    --unbind-data        unbind both impedances from their data, each keeping its value at the analysis
                         frequency (refused where the data has none there)
    --z0 OHM             chart Z0 (imaginary part 0)
    --start R,X          starting [Generator] impedance in ohm (unbinds data the document had bound to it;
                         not together with --start-data)
    --goal R,X           goal [Load] impedance in ohm (likewise; not together with --goal-data)
    --matchme N,TOPOLOGY matching wizard as if its dialog were accepted with N sections, TOPOLOGY one of
                         lowpass, highpass, quarterwave, and the document's start and goal impedances
    --filter TYPE,FC,RIPPLE,N,RO,FIRST
                         filter wizard as if its dialog were accepted: TYPE lowpass or highpass, FC in MHz,
                         RIPPLE in dB, order N, RO in ohm, FIRST shunt or series
Outputs:
    --save FILE.qbl      write the document (same bytes as the window's Save)
    -o, --output FILE    render the chart exactly as the window draws it; PNG, SVG or PDF by the extension
    --plot FILE          the band response (return loss and VSWR against frequency) as the window's plot
                         shows it; PNG, SVG or PDF by the extension, --size pixels; needs the band display on
    --size WxH           drawing area in pixels, as a window's client area (default 800x400); also the
                         geometry for --readout and --json
    --readout            the readout lines exactly as the chart writes them, one per line, trailing blanks kept
                         (marker labels are not readout lines)
    --json               the evaluated network as one JSON object (below)
    --sweep F1:F2:N      CSV with the header frequency_mhz,end_re,end_im,vswr,return_loss_db,mismatch_loss_db
                         and N rows (at least 2, or 1 when F1 equals F2), frequencies linearly spaced from
                         F1 to F2 inclusive; impedances bound to data take its value at each row's frequency
    --spice              a SPICE netlist (ngspice syntax) of the network for an AC analysis at the analysis
                         frequency: the starting impedance as the termination at the generator end (its
                         reactance as the inductor or capacitor that has it at the analysis frequency), lines
                         and stubs as lossless transmission lines, a 1 A AC source at the load end so that the
                         load node's voltage is the ending impedance, and a .print of its real and imaginary part.
                         With the band display on, an AC sweep across the band instead (.ac lin N F1 F2 in Hz;
                         two one-point analyses for N = 2, which ngspice's sweep cannot take): the starting
                         reactance the same at every frequency, lines as the delay of their angle.
                         A starting impedance bound to data is terminated in the data's value at the analysis
                         frequency (a comment in the netlist says so), also across a band
Other options:
    -h, --help           this text
    --version            the program's name and version
Without any argument the tool prints this text to stderr and exits with status 2.
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
}

std::string CliVersionText() {
    return std::string("quorbel-cli ") + kProgramVersion + "\n";
}
