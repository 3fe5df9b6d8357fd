#pragma once

#include "app/dialogs/dialogbase.h"

#include <cstdint>
#include <string>

class QGroupBox;
class QLabel;

/// "Chart Setup": every chart setting at once, with the starting and goal impedances in either
/// of two formats. OK and Cancel. Which format of an impedance was changed is worked out by the
/// command that opens the dialog.
class CChartSetupDialog : public CDialogBase {
    Q_OBJECT
public:
    static constexpr int IDD = 134;
    static constexpr int kTitleMaxLength = 100;

    explicit CChartSetupDialog(QWidget* parent = nullptr);

    // In memory order, which is also the order of exchange and validation.
    double frequency = 0.0;      ///< MHz, 0 to 1e15
    double tunePercent = 0.0;    ///< 0.1 to 10
    double startImag = 0.0;      ///< ohm, -1e15 to 1e15
    double startReal = 0.0;      ///< ohm, 0 to 1e15
    double chartZ0 = 0.0;        ///< ohm, 1e-9 to 1e15
    double startMag = 0.0;       ///< 0 to 1
    double startAngle = 0.0;     ///< degrees, -180.01 to 180.01
    double goalAngle = 0.0;      ///< degrees, -180.01 to 180.01
    double goalImag = 0.0;       ///< ohm, -1e15 to 1e15
    double goalMag = 0.0;        ///< 0 to 1
    double goalReal = 0.0;       ///< ohm, 0 to 1e15
    std::string title;           ///< UTF-8, at most 100 characters
    int32_t showQArcs = 0;       ///< check
    int32_t showAdmittance = 0;  ///< check
    int32_t gammaMode = 0;       ///< check
    int32_t textMarkers = 0;     ///< check
    int32_t showVswrCircles = 0; ///< check
    double f1Freq = 0.0;         ///< MHz, 0 to 1e9
    double f2Freq = 0.0;         ///< MHz, 0 to 1e9
    double f3Freq = 0.0;         ///< MHz, 0 to 1e9

    /// Notes beside the impedances that come from data ("From data: dipole.s1p"); an empty text
    /// hides its note. Shown while the dialog is open: not fields of the exchange.
    void SetBoundNotes(const QString& start, const QString& goal);
    static constexpr int kStartNoteId = 1190;
    static constexpr int kGoalNoteId = 1191;

private:
    QLabel* startNote = nullptr;
    QLabel* goalNote = nullptr;
    /// One impedance group: Real "+/- j" Imag "Ohms" over Mag, Angle and the note.
    QGroupBox* NewImpedanceGroup(const QString& caption, QWidget* real, QWidget* imag, QWidget* mag,
                                 QWidget* angle);
};
