#pragma once

#include <QString>

/// The Open, Save As and Export Chart file dialogs; an empty result means the user cancelled.
class IFileDialogs {
public:
    virtual ~IFileDialogs() = default;
    virtual QString GetOpenFileName() = 0;
    /// suggested: the name the dialog starts with.
    virtual QString GetSaveFileName(const QString& suggested) = 0;
    /// A picture file for the chart, offered as PNG, SVG or PDF; the name returned ends in
    /// .png, .svg or .pdf (the chosen type's extension is added to a name without one of them).
    virtual QString GetExportFileName(const QString& suggested) = 0;
    /// A Touchstone file to open, offered as "Touchstone Files (*.s1p ...)" matching any case,
    /// and all files.
    virtual QString GetDataFileName() { return {}; }
    /// A Touchstone file of a two-port device (or of more ports, two of which are the device's),
    /// offered as "Touchstone Files (*.s2p ...)" matching any case, and all files.
    virtual QString GetDeviceFileName() { return {}; }
    /// A two-port Touchstone file to write the network to; a name without an extension gets .s2p.
    virtual QString GetNetworkFileName(const QString& /*suggested*/) { return {}; }
};
