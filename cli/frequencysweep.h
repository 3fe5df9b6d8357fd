#pragma once

#include "cli/clioptions.h"

#include <ostream>

class SmithChrt;

/// The header line of the sweep CSV.
inline constexpr const char* kSweepHeader =
    "frequency_mhz,end_re,end_im,vswr,return_loss_db,mismatch_loss_db";
/// The columns the header ends with while the document has a loss setting.
inline constexpr const char* kSweepLossColumns = ",transducer_gain_db,dissipation_loss_db";

/// The frequency of row i of a sweep: linearly spaced, the first row at F1, the last at F2.
double SweepFrequency(const SweepRequest& sweep, int32_t row);

/// Writes the CSV of the network evaluated at each frequency of the sweep. Rows where the
/// network has no ending impedance (empty, or a component of unknown kind) leave the five
/// figures empty. While a loss is set, each row ends with the transducer gain and the
/// dissipation loss. doc itself is not changed.
void WriteSweepCsv(const SmithChrt& doc, const SweepRequest& sweep, std::ostream& out);
