#pragma once

#include "model/devicedata.h"
#include "model/measureddata.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

/// How to read a Touchstone file.
struct TouchstoneOptions {
    /// The number of ports of a version 1 file, which only its name states (.s1p, .s2p, ...);
    /// 0 takes it from the name. Version 2 files state it themselves and ignore this.
    int ports = 0;
    /// For S-parameter data of several ports, the port (1-based) whose reflection S_ii to take,
    /// the other ports terminated in their references; 0 reads one-port data only.
    int port = 0;
};

/// What reading a Touchstone file gave.
struct TouchstoneResult {
    std::optional<MeasuredData> data; ///< the data, when the file could be read
    /// Why not, for the user: "line 12: ..." when a line is at fault, otherwise about the file.
    std::string error;
    /// What the reader had to assume or skip in a file it read, one sentence each, for the user.
    std::vector<std::string> notes;
    int errorLine = 0; ///< the 1-based line the error names; 0 when it concerns the whole file
    int ports = 0;     ///< the number of ports of the file's data, once known (also on failure)
    /// True when the file is S-parameter data of several ports and no port was chosen: reading it
    /// again with TouchstoneOptions::port set may succeed.
    bool portNeeded = false;
};

/// Files larger than this are refused before reading.
inline constexpr std::size_t kTouchstoneMaxBytes = std::size_t(256) << 20;
/// More frequency points than this are refused.
inline constexpr std::size_t kTouchstoneMaxPoints = 1000000;
/// More ports than this are refused.
inline constexpr int kTouchstoneMaxPorts = 10000;

/// Reads one-port impedance data from the bytes of a Touchstone file, version 1.0/1.1 or
/// 2.0/2.1, with S, Y or Z parameters in RI, MA or DB format. name is the file's name: its
/// extension gives the number of ports of a version 1 file, and without its folders it becomes
/// the data's name. Frequencies come out in MHz. Y and Z data are normalised to the option
/// line's R in version 1 and in siemens and ohm in version 2. A "! Port Impedance" comment after
/// a data row (written by electromagnetic simulators) sets the reference of that frequency; a
/// complex one is refused. Only the first option line counts; in a version 1 two-port file a
/// frequency that does not increase starts the noise data, which is skipped, as is [Noise Data].
/// [Two-Port Data Order] and [End] may be missing. Never throws; every fault gives an error.
TouchstoneResult ReadTouchstone(std::string_view bytes, std::string_view name,
                                const TouchstoneOptions& options = {});

/// Reads the file at path with ReadTouchstone; a file that cannot be opened, is not a regular
/// file or is larger than kTouchstoneMaxBytes gives an error.
TouchstoneResult ReadTouchstoneFile(const std::string& path, const TouchstoneOptions& options = {});

/// How to read a two-port device from a Touchstone file.
struct DeviceReadOptions {
    int ports = 0; ///< as TouchstoneOptions::ports
    /// For a file of more than two ports, the two (1-based) that are the device's ports 1 and 2,
    /// the others terminated in their references; 0 for a two-port file's own.
    int port1 = 0;
    int port2 = 0;
};

/// What reading a two-port device gave; the fields as in TouchstoneResult.
struct DeviceReadResult {
    std::optional<DeviceData> data;
    std::string error;
    std::vector<std::string> notes;
    int errorLine = 0;
    int ports = 0;
    bool portsNeeded = false; ///< a file of more than two ports, and no ports chosen
};

/// Reads a two-port device: S, Y or Z data (Y and Z of two ports only) turned into S-parameters
/// on the first port's reference, in any format and unit of version 1.0/1.1 or 2.0/2.1, with the
/// noise parameters where the file has them (version 1's rows after the network data, version
/// 2's [Noise Data]): frequency, minimum noise figure in dB, magnitude and angle of the optimum
/// source reflection, noise resistance (normalised to the reference in version 1, in ohm in
/// version 2). Never throws.
DeviceReadResult ReadTouchstoneDevice(std::string_view bytes, std::string_view name,
                                      const DeviceReadOptions& options = {});
/// Reads the file at path with ReadTouchstoneDevice, refusing what ReadTouchstoneFile refuses.
DeviceReadResult ReadTouchstoneDeviceFile(const std::string& path,
                                          const DeviceReadOptions& options = {});
