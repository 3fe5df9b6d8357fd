#pragma once

#include <cstdint>
#include <string>
#include <vector>

class IDateTimeText;
class SmithChrt;

/// What the window's draw at a client area of width x height pixels writes and leaves.
struct RecordedReadout {
    std::vector<std::string> lines; ///< the readout lines in the order written
    double maxNetworkQ = 0;         ///< the value the draw leaves
};

/// Draws a copy of doc into a recording surface, as the window draws into its client area.
/// Messages raised by the draw reach doc.messages.
RecordedReadout RecordReadout(const SmithChrt& doc, int32_t width, int32_t height,
                              IDateTimeText& clock);
