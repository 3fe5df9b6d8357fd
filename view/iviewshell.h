#pragma once

#include <QString>

/// What the view asks of the window around it while it runs its own commands: file names, the
/// print preview's page count, and a word when the band display turns on. The shell's own
/// commands (files, bars, About) never pass through the view: the main frame sends them to the
/// application.
class IViewShell {
public:
    virtual ~IViewShell() = default;
    /// The band display has just been turned on: the shell shows the response plot the first
    /// time this happens.
    virtual void BandDisplayTurnedOn() {}
    /// The print preview's page count from the settings store ("Settings", "PreviewPages");
    /// 0 when none is stored.
    virtual int PreviewPages() const { return 0; }
    /// The file to export the chart to, asked with the file dialog (suggested: the name it
    /// starts with); empty when the user cancels.
    virtual QString AskExportFileName(const QString& /*suggested*/) { return {}; }
    /// A Touchstone file to read measured data from, asked with the file dialog; empty when the
    /// user cancels.
    virtual QString AskDataFileName() { return {}; }
    /// A Touchstone file to read a two-port device from, asked with the file dialog; empty when
    /// the user cancels.
    virtual QString AskDeviceFileName() { return {}; }
    /// A device has just been loaded: the shell shows the response panel, which then carries
    /// the device's plot, the first time this happens.
    virtual void DeviceLoaded() {}
    /// The two-port Touchstone file to export the network to (suggested: the name it starts
    /// with); empty when the user cancels.
    virtual QString AskNetworkFileName(const QString& /*suggested*/) { return {}; }
};
