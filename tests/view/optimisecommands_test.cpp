// Optimise, Snap to Standard Values and the Bode-Fano toggle as the window runs them: the
// dialogs, the search in its worker thread, Keep and Revert.
#include "app/dialogs/optimisedialog.h"
#include "design/optimiser.h"
#include "design/standardvalues.h"
#include "model/bandevaluation.h"
#include "tests/support/viewcommandfixture.h"

#include <QLineEdit>
#include <QRadioButton>

namespace {

class OptimiseCommands : public ViewCommandTest {
protected:
    // An L-section far from matching 10 + j5 ohm over 200-400 MHz.
    void LSection() {
        SmithChrt& sc = Chart();
        sc.frequency = 300;
        sc.startZ = {10, 5};
        sc.goalZ = {50, 0};
        sc.AddComponent(NewInductor(PLACE_SERIES, 20, 300));
        sc.AddComponent(NewCapacitor(PLACE_SHUNT, 25, 300));
        sc.band = {200, 400, 21, true, false};
        before = std::vector<Component>(sc.components.begin(), sc.components.begin() + 2);
        Settle();
    }
    std::vector<Component> Network() const {
        return {doc.chart.components.begin(), doc.chart.components.begin() + 2};
    }
    static void Quick(CDialogBase& d) {
        d.ControlAs<QRadioButton>(1111)->setChecked(true);
        Accept(d);
    }
    std::vector<Component> before;
};

TEST_F(OptimiseCommands, KeepTakesTheBestDesignAndMarksTheDocument) {
    LSection();
    const double start = EvaluateBand(Chart()).worstVswr;
    boxes.questionAnswer = true; // Keep
    driver.Then(Quick);
    Key(Qt::Key_O);
    EXPECT_GE(driver.opened, 1); // the progress dialog too, unless the search beat the driver
    ASSERT_EQ(boxes.questions.size(), 1);
    EXPECT_TRUE(boxes.questions[0].startsWith("Worst VSWR")) << boxes.questions[0].toStdString();
    EXPECT_TRUE(doc.IsModified());
    const double after = EvaluateBand(Chart()).worstVswr;
    EXPECT_LT(after, start * 0.7);
    // The window's result is the optimiser's own for the same settings.
    OptimiseSettings settings;
    settings.effort = EFFORT_QUICK;
    SmithChrt original = Chart();
    std::copy(before.begin(), before.end(), original.components.begin());
    EXPECT_EQ(Network(), OptimiseNetwork(original, settings).network);
}

TEST_F(OptimiseCommands, RevertRestoresTheValuesAndLeavesTheDocumentUnmodified) {
    LSection();
    boxes.questionAnswer = false;
    driver.Then(Quick);
    Key(Qt::Key_O);
    EXPECT_EQ(boxes.questions.size(), 1);
    EXPECT_EQ(Network(), before);
    EXPECT_FALSE(doc.IsModified());
}

TEST_F(OptimiseCommands, CancellingTheSearchStillOffersItsBestSoFar) {
    LSection();
    Chart().band.points = 4001; // a search long enough to be cancelled
    boxes.questionAnswer = true;
    driver.Then([](CDialogBase& d) {
        d.ControlAs<QRadioButton>(1113)->setChecked(true);
        Accept(d);
    });
    driver.Then(Cancel);
    Key(Qt::Key_O);
    EXPECT_EQ(driver.lastDialogId, 161);
    ASSERT_EQ(boxes.questions.size(), 1);
    EXPECT_TRUE(boxes.questions[0].contains("cancelled")) << boxes.questions[0].toStdString();
    EXPECT_TRUE(doc.IsModified());
}

TEST_F(OptimiseCommands, ComponentListIsCheckedAndTheChosenOnesAloneChange) {
    LSection();
    boxes.questionAnswer = true;
    driver.Then([](CDialogBase& d) {
        d.ControlAs<QRadioButton>(1103)->setChecked(true);
        d.ControlAs<QRadioButton>(1111)->setChecked(true);
        d.ControlAs<QLineEdit>(1104)->setText("3");
        Accept(d); // refused: the network has two components
        d.ControlAs<QLineEdit>(1104)->setText("2");
        Accept(d);
    });
    Key(Qt::Key_O);
    ASSERT_EQ(boxes.warnings.size(), 1);
    EXPECT_TRUE(boxes.warnings[0].contains("from 1 to 2"));
    EXPECT_EQ(Network()[0], before[0]);
    EXPECT_NE(Network()[1], before[1]);

    EXPECT_EQ(ParseComponentList("1, 2", 2), (std::vector<int32_t>{0, 1}));
    for (const char* bad : {"", "0", "1,", "x", "1;2", "3"}) {
        EXPECT_FALSE(ParseComponentList(bad, 2)) << bad;
    }
}

TEST_F(OptimiseCommands, EmptyNetworkIsRefusedWithoutADialog) {
    Key(Qt::Key_O);
    Key(Qt::Key_O, Qt::ShiftModifier);
    EXPECT_EQ(driver.opened, 0);
    EXPECT_EQ(boxes.warnings.size(), 2);
    EXPECT_FALSE(doc.IsModified());
}

TEST_F(OptimiseCommands, SnapMovesEveryValueToTheChosenSeries) {
    LSection();
    driver.Then([](CDialogBase& d) {
        d.ControlAs<QRadioButton>(1121)->setChecked(true); // E6
        Accept(d);
    });
    Key(Qt::Key_O, Qt::ShiftModifier);
    EXPECT_EQ(driver.lastDialogId, 162);
    EXPECT_TRUE(doc.IsModified());
    const StandardSeries& e6 = *FindStandardSeries("E6");
    EXPECT_EQ(NeighbourValues(e6, Network()[0].inductance).below, Network()[0].inductance);
    EXPECT_EQ(NeighbourValues(e6, Network()[1].capacitance).below, Network()[1].capacitance);

    Settle();
    driver.Then(Cancel);
    Key(Qt::Key_O, Qt::ShiftModifier);
    EXPECT_FALSE(doc.IsModified());
}

// The gain objective chosen in the dialog: the question speaks of the gain, the dialog remembers
// the choice, and snapping then serves the gain too.
TEST_F(OptimiseCommands, TheGainObjectiveIsChosenInTheDialogAndSnappingFollowsIt) {
    LSection();
    Chart().losses.inductorQ = LossSpec{6, 300, LossLaw::Constant};
    Settle();
    boxes.questionAnswer = true;
    driver.Then([](CDialogBase& d) {
        d.ControlAs<QRadioButton>(1132)->setChecked(true);
        Quick(d);
    });
    Key(Qt::Key_O);
    ASSERT_EQ(boxes.questions.size(), 1);
    EXPECT_TRUE(boxes.questions[0].startsWith("Worst transducer gain"))
        << boxes.questions[0].toStdString();
    OptimiseSettings settings;
    settings.effort = EFFORT_QUICK;
    settings.objective = OptimiseObjective::Gain;
    SmithChrt original = Chart();
    std::copy(before.begin(), before.end(), original.components.begin());
    EXPECT_EQ(Network(), OptimiseNetwork(original, settings).network);

    const SmithChrt optimised = Chart();
    driver.Then([](CDialogBase& d) {
        EXPECT_TRUE(d.ControlAs<QRadioButton>(1132)->isChecked()); // remembered
        Cancel(d);
    });
    Key(Qt::Key_O);
    driver.Then([](CDialogBase& d) {
        d.ControlAs<QRadioButton>(1121)->setChecked(true); // E6
        Accept(d);
    });
    Key(Qt::Key_O, Qt::ShiftModifier);
    EXPECT_EQ(
        Network(),
        SnapToStandard(optimised, *FindStandardSeries("E6"), OptimiseObjective::Gain).network);
}

TEST_F(OptimiseCommands, BodeFanoToggleAddsItsReadoutLine) {
    LSection();
    EXPECT_FALSE(view.IsCommandChecked(ID_BAND_BODE_FANO));
    Key(Qt::Key_F, Qt::ShiftModifier);
    EXPECT_TRUE(view.IsCommandChecked(ID_BAND_BODE_FANO));
    EXPECT_EQ(Chart().bodeFanoLine, "Bode-Fano: no termination bound to data");
    EXPECT_FALSE(doc.IsModified());
    Key(Qt::Key_F, Qt::ShiftModifier);
    EXPECT_TRUE(Chart().bodeFanoLine.empty());
}

} // namespace
