#pragma once

#include "cli/clioptions.h"
#include "cli/clipictures.h"
#include "cli/recordedreadout.h"
#include "model/messagesink.h"
#include "model/smithchrt.h"
#include "platform/drawing/clocaledatetime.h"

#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

inline constexpr int kExitSuccess = 0;
inline constexpr int kExitFileError = 1;
inline constexpr int kExitUsage = 2;

/// One run of the command-line companion: read or create the document, apply the edits, write
/// the outputs. Text outputs go to out; messages and errors to err.
class CCliRun {
public:
    CCliRun(std::ostream& out, std::ostream& err) : out(out), err(err) {}

    /// Runs the arguments that follow the program name; returns the exit status.
    int Run(const std::vector<std::string>& args);

    /// The document as the run left it.
    const SmithChrt& Document() const { return doc; }

private:
    int Execute(const CliOptions& o);
    int Load(const CliOptions& o);
    /// Reads the files of --start-data and --goal-data and binds their data.
    int BindData(const CliOptions& o);
    int ApplyEdits(const CliOptions& o);
    int WriteOutputs(const CliOptions& o);
    int WritePicture(const CliOptions& o);
    int WritePlot(const CliOptions& o);
    /// Loads the picture writers the run needs (the chart's for -o, the plot's for --plot) and
    /// starts their Qt session, once; false (said on err) when they cannot be loaded.
    bool StartPictures(const CliOptions& o);
    int WriteSpice();
    int WriteS2p(const CliOptions& o);
    const RecordedReadout& Drawn(const CliOptions& o);
    int UsageError(const std::string& problem);
    void PrintMessages();

    std::ostream& out;
    std::ostream& err;
    SmithChrt doc;
    MessageCollector messages;
    CLocaleDateTime clock;
    bool picturesStarted = false;
    const CliPictureWriters* pictures = nullptr;
    const CliPlotWriters* plots = nullptr;
    std::unique_ptr<void, void (*)(void*)> gui{nullptr, nullptr};
    std::optional<RecordedReadout> drawn;
    std::optional<std::string> optimization; ///< the JSON of what --optimize and --snap did
};
