#include "cli/clioptions.h"
#include "cli/clioptiontable.h"

#include "cli/clitext.h"
#include "design/filterwizard.h"
#include "design/matchmewizard.h"
#include "design/standardvalues.h"
#include "model/asciitext.h"
#include "model/bandsettings.h"
#include "model/constants.h"
#include "model/devicebinding.h"
#include "model/fieldrange.h"
#include "model/losses.h"
#include "model/numbertext.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <functional>
#include <set>
#include <string_view>

namespace {

// The ranges the window's own entry dialogs accept for these values: the single-value editor
// for frequency and Z0, the chart setup for the two impedances.
constexpr NumberRange kFrequencyEntryRange{1e-15, 1e20};
constexpr NumberRange kZ0EntryRange{1e-15, 1e20};
constexpr NumberRange kResistanceEntryRange{0, 1e15};
constexpr NumberRange kReactanceEntryRange{-1e15, 1e15};
constexpr int32_t kMaxPictureSide = 16384;

using Error = std::optional<std::string>;

Error RangedNumber(std::string_view text, NumberRange range, double& value) {
    const std::optional<double> v = ParseNumber(text);
    if (!v) {
        return "not a number: '" + std::string(text) + "'";
    }
    if (!range.Contains(*v)) {
        return RangeMessage(range);
    }
    value = *v;
    return std::nullopt;
}

Error Impedance(std::string_view text, std::optional<Complex>& z) {
    const std::vector<std::string> parts = SplitFields(text, ',');
    if (parts.size() != 2) {
        return "expected R,X in ohm, got '" + std::string(text) + "'";
    }
    Complex v;
    if (Error e = RangedNumber(parts[0], kResistanceEntryRange, v.re)) {
        return e;
    }
    if (Error e = RangedNumber(parts[1], kReactanceEntryRange, v.im)) {
        return e;
    }
    z = v;
    return std::nullopt;
}

// A choice word and its radio index.
struct Choice {
    const char* word;
    int32_t index;
};

Error Choose(std::string_view text, std::initializer_list<Choice> choices, const char* what,
             int32_t& index) {
    const std::string word = AsciiLower(text);
    for (const Choice& c : choices) {
        if (word == c.word) {
            index = c.index;
            return std::nullopt;
        }
    }
    std::string list;
    for (const Choice& c : choices) {
        list += list.empty() ? "" : ", ";
        list += c.word;
    }
    return std::string(what) + " must be one of " + list + ", not '" + std::string(text) + "'";
}

Error OnFrequency(CliOptions& o, std::string_view v) {
    double f = 0;
    Error e = RangedNumber(v, kFrequencyEntryRange, f);
    o.frequency = f;
    return e;
}

Error OnZ0(CliOptions& o, std::string_view v) {
    double z = 0;
    Error e = RangedNumber(v, kZ0EntryRange, z);
    o.z0 = z;
    return e;
}

Error OnStart(CliOptions& o, std::string_view v) {
    return Impedance(v, o.startZ);
}

Error OnGoal(CliOptions& o, std::string_view v) {
    return Impedance(v, o.goalZ);
}

Error OnStartData(CliOptions& o, std::string_view v) {
    o.startData = std::string(v);
    return std::nullopt;
}

Error OnGoalData(CliOptions& o, std::string_view v) {
    o.goalData = std::string(v);
    return std::nullopt;
}

Error Port(std::string_view v, int32_t& port) {
    const std::optional<int64_t> n = ParseInteger(v);
    if (!n || *n < 1 || *n > 10000) {
        return "expected a port number from 1 to 10000, got '" + std::string(v) + "'";
    }
    port = static_cast<int32_t>(*n);
    return std::nullopt;
}

Error OnStartPort(CliOptions& o, std::string_view v) {
    return Port(v, o.startPort);
}

Error OnGoalPort(CliOptions& o, std::string_view v) {
    return Port(v, o.goalPort);
}

Error OnUnbindData(CliOptions& o, std::string_view) {
    o.unbindData = true;
    return std::nullopt;
}

Error OnDevice(CliOptions& o, std::string_view v) {
    o.device = std::string(v);
    return std::nullopt;
}

Error OnDevicePorts(CliOptions& o, std::string_view v) {
    const std::size_t comma = v.find(',');
    if (comma == std::string_view::npos || Port(v.substr(0, comma), o.devicePort1) ||
        Port(v.substr(comma + 1), o.devicePort2) || o.devicePort1 == o.devicePort2) {
        return "expected two different port numbers I,J, got '" + std::string(v) + "'";
    }
    return std::nullopt;
}

Error OnUnbindDevice(CliOptions& o, std::string_view) {
    o.unbindDevice = true;
    return std::nullopt;
}

Error OnGoalDevice(CliOptions& o, std::string_view v) {
    if (!ParseDeviceGoal(v)) {
        return "expected source-gain, source-noise or load-gain, got '" + std::string(v) + "'";
    }
    o.goalDevice = std::string(v);
    return std::nullopt;
}

/// stability, available-gain[:STEP,...], operating-gain[:STEP,...], noise[:STEP,...],
/// separated by ';' or given as several --circles options.
Error OnCircles(CliOptions& o, std::string_view v) {
    CircleSettings c = o.circles ? *o.circles : CircleSettings{};
    std::size_t start = 0;
    while (start <= v.size()) {
        const std::size_t end = std::min(v.find(';', start), v.size());
        const std::string_view entry = v.substr(start, end - start);
        const std::size_t colon = entry.find(':');
        const std::string_view name = entry.substr(0, colon);
        std::optional<std::vector<double>> steps;
        if (colon != std::string_view::npos) {
            steps = ParseCircleSteps(std::string(entry.substr(colon + 1)));
            if (!steps || name == "stability") {
                return "bad circle steps in '" + std::string(entry) +
                       "': expected dB steps above 0, such as 1,2,3 (at most 12)";
            }
        }
        if (name == "stability") {
            c.stability = true;
        } else if (name == "available-gain") {
            c.availableGain = true;
            c.availableSteps = steps ? *steps : c.availableSteps;
        } else if (name == "operating-gain") {
            c.operatingGain = true;
            c.operatingSteps = steps ? *steps : c.operatingSteps;
        } else if (name == "noise") {
            c.noise = true;
            c.noiseSteps = steps ? *steps : c.noiseSteps;
        } else {
            return "unknown circle family '" + std::string(name) +
                   "': expected stability, available-gain, operating-gain or noise";
        }
        start = end + 1;
    }
    o.circles = c;
    return std::nullopt;
}

Error OnMatchMe(CliOptions& o, std::string_view v) {
    const std::vector<std::string> parts = SplitFields(v, ',');
    if (parts.size() != 2) {
        return "expected N,TOPOLOGY, got '" + std::string(v) + "'";
    }
    MatchMeRequest r;
    r.sections = parts[0];
    if (Error e = Choose(parts[1],
                         {{"lowpass", TOPO_LOWPASS},
                          {"highpass", TOPO_HIGHPASS},
                          {"quarterwave", TOPO_QUARTER_WAVE}},
                         "TOPOLOGY", r.topology)) {
        return e;
    }
    o.matchMe = r;
    return std::nullopt;
}

Error OnFilter(CliOptions& o, std::string_view v) {
    const std::vector<std::string> parts = SplitFields(v, ',');
    if (parts.size() != 6) {
        return "expected TYPE,FC,RIPPLE,N,RO,FIRST, got '" + std::string(v) + "'";
    }
    FilterRequest r;
    if (Error e = Choose(parts[0], {{"lowpass", FILTER_LOWPASS}, {"highpass", FILTER_HIGHPASS}},
                         "TYPE", r.filterType)) {
        return e;
    }
    if (Error e = Choose(parts[5], {{"shunt", FIRST_SHUNT}, {"series", FIRST_SERIES}}, "FIRST",
                         r.firstElement)) {
        return e;
    }
    r.cutoff = parts[1];
    r.ripple = parts[2];
    r.order = parts[3];
    r.ro = parts[4];
    o.filter = r;
    return std::nullopt;
}

Error OnOptimise(CliOptions& o, std::string_view v) {
    OptimiseRequest r;
    const std::string word = AsciiLower(v);
    if (!word.empty() && word != "vswr" && word != "gain") {
        return "the objective must be vswr or gain, not '" + std::string(v) + "'";
    }
    r.objective = word.empty() ? "vswr" : word;
    o.optimise = r;
    return std::nullopt;
}

Error OnOptimiseComponents(CliOptions& o, std::string_view v) {
    std::vector<int32_t> list;
    for (const std::string& part : SplitFields(v, ',')) {
        const std::optional<int64_t> n = ParseInteger(part);
        if (!n || *n < 1 || *n > MAX_COMPONENTS) {
            return "expected component numbers from 1 to " + std::to_string(MAX_COMPONENTS) +
                   " separated by commas, got '" + std::string(v) + "'";
        }
        list.push_back(static_cast<int32_t>(*n));
    }
    o.optimiseComponents = list;
    return std::nullopt;
}

Error OnOptimiseSeed(CliOptions& o, std::string_view v) {
    const std::optional<int64_t> n = ParseInteger(v);
    if (!n || *n < 0 || *n > UINT32_MAX) {
        return "expected a whole number from 0 to " + std::to_string(UINT32_MAX) + ", got '" +
               std::string(v) + "'";
    }
    o.optimiseSeed = static_cast<uint32_t>(*n);
    return std::nullopt;
}

Error OnSnap(CliOptions& o, std::string_view v) {
    const StandardSeries* s = FindStandardSeries(std::string(v));
    if (s == nullptr) {
        return "the series must be one of E6, E12, E24, E48, E96, E192, not '" + std::string(v) +
               "'";
    }
    o.snapSeries = s->name;
    return std::nullopt;
}

Error OnBodeFano(CliOptions& o, std::string_view) {
    o.bodeFano = true;
    return std::nullopt;
}

Error OnSave(CliOptions& o, std::string_view v) {
    o.savePath = std::string(v);
    return std::nullopt;
}

// A picture file's format by the extension of its name.
Error PictureFile(std::string_view v, std::optional<std::string>& path, PictureFormat& format) {
    const std::optional<PictureFormat> f = PictureFormatOfPath(v);
    if (!f) {
        return "the file name must end in .png, .svg or .pdf: '" + std::string(v) + "'";
    }
    format = *f;
    path = std::string(v);
    return std::nullopt;
}

Error OnOutput(CliOptions& o, std::string_view v) {
    return PictureFile(v, o.outputPath, o.outputFormat);
}

Error OnPlot(CliOptions& o, std::string_view v) {
    return PictureFile(v, o.plotPath, o.plotFormat);
}

// F1:F2:N, the form of --band and --sweep: two frequencies in MHz, each read and checked by
// frequency, and a whole number of points read and checked by points.
Error FrequencyGridOf(
    std::string_view v, const std::function<Error(std::string_view, double&)>& frequency,
    const std::function<Error(const FrequencyGrid&, std::optional<int64_t>)>& points,
    FrequencyGrid& grid) {
    const std::vector<std::string> parts = SplitFields(v, ':');
    if (parts.size() != 3) {
        return "expected F1:F2:N, got '" + std::string(v) + "'";
    }
    FrequencyGrid g;
    if (Error e = frequency(parts[0], g.first)) {
        return "F1" + *e;
    }
    if (Error e = frequency(parts[1], g.last)) {
        return "F2" + *e;
    }
    const std::optional<int64_t> n = ParseInteger(parts[2]);
    if (Error e = points(g, n)) {
        return e;
    }
    g.points = static_cast<int32_t>(*n);
    grid = g;
    return std::nullopt;
}

Error OnBand(CliOptions& o, std::string_view v) {
    bool numbers = true;
    const auto frequency = [&](std::string_view text, double& f) -> Error {
        const std::optional<double> value = ParseNumber(text);
        numbers = numbers && value.has_value();
        f = value.value_or(0);
        return std::nullopt;
    };
    const auto points = [&](const FrequencyGrid& g, std::optional<int64_t> n) -> Error {
        if (!numbers) {
            return "F1 and F2 must be numbers in MHz, got '" + std::string(v) + "'";
        }
        if (!n) {
            return "N must be a whole number, got '" + std::string(v.substr(v.rfind(':') + 1)) +
                   "'";
        }
        if (const BandProblem p = CheckBand(g.first, g.last, *n); p != BandProblem::None) {
            return std::string(BandProblemText(p));
        }
        return std::nullopt;
    };
    FrequencyGrid grid;
    Error e = FrequencyGridOf(v, frequency, points, grid);
    if (!e) {
        o.band = grid;
    }
    return e;
}

Error OnBandLimit(CliOptions& o, std::string_view v) {
    const std::vector<std::string> parts = SplitFields(AsciiLower(v), ':');
    if (parts.size() == 1 && parts[0] == "none") {
        o.bandLimit = BandLimit{};
        return std::nullopt;
    }
    const std::optional<double> value = parts.size() == 2 ? ParseNumber(parts[1]) : std::nullopt;
    BandLimit limit;
    limit.kind = parts[0] == "rl"     ? BandLimitKind::ReturnLoss
                 : parts[0] == "vswr" ? BandLimitKind::Vswr
                                      : BandLimitKind::None;
    if (!value || limit.kind == BandLimitKind::None) {
        return "expected rl:DB, vswr:V or none, got '" + std::string(v) + "'";
    }
    limit.value = *value;
    if (const char* problem = BandLimitProblem(limit); *problem != '\0') {
        return std::string(problem);
    }
    o.bandLimit = limit;
    return std::nullopt;
}

Error OnFlip(CliOptions& o, std::string_view) {
    o.flip = true;
    return std::nullopt;
}

Error OnBandOff(CliOptions& o, std::string_view) {
    o.bandOff = true;
    return std::nullopt;
}

Error OnSize(CliOptions& o, std::string_view v) {
    const std::vector<std::string> parts = SplitFields(AsciiLower(v), 'x');
    const std::optional<int64_t> w = parts.size() == 2 ? ParseInteger(parts[0]) : std::nullopt;
    const std::optional<int64_t> h = parts.size() == 2 ? ParseInteger(parts[1]) : std::nullopt;
    if (!w || !h || *w < 1 || *h < 1 || *w > kMaxPictureSide || *h > kMaxPictureSide) {
        return "expected WxH with whole numbers of pixels from 1 to " +
               std::to_string(kMaxPictureSide) + ", got '" + std::string(v) + "'";
    }
    o.width = static_cast<int32_t>(*w);
    o.height = static_cast<int32_t>(*h);
    return std::nullopt;
}

Error OnSweep(CliOptions& o, std::string_view v) {
    const auto frequency = [](std::string_view text, double& f) -> Error {
        Error e = RangedNumber(text, kFrequencyEntryRange, f);
        return e ? ": " + *e : e;
    };
    // One row holds a single frequency only.
    const auto points = [](const FrequencyGrid& g, std::optional<int64_t> n) -> Error {
        const int64_t fewest = g.first == g.last ? 1 : 2;
        if (!n || *n < fewest || *n > INT32_MAX) {
            return "N must be a whole number of rows from 2 to " + std::to_string(INT32_MAX) +
                   " (or 1 when F1 equals F2)";
        }
        return std::nullopt;
    };
    FrequencyGrid grid;
    Error e = FrequencyGridOf(v, frequency, points, grid);
    if (!e) {
        o.sweep = grid;
    }
    return e;
}

Error OnReadout(CliOptions& o, std::string_view) {
    o.readout = true;
    return std::nullopt;
}

Error OnJson(CliOptions& o, std::string_view) {
    o.json = true;
    return std::nullopt;
}

// VALUE[@MHZ][:LAW], checked as the loss of a part of class cls; LossClass::None checks only
// the form (a part's class is known once the document is).
Error LossSpecText(std::string_view v, LossClass cls, LossSpec& setting) {
    const std::vector<std::string> lawParts = SplitFields(v, ':');
    const std::vector<std::string> parts = SplitFields(lawParts[0], '@');
    if (lawParts.size() > 2 || parts.size() > 2) {
        return "expected VALUE[@MHZ][:LAW], got '" + std::string(v) + "'";
    }
    const std::optional<double> value = ParseNumber(parts[0]);
    if (!value) {
        return "not a number: '" + parts[0] + "'";
    }
    setting.value = *value;
    if (parts.size() == 2) {
        const std::optional<double> mhz = ParseNumber(parts[1]);
        if (!mhz || !(*mhz > 0) || !std::isfinite(*mhz)) {
            return "the reference frequency must be a positive number of MHz, not '" + parts[1] +
                   "'";
        }
        setting.mhz = *mhz;
    }
    if (lawParts.size() == 2) {
        int32_t law = 0;
        if (Error e =
                Choose(lawParts[1], {{"constant", 0}, {"linear", 1}, {"sqrt", 2}}, "LAW", law)) {
            return e;
        }
        setting.law = static_cast<LossLaw>(law);
    }
    if (cls == LossClass::None) {
        const bool q = CheckLossSpec(setting, LossClass::QualityFactor).empty();
        return q || CheckLossSpec(setting, LossClass::Line).empty()
                   ? std::nullopt
                   : Error(CheckLossSpec(setting, LossClass::QualityFactor));
    }
    const std::string problem = CheckLossSpec(setting, cls);
    return problem.empty() ? std::nullopt : Error(problem);
}

Error OnInductorQ(CliOptions& o, std::string_view v) {
    LossSpec setting;
    Error e = LossSpecText(v, LossClass::QualityFactor, setting);
    o.inductorQ = setting;
    return e;
}

Error OnCapacitorQ(CliOptions& o, std::string_view v) {
    LossSpec setting;
    Error e = LossSpecText(v, LossClass::QualityFactor, setting);
    o.capacitorQ = setting;
    return e;
}

Error OnLineLoss(CliOptions& o, std::string_view v) {
    LossSpec setting;
    Error e = LossSpecText(v, LossClass::Line, setting);
    o.lineLoss = setting;
    return e;
}

Error OnComponentLoss(CliOptions& o, std::string_view v) {
    const size_t colon = v.find(':');
    const std::optional<int64_t> n =
        colon == std::string_view::npos ? std::nullopt : ParseInteger(v.substr(0, colon));
    if (!n || *n < 1 || *n > MAX_COMPONENTS) {
        return "expected N:LOSS with N a component from 1 to " + std::to_string(MAX_COMPONENTS) +
               ", got '" + std::string(v) + "'";
    }
    PartLossRequest r;
    r.index = static_cast<int32_t>(*n - 1);
    if (Error e = LossSpecText(v.substr(colon + 1), LossClass::None, r.setting)) {
        return e;
    }
    o.partLosses.push_back(r);
    return std::nullopt;
}

Error OnLossless(CliOptions& o, std::string_view) {
    o.lossless = true;
    return std::nullopt;
}

Error OnS2p(CliOptions& o, std::string_view v) {
    o.s2pPath = std::string(v);
    return std::nullopt;
}

Error OnSpice(CliOptions& o, std::string_view) {
    o.spice = true;
    return std::nullopt;
}

Error OnHelp(CliOptions& o, std::string_view) {
    o.help = true;
    return std::nullopt;
}

Error OnVersion(CliOptions& o, std::string_view) {
    o.version = true;
    return std::nullopt;
}

constexpr const char* kIndent = "                         ";

const OptionRow kOptionRows[] = {
    {"--start-data", 0, "FILE", OptionFile::Touchstone, OptionGroup::Edit,
     "bind the starting [Generator] impedance to a one-port Touchstone file's data\n"
     "(.s1p, .z1p, .y1p, .ts; versions 1.1 and 2.0): from then on it takes the data's value\n"
     "at the analysis frequency, interpolated between the data's frequencies, and has none\n"
     "(nan) outside their range; the data is stored in the document (--save)",
     OnStartData},
    {"--goal-data", 0, "FILE", OptionFile::Touchstone, OptionGroup::Edit,
     "the same for the goal [Load] impedance", OnGoalData},
    {"--start-port", 0, "N", OptionFile::None, OptionGroup::Edit,
     "for S-parameter data of several ports, the port whose reflection to take (the\n"
     "other ports terminated in their references)",
     OnStartPort},
    {"--goal-port", 0, "N", OptionFile::None, OptionGroup::Edit, nullptr, OnGoalPort},
    {"--frequency", 0, "MHZ", OptionFile::None, OptionGroup::Edit,
     "analysis frequency (applied after the data is bound, so it decides the data's value)",
     OnFrequency},
    {"--band", 0, "F1:F2:N", OptionFile::None, OptionGroup::Edit,
     "band analysis from F1 to F2 MHz at N frequencies (0 < F1 < F2, 2 <= N <= 10001),\n"
     "with the band display on: the chart draws the band's locus and the readout its line",
     OnBand},
    {"--band-off", 0, nullptr, OptionFile::None, OptionGroup::Edit,
     "no band: the band display off and the band's settings at their defaults", OnBandOff},
    {"--band-limit", 0, "rl:DB|vswr:V|none", OptionFile::None, OptionGroup::Edit,
     "a limit every band frequency should meet (a return loss of at least DB dB, above 0,\n"
     "or a VSWR of at most V, above 1), kept in the document like the band: the plot draws\n"
     "it and the band's readout counts the points that fail it; none removes it",
     OnBandLimit},
    {"--device", 0, "FILE", OptionFile::Touchstone, OptionGroup::Edit,
     "load a two-port device (transistor) from a Touchstone file (.s2p in any version, S, Y\n"
     "or Z in RI, MA or DB, with its noise data): the readout gains a line with K, mu,\n"
     "MAG (or MSG) and Fmin at the analysis frequency; --circles draws its circles",
     OnDevice},
    {"--device-ports", 0, "I,J", OptionFile::None, OptionGroup::Edit,
     "for a file of more ports, the two that are the device's ports 1 and 2", OnDevicePorts},
    {"--unbind-device", 0, nullptr, OptionFile::None, OptionGroup::Edit,
     "unload the device (a goal bound to it keeps its present value)", OnUnbindDevice},
    {"--goal-device", 0, "KIND", OptionFile::None, OptionGroup::Edit,
     "bind the goal [Load] impedance to the impedance the device wants, at every\n"
     "frequency: source-gain (of Gamma_MS), source-noise (of Gamma_opt) or load-gain (of\n"
     "Gamma_ML), compared plainly with the ending impedance; none where the device has\n"
     "none there (no simultaneous match without unconditional stability, no noise data)",
     OnGoalDevice},
    {"--circles", 0, "LIST", OptionFile::None, OptionGroup::Edit,
     "the device's circles on the chart, entries separated by ';': stability,\n"
     "available-gain[:STEP,STEP...], operating-gain[:STEP,...] (dB below MAG/MSG,\n"
     "default 1,2,3), noise[:STEP,...] (dB above Fmin, default 0.25,0.5,1,2)",
     OnCircles},
    {"--unbind-data", 0, nullptr, OptionFile::None, OptionGroup::Edit,
     "unbind both impedances from their data, each keeping its value at the analysis\n"
     "frequency (refused where the data has none there)",
     OnUnbindData},
    {"--z0", 0, "OHM", OptionFile::None, OptionGroup::Edit, "chart Z0 (imaginary part 0)", OnZ0},
    {"--start", 0, "R,X", OptionFile::None, OptionGroup::Edit,
     "starting [Generator] impedance in ohm (unbinds data the document had bound to it;\n"
     "not together with --start-data)",
     OnStart},
    {"--goal", 0, "R,X", OptionFile::None, OptionGroup::Edit,
     "goal [Load] impedance in ohm (likewise; not together with --goal-data)", OnGoal},
    {"--lossless", 0, nullptr, OptionFile::None, OptionGroup::Edit,
     "remove every loss setting: the defaults and each component's own (before the options\n"
     "below)",
     OnLossless},
    {"--inductor-q", 0, "Q[@MHZ][:LAW]", OptionFile::None, OptionGroup::Edit,
     "the quality factor of every inductor: Q at MHZ, LAW constant (the default), linear\n"
     "(Q in proportion to the frequency) or sqrt (to its square root), which need @MHZ;\n"
     "the part becomes R = X/Q in series with X; Q above 0, inf for lossless",
     OnInductorQ},
    {"--capacitor-q", 0, "Q[@MHZ][:LAW]", OptionFile::None, OptionGroup::Edit,
     "the same for every capacitor", OnCapacitorQ},
    {"--line-loss", 0, "DB@MHZ[:LAW]", OptionFile::None, OptionGroup::Edit,
     "the loss of every line and stub: DB lost by a line one wavelength long at MHZ, LAW\n"
     "giving the loss per unit length over frequency (constant, linear, sqrt); 0 for lossless",
     OnLineLoss},
    {"--component-loss", 0, "N:LOSS", OptionFile::None, OptionGroup::Edit,
     "component N's own loss (1-based, LOSS as above for its kind), in place of the default;\n"
     "may be given once per component; a resistor or RLC keeps its own R and is refused.\n"
     "Losses are applied after the data binding and before the wizards, whose new\n"
     "components take the defaults",
     OnComponentLoss},
    {"--matchme", 0, "N,TOPOLOGY", OptionFile::None, OptionGroup::Edit,
     "matching wizard as if its dialog were accepted with N sections, TOPOLOGY one of\n"
     "lowpass, highpass, quarterwave, and the document's start and goal impedances",
     OnMatchMe},
    {"--filter", 0, "TYPE,FC,RIPPLE,N,RO,FIRST", OptionFile::None, OptionGroup::Edit,
     "filter wizard as if its dialog were accepted: TYPE lowpass or highpass, FC in MHz,\n"
     "RIPPLE in dB, order N, RO in ohm, FIRST shunt or series",
     OnFilter},
    {"--optimize", 0, "[vswr|gain]", OptionFile::None, OptionGroup::Edit,
     "tune the network for the band (else the analysis frequency): vswr (the default)\n"
     "minimises the worst VSWR over the band's points, gain maximises the worst\n"
     "transducer gain (the same optimum for a lossless network; with lossy parts it\n"
     "weighs the match against their loss), for example --inductor-q 15 --optimize gain;\n"
     "points without data left out; each chosen component's tuned value stays within\n"
     "a factor of 100 of its value (line angles 0 to 360 degrees); applied after the\n"
     "wizards and the band",
     OnOptimise, true},
    {"--optimize-components", 0, "LIST", OptionFile::None, OptionGroup::Edit,
     "the components --optimize tunes, 1-based and comma-separated (default all)",
     OnOptimiseComponents},
    {"--optimize-seed", 0, "N", OptionFile::None, OptionGroup::Edit,
     "the search's seed (default 1): the same seed, the same result", OnOptimiseSeed},
    {"--snap", 0, "SERIES", OptionFile::None, OptionGroup::Edit,
     "move every L, C and R value to one of its two neighbouring standard values of\n"
     "SERIES (E6, E12, E24, E48, E96, E192), the combination best for the worst VSWR\n"
     "(with --optimize gain, the worst transducer gain); lines and stubs stay; after\n"
     "--optimize",
     OnSnap},
    {"--flip", 0, nullptr, OptionFile::None, OptionGroup::Edit,
     "turn the network around end for end after the wizards, as the window's Flip: the\n"
     "starting and goal impedances trade places, each conjugated (bound data moves with\n"
     "its end), and the components are listed in reverse order",
     OnFlip},
    {"--save", 0, "FILE.qbl", OptionFile::Document, OptionGroup::Output,
     "write the document (same bytes as the window's Save)", OnSave},
    {"--output", 'o', "FILE", OptionFile::Picture, OptionGroup::Output,
     "render the chart exactly as the window draws it; PNG, SVG or PDF by the extension", OnOutput},
    {"--plot", 0, "FILE", OptionFile::Picture, OptionGroup::Output,
     "the band response (return loss and VSWR against frequency) as the window's plot\n"
     "shows it; PNG, SVG or PDF by the extension, --size pixels; needs the band display on",
     OnPlot},
    {"--size", 0, "WxH", OptionFile::None, OptionGroup::Output,
     "drawing area in pixels, as a window's client area (default 800x400); also the\n"
     "geometry for --readout and --json",
     OnSize},
    {"--readout", 0, nullptr, OptionFile::None, OptionGroup::Output,
     "the readout lines exactly as the chart writes them, one per line, trailing blanks kept\n"
     "(marker labels are not readout lines)",
     OnReadout},
    {"--json", 0, nullptr, OptionFile::None, OptionGroup::Output,
     "the evaluated network as one JSON object (below)", OnJson},
    {"--sweep", 0, "F1:F2:N", OptionFile::None, OptionGroup::Output,
     "CSV with the header frequency_mhz,end_re,end_im,vswr,return_loss_db,mismatch_loss_db\n"
     "and N rows (at least 2, or 1 when F1 equals F2), frequencies linearly spaced from\n"
     "F1 to F2 inclusive; impedances bound to data take its value at each row's frequency;\n"
     "while a loss is set the header and rows end with transducer_gain_db,dissipation_loss_db",
     OnSweep},
    {"--spice", 0, nullptr, OptionFile::None, OptionGroup::Output,
     "a SPICE netlist (ngspice syntax) of the network for an AC analysis at the analysis\n"
     "frequency: the starting impedance as the termination at the generator end (its\n"
     "reactance as the inductor or capacitor that has it at the analysis frequency), lines\n"
     "and stubs as lossless transmission lines (lossy ones as ngspice's LTRA with the loss at\n"
     "the analysis frequency), lossy inductors and capacitors with their series resistance\n"
     "there, a 1 A AC source at the load end so that the\n"
     "load node's voltage is the ending impedance, and a .print of its real and imaginary part.\n"
     "With the band display on, an AC sweep across the band instead (.ac lin N F1 F2 in Hz;\n"
     "two one-point analyses for N = 2, which ngspice's sweep cannot take): the starting\n"
     "reactance the same at every frequency, lines as the delay of their angle.\n"
     "A starting impedance bound to data is terminated in the data's value at the analysis\n"
     "frequency (a comment in the netlist says so), also across a band",
     OnSpice},
    {"--s2p", 0, "FILE", OptionFile::Touchstone, OptionGroup::Output,
     "the network as a two-port Touchstone file (version 1.1, S in real and imaginary parts on\n"
     "the chart Z0, 17 digits): port 1 at the starting [Generator] end, port 2 at the goal\n"
     "[Load] end, at the band's frequencies when the band display is on, else at the analysis\n"
     "frequency",
     OnS2p},
    {"--bode-fano", 0, nullptr, OptionFile::None, OptionGroup::Output,
     "the Bode-Fano limit of a termination bound to data (the starting one's, else the\n"
     "goal's) over the band: a readout line and the JSON's band.bodeFano",
     OnBodeFano},
    {"--help", 'h', nullptr, OptionFile::None, OptionGroup::Other, "this text", OnHelp},
    {"--version", 0, nullptr, OptionFile::None, OptionGroup::Other,
     "the program's name and version", OnVersion},
};

} // namespace

std::span<const OptionRow> CliOptionRows() {
    return kOptionRows;
}

const OptionRow* FindCliOption(std::string_view name) {
    for (const OptionRow& row : kOptionRows) {
        if (name == row.name || (row.shortName != 0 && name.size() == 2 && name[0] == '-' &&
                                 name[1] == row.shortName)) {
            return &row;
        }
    }
    return nullptr;
}

std::string OptionSynopsis(const OptionRow& row) {
    std::string text = row.shortName != 0 ? std::string("-") + row.shortName + ", " : "";
    text += row.name;
    if (row.valueName != nullptr) {
        text += std::string(" ") + row.valueName;
    }
    return text;
}

std::string CliOptionHelp(OptionGroup group) {
    const std::span<const OptionRow> rows = CliOptionRows();
    const size_t synopsisWidth = std::string_view(kIndent).size() - 5;
    std::string out;
    for (size_t i = 0; i < rows.size(); ++i) {
        if (rows[i].group != group || rows[i].help == nullptr) {
            continue;
        }
        std::string synopsis = OptionSynopsis(rows[i]);
        for (size_t j = i + 1; j < rows.size() && rows[j].help == nullptr; ++j) {
            synopsis += ", " + OptionSynopsis(rows[j]);
        }
        out += "    " + synopsis;
        if (synopsis.size() > synopsisWidth) {
            out += "\n" + std::string(kIndent);
        } else {
            out += std::string(synopsisWidth + 1 - synopsis.size(), ' ');
        }
        for (const char* c = rows[i].help; *c != 0; ++c) {
            out += *c;
            if (*c == '\n') {
                out += kIndent;
            }
        }
        out += '\n';
    }
    return out;
}

namespace {

// Walks the arguments once; the first problem ends the walk.
class CArgumentWalk {
public:
    explicit CArgumentWalk(const std::vector<std::string>& args) : args(args) {}

    CliParseResult Run() {
        CliOptions o;
        for (next = 0; next < args.size();) {
            const std::string& arg = args[next++];
            Error e = onlyDocuments || arg.size() < 2 || arg[0] != '-' ? OnDocument(o, arg)
                      : arg == "--"                                    ? EndOfOptions()
                                                                       : OnOption(o, arg);
            if (e) {
                return {std::nullopt, *e};
            }
        }
        if (o.band && o.bandOff) {
            return {std::nullopt, "--band and --band-off cannot be given together"};
        }
        if (o.startZ && o.startData) {
            return {std::nullopt, "--start and --start-data cannot be given together"};
        }
        if (o.goalZ && o.goalData) {
            return {std::nullopt, "--goal and --goal-data cannot be given together"};
        }
        if (!o.optimise && (!o.optimiseComponents.empty() || o.optimiseSeed)) {
            return {std::nullopt, "--optimize-components and --optimize-seed need --optimize"};
        }
        if (o.optimise) {
            o.optimise->components = o.optimiseComponents;
            o.optimise->seed = o.optimiseSeed.value_or(o.optimise->seed);
        }
        if (o.devicePort1 != 0 && !o.device) {
            return {std::nullopt, "--device-ports needs --device"};
        }
        if (o.goalDevice && (o.goalZ || o.goalData)) {
            return {std::nullopt, "--goal-device cannot be given with --goal or --goal-data"};
        }
        if ((o.startPort != 0 && !o.startData) || (o.goalPort != 0 && !o.goalData)) {
            return {std::nullopt, "--start-port and --goal-port need --start-data or --goal-data"};
        }
        return {o, ""};
    }

private:
    Error EndOfOptions() {
        onlyDocuments = true;
        return std::nullopt;
    }

    Error OnDocument(CliOptions& o, const std::string& arg) {
        if (o.document) {
            return "more than one document given: '" + *o.document + "' and '" + arg + "'";
        }
        o.document = arg;
        return std::nullopt;
    }

    Error OnOption(CliOptions& o, const std::string& arg) {
        const size_t eq = arg.rfind("--", 0) == 0 ? arg.find('=') : std::string::npos;
        const std::string name = arg.substr(0, eq);
        const OptionRow* row = FindCliOption(name);
        if (row == nullptr) {
            return "unknown option '" + name + "'";
        }
        if (row->handler != OnComponentLoss && !seen.insert(row->name).second) {
            return std::string("option '") + row->name + "' given more than once";
        }
        std::string value;
        if (eq != std::string::npos) {
            if (!row->TakesValue()) {
                return std::string("option '") + row->name + "' takes no value";
            }
            value = arg.substr(eq + 1);
        } else if (row->optionalValue) {
            // The value is taken only when the next word is one the option accepts.
            if (next < args.size() && !args[next].empty() && args[next][0] != '-' &&
                !row->handler(o, args[next])) {
                ++next;
                return std::nullopt;
            }
        } else if (row->TakesValue()) {
            if (next >= args.size()) {
                return std::string("option '") + row->name + "' needs a value";
            }
            value = args[next++];
        }
        if (Error e = row->handler(o, value)) {
            return std::string(row->name) + ": " + *e;
        }
        return std::nullopt;
    }

    const std::vector<std::string>& args;
    size_t next = 0;
    bool onlyDocuments = false;
    std::set<std::string> seen;
};

} // namespace

CliParseResult ParseCliOptions(const std::vector<std::string>& args) {
    // --help and --version win over everything else on the line, mistakes included; the first
    // of them counts.
    for (const std::string& arg : args) {
        if (arg == "--") {
            break;
        }
        CliOptions o;
        o.help = arg == "--help" || arg == "-h";
        o.version = arg == "--version";
        if (o.help || o.version) {
            return {o, ""};
        }
    }
    return CArgumentWalk(args).Run();
}
