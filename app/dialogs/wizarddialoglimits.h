#pragma once

#include <cstdint>

// Ranges the two wizard dialogs accept and the values they open with, in one place.

// MatchMe wizard.
inline constexpr int32_t kMatchSectionsMin = 1;
inline constexpr int32_t kMatchSectionsMax = 10;
inline constexpr int32_t kMatchSectionsOpening = 1;
inline constexpr int32_t kMatchTopologyOpening = 0; // lumped low-pass
inline constexpr double kMatchResistanceMin = 1e-15;
inline constexpr double kMatchResistanceMax = 1e15;
inline constexpr double kMatchReactanceMin = -1e15;
inline constexpr double kMatchReactanceMax = 1e15;

// Filter synthesis wizard.
inline constexpr double kFilterCutoffMin = 1e-15;
inline constexpr double kFilterCutoffMax = 1e15;
inline constexpr double kFilterRippleMin = 0.0001;
inline constexpr double kFilterRippleMax = 10.0;
inline constexpr double kFilterRippleOpening = 0.1;
inline constexpr int32_t kFilterOrderMin = 3;
inline constexpr int32_t kFilterOrderMax = 15;
inline constexpr int32_t kFilterOrderOpening = 3;
inline constexpr double kFilterRoMin = 1e-15;
inline constexpr double kFilterRoMax = 1e15;
inline constexpr int32_t kFilterTypeOpening = 0;         // Lowpass
inline constexpr int32_t kFilterFirstElementOpening = 0; // Shunt
