#pragma once

#include "model/component.h"

#include <cstdint>

/// Components of a given value: nH, pF, and a line of characteristic impedance z0 (ohm) and
/// electrical angle (degrees) at f MHz. The add commands' New* components and the wizards'
/// networks are made by these.
Component InductorOf(int32_t placement, double nH);
Component CapacitorOf(int32_t placement, double pF);
Component LineOf(int32_t placement, double z0, double angleDegrees, double f);
