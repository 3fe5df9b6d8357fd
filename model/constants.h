#pragma once

// Every constant derives from pi taken as 3.1415926535; the values are the doubles the program
// uses.
inline constexpr double kDegToRad = 0.017453292519444445;   // pi / 180
inline constexpr double kRadToDeg = 57.29577951471995;      // 180 / pi
inline constexpr double kTwoPi = 6.283185307;               // 2 pi
inline constexpr double kTwoPiE6 = 6283185.307;             // 2 pi x 1e6
inline constexpr double kTwoPiEm3 = 0.006283185307;         // 2 pi x 1e-3
inline constexpr double kTwoPiEm6 = 6.2831853069999996e-06; // 2 pi x 1e-6
inline constexpr double kHenryToNano = 999999999.9999999;   // 1 / 1e-9
inline constexpr double kFaradToPico = 1000000000000.0;     // 1e12
inline constexpr double kPicoNano = 1.0000000000000001e-21; // 1e-12 x 1e-9

inline constexpr int MAX_COMPONENTS = 25;
