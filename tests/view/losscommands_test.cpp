// The loss commands: the Losses dialog (Shift+L) and the active component's loss (Shift+Q),
// what they change, their refusals, and the keys they leave alone.
#include "app/dialogs/componentlossdialog.h"
#include "app/dialogs/lossesdialog.h"
#include "tests/support/viewcommandfixture.h"

#include <cmath>

namespace {

using LossCommands = ViewCommandTest;

TEST_F(LossCommands, LossesDialogSetsTheDefaultsAndCancelKeepsThem) {
    driver.Then([](CDialogBase& d) {
        Choose(d, 1010); // inductors
        Type(d, 1011, QStringLiteral("45"));
        Type(d, 1012, QStringLiteral("435"));
        Choose(d, 1015); // sqrt
        Choose(d, 1030); // lines
        Type(d, 1031, QStringLiteral("0.3"));
        Type(d, 1032, QStringLiteral("1000"));
        Accept(d);
    });
    Key(Qt::Key_L, Qt::ShiftModifier);
    EXPECT_EQ(driver.lastDialogId, CLossesDialog::IDD);
    EXPECT_EQ(Chart().losses.inductorQ, (LossSpec{45, 435, LossLaw::Sqrt}));
    EXPECT_FALSE(Chart().losses.capacitorQ.has_value());
    EXPECT_EQ(Chart().losses.lineLoss, (LossSpec{0.3, 1000, LossLaw::Constant}));
    EXPECT_TRUE(doc.IsModified());

    Settle();
    driver.Then([](CDialogBase& d) {
        EXPECT_TRUE(Checked(d, 1010));
        EXPECT_EQ(TextOf(d, 1011), QStringLiteral("45"));
        Choose(d, 1020);
        Cancel(d);
    });
    Key(Qt::Key_L, Qt::ShiftModifier);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_FALSE(Chart().losses.capacitorQ.has_value());
}

TEST_F(LossCommands, ALawWithoutItsFrequencyIsRefusedInTheDialog) {
    driver.Then([](CDialogBase& d) {
        Choose(d, 1020);
        Type(d, 1021, QStringLiteral("200"));
        Choose(d, 1024); // linear, with the frequency left at 0
        Accept(d);
        Cancel(d);
    });
    Key(Qt::Key_L, Qt::ShiftModifier);
    ASSERT_EQ(boxes.warnings.size(), 1);
    EXPECT_EQ(boxes.warnings[0],
              QStringLiteral("The linear and sqrt laws need a reference frequency."));
    EXPECT_FALSE(Chart().losses.IsSet());
}

TEST_F(LossCommands, ComponentLossGivesThePartItsOwnOrMakesItLossless) {
    Chart().losses.inductorQ = LossSpec{30, 0, LossLaw::Constant};
    Chart().AddComponent(NewInductor(PLACE_SERIES, 50, Chart().frequency));
    Settle();
    driver.Then([](CDialogBase& d) {
        EXPECT_TRUE(Checked(d, 1001));
        Choose(d, 1002);
        Accept(d);
    });
    Key(Qt::Key_Q, Qt::ShiftModifier);
    EXPECT_EQ(driver.lastDialogId, CComponentLossDialog::IDD);
    ASSERT_TRUE(Chart().components[0].loss.has_value());
    EXPECT_TRUE(std::isinf(Chart().components[0].loss->value));
    EXPECT_TRUE(doc.IsModified());
    // Lossless against the default: the inductor adds no resistance.
    ASSERT_TRUE(Chart().EvaluateCascade());
    EXPECT_EQ(Chart().endZ.re, Chart().startZ.re);

    driver.Then([](CDialogBase& d) {
        Choose(d, 1003);
        Type(d, 1004, QStringLiteral("80"));
        Accept(d);
    });
    Key(Qt::Key_Q, Qt::ShiftModifier);
    EXPECT_EQ(Chart().components[0].loss, (LossSpec{80, 0, LossLaw::Constant}));
}

TEST_F(LossCommands, ResistorsAndAnEmptyNetworkTakeNoLoss) {
    Key(Qt::Key_Q, Qt::ShiftModifier);
    Network(1);
    Key(Qt::Key_Q, Qt::ShiftModifier);
    EXPECT_EQ(driver.opened, 0);
    ASSERT_EQ(boxes.warnings.size(), 2);
    EXPECT_TRUE(boxes.warnings[1].contains(QStringLiteral("keeps its own resistance")));
    EXPECT_FALSE(doc.IsModified());
    // Plain L and Q keep their own commands.
    Key(Qt::Key_Q);
    EXPECT_EQ(Chart().showQArcs, 1);
}

} // namespace
