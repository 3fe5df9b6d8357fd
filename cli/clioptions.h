#pragma once

#include "chart/pictureformat.h"
#include "model/bandsettings.h"
#include "model/complex.h"
#include "model/devicefigures.h"
#include "model/frequencygrid.h"
#include "model/lossspec.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

/// --matchme N,TOPOLOGY: the section count as typed, read and checked as the dialog reads and
/// checks it.
struct MatchMeRequest {
    std::string sections;
    int32_t topology = 0;
};

/// --filter TYPE,FC,RIPPLE,N,RO,FIRST: the four typed fields as text, read and checked as the
/// dialog reads and checks them, and the two radio choices.
struct FilterRequest {
    int32_t filterType = 0;
    std::string cutoff;
    std::string ripple;
    std::string order;
    std::string ro;
    int32_t firstElement = 0;
};

/// --optimize [vswr|gain], --optimize-components LIST, --optimize-seed N.
struct OptimiseRequest {
    std::string objective = "vswr";
    std::vector<int32_t> components; ///< 1-based as typed; empty for all
    uint32_t seed = 1;
};

/// --component-loss N:LOSS: the part (0-based here) and its loss, checked against its kind when
/// the document is known.
struct PartLossRequest {
    int32_t index = 0;
    LossSpec setting;
};

/// Everything the command line asked for.
struct CliOptions {
    bool help = false;
    bool version = false;
    std::optional<std::string> document;

    // Edits, applied in this order. The data files are read and bound first, so that the final
    // frequency decides their values.
    std::optional<std::string> startData;
    std::optional<std::string> goalData;
    int32_t startPort = 0; ///< the port of multi-port S data to take; 0: one-port data only
    int32_t goalPort = 0;
    std::optional<double> frequency;
    std::optional<FrequencyGrid> band;  ///< --band: sets the band and turns its display on
    bool bandOff = false;               ///< returns the band to its defaults (display off)
    std::optional<BandLimit> bandLimit; ///< kept in the document with the band
    bool unbindData = false;            ///< unbinds both impedances, keeping their values
    std::optional<std::string> device;  ///< a two-port device to load (read with the data)
    int32_t devicePort1 = 0;            ///< for a file of more ports, the device's two ports
    int32_t devicePort2 = 0;
    bool unbindDevice = false; ///< unloads the device (a goal bound to it keeps its value)
    std::optional<std::string> goalDevice; ///< source-gain, source-noise or load-gain
    std::optional<CircleSettings> circles; ///< the device's circle families and steps
    std::optional<double> z0;
    std::optional<Complex> startZ;
    std::optional<Complex> goalZ;
    // Losses, after the data binding and before the wizards: --lossless first, then the
    // defaults (a lossless value clears one), then the parts' own.
    bool lossless = false;
    std::optional<LossSpec> inductorQ;
    std::optional<LossSpec> capacitorQ;
    std::optional<LossSpec> lineLoss;
    std::vector<PartLossRequest> partLosses;
    std::optional<MatchMeRequest> matchMe;
    std::optional<FilterRequest> filter;
    // After the wizards and the band: optimise, then snap.
    std::optional<OptimiseRequest> optimise;
    std::vector<int32_t> optimiseComponents; ///< --optimize-components, 1-based
    std::optional<uint32_t> optimiseSeed;
    std::optional<std::string> snapSeries; ///< E6 ... E192, checked
    bool flip = false; ///< turns the network around end for end, as the window's Flip does

    // Outputs, written in this order.
    std::optional<std::string> savePath;
    std::optional<std::string> outputPath;
    PictureFormat outputFormat = PictureFormat::Png; ///< by the file's extension
    std::optional<std::string> plotPath;             ///< the band response plot
    PictureFormat plotFormat = PictureFormat::Png;
    int32_t width = 800;
    int32_t height = 400;
    bool readout = false;
    bool json = false;
    std::optional<FrequencyGrid> sweep; ///< --sweep F1:F2:N
    bool spice = false;
    bool bodeFano = false;              ///< the Bode-Fano limit in the readout and the JSON's band
    std::optional<std::string> s2pPath; ///< the network as a two-port Touchstone file
};

/// The options, or the reason the command line is not a valid one.
struct CliParseResult {
    std::optional<CliOptions> options;
    std::string error;
};

/// Parses the arguments that follow the program name.
CliParseResult ParseCliOptions(const std::vector<std::string>& args);

/// The text --help prints.
std::string CliUsageText();
/// The line --version prints: the program's name and version.
std::string CliVersionText();
