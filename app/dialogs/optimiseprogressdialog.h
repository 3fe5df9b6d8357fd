#pragma once

#include "app/dialogs/dialogbase.h"

class QLabel;
class QProgressBar;

/// "Optimising": the search's progress and the best worst VSWR (or transducer gain) so far while
/// it runs in the background; Cancel (or Escape) stops it, keeping the best design so far on
/// offer.
class COptimiseProgressDialog : public CDialogBase {
    Q_OBJECT
public:
    static constexpr int IDD = 161;

    explicit COptimiseProgressDialog(QWidget* parent = nullptr);

    /// Shows evaluations out of about budget and the best worst VSWR, or with gain set the best
    /// worst transducer gain in dB.
    void ShowProgress(int evaluations, int budget, double best, bool gain = false);

private:
    QProgressBar* bar = nullptr;
    QLabel* best = nullptr;
};
