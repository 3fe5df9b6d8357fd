#include "tests/support/viewcommandfixture.h"

#include <cmath>

namespace {

const QString kFlipQuestion =
    QStringLiteral("You are about to flip around the network and conjugate the source/load "
                   "impedances.  Do you want to do this?");

class FlipCommandTest : public ViewCommandTest {
protected:
    FlipCommandTest() { boxes.questionAnswer = true; }

    /// A, B, C: a series capacitor, a compound element tuned by its inductance, a shorted stub.
    void AddThree() {
        SmithChrt& sc = Chart();
        sc.AddComponent(NewCapacitor(PLACE_SERIES, 50.0, sc.frequency));
        Component rlc = NewCompound(KIND_PARALLEL_RLC, PLACE_SHUNT);
        rlc.tunedElement = TUNE_L;
        sc.AddComponent(rlc);
        sc.AddComponent(NewLine(PLACE_TL_SHUNT_SHORTED, 50.0, sc.frequency));
    }
};

TEST_F(FlipCommandTest, AsksAndConjugatesTheSwappedImpedances) {
    Chart().startZ = {50.0, 0.0};
    Chart().goalZ = {25.0, -10.0};
    Key(Qt::Key_F, Qt::ControlModifier);
    EXPECT_EQ(boxes.questions, QStringList{kFlipQuestion});
    EXPECT_EQ(Chart().startZ, (Complex{25.0, 10.0}));
    EXPECT_EQ(Chart().goalZ.re, 50.0);
    EXPECT_EQ(Chart().goalZ.im, 0.0);
    EXPECT_TRUE(std::signbit(Chart().goalZ.im)) << "50 - j0";
    EXPECT_EQ(Chart().componentCount, 0);
    EXPECT_GT(Paints(), 0);
}

TEST_F(FlipCommandTest, ReversesTheNetworkAndFlippingTwiceRestoresIt) {
    AddThree();
    Chart().startZ = {12.0, 3.5};
    Chart().goalZ = {80.0, -40.0};
    Chart().activeIndex = 0;
    const SmithChrt before = Chart();

    EXPECT_TRUE(view.ExecuteCommand(ID_FLIP_NETWORK));
    ASSERT_EQ(Chart().componentCount, 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(Chart().components[i], before.components[2 - i]) << i;
    }
    EXPECT_EQ(Chart().components[1].tunedElement, TUNE_L);
    EXPECT_EQ(Chart().components[1].kind, KIND_PARALLEL_RLC);
    EXPECT_EQ(Chart().components[1].placement, PLACE_SHUNT);
    EXPECT_EQ(Chart().activeIndex, 0) << "now the component that was last";
    EXPECT_EQ(Chart().components[3], before.components[3]) << "entries past the count stay";

    view.ExecuteCommand(ID_FLIP_NETWORK);
    EXPECT_EQ(Chart().components, before.components);
    EXPECT_EQ(Chart().startZ, before.startZ);
    EXPECT_EQ(Chart().goalZ, before.goalZ);
    EXPECT_EQ(Chart().activeIndex, 0);
}

TEST_F(FlipCommandTest, ActiveIndexKeepsItsNumber) {
    AddThree();
    const SmithChrt before = Chart();
    for (const int active : {0, 1, 2}) {
        Chart() = before;
        Chart().activeIndex = active;
        view.ExecuteCommand(ID_FLIP_NETWORK);
        EXPECT_EQ(Chart().activeIndex, active);
        EXPECT_EQ(Chart().components[active], before.components[2 - active]);
    }
}

TEST_F(FlipCommandTest, NoChangesNothingButRepaints) {
    AddThree();
    Chart().goalZ = {25.0, -10.0};
    boxes.questionAnswer = false;
    const SmithChrt before = Chart();
    view.ExecuteCommand(ID_FLIP_NETWORK);
    EXPECT_EQ(boxes.questions, QStringList{kFlipQuestion});
    EXPECT_EQ(Chart().components, before.components);
    EXPECT_EQ(Chart().startZ, before.startZ);
    EXPECT_EQ(Chart().goalZ, before.goalZ);
    EXPECT_GT(Paints(), 0);
}

TEST_F(FlipCommandTest, ModifiedFlagIsUntouchedByEitherAnswer) {
    AddThree();
    for (const bool yes : {true, false}) {
        for (const bool modified : {true, false}) {
            boxes.questionAnswer = yes;
            doc.SetModifiedFlag(modified);
            view.ExecuteCommand(ID_FLIP_NETWORK);
            EXPECT_EQ(doc.IsModified(), modified) << "yes " << yes;
        }
    }
}

} // namespace
