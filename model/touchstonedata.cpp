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
    for (std::string_view w : Words(content)) {
        double v = 0.0;
        if (!ParseNumber(w, v)) {
            return Fail(line, Quote(w) + " is not a number");
        }
        if (!Value(line, v)) {
            return false;
        }
    }
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
    if (parameter_ != Parameter::S && n > 1) {
        return Fail(0, std::string(ParameterName(parameter_)) + "-parameter data of " +
                           std::to_string(n) +
                           " ports cannot be read: only one-port Y or Z data, or one port's "
                           "reflection from S-parameter data.");
    }
    if (options_.port == 0 && n > 1) {
        result_.portNeeded = true;
        return Fail(0, "The file holds data of " + std::to_string(n) +
                           " ports; choose a port (1 to " + std::to_string(n) +
                           ") to read its reflection.");
    }
    if (options_.port < 0 || options_.port > n) {
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
    const std::int64_t i = port_ - 1;
    if (matrix_ == Matrix::Full) {
        rowValues_ = 1 + 2 * n * n;
        diagonalPair_ = i * n + i;
    } else {
        rowValues_ = 1 + n * (n + 1);
        diagonalPair_ = matrix_ == Matrix::Upper ? i * n - i * (i - 1) / 2 : i * (i + 1) / 2 + i;
    }
    return true;
}

double Parser::ToMHz(double v) const {
    return unitDivides_ ? v / unitScale_ : v * unitScale_;
}

bool Parser::Value(int line, double v) {
    lastValueLine_ = line;
    if (!ready_ && !ReadyForData()) {
        return false;
    }
    if (section_ == Section::Noise) {
        noiseK_ = (noiseK_ + 1) % 5;
        return true;
    }
    if (k_ == 0) {
        if (!Frequency(line, v)) {
            return false;
        }
        if (section_ == Section::Noise) {
            return true;
        }
    } else {
        const std::int64_t index = k_ - 1;
        if (index / 2 == diagonalPair_) {
            (index % 2 == 0 ? row_.a : row_.b) = v;
        }
    }
    if (++k_ == rowValues_) {
        points_.push_back(row_);
        k_ = 0;
    }
    return true;
}

/// The first number of a data row.
bool Parser::Frequency(int line, double v) {
    if (version_ == 2 && static_cast<long long>(points_.size()) == frequencyCount_) {
        return Fail(line, "more data rows than [Number of Frequencies] gives (" +
                              std::to_string(frequencyCount_) + ")");
    }
    if (v < 0.0) {
        return Fail(line, "the frequency " + NumberText(v) + " is negative");
    }
    const double f = ToMHz(v);
    if (!std::isfinite(f)) {
        return Fail(line, "the frequency " + NumberText(v) + " is out of range");
    }
    if (!points_.empty() && !(f > points_.back().frequency)) {
        if (version_ == 1 && ports_ == 2) {
            // Two-port noise data starts with a frequency that does not increase.
            section_ = Section::Noise;
            noiseK_ = 1;
            return true;
        }
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
        return Fail(line, "a port impedance comment inside a data row");
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
        return Fail(lastValueLine_, "the last data row is incomplete: it has " +
                                        std::to_string(k_) + " of the " +
                                        std::to_string(rowValues_) + " numbers a row needs");
    }
    if (section_ == Section::Noise && noiseK_ != 0) {
        return Fail(lastValueLine_, "the last noise data row is incomplete");
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

bool Parser::BuildPoint(const RawPoint& raw, MeasuredPoint& point) {
    Complex value(raw.a, raw.b);
    if (format_ != Format::RI) {
        const double magnitude = format_ == Format::MA ? raw.a : std::pow(10.0, raw.a / 20.0);
        const double angle = std::numbers::pi / 180.0 * raw.b;
        value = Complex(magnitude * std::cos(angle), magnitude * std::sin(angle));
    }
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
