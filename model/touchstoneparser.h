#pragma once

#include "model/measureddata.h"
#include "model/touchstone.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

// The Touchstone reader's state machine, shared by its parts: the option line and keywords
// (touchstoneheader.cpp) and the data rows and their assembly (touchstonedata.cpp).
namespace touchstone {

enum class Parameter { S, Y, Z };
enum class Format { RI, MA, DB };
enum class Matrix { Full, Upper, Lower };
enum class Section { Header, Network, Noise, End };

inline constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
inline constexpr const char* kComplexReference =
    " is complex: a complex reference cannot be used, since its conversion depends on a wave "
    "definition the file does not state";

const char* ParameterName(Parameter p);

/// A data row as read: the frequency and the numbers of the parameters wanted, two for each:
/// the chosen port's reflection first (one-port reading takes only it).
struct RawPoint {
    double frequency = 0.0; // MHz
    double written = 0.0;   // as the file writes it
    std::array<double, 8> v{};
    double portReference = kNaN;  // from a port impedance comment: the chosen port's
    double portReferenceJ = kNaN; // and the second port's, for two-port reading
    int line = 0;
};

class Parser {
public:
    Parser(std::string_view name, const TouchstoneOptions& options)
        : name_(name), options_(options) {}
    /// A parser that reads a two-port device: ports i and j (1-based; 0 for 1 and 2).
    Parser(std::string_view name, int ports, int i, int j) : name_(name), device_(true), port2_(j) {
        options_.ports = ports;
        options_.port = i;
    }

    /// One line, split at its first '!'. False once the file is found faulty.
    bool Line(int number, std::string_view content, std::string_view comment, bool hasComment);
    TouchstoneResult Finish();
    /// The device read; the result's fields other than data stay in the TouchstoneResult.
    std::optional<DeviceData> FinishDevice(TouchstoneResult& result);

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
    bool NoiseStartsHere(int line, const std::vector<std::string_view>& words, bool& skip);
    bool Value(int line, double v, std::string_view word);
    bool Frequency(int line, double v, std::string_view word);
    void NextPair();
    std::string IncompleteRow(const char* which) const;
    std::string IncompleteNoiseRow() const;
    std::string ParameterAt(std::int64_t index) const;
    bool ReadyForData();
    bool ReadyForDevice();
    bool NoiseValue(int line, double v, std::string_view word);
    bool BuildDevicePoint(const RawPoint& raw, DevicePoint& point);
    bool ReferenceValue(int line, double v);
    bool ReferencesMissing();
    bool Comment(int line, std::string_view comment);
    bool PortImpedanceNumbers(int line, const std::vector<std::string_view>& words,
                              std::size_t first);
    bool PortImpedanceDone();
    bool CheckEnd();
    Complex PairValue(const RawPoint& raw, std::size_t slot) const;
    bool BuildPoint(const RawPoint& raw, MeasuredPoint& point);
    double ToMHz(double v, std::string_view word) const;

    std::string name_;
    TouchstoneOptions options_;
    TouchstoneResult result_;
    bool device_ = false;
    int port2_ = 0;
    double baseReferenceJ_ = 50.0;
    struct NoiseRow {
        std::array<double, 5> v{};
        double frequency = 0.0; // MHz
        int line = 0;
    };
    std::vector<NoiseRow> noise_;
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
    bool order21_12_ = true; // a two-port row gives S21 before S12
    bool inInformation_ = false;
    int informationLine_ = 0;
    Section section_ = Section::Header;
    bool networkSeen_ = false;

    bool ready_ = false;
    double baseReference_ = 50.0;
    std::int64_t rowValues_ = 0;
    std::int64_t k_ = 0;
    int pairI_ = 0; // the matrix element the next pair of numbers gives, 0-based
    int pairJ_ = 0;
    int wantI_ = 0; // the ports whose parameters are kept, 0-based
    int wantJ_ = 0;
    bool noiseRowsFollow_ = false; // version 1 two-port data, where noise rows may follow
    RawPoint row_;
    int noiseK_ = 0;
    std::array<double, 5> noiseRow_{};
    int noiseLine_ = 0;
    int lastValueLine_ = 0;
    std::vector<RawPoint> points_;
    std::vector<double> lastRow_; // the numbers of the last row, where rows stand on one line

    std::vector<double> portImpedance_;
    bool portImpedancePending_ = false;
    int portImpedanceLine_ = 0;
    bool anyPortReference_ = false;
};

} // namespace touchstone
