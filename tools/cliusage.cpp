#include "clioptions.h"

#include "quorbel_config.h"

const char* CliUsageText() {
    return R"(quorbel-cli [DOCUMENT.qbl] [OPTION]...
Reads DOCUMENT, or starts from a new document with the new-document defaults, applies the edits in this fixed order whatever their order on the line, then writes the outputs in the order listed.
Edits:
    --frequency MHZ      analysis frequency
    --band F1:F2:N       band analysis from F1 to F2 MHz at N frequencies (0 < F1 < F2, 2 <= N <= 10001),
                         with the band display on: the chart draws the band's locus and the readout its line
    --band-off           no band: the band display off and the band's settings at their defaults
    --z0 OHM             chart Z0 (imaginary part 0)
    --start R,X          starting [Generator] impedance in ohm
    --goal R,X           goal [Load] impedance in ohm
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
                         F1 to F2 inclusive
    --spice              a SPICE netlist (ngspice syntax) of the network for an AC analysis at the analysis
                         frequency: the starting impedance as the termination at the generator end (its
                         reactance as the inductor or capacitor that has it at the analysis frequency), lines
                         and stubs as lossless transmission lines, a 1 A AC source at the load end so that the
                         load node's voltage is the ending impedance, and a .print of its real and imaginary part.
                         With the band display on, an AC sweep across the band instead (.ac lin N F1 F2 in Hz;
                         two one-point analyses for N = 2, which ngspice's sweep cannot take): the starting
                         reactance the same at every frequency, lines as the delay of their angle
Other options:
    -h, --help           this text
    --version            the program's name and version
Without any argument the tool prints this text to stderr and exits with status 2.
Exit status: 0 success; 1 the document could not be read or written (stderr names the file, then the
window's message text); 2 bad usage, a band that is not 0 < F1 < F2 with 2 <= N <= 10001, --plot with the
band display off, or a wizard value outside its dialog's range (the dialog's validation message on stderr).
Messages that the window would show in message boxes during the run go to stderr, each distinct one once,
each line beginning "quorbel-cli: ".
JSON keys: title, frequency, chartZ0 [re,im], startZ [re,im], goalZ [re,im], tunePercent, activeIndex, componentCount, components [{kind, placement, tunedElement, resistance, capacitance, inductance, lineZ0, lineAngle, lineFreq, outZ [re,im]}], endZ [re,im] or null for an empty network, vswr, returnLossDb, mismatchLossDb (null for an empty network), maxNetworkQ (the value the draw at --size leaves), band (null while the band display is off, else {low, high, points, frequencies, endZ [[re,im]...], vswr, returnLossDb, mismatchLossDb, worstVswr, worstFrequency}, one list entry per band frequency). Numbers with 17 significant digits; non-finite numbers as the strings "nan", "inf" and "-inf".
)";
}

std::string CliVersionText() {
    return std::string("quorbel-cli ") + kProgramVersion + "\n";
}
