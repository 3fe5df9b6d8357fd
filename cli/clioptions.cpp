#include "cli/clioptions.h"

#include "model/devicebinding.h"

#include "cli/clitext.h"
#include "design/filterwizard.h"
#include "design/matchmewizard.h"
#include "model/bandsettings.h"
#include "model/fieldrange.h"
#include "model/numbertext.h"

#include <algorithm>
#include <array>
#include <cctype>
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

std::string Lower(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return out;
}

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
    const std::string word = Lower(text);
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

Error OnBand(CliOptions& o, std::string_view v) {
    const std::vector<std::string> parts = SplitFields(v, ':');
    if (parts.size() != 3) {
        return "expected F1:F2:N, got '" + std::string(v) + "'";
    }
    const std::optional<double> low = ParseNumber(parts[0]);
    const std::optional<double> high = ParseNumber(parts[1]);
    const std::optional<int64_t> n = ParseInteger(parts[2]);
    if (!low || !high) {
        return "F1 and F2 must be numbers in MHz, got '" + std::string(v) + "'";
    }
    if (!n) {
        return "N must be a whole number, got '" + parts[2] + "'";
    }
    if (const BandProblem p = CheckBand(*low, *high, *n); p != BandProblem::None) {
        return std::string(BandProblemText(p));
    }
    o.band = BandRequest{*low, *high, static_cast<int32_t>(*n)};
    return std::nullopt;
}

Error OnBandOff(CliOptions& o, std::string_view) {
    o.bandOff = true;
    return std::nullopt;
}

Error OnSize(CliOptions& o, std::string_view v) {
    const std::vector<std::string> parts = SplitFields(Lower(v), 'x');
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
    const std::vector<std::string> parts = SplitFields(v, ':');
    if (parts.size() != 3) {
        return "expected F1:F2:N, got '" + std::string(v) + "'";
    }
    SweepRequest r;
    if (Error e = RangedNumber(parts[0], kFrequencyEntryRange, r.startMHz)) {
        return "F1: " + *e;
    }
    if (Error e = RangedNumber(parts[1], kFrequencyEntryRange, r.stopMHz)) {
        return "F2: " + *e;
    }
    // One row holds a single frequency only.
    const std::optional<int64_t> n = ParseInteger(parts[2]);
    const int64_t fewest = r.startMHz == r.stopMHz ? 1 : 2;
    if (!n || *n < fewest || *n > INT32_MAX) {
        return "N must be a whole number of rows from 2 to " + std::to_string(INT32_MAX) +
               " (or 1 when F1 equals F2)";
    }
    r.points = static_cast<int32_t>(*n);
    o.sweep = r;
    return std::nullopt;
}

Error OnReadout(CliOptions& o, std::string_view) {
    o.readout = true;
    return std::nullopt;
}

Error OnJson(CliOptions& o, std::string_view) {
    o.json = true;
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

struct OptionRow {
    const char* name; ///< the long form
    char shortName;   ///< 0 when there is none
    bool takesValue;
    Error (*handler)(CliOptions&, std::string_view);
};

constexpr std::array<OptionRow, 28> kOptions{{
    {"--start-data", 0, true, OnStartData},
    {"--goal-data", 0, true, OnGoalData},
    {"--start-port", 0, true, OnStartPort},
    {"--goal-port", 0, true, OnGoalPort},
    {"--unbind-data", 0, false, OnUnbindData},
    {"--device", 0, true, OnDevice},
    {"--device-ports", 0, true, OnDevicePorts},
    {"--unbind-device", 0, false, OnUnbindDevice},
    {"--goal-device", 0, true, OnGoalDevice},
    {"--circles", 0, true, OnCircles},
    {"--frequency", 0, true, OnFrequency},
    {"--band", 0, true, OnBand},
    {"--band-off", 0, false, OnBandOff},
    {"--z0", 0, true, OnZ0},
    {"--start", 0, true, OnStart},
    {"--goal", 0, true, OnGoal},
    {"--matchme", 0, true, OnMatchMe},
    {"--filter", 0, true, OnFilter},
    {"--save", 0, true, OnSave},
    {"--output", 'o', true, OnOutput},
    {"--plot", 0, true, OnPlot},
    {"--size", 0, true, OnSize},
    {"--readout", 0, false, OnReadout},
    {"--json", 0, false, OnJson},
    {"--sweep", 0, true, OnSweep},
    {"--spice", 0, false, OnSpice},
    {"--help", 'h', false, OnHelp},
    {"--version", 0, false, OnVersion},
}};

const OptionRow* FindOption(std::string_view name) {
    for (const OptionRow& row : kOptions) {
        if (name == row.name || (row.shortName != 0 && name.size() == 2 && name[0] == '-' &&
                                 name[1] == row.shortName)) {
            return &row;
        }
    }
    return nullptr;
}

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
        const OptionRow* row = FindOption(name);
        if (row == nullptr) {
            return "unknown option '" + name + "'";
        }
        if (!seen.insert(row->name).second) {
            return std::string("option '") + row->name + "' given more than once";
        }
        std::string value;
        if (eq != std::string::npos) {
            if (!row->takesValue) {
                return std::string("option '") + row->name + "' takes no value";
            }
            value = arg.substr(eq + 1);
        } else if (row->takesValue) {
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
