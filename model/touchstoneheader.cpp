#include "model/touchstonelexer.h"
#include "model/touchstoneparser.h"

// The option line and the keywords of a Touchstone file.
namespace touchstone {

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
        order21_12_ = word == "21_12";
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

} // namespace touchstone
