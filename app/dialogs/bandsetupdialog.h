#pragma once

#include "app/dialogs/dialogbase.h"
#include "model/bandsettings.h"
#include "model/fieldrange.h"

#include <cstdint>

class QLineEdit;

/// The ranges of the Band Setup fields: the frequencies as the frequency entry takes them, the
/// points as the band allows them.
inline constexpr NumberRange kBandFrequencyRange{1e-15, 1e20};
inline constexpr IntegerRange kBandPointsRange{kMinBandPoints, kMaxBandPoints};

/// "Band Setup": the band of band analysis, its low and high frequency and its number of points,
/// and the limit every point should meet (none, a return loss of at least, or a VSWR of at most a
/// value). OK and Cancel. On OK each field is checked against its range, then the high frequency
/// must lie above the low one and the limit's value must suit its kind.
class CBandSetupDialog : public CDialogBase {
    Q_OBJECT
public:
    static constexpr int IDD = 148;

    explicit CBandSetupDialog(QWidget* parent = nullptr);

    // In exchange order.
    double low = 0.0;   ///< MHz, edit 1003
    double high = 0.0;  ///< MHz, edit 1004
    int32_t points = 0; ///< edit 1005
    /// The limit's kind as BandLimitKind: radios 1007 (none), 1008 (return loss), 1009 (VSWR).
    int32_t limitKind = 0;
    double limitValue = 10.0; ///< dB or VSWR, edit 1006

protected:
    std::optional<CrossFieldRefusal> CheckFieldsTogether() const override;

private:
    QLineEdit* highEdit = nullptr;
    QLineEdit* limitEdit = nullptr;
};
