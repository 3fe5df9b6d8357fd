#pragma once

#include "complex.h"
#include "dialogbase.h"

#include <cstdint>

/// "Simple MatchMe Wizard ": the section count, topology and the two impedances for the matching
/// wizard. OK and Cancel.
class CMatchMeWizardDialog : public CDialogBase {
    Q_OBJECT
public:
    static constexpr int IDD = 146;

    explicit CMatchMeWizardDialog(QWidget* parent = nullptr);

    /// The values the wizard opens with: one low-pass section between the given impedances.
    void SetOpeningValues(const Complex& startZ, const Complex& goalZ);

    // In memory order, which is also the order of exchange and validation.
    int32_t sectionCount = 0; ///< 1 to 10
    int32_t topology = -1;    ///< 0 lumped low-pass, 1 lumped high-pass, 2 quarter-wave lines
    double startR = 0.0;      ///< ohm, 1e-15 to 1e15
    double startX = 0.0;      ///< ohm, -1e15 to 1e15
    double goalR = 0.0;       ///< ohm, 1e-15 to 1e15
    double goalX = 0.0;       ///< ohm, -1e15 to 1e15
};
