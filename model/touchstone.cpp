#include "model/touchstone.h"

#include "model/numbertext.h"

#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <numbers>
#include <sys/stat.h>
#include <vector>

namespace {

enum class Parameter { S, Y, Z };
enum class Format { RI, MA, DB };
enum class Matrix { Full, Upper, Lower };
enum class Section { Header, Network, Noise, End };

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr const char* kComplexReference =
    " is complex: a complex reference cannot be used, since its conversion depends on a wave "
    "definition the file does not state";

// ---- Text

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\v' || c == '\f';
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) {
        s.remove_prefix(1);
    }
    while (!s.empty() && IsBlank(s.back())) {
        s.remove_suffix(1);
    }
    return s;
}

char LowerChar(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

/// Lower case with runs of blanks made one space, for comparing keywords and options.
std::string Simplified(std::string_view s) {
    std::string out;
    for (char c : Trim(s)) {
        if (IsBlank(c)) {
            if (out.back() != ' ') {
                out += ' ';
            }
        } else {
            out += LowerChar(c);
        }
    }
    return out;
}

bool StartsWithNoCase(std::string_view s, std::string_view prefix) {
    if (s.size() < prefix.size()) {
        return false;
    }
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (LowerChar(s[i]) != prefix[i]) {
            return false;
        }
    }
    return true;
}

/// The blank-separated words of a line; '!' also separates when bangs is set.
std::vector<std::string_view> Words(std::string_view s, bool bangs = false) {
    std::vector<std::string_view> words;
    std::size_t i = 0;
    auto separates = [bangs](char c) { return IsBlank(c) || (bangs && c == '!'); };
    while (i < s.size()) {
        while (i < s.size() && separates(s[i])) {
            ++i;
        }
        const std::size_t start = i;
        while (i < s.size() && !separates(s[i])) {
            ++i;
        }
        if (i > start) {
            words.push_back(s.substr(start, i - start));
        }
    }
    return words;
}

/// A word as the user should see it in a message: quoted, shortened, printable.
std::string Quote(std::string_view word) {
    constexpr std::size_t kLongest = 24;
    std::string out = "'";
    for (std::size_t i = 0; i < word.size() && i < kLongest; ++i) {
        const unsigned char c = static_cast<unsigned char>(word[i]);
        out += (c >= 0x20 && c < 0x7f) ? static_cast<char>(c) : '?';
    }
    if (word.size() > kLongest) {
        out += "...";
    }
    return out + "'";
}

std::string NumberText(double v) {
    return FormatShortest(v);
}

/// A finite decimal number; one '+' may stand before it (also before a '-', as files have it).
bool ParseNumber(std::string_view word, double& value) {
    if (!word.empty() && word.front() == '+') {
        word.remove_prefix(1);
        if (!word.empty() && word.front() == '+') {
            return false;
        }
    }
    const std::optional<double> v = ::ParseNumber(word);
    if (!v || !std::isfinite(*v)) {
        return false;
    }
    value = *v;
    return true;
}

/// A whole number, without a sign or with '-'.
bool ParseInteger(std::string_view word, long long& value) {
    if (!word.empty() && word.front() == '+') {
        return false;
    }
    const std::optional<int64_t> v = ::ParseInteger(word);
    if (!v) {
        return false;
    }
    value = *v;
    return true;
}

/// The number of ports the name's extension states (.s2p, .z1p, ...); 0 when it states none.
int PortsFromName(std::string_view name) {
    const std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos) {
        return 0;
    }
    const std::string ext = Simplified(name.substr(dot + 1));
    if (ext.size() < 3 || std::strchr("syzgh", ext.front()) == nullptr || ext.back() != 'p') {
        return 0;
    }
    long long n = 0;
    if (!ParseInteger(std::string_view(ext).substr(1, ext.size() - 2), n) || n < 1 ||
        n > kTouchstoneMaxPorts) {
        return 0;
    }
    return static_cast<int>(n);
}

/// "1 port", "2 ports".
std::string Plural(std::size_t n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

std::string BaseName(std::string_view name) {
    const std::size_t slash = name.find_last_of("/\\");
    return std::string(slash == std::string_view::npos ? name : name.substr(slash + 1));
}

const char* ParameterName(Parameter p) {
    switch (p) {
    case Parameter::S:
        return "S";
    case Parameter::Y:
        return "Y";
    case Parameter::Z:
        return "Z";
    }
    return "";
}

// ---- Parsing

/// A data row as read: the frequency and the two numbers of the chosen port's reflection.
struct RawPoint {
    double frequency = 0.0; // MHz
    double written = 0.0;   // as the file writes it
    double a = 0.0;
    double b = 0.0;
    double portReference = kNaN; // from a port impedance comment
    int line = 0;
};

class Parser {
public:
    Parser(std::string_view name, const TouchstoneOptions& options)
        : name_(name), options_(options) {}

    /// One line, split at its first '!'. False once the file is found faulty.
    bool Line(int number, std::string_view content, std::string_view comment, bool hasComment);
    TouchstoneResult Finish();

private:
    bool Fail(int line, const std::string& text);
    bool Content(int line, std::string_view content);
    bool Keyword(int line, std::string_view content);
    bool VersionTwoKeyword(int line, const std::string& key, std::string_view written,
                           std::string_view argument);
    bool HeaderKeyword(int line, const std::string& key, const std::string& name,
                       std::string_view argument);
    bool WholeNumber(int line, const std::string& name, std::string_view argument, long long low,
                     long long high, long long& value);
    bool NetworkDataKeyword(int line);
    bool OptionLine(int line, std::string_view content);
    bool Option(int line, const std::vector<std::string_view>& words, std::size_t& i);
    bool Numbers(int line, std::string_view content);
    bool Value(int line, double v);
    bool Frequency(int line, double v);
    bool ReadyForData();
    bool ReferenceValue(int line, double v);
    bool ReferencesMissing();
    bool Comment(int line, std::string_view comment);
    bool PortImpedanceNumbers(int line, const std::vector<std::string_view>& words,
                              std::size_t first);
    bool PortImpedanceDone();
    bool CheckEnd();
    bool BuildPoint(const RawPoint& raw, MeasuredPoint& point);
    double ToMHz(double v) const;

    std::string name_;
    TouchstoneOptions options_;
    TouchstoneResult result_;
    bool failed_ = false;

    int version_ = 1;
    bool optionSeen_ = false;
    int optionLine_ = 0;
    double unitScale_ = 1e3; // GHz; MHz = written * unitScale_ (or / for units below MHz)
    bool unitDivides_ = false;
    Parameter parameter_ = Parameter::S;
    Format format_ = Format::MA;
    std::vector<double> optionReferences_{50.0};

    int ports_ = 0;
    int port_ = 1;
    std::vector<double> references_; // [Reference]
    std::size_t referencesNeeded_ = 0;
    int referenceLine_ = 0;
    Matrix matrix_ = Matrix::Full;
    bool matrixSeen_ = false;
    long long portCount_ = -1;
    long long frequencyCount_ = -1;
    long long noiseCount_ = -1;
    bool twoPortOrderSeen_ = false;
    bool inInformation_ = false;
    int informationLine_ = 0;
    Section section_ = Section::Header;
    bool networkSeen_ = false;

    bool ready_ = false;
    double baseReference_ = 50.0;
    std::int64_t rowValues_ = 0;
    std::int64_t diagonalPair_ = 0;
    std::int64_t k_ = 0;
    RawPoint row_;
    int noiseK_ = 0;
    int lastValueLine_ = 0;
    std::vector<RawPoint> points_;

    std::vector<double> portImpedance_;
    bool portImpedancePending_ = false;
    int portImpedanceLine_ = 0;
    bool anyPortReference_ = false;
};

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

bool Parser::Keyword(int line, std::string_view content) {
    const std::size_t close = content.find(']');
    if (close == std::string_view::npos) {
        return Fail(line, "the keyword " + Quote(content) + " has no closing ']'");
    }
    const std::string key = Simplified(content.substr(1, close - 1));
    const std::string_view argument = Trim(content.substr(close + 1));
    if (key == "version") {
        if (version_ == 2) {
            return Fail(line, "a second [Version]");
        }
        if (optionSeen_ || !points_.empty()) {
            return Fail(line, "[Version] must come before the option line");
        }
        double v = 0.0;
        if (!ParseNumber(argument, v)) {
            return Fail(line, "[Version] needs a version number, not " + Quote(argument));
        }
        if (v != 2.0 && v != 2.1) {
            return Fail(line, "Touchstone version " + std::string(argument) +
                                  " cannot be read (versions 1.0, 1.1, 2.0 and 2.1 can)");
        }
        version_ = 2;
        return true;
    }
    if (version_ == 1) {
        return Fail(line, "the keyword [" + std::string(content.substr(1, close - 1)) +
                              "] belongs to version 2 files, and this file has no [Version] "
                              "before its option line");
    }
    return VersionTwoKeyword(line, key, content.substr(1, close - 1), argument);
}

/// key: the keyword simplified; written: as the file writes it, for messages.
bool Parser::VersionTwoKeyword(int line, const std::string& key, std::string_view written,
                               std::string_view argument) {
    const std::string name = "[" + std::string(written) + "]";
    const bool bare = key == "network data" || key == "noise data" || key == "end" ||
                      key == "begin information" || key == "end information";
    if (bare && !argument.empty()) {
        return Fail(line, "unexpected " + Quote(argument) + " after " + name);
    }
    if (key == "end") {
        section_ = Section::End;
        return true;
    }
    if (key == "begin information") {
        inInformation_ = true;
        informationLine_ = line;
        return true;
    }
    if (key == "end information") {
        return Fail(line, "[End Information] without [Begin Information]");
    }
    if (key == "noise data") {
        if (section_ != Section::Network) {
            return Fail(line, "[Noise Data] must follow [Network Data]");
        }
        if (k_ != 0) {
            return Fail(lastValueLine_, "the last network data row is incomplete");
        }
        section_ = Section::Noise;
        return true;
    }
    if (key == "network data" && networkSeen_) {
        return Fail(line, "a second [Network Data]");
    }
    if (section_ != Section::Header) {
        return Fail(line, name + " must come before [Network Data]");
    }
    if (key == "network data") {
        return NetworkDataKeyword(line);
    }
    return HeaderKeyword(line, key, name, argument);
}

/// A whole number from low to high after a keyword, given once.
bool Parser::WholeNumber(int line, const std::string& name, std::string_view argument,
                         long long low, long long high, long long& value) {
    long long n = 0;
    if (value >= 0) {
        return Fail(line, "a second " + name);
    }
    if (!ParseInteger(argument, n) || n < low || n > high) {
        return Fail(line, name + " must be a whole number from " + std::to_string(low) + " to " +
                              std::to_string(high) + ", not " + Quote(argument));
    }
    value = n;
    return true;
}

/// One of the keywords that describe the data before [Network Data].
bool Parser::HeaderKeyword(int line, const std::string& key, const std::string& name,
                           std::string_view argument) {
    const std::string word = Simplified(argument);
    if (key == "number of ports") {
        if (!WholeNumber(line, name, argument, 1, kTouchstoneMaxPorts, portCount_)) {
            return false;
        }
        ports_ = static_cast<int>(portCount_);
        result_.ports = ports_;
        return true;
    }
    if (key == "number of frequencies") {
        return WholeNumber(line, name, argument, 1, kTouchstoneMaxPoints, frequencyCount_);
    }
    if (key == "number of noise frequencies") {
        return WholeNumber(line, name, argument, 1, kTouchstoneMaxPoints, noiseCount_);
    }
    if (key == "two-port data order") {
        if (twoPortOrderSeen_ || (word != "12_21" && word != "21_12")) {
            return Fail(line, name + " must be given once, as 12_21 or 21_12");
        }
        twoPortOrderSeen_ = true;
        return true;
    }
    if (key == "matrix format") {
        if (matrixSeen_ || (word != "full" && word != "upper" && word != "lower")) {
            return Fail(line, name + " must be given once, as Full, Upper or Lower");
        }
        matrixSeen_ = true;
        matrix_ = word == "full" ? Matrix::Full : (word == "upper" ? Matrix::Upper : Matrix::Lower);
        return true;
    }
    if (key == "reference") {
        if (ports_ == 0) {
            return Fail(line, name + " must follow [Number of Ports]");
        }
        if (!references_.empty() || referencesNeeded_ > 0) {
            return Fail(line, "a second " + name);
        }
        referencesNeeded_ = static_cast<std::size_t>(ports_);
        referenceLine_ = line;
        return argument.empty() || Content(line, argument);
    }
    if (key == "mixed-mode order") {
        return Fail(line, "mixed-mode data cannot be read");
    }
    return Fail(line, "unknown keyword " + name);
}

bool Parser::NetworkDataKeyword(int line) {
    if (!optionSeen_) {
        return Fail(line, "[Network Data] must follow the option line");
    }
    if (ports_ == 0) {
        return Fail(line, "[Network Data] must follow [Number of Ports]");
    }
    if (frequencyCount_ < 0) {
        return Fail(line, "[Network Data] must follow [Number of Frequencies]");
    }
    section_ = Section::Network;
    networkSeen_ = true;
    return ReadyForData();
}

bool Parser::OptionLine(int line, std::string_view content) {
    if (optionSeen_) {
        return true; // only the first option line counts
    }
    if (version_ == 2 && section_ != Section::Header) {
        return Fail(line, "the option line must come before [Network Data]");
    }
    optionSeen_ = true;
    optionLine_ = line;
    const std::vector<std::string_view> words = Words(content.substr(1));
    for (std::size_t i = 0; i < words.size();) {
        if (!Option(line, words, i)) {
            return false;
        }
    }
    return true;
}

/// The option at words[i]; advances i past it.
bool Parser::Option(int line, const std::vector<std::string_view>& words, std::size_t& i) {
    const std::string w = Simplified(words[i++]);
    if (w == "hz" || w == "khz" || w == "mhz" || w == "ghz") {
        unitDivides_ = w == "hz" || w == "khz";
        unitScale_ = w == "hz" ? 1e6 : (w == "khz" ? 1e3 : (w == "mhz" ? 1.0 : 1e3));
        return true;
    }
    if (w == "s" || w == "y" || w == "z") {
        parameter_ = w == "s" ? Parameter::S : (w == "y" ? Parameter::Y : Parameter::Z);
        return true;
    }
    if (w == "h" || w == "g") {
        return Fail(line, std::string(w == "h" ? "H" : "G") +
                              "-parameter (hybrid) data cannot be read: only S, Y and Z data "
                              "give an impedance");
    }
    if (w == "ri" || w == "ma" || w == "db") {
        format_ = w == "ri" ? Format::RI : (w == "ma" ? Format::MA : Format::DB);
        return true;
    }
    if (w == "r") {
        std::vector<double> references;
        double v = 0.0;
        while (i < words.size() && ParseNumber(words[i], v)) {
            if (!(v > 0.0)) {
                return Fail(line,
                            "the reference impedance " + Quote(words[i]) + " must be above 0 ohm");
            }
            references.push_back(v);
            ++i;
        }
        if (references.empty() && i < words.size() &&
            (words[i].front() == '(' || words[i].find_first_of("jJ") != std::string_view::npos)) {
            return Fail(line, "the reference impedance " + Quote(words[i]) + kComplexReference);
        }
        if (references.empty()) {
            return Fail(line, "R must be followed by the reference impedance in ohm" +
                                  (i < words.size() ? ", not " + Quote(words[i]) : std::string()));
        }
        if (version_ == 2 && references.size() > 1) {
            return Fail(line, "a version 2 file gives one reference impedance after R; "
                              "one for each port goes in [Reference]");
        }
        optionReferences_ = references;
        return true;
    }
    return Fail(line, "unknown option " + Quote(words[i - 1]) + " in the option line");
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

bool Parser::ReferencesMissing() {
    return Fail(referenceLine_,
                "[Reference] gives " +
                    Plural(references_.size(), "reference impedance", "reference impedances") +
                    " for " + Plural(ports_, "port", "ports"));
}

bool Parser::ReferenceValue(int line, double v) {
    if (referencesNeeded_ == 0) {
        return Fail(line, "[Reference] gives more than " +
                              Plural(ports_, "reference impedance", "reference impedances"));
    }
    if (!(v > 0.0)) {
        return Fail(line, "the reference impedance " + NumberText(v) + " must be above 0 ohm");
    }
    references_.push_back(v);
    --referencesNeeded_;
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
        data.name = BaseName(name_);
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

} // namespace

TouchstoneResult ReadTouchstone(std::string_view bytes, std::string_view name,
                                const TouchstoneOptions& options) {
    Parser parser(name, options);
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") {
        bytes.remove_prefix(3);
    }
    std::size_t pos = 0;
    for (int number = 1; pos < bytes.size(); ++number) {
        std::size_t end = bytes.find_first_of("\r\n", pos);
        if (end == std::string_view::npos) {
            end = bytes.size();
        }
        const std::string_view line = bytes.substr(pos, end - pos);
        pos = end +
              ((end + 1 < bytes.size() && bytes[end] == '\r' && bytes[end + 1] == '\n') ? 2 : 1);
        const std::size_t bang = line.find('!');
        const bool hasComment = bang != std::string_view::npos;
        const std::string_view content = hasComment ? line.substr(0, bang) : line;
        const std::string_view comment = hasComment ? line.substr(bang + 1) : std::string_view();
        if (!parser.Line(number, content, comment, hasComment)) {
            break;
        }
    }
    return parser.Finish();
}

TouchstoneResult ReadTouchstoneFile(const std::string& path, const TouchstoneOptions& options) {
    TouchstoneResult failure;
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        failure.error = "The file cannot be opened: " + std::string(std::strerror(errno)) + ".";
        return failure;
    }
    if (!S_ISREG(st.st_mode)) {
        failure.error = "This is not a file.";
        return failure;
    }
    if (static_cast<std::uint64_t>(st.st_size) > kTouchstoneMaxBytes) {
        failure.error = "The file is too large (over " + std::to_string(kTouchstoneMaxBytes >> 20) +
                        " MB) for Touchstone data.";
        return failure;
    }
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        failure.error = "The file cannot be opened: " + std::string(std::strerror(errno)) + ".";
        return failure;
    }
    std::string bytes;
    char buffer[65536];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0 &&
           bytes.size() + got <= kTouchstoneMaxBytes) {
        bytes.append(buffer, got);
    }
    const bool bad = std::ferror(file) != 0 || got > 0;
    std::fclose(file);
    if (bad) {
        failure.error = "The file cannot be read completely.";
        return failure;
    }
    return ReadTouchstone(bytes, path, options);
}
