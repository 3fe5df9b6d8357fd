#include "model/asciitext.h"
#include "model/touchstonelexer.h"
#include "model/touchstoneparser.h"

#include <cmath>
#include <numbers>

// The data rows of a Touchstone file, its port impedance comments, and the data assembled from
// them.
namespace touchstone {

bool Parser::Fail(int line, const std::string& text) {
    if (!failed_) {
        failed_ = true;
        result_.errorLine = line;
        result_.error = line > 0 ? "line " + std::to_string(line) + ": " + text : text;
    }
    return false;
}

bool Parser::Line(int number, std::string_view content, std::string_view comment, bool hasComment) {
    if (failed_ || section_ == Section::End) {
        return !failed_;
    }
    content = Trim(content);
    if (portImpedancePending_) {
        if (content.empty() && hasComment) {
            const std::vector<std::string_view> words = Words(comment, true);
            return PortImpedanceNumbers(number, words, 0);
        }
        if (!PortImpedanceDone()) {
            return false;
        }
    }
    if (inInformation_) {
        if (Simplified(content) == "[end information]") {
            inInformation_ = false;
        }
        return true;
    }
    if (!content.empty() && !Content(number, content)) {
        return false;
    }
    return !hasComment || Comment(number, comment);
}

bool Parser::Content(int line, std::string_view content) {
    if (referencesNeeded_ > 0 && content.front() != '[') {
        for (std::string_view w : Words(content)) {
            double v = 0.0;
            if (!ParseNumber(w, v)) {
                return Fail(line, "the reference impedance " + Quote(w) + " is not a number");
            }
            if (!ReferenceValue(line, v)) {
                return false;
            }
        }
        return true;
    }
    if (referencesNeeded_ > 0) {
        return ReferencesMissing();
    }
    if (content.front() == '[') {
        return Keyword(line, content);
    }
    if (content.front() == '#') {
        return OptionLine(line, content);
    }
    return Numbers(line, content);
}

bool Parser::Numbers(int line, std::string_view content) {
    if (version_ == 2 && section_ == Section::Header) {
        return Fail(line, "numbers before [Network Data]: " + Quote(content));
    }
    if (version_ == 1 && !optionSeen_) {
        return Fail(line, "data before the option line (# GHz S MA R 50, say)");
    }
    const std::vector<std::string_view> words = Words(content);
    if (!ready_ && !ReadyForData()) {
        return false;
    }
    bool skip = false;
    if (noiseRowsFollow_ && k_ == 0 && noiseK_ == 0 && !NoiseStartsHere(line, words, skip)) {
        return false;
    }
    if (skip) {
        return true;
    }
    // A row may go on over lines, but no writer ends one row and starts the next on the line
    // that finishes it: numbers beyond what the row lacks mean the row's earlier lines were
    // short, so the fault is named where that row starts.
    if (section_ != Section::Noise && k_ != 0 &&
        words.size() > static_cast<std::size_t>(rowValues_ - k_)) {
        return Fail(row_.line, IncompleteRow("") + "; line " + std::to_string(line) +
                                   " starts with more numbers than it lacks");
    }
    if (section_ == Section::Noise && noiseK_ != 0 &&
        words.size() > static_cast<std::size_t>(5 - noiseK_)) {
        return Fail(noiseLine_, IncompleteNoiseRow());
    }
    for (std::string_view w : words) {
        double v = 0.0;
        if (!ParseNumber(w, v)) {
            return Fail(line, Quote(w) + " is not a number");
        }
        if (!Value(line, v, w)) {
            return false;
        }
    }
    if (noiseRowsFollow_ && section_ != Section::Noise && k_ == 0 &&
        words.size() == static_cast<std::size_t>(rowValues_)) {
        lastRow_.clear();
        for (std::string_view w : words) {
            double v = 0.0;
            ParseNumber(w, v);
            lastRow_.push_back(v);
        }
    }
    return true;
}

std::string Parser::IncompleteNoiseRow() const {
    return "the noise data row is incomplete: it has " + std::to_string(noiseK_) +
           " of the 5 numbers a row needs (frequency, minimum noise figure in dB, magnitude and "
           "angle of the optimum source reflection, noise resistance)";
}

/// In a version 1 two-port file, noise data starts with a frequency that does not increase. A
/// full row repeating the last row exactly is skipped with a note (some programs write one); a
/// full row repeating its frequency with other numbers is refused. Returns whether to read the
/// line's numbers.
bool Parser::NoiseStartsHere(int line, const std::vector<std::string_view>& words, bool& skip) {
    double v = 0.0;
    if (section_ == Section::Noise || points_.empty() || words.empty() ||
        !ParseNumber(words[0], v)) {
        return true;
    }
    const double f = ToMHz(v, words[0]);
    const RawPoint& last = points_.back();
    if (f > last.frequency) {
        return true;
    }
    if (f == last.frequency && words.size() == lastRow_.size()) {
        for (std::size_t i = 0; i < words.size(); ++i) {
            double x = 0.0;
            if (!ParseNumber(words[i], x) || x != lastRow_[i]) {
                return Fail(line, "the frequency " + NumberText(v) + " repeats line " +
                                      std::to_string(last.line) + " with other numbers");
            }
        }
        result_.notes.push_back("line " + std::to_string(line) + " repeats line " +
                                std::to_string(last.line) + " and is skipped");
        skip = true;
        return true;
    }
    section_ = Section::Noise;
    return true;
}

/// Fixes what a data row holds, once the number of ports is known.
bool Parser::ReadyForData() {
    ready_ = true;
    if (version_ == 1) {
        ports_ = options_.ports > 0 ? options_.ports : PortsFromName(name_);
        if (ports_ == 0 || ports_ > kTouchstoneMaxPorts) {
            return Fail(0, "The number of ports is unknown: a version 1 file states it in its "
                           "name's extension (.s1p, .s2p, ...).");
        }
        result_.ports = ports_;
    }
    const std::int64_t n = ports_;
    if (device_) {
        if (!ReadyForDevice()) {
            return false;
        }
    } else if (parameter_ != Parameter::S && n > 1) {
        return Fail(0, std::string(ParameterName(parameter_)) + "-parameter data of " +
                           std::to_string(n) +
                           " ports cannot be read: only one-port Y or Z data, or one port's "
                           "reflection from S-parameter data.");
    }
    if (device_) {
        // Ports chosen by ReadyForDevice.
    } else if (options_.port == 0 && n > 1) {
        result_.portNeeded = true;
        return Fail(0, "The file holds data of " + std::to_string(n) +
                           " ports; choose a port (1 to " + std::to_string(n) +
                           ") to read its reflection.");
    }
    if (!device_ && (options_.port < 0 || options_.port > n)) {
        return Fail(0, "Port " + std::to_string(options_.port) +
                           " was chosen, but the file holds data of " + std::to_string(n) +
                           (n == 1 ? " port." : " ports."));
    }
    port_ = options_.port > 0 ? options_.port : 1;
    if (optionReferences_.size() > 1 && optionReferences_.size() != static_cast<std::size_t>(n)) {
        return Fail(optionLine_, "R gives " + std::to_string(optionReferences_.size()) +
                                     " reference impedances for " +
                                     Plural(ports_, "port", "ports"));
    }
    const std::vector<double>& refs = references_.empty() ? optionReferences_ : references_;
    baseReference_ = refs.size() == 1 ? refs[0] : refs[static_cast<std::size_t>(port_ - 1)];
    wantI_ = wantJ_ = port_ - 1;
    if (device_) {
        wantJ_ = port2_ - 1;
        baseReferenceJ_ = refs.size() == 1 ? refs[0] : refs[static_cast<std::size_t>(wantJ_)];
    }
    rowValues_ = matrix_ == Matrix::Full ? 1 + 2 * n * n : 1 + n * (n + 1);
    noiseRowsFollow_ = version_ == 1 && ports_ == 2;
    return true;
}

/// MHz from the number as the file writes it: the decimal exponent is shifted by the unit, so
/// that the frequency is the double nearest the written value in MHz, exactly as the user types
/// it (multiplying by 1e3 would turn 0.1 GHz into 100.00000000000001 MHz).
double Parser::ToMHz(double v, std::string_view word) const {
    const int shift = unitDivides_ ? (unitScale_ == 1e6 ? -6 : -3) : (unitScale_ == 1e3 ? 3 : 0);
    if (!word.empty() && word.front() == '+') {
        word.remove_prefix(1);
    }
    const std::size_t e = word.find_first_of("eE");
    long long exponent = 0;
    if (e != std::string_view::npos) {
        std::string_view digits = word.substr(e + 1);
        if (!digits.empty() && digits.front() == '+') {
            digits.remove_prefix(1);
        }
        if (!ParseInteger(digits, exponent) || exponent < -100000 || exponent > 100000) {
            return unitDivides_ ? v / unitScale_ : v * unitScale_;
        }
    }
    const std::string shifted =
        std::string(word.substr(0, e)) + "e" + std::to_string(exponent + shift);
    double f = 0.0;
    return ParseNumber(shifted, f) ? f : (unitDivides_ ? v / unitScale_ : v * unitScale_);
}

/// Moves the matrix element the next pair of numbers gives one on, in the file's order.
void Parser::NextPair() {
    if (matrix_ == Matrix::Lower) {
        if (++pairJ_ > pairI_) {
            ++pairI_;
            pairJ_ = 0;
        }
        return;
    }
    if (++pairJ_ == ports_) {
        ++pairI_;
        pairJ_ = matrix_ == Matrix::Upper ? pairI_ : 0;
    }
}

/// "the imaginary part of S21": the parameter the index-th number after the frequency belongs to.
std::string Parser::ParameterAt(std::int64_t index) const {
    // Walk from the row's start: only messages need this, and rows are short where they do.
    int i = 0;
    int j = 0;
    for (std::int64_t p = 0; p < index / 2; ++p) {
        if (matrix_ == Matrix::Lower) {
            if (++j > i) {
                ++i;
                j = 0;
            }
        } else if (++j == ports_) {
            ++i;
            j = matrix_ == Matrix::Upper ? i : 0;
        }
    }
    if (ports_ == 2 && matrix_ == Matrix::Full && order21_12_ && i != j) {
        std::swap(i, j);
    }
    static const char* const kParts[3][2] = {
        {"real part", "imaginary part"}, {"magnitude", "angle"}, {"magnitude in dB", "angle"}};
    const char* part = kParts[static_cast<int>(format_)][index % 2];
    const std::string sep = ports_ > 9 ? "," : "";
    return std::string("the ") + part + " of " + ParameterName(parameter_) + std::to_string(i + 1) +
           sep + std::to_string(j + 1);
}

/// "the data row is incomplete: ... (it lacks the imaginary part of S11)"; which is "" or
/// "last ".
std::string Parser::IncompleteRow(const char* which) const {
    const std::int64_t missing = rowValues_ - k_;
    std::string text = std::string("the ") + which + "data row is incomplete: it has " +
                       std::to_string(k_) + " of the " + std::to_string(rowValues_) +
                       " numbers a row needs (it lacks " + ParameterAt(k_ - 1);
    if (missing > 1) {
        text += " and the " + Plural(static_cast<std::size_t>(missing - 1), "number", "numbers") +
                " after it";
    }
    return text + ")";
}

bool Parser::Value(int line, double v, std::string_view word) {
    lastValueLine_ = line;
    if (!ready_ && !ReadyForData()) {
        return false;
    }
    if (section_ == Section::Noise) {
        return NoiseValue(line, v, word);
    }
    if (k_ == 0) {
        if (!Frequency(line, v, word)) {
            return false;
        }
        pairI_ = pairJ_ = 0;
    } else {
        int i = pairI_;
        int j = pairJ_;
        if (ports_ == 2 && matrix_ == Matrix::Full && order21_12_ && i != j) {
            std::swap(i, j);
        }
        const std::size_t part = static_cast<std::size_t>((k_ - 1) % 2);
        // The wanted elements in the order S_II, S_IJ, S_JI, S_JJ; an element of a triangle
        // also stands for its mirror image.
        const int wi[4] = {wantI_, wantI_, wantJ_, wantJ_};
        const int wj[4] = {wantI_, wantJ_, wantI_, wantJ_};
        for (std::size_t slot = 0; slot < 4; ++slot) {
            if ((i == wi[slot] && j == wj[slot]) ||
                (matrix_ != Matrix::Full && i == wj[slot] && j == wi[slot])) {
                row_.v[2 * slot + part] = v;
            }
        }
        if (part == 1) {
            NextPair();
        }
    }
    if (++k_ == rowValues_) {
        points_.push_back(row_);
        k_ = 0;
    }
    return true;
}

/// The first number of a data row.
bool Parser::Frequency(int line, double v, std::string_view word) {
    if (version_ == 2 && static_cast<long long>(points_.size()) == frequencyCount_) {
        return Fail(line, "more data rows than [Number of Frequencies] gives (" +
                              std::to_string(frequencyCount_) + ")");
    }
    if (v < 0.0) {
        return Fail(line, "the frequency " + NumberText(v) + " is negative");
    }
    const double f = ToMHz(v, word);
    if (!std::isfinite(f)) {
        return Fail(line, "the frequency " + NumberText(v) + " is out of range");
    }
    if (!points_.empty() && !(f > points_.back().frequency)) {
        return Fail(line, "the frequency " + NumberText(v) + " does not increase (it follows " +
                              NumberText(points_.back().written) + ")");
    }
    if (points_.size() == kTouchstoneMaxPoints) {
        return Fail(line, "more than " + std::to_string(kTouchstoneMaxPoints) +
                              " frequencies cannot be read");
    }
    row_ = RawPoint{};
    row_.frequency = f;
    row_.written = v;
    row_.line = line;
    return true;
}

bool Parser::Comment(int line, std::string_view comment) {
    const std::string_view text = Trim(comment);
    constexpr std::string_view kKey = "port impedance";
    if (!StartsWithNoCase(text, kKey) || (version_ == 2 && section_ != Section::Network)) {
        return true;
    }
    const std::vector<std::string_view> words = Words(text.substr(kKey.size()), true);
    double v = 0.0;
    if (words.empty() || !ParseNumber(words[0], v) || section_ == Section::Noise ||
        points_.empty()) {
        return true; // an ordinary comment, or one before the data that no frequency owns
    }
    if (k_ != 0) {
        return Fail(row_.line, IncompleteRow("") + " when the port impedance comment on line " +
                                   std::to_string(line) + " comes");
    }
    portImpedance_.clear();
    portImpedanceLine_ = line;
    return PortImpedanceNumbers(line, words, 0);
}

/// Adds numbers to the port impedance comment being read (it may continue on comment lines).
bool Parser::PortImpedanceNumbers(int line, const std::vector<std::string_view>& words,
                                  std::size_t first) {
    for (std::size_t i = first; i < words.size(); ++i) {
        double v = 0.0;
        if (!ParseNumber(words[i], v)) {
            return Fail(line, "the port impedance comment holds " + Quote(words[i]) +
                                  ", which is not a number");
        }
        portImpedance_.push_back(v);
        if (portImpedance_.size() > 2 * static_cast<std::size_t>(ports_)) {
            break;
        }
    }
    portImpedancePending_ = portImpedance_.size() < 2 * static_cast<std::size_t>(ports_);
    return portImpedancePending_ || PortImpedanceDone();
}

bool Parser::PortImpedanceDone() {
    portImpedancePending_ = false;
    const int line = portImpedanceLine_;
    const std::size_t needed = 2 * static_cast<std::size_t>(ports_);
    if (portImpedance_.size() != needed) {
        return Fail(line, "the port impedance comment should hold " + std::to_string(needed) +
                              " numbers (real and imaginary part for each of " +
                              std::to_string(ports_) + (ports_ == 1 ? " port)" : " ports)"));
    }
    const std::size_t i = 2 * static_cast<std::size_t>(port_ - 1);
    const double re = portImpedance_[i];
    const double im = portImpedance_[i + 1];
    if (im != 0.0) {
        return Fail(line, "the port impedance " + NumberText(re) + (im < 0 ? " - j" : " + j") +
                              NumberText(std::fabs(im)) + " ohm" + kComplexReference);
    }
    if (!(re > 0.0)) {
        return Fail(line, "the port impedance " + NumberText(re) + " ohm must be above 0 ohm");
    }
    RawPoint& owner = points_.back();
    if (!std::isnan(owner.portReference)) {
        return Fail(line, "a second port impedance comment for the frequency on line " +
                              std::to_string(owner.line));
    }
    owner.portReference = re;
    anyPortReference_ = true;
    if (device_) {
        const std::size_t j = 2 * static_cast<std::size_t>(port2_ - 1);
        const double reJ = portImpedance_[j];
        if (portImpedance_[j + 1] != 0.0 || !(reJ > 0.0)) {
            return Fail(line, "the port impedance of port " + std::to_string(port2_) +
                                  " must be real and above 0 ohm");
        }
        owner.portReferenceJ = reJ;
    }
    return true;
}

bool Parser::CheckEnd() {
    if (portImpedancePending_ && !PortImpedanceDone()) {
        return false;
    }
    if (referencesNeeded_ > 0) {
        return ReferencesMissing();
    }
    if (inInformation_) {
        return Fail(informationLine_, "[Begin Information] without [End Information]");
    }
    if (k_ != 0) {
        return Fail(lastValueLine_, IncompleteRow("last "));
    }
    if (section_ == Section::Noise && noiseK_ != 0) {
        return Fail(noiseLine_, "the last " + IncompleteNoiseRow().substr(4));
    }
    if (version_ == 2 && !networkSeen_) {
        return Fail(0, "The file has no [Network Data].");
    }
    if (points_.empty()) {
        return Fail(0, "The file holds no data.");
    }
    if (version_ == 2 && static_cast<long long>(points_.size()) != frequencyCount_) {
        return Fail(points_.back().line, "[Network Data] ends after " +
                                             Plural(points_.size(), "frequency", "frequencies") +
                                             "; [Number of Frequencies] gives " +
                                             std::to_string(frequencyCount_));
    }
    if (anyPortReference_ && points_.size() > 1 && std::isnan(points_.back().portReference)) {
        // A file cut off before its last comment: the last reference seen goes on.
        RawPoint& last = points_.back();
        last.portReference = points_[points_.size() - 2].portReference;
        last.portReferenceJ = points_[points_.size() - 2].portReferenceJ;
        if (!std::isnan(last.portReference)) {
            result_.notes.push_back("line " + std::to_string(last.line) +
                                    ": no port impedance comment follows the last frequency's "
                                    "data; the reference before it, " +
                                    NumberText(last.portReference) + " ohm, is used");
        }
    }
    if (anyPortReference_) {
        for (const RawPoint& p : points_) {
            if (std::isnan(p.portReference)) {
                return Fail(p.line, "no port impedance comment follows this frequency's data, "
                                    "while other frequencies have one");
            }
        }
    }
    return true;
}

/// The complex number a pair of numbers gives in the file's format.
Complex Parser::PairValue(const RawPoint& raw, std::size_t slot) const {
    const double a = raw.v[2 * slot];
    const double b = raw.v[2 * slot + 1];
    if (format_ == Format::RI) {
        return {a, b};
    }
    const double magnitude = format_ == Format::MA ? a : std::pow(10.0, a / 20.0);
    const double angle = std::numbers::pi / 180.0 * b;
    return {magnitude * std::cos(angle), magnitude * std::sin(angle)};
}

bool Parser::BuildPoint(const RawPoint& raw, MeasuredPoint& point) {
    const Complex value = PairValue(raw, 0);
    if (!std::isfinite(value.re) || !std::isfinite(value.im)) {
        return Fail(raw.line, "the value is out of range");
    }
    const double reference = std::isnan(raw.portReference) ? baseReference_ : raw.portReference;
    // Version 1 normalises Y and Z to the reference; version 2 gives siemens and ohm.
    const double scale = version_ == 1 ? baseReference_ : 1.0;
    const Complex one(1.0, 0.0);
    switch (parameter_) {
    case Parameter::S:
        point = MeasuredPointFromGamma(raw.frequency, value, reference);
        break;
    case Parameter::Z:
        point = MeasuredPointFromImpedance(raw.frequency, value * scale, reference);
        break;
    case Parameter::Y: {
        const Complex y = value * (reference / scale); // admittance normalised to reference
        point = {raw.frequency, (one - y) / (one + y), reference, Complex(scale, 0.0) / value};
        break;
    }
    }
    if (!std::isfinite(point.gamma.re) || !std::isfinite(point.gamma.im)) {
        return Fail(raw.line, "this impedance has no reflection coefficient on the " +
                                  NumberText(reference) + " ohm reference");
    }
    return true;
}

TouchstoneResult Parser::Finish() {
    if (!failed_ && CheckEnd()) {
        MeasuredData data;
        data.name = std::string(PathBaseName(name_));
        data.points.resize(points_.size());
        for (std::size_t i = 0; i < points_.size() && !failed_; ++i) {
            BuildPoint(points_[i], data.points[i]);
        }
        if (!failed_) {
            result_.data = std::move(data);
        }
    }
    return std::move(result_);
}

} // namespace touchstone
