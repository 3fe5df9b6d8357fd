#pragma once

#include "model/frequencygrid.h"

#include <ostream>

class SmithChrt;

/// The header line of the sweep CSV.
inline constexpr const char* kSweepHeader =
    "frequency_mhz,end_re,end_im,vswr,return_loss_db,mismatch_loss_db";

/// Writes the CSV of the band evaluation at each frequency of grid, one row each: the ending
/// impedance and its figures against the goal, bound data taking its value at the row's
/// frequency. An empty network ends in the starting impedance, as across the band; a network
/// that cannot be evaluated (a component of unknown kind) leaves the five figures empty and
/// reports what the window reports for it. doc itself is not changed.
void WriteSweepCsv(const SmithChrt& doc, const FrequencyGrid& grid, std::ostream& out);
