#pragma once

#include <cstdint>
#include <optional>

/// How a loss figure follows frequency f against its reference frequency f_ref: unchanged,
/// in proportion to f / f_ref, or to its square root.
enum class LossLaw : int32_t { Constant = 0, Linear = 1, Sqrt = 2 };

/// The loss of a part. For inductors and capacitors `value` is the quality factor Q at `mhz`
/// (above zero; infinity is lossless); for lines and stubs it is the attenuation in dB of a line
/// one wavelength long at `mhz` (0 or above; 0 is lossless), the law then giving the attenuation
/// per unit length.
struct LossSpec {
    double value = 0.0;
    double mhz = 0.0; ///< reference frequency, MHz; 0 for a constant law given without one
    LossLaw law = LossLaw::Constant;

    friend bool operator==(const LossSpec&, const LossSpec&) = default;
};

/// The document's loss defaults by kind of part; none set by default.
struct LossSettings {
    std::optional<LossSpec> inductorQ;
    std::optional<LossSpec> capacitorQ;
    std::optional<LossSpec> lineLoss;

    bool IsSet() const { return inductorQ || capacitorQ || lineLoss; }
    friend bool operator==(const LossSettings&, const LossSettings&) = default;
};
