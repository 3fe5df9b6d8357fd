#pragma once

#include "app/dialogs/dialogbase.h"
#include "design/matchmewizard.h"

#include <cstdint>

/// "Simple MatchMe Wizard ": the section count, topology and the two impedances for the matching
/// wizard. OK and Cancel.
class CMatchMeWizardDialog : public CDialogBase {
    Q_OBJECT
public:
    static constexpr int IDD = 146;
    /// The notes beside impedances that come from data ("From data: dipole.s1p").
    static constexpr int kStartNoteId = 1190;
    static constexpr int kGoalNoteId = 1191;

    explicit CMatchMeWizardDialog(QWidget* parent = nullptr);

    /// The values the wizard opens with on doc: one low-pass section between its impedances.
    void SetOpeningValues(const SmithChrt& doc);
    /// Sets the fields from in, or reads them back as the wizard's input.
    void SetInput(const MatchMeInput& in);
    MatchMeInput Input() const;

    // In memory order, which is also the order of exchange and validation.
    // The ranges are the wizard's: kSectionCountRange, kMatchResistanceRange, kMatchReactanceRange.
    int32_t sectionCount = 0; ///< 1 to 10
    int32_t topology = -1;    ///< TOPO_LOWPASS, TOPO_HIGHPASS or TOPO_QUARTER_WAVE
    double startR = 0.0;      ///< ohm, 1e-15 to 1e15
    double startX = 0.0;      ///< ohm, -1e15 to 1e15
    double goalR = 0.0;       ///< ohm, 1e-15 to 1e15
    double goalX = 0.0;       ///< ohm, -1e15 to 1e15
};
