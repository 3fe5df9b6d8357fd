#pragma once

#include <string>

class SmithChrt;

/// The network of a document as a two-port Touchstone file (version 1.1), or the reason there is
/// none.
struct NetworkTouchstone {
    std::string text;
    std::string error;
};

/// Port 1 at the starting [Generator] end, port 2 at the goal [Load] end; S-parameters in real
/// and imaginary parts on the chart Z0's real part, in MHz, at the band's frequencies while the
/// band display is on, else at the analysis frequency; 17 significant digits. The comment lines
/// name the program and documentName.
NetworkTouchstone WriteNetworkTouchstone(const SmithChrt& chart, const std::string& documentName);
