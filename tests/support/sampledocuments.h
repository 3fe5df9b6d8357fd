#pragma once

#include "model/smithchrt.h"

#include <string>
#include <vector>

/// A document as File New leaves it.
SmithChrt NewDocument();

/// A named network for table-driven tests.
struct SampleNetwork {
    std::string name;
    std::vector<Component> components;
};

/// One network per element kind and placement, and mixed ones (a lumped element after a line
/// carries the line's angle; unusual kind and placement pairs).
std::vector<SampleNetwork> SampleNetworks();

/// NewDocument with the given network, the last component active.
SmithChrt DocumentWith(const std::vector<Component>& components);

/// One-port data of three points at 100, 200 and 400 MHz on 50 ohm, named "probe.s1p", the
/// reference at 400 MHz 75 ohm.
MeasuredData SampleMeasuredData();
