#include "cli/clirun.h"

#include "cli/clidesign.h"
#include "cli/cliedits.h"
#include "cli/frequencysweep.h"
#include "cli/networkevaluation.h"
#include "cli/networkjson.h"
#include "cli/spicenetlist.h"
#include "design/bodefano.h"
#include "model/devicebinding.h"
#include "model/documentfile.h"
#include "model/measuredbinding.h"
#include "model/networktouchstone.h"
#include "model/touchstone.h"

#include <set>

namespace {

// Every line the tool writes to stderr starts with its name.
constexpr const char* kProgramPrefix = "quorbel-cli: ";

// A message about a file, naming the file as the command line gave it.
std::string FileMessage(const std::string& path, const std::string& text) {
    return path + ": " + text;
}

} // namespace

int CCliRun::Run(const std::vector<std::string>& args) {
    if (args.empty()) {
        // Run bare, the tool would only write nothing: say how to use it instead.
        err << CliUsageText();
        err.flush();
        return kExitUsage;
    }
    const CliParseResult parsed = ParseCliOptions(args);
    if (!parsed.options) {
        return UsageError(parsed.error);
    }
    if (parsed.options->help || parsed.options->version) {
        out << (parsed.options->help ? CliUsageText() : CliVersionText());
        out.flush();
        return kExitSuccess;
    }
    const int status = Execute(*parsed.options);
    PrintMessages();
    return status;
}

int CCliRun::Execute(const CliOptions& o) {
    if (int status = Load(o); status != kExitSuccess) {
        return status;
    }
    if (int status = BindData(o); status != kExitSuccess) {
        return status;
    }
    if (int status = ApplyEdits(o); status != kExitSuccess) {
        return status;
    }
    return WriteOutputs(o);
}

int CCliRun::Load(const CliOptions& o) {
    doc = SmithChrt();
    doc.ResetForNewDocument();
    // Reading may raise a message too (a document of an earlier version).
    doc.messages = &messages;
    if (o.document) {
        DocumentError error = DocumentError::None;
        std::vector<std::string> notes;
        if (LoadDocumentFile(*o.document, doc, error, &notes) == OpenOutcome::Failed) {
            messages.Report(FileMessage(*o.document, DocumentErrorText(error)));
            return kExitFileError;
        }
        for (const std::string& note : notes) {
            messages.Report(FileMessage(*o.document, note));
        }
    }
    doc.messages = &messages;
    return kExitSuccess;
}

int CCliRun::BindData(const CliOptions& o) {
    struct DataFile {
        const std::optional<std::string>& path;
        int32_t port;
        LoadEnd end;
    };
    const DataFile files[] = {{o.startData, o.startPort, LoadEnd::Start},
                              {o.goalData, o.goalPort, LoadEnd::Goal}};
    for (const auto& [path, port, end] : files) {
        if (!path) {
            continue;
        }
        TouchstoneResult read = ReadTouchstoneFile(*path, TouchstoneOptions{0, port});
        if (read.data && port != 0) {
            read.data->name += " (port " + std::to_string(port) + ")";
        }
        const std::string problem = read.data ? CheckBindable(*read.data) : read.error;
        if (!problem.empty()) {
            messages.Report(FileMessage(*path, problem));
            return kExitFileError;
        }
        for (const std::string& note : read.notes) {
            messages.Report(FileMessage(*path, note + "."));
        }
        BindMeasuredData(doc, end, std::make_shared<const MeasuredData>(std::move(*read.data)));
    }
    if (o.device) {
        DeviceReadResult read =
            ReadTouchstoneDeviceFile(*o.device, {0, o.devicePort1, o.devicePort2});
        const std::string problem = read.data ? CheckDeviceData(*read.data) : read.error;
        if (!problem.empty()) {
            messages.Report(FileMessage(*o.device, problem));
            return kExitFileError;
        }
        for (const std::string& note : read.notes) {
            messages.Report(FileMessage(*o.device, note + "."));
        }
        if (o.devicePort1 != 0) {
            read.data->name += " (ports " + std::to_string(o.devicePort1) + "," +
                               std::to_string(o.devicePort2) + ")";
        }
        LoadDevice(doc, std::make_shared<const DeviceData>(std::move(*read.data)));
    }
    return kExitSuccess;
}

int CCliRun::ApplyEdits(const CliOptions& o) {
    if (!ApplyCliEdits(o, doc, messages)) {
        return kExitUsage;
    }
    CliDesignOutcome design = ApplyCliDesign(o, doc);
    if (!design.error.empty()) {
        err << kProgramPrefix << design.error << "\n";
        return kExitUsage;
    }
    optimization = design.json;
    if (o.bodeFano) {
        ShowBodeFano(doc, true);
    }
    return kExitSuccess;
}

int CCliRun::WriteOutputs(const CliOptions& o) {
    if (o.savePath) {
        std::string cause;
        if (const DocumentError e = SaveDocumentFile(*o.savePath, doc, &cause);
            e != DocumentError::None) {
            std::string text = DocumentErrorText(e);
            if (!cause.empty()) {
                text += " (" + cause + ")";
            }
            messages.Report(FileMessage(*o.savePath, text));
            return kExitFileError;
        }
    }
    if (o.outputPath) {
        if (int status = WritePicture(o); status != kExitSuccess) {
            return status;
        }
    }
    if (o.plotPath) {
        if (int status = WritePlot(o); status != kExitSuccess) {
            return status;
        }
    }
    if (o.readout) {
        for (const std::string& line : Drawn(o).lines) {
            out << line << '\n';
        }
    }
    if (o.json) {
        const double maxNetworkQ = Drawn(o).maxNetworkQ;
        out << NetworkJson(doc, EvaluateNetwork(doc), maxNetworkQ, optimization.value_or("null"),
                           o.bodeFano);
    }
    if (o.sweep) {
        WriteSweepCsv(doc, *o.sweep, out);
    }
    if (o.spice) {
        if (int status = WriteSpice(); status != kExitSuccess) {
            return status;
        }
    }
    if (o.s2pPath) {
        if (int status = WriteS2p(o); status != kExitSuccess) {
            return status;
        }
    }
    out.flush();
    if (!out) {
        err << kProgramPrefix << "cannot write the standard output\n";
        return kExitFileError;
    }
    return kExitSuccess;
}

bool CCliRun::StartPictures(const CliOptions& o) {
    if (picturesStarted) {
        return true;
    }
    // Both modules are loaded before a picture is written, so that a missing one leaves no
    // picture behind; the session is the plot's widget application when the run plots.
    if (o.outputPath) {
        const CliModuleLoad load = LoadCliPictureWriters();
        if (load.writers == nullptr) {
            err << kProgramPrefix << "cannot write pictures: " << load.error << "\n";
            return false;
        }
        pictures = load.writers;
    }
    if (o.plotPath) {
        const CliModuleLoad load = LoadCliPlotWriters();
        if (load.writers == nullptr) {
            err << kProgramPrefix << "cannot write pictures: " << load.error << "\n";
            return false;
        }
        plots = load.writers;
        gui = {plots->startSession(), plots->endSession};
    } else {
        gui = {pictures->startSession(), pictures->endSession};
    }
    picturesStarted = true;
    return true;
}

int CCliRun::WritePicture(const CliOptions& o) {
    if (!StartPictures(o)) {
        return kExitFileError;
    }
    if (!pictures->writeChart(doc, o.width, o.height, *o.outputPath, o.outputFormat, clock)) {
        err << kProgramPrefix << FileMessage(*o.outputPath, "cannot write the picture") << "\n";
        return kExitFileError;
    }
    return kExitSuccess;
}

int CCliRun::WritePlot(const CliOptions& o) {
    if (!doc.band.display) {
        err << "quorbel-cli: --plot: the band display is off; give --band F1:F2:N or a document "
               "whose band is shown\n";
        return kExitUsage;
    }
    if (!StartPictures(o)) {
        return kExitFileError;
    }
    if (!plots->writePlot(doc, o.width, o.height, *o.plotPath, o.plotFormat)) {
        err << "quorbel-cli: cannot write the plot '" << *o.plotPath << "'\n";
        return kExitFileError;
    }
    return kExitSuccess;
}

const RecordedReadout& CCliRun::Drawn(const CliOptions& o) {
    if (!drawn) {
        drawn = RecordReadout(doc, o.width, o.height, clock);
    }
    return *drawn;
}

int CCliRun::WriteSpice() {
    const SpiceNetlist netlist = WriteSpiceNetlist(doc);
    if (!netlist.error.empty()) {
        err << kProgramPrefix << "--spice: " << netlist.error << "\n";
        return kExitUsage;
    }
    out << netlist.text;
    return kExitSuccess;
}

int CCliRun::WriteS2p(const CliOptions& o) {
    const std::string name =
        o.document ? o.document->substr(o.document->rfind('/') + 1) : "a new document";
    const NetworkTouchstone file = WriteNetworkTouchstone(doc, name);
    if (!file.error.empty()) {
        err << kProgramPrefix << "--s2p: " << file.error << "\n";
        return kExitUsage;
    }
    const std::vector<uint8_t> bytes(file.text.begin(), file.text.end());
    if (const DocumentError e = SaveBytesFile(*o.s2pPath, bytes); e != DocumentError::None) {
        messages.Report(FileMessage(*o.s2pPath, "cannot write the Touchstone file"));
        return kExitFileError;
    }
    return kExitSuccess;
}

int CCliRun::UsageError(const std::string& problem) {
    err << kProgramPrefix << problem << "\nTry 'quorbel-cli --help' for more information.\n";
    return kExitUsage;
}

void CCliRun::PrintMessages() {
    std::set<std::string> shown;
    for (const std::string& text : messages.messages) {
        if (shown.insert(text).second) {
            err << kProgramPrefix << text << "\n";
        }
    }
    err.flush();
}
