#include "tests/support/viewcommandfixture.h"

#include "model/complex.h"

#include <cmath>

namespace {

using ComponentCommands = ViewCommandTest;

// Control ids of the dialogs.
constexpr int kSeries = 1064, kShunt = 1065, kConfigLabel = 1070;
constexpr int kShuntOpenLine = 1071, kShuntShortedLine = 1070;
constexpr int kOrientSeries = 1071, kOrientShunt = 1072, kParallelRlc = 1073, kSeriesRlc = 1074;
constexpr int kTuneR = 1075, kTuneL = 1076, kTuneC = 1077;
constexpr int kEditC = 1005, kEditL = 1004, kEditR = 1003;
constexpr int kParameterLabel = 1038, kParameterValue = 1003;
constexpr int kLineZ0 = 1006, kLineAngle = 1007, kLineFreq = 1008;

// The values a new capacitor and inductor get: reactance z0 at f MHz.
double NewCapacitance(double z0, double f) {
    return 1 / (z0 * f * 6283185.307) * 1000000000000.0;
}
double NewInductance(double z0, double f) {
    return z0 / (f * 6283185.307) * 999999999.9999999;
}

struct FixedAdd {
    int id;
    int32_t kind;
    int32_t placement;
};

class FixedKindAdd : public ComponentCommands, public ::testing::WithParamInterface<FixedAdd> {};

TEST_P(FixedKindAdd, BuildsFromTheCurrentFrequencyAndZ0) {
    const FixedAdd& p = GetParam();
    Chart().frequency = 144.5;
    Chart().chartZ0 = Complex{75.0, 10.0};
    EXPECT_TRUE(view.ExecuteCommand(p.id));
    ASSERT_EQ(Chart().componentCount, 1);
    const Component& c = Chart().components[0];
    EXPECT_EQ(c.kind, p.kind);
    EXPECT_EQ(c.placement, p.placement);
    Component expected;
    expected.kind = p.kind;
    expected.placement = p.placement;
    switch (p.kind) {
    case KIND_RESISTOR:
        expected.resistance = 75.0;
        break;
    case KIND_CAPACITOR:
        expected.capacitance = NewCapacitance(75.0, 144.5);
        break;
    case KIND_INDUCTOR:
        expected.inductance = NewInductance(75.0, 144.5);
        break;
    default:
        expected.lineZ0 = 75.0;
        expected.lineAngle = 45.0;
        expected.lineFreq = 144.5;
        break;
    }
    EXPECT_EQ(c, expected);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_GT(Paints(), 0);
    EXPECT_TRUE(boxes.warnings.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    ToolbarButtons, FixedKindAdd,
    ::testing::Values(FixedAdd{ID_ADD_SERIES_CAPACITOR, KIND_CAPACITOR, PLACE_SERIES},
                      FixedAdd{ID_ADD_SHUNT_CAPACITOR, KIND_CAPACITOR, PLACE_SHUNT},
                      FixedAdd{ID_ADD_SERIES_INDUCTOR, KIND_INDUCTOR, PLACE_SERIES},
                      FixedAdd{ID_ADD_SHUNT_INDUCTOR, KIND_INDUCTOR, PLACE_SHUNT},
                      FixedAdd{ID_ADD_SERIES_RESISTOR, KIND_RESISTOR, PLACE_SERIES},
                      FixedAdd{ID_ADD_SHUNT_RESISTOR, KIND_RESISTOR, PLACE_SHUNT},
                      FixedAdd{ID_ADD_SERIES_LINE, KIND_TLINE, PLACE_TL_SERIES},
                      FixedAdd{ID_ADD_SHUNT_OPEN_LINE, KIND_TLINE, PLACE_TL_SHUNT_OPEN},
                      FixedAdd{ID_ADD_SHUNT_SHORTED_LINE, KIND_TLINE, PLACE_TL_SHUNT_SHORTED}));

TEST_F(ComponentCommands, ReactanceOfFiftyOhmAtTheDefaults) {
    view.ExecuteCommand(ID_ADD_SERIES_CAPACITOR);
    view.ExecuteCommand(ID_ADD_SERIES_INDUCTOR);
    EXPECT_NEAR(CapacitorReactance(1000.0, Chart().components[0].capacitance), -50.0, 1e-9);
    EXPECT_NEAR(InductorReactance(1000.0, Chart().components[1].inductance), 50.0, 1e-9);
    EXPECT_NEAR(Chart().components[0].capacitance, 3.18309886, 1e-8);
    EXPECT_NEAR(Chart().components[1].inductance, 7.95774715, 1e-8);
}

// Through the keys and their choice dialogs.
struct ChoiceAdd {
    int key;
    const char* label;
    int button; // 0: leave the opening choice
    int32_t kind;
    int32_t placement;
};

class ChoiceKeyAdd : public ComponentCommands, public ::testing::WithParamInterface<ChoiceAdd> {};

TEST_P(ChoiceKeyAdd, OpensAtTheFirstChoiceAndAddsWhatWasChosen) {
    const ChoiceAdd& p = GetParam();
    QString label;
    bool firstChosen = false;
    driver.Then([&](CDialogBase& d) {
        label = TextOf(d, kConfigLabel);
        firstChosen = Checked(d, kSeries);
        if (p.button != 0) {
            Choose(d, p.button);
        }
        Accept(d);
    });
    Key(p.key);
    if (p.key == Qt::Key_T) {
        EXPECT_EQ(driver.lastDialogId, 143);
    } else {
        EXPECT_EQ(driver.lastDialogId, 142);
        EXPECT_EQ(label, QString::fromLatin1(p.label));
    }
    EXPECT_TRUE(firstChosen);
    ASSERT_EQ(Chart().componentCount, 1);
    EXPECT_EQ(Chart().components[0].kind, p.kind);
    EXPECT_EQ(Chart().components[0].placement, p.placement);
    EXPECT_TRUE(doc.IsModified());
}

INSTANTIATE_TEST_SUITE_P(
    Keys, ChoiceKeyAdd,
    ::testing::Values(ChoiceAdd{Qt::Key_C, "Add Capacitor", 0, KIND_CAPACITOR, PLACE_SERIES},
                      ChoiceAdd{Qt::Key_C, "Add Capacitor", kShunt, KIND_CAPACITOR, PLACE_SHUNT},
                      ChoiceAdd{Qt::Key_L, "Add Inductor", 0, KIND_INDUCTOR, PLACE_SERIES},
                      ChoiceAdd{Qt::Key_L, "Add Inductor", kShunt, KIND_INDUCTOR, PLACE_SHUNT},
                      ChoiceAdd{Qt::Key_R, "Add Resistor", 0, KIND_RESISTOR, PLACE_SERIES},
                      ChoiceAdd{Qt::Key_R, "Add Resistor", kShunt, KIND_RESISTOR, PLACE_SHUNT},
                      ChoiceAdd{Qt::Key_T, "", 0, KIND_TLINE, PLACE_TL_SERIES},
                      ChoiceAdd{Qt::Key_T, "", kShuntOpenLine, KIND_TLINE, PLACE_TL_SHUNT_OPEN},
                      ChoiceAdd{Qt::Key_T, "", kShuntShortedLine, KIND_TLINE,
                                PLACE_TL_SHUNT_SHORTED}));

TEST_F(ComponentCommands, CancelledChoiceAddsNothing) {
    Network(2);
    Settle();
    for (int key : {Qt::Key_C, Qt::Key_L, Qt::Key_R, Qt::Key_T, Qt::Key_X}) {
        driver.Then(Cancel);
        Key(key);
    }
    EXPECT_EQ(driver.opened, 5);
    EXPECT_EQ(Chart().componentCount, 2);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(Paints(), 0);
}

TEST_F(ComponentCommands, InsertionRulesThroughTheAddKeys) {
    auto addSeriesResistor = [this] {
        driver.Then(Accept);
        Key(Qt::Key_R);
    };
    // The first add of an empty network goes to index 0.
    addSeriesResistor();
    EXPECT_EQ(Chart().componentCount, 1);
    EXPECT_EQ(Chart().activeIndex, 0);
    // So does the first add after the last component was deleted.
    Key(Qt::Key_Delete);
    EXPECT_EQ(Chart().componentCount, 0);
    EXPECT_EQ(Chart().activeIndex, -1);
    addSeriesResistor();
    EXPECT_EQ(Chart().componentCount, 1);
    EXPECT_EQ(Chart().activeIndex, 0);
    Key(Qt::Key_Delete);

    // Five components, the second active: the new one goes to index 2 and the rest move on.
    Network(5);
    Chart().activeIndex = 1;
    driver.Then([](CDialogBase& d) {
        Choose(d, kShunt);
        Accept(d);
    });
    Key(Qt::Key_C);
    ASSERT_EQ(Chart().componentCount, 6);
    EXPECT_EQ(Chart().activeIndex, 2);
    EXPECT_EQ(Chart().components[2].kind, KIND_CAPACITOR);
    const double order[] = {1, 2, -1, 3, 4, 5};
    for (int i : {0, 1, 3, 4, 5}) {
        EXPECT_EQ(Chart().components[i].resistance, order[i]) << i;
    }

    // The last one active: the new one is appended.
    Chart().activeIndex = 5;
    driver.Then(Accept);
    Key(Qt::Key_T);
    ASSERT_EQ(Chart().componentCount, 7);
    EXPECT_EQ(Chart().activeIndex, 6);
    EXPECT_EQ(Chart().components[6].kind, KIND_TLINE);
}

TEST_F(ComponentCommands, TwentySixthAddIsRefused) {
    for (int i = 0; i < MAX_COMPONENTS; ++i) {
        driver.Then(Accept);
        Key(Qt::Key_L);
    }
    ASSERT_EQ(Chart().componentCount, 25);
    EXPECT_TRUE(boxes.warnings.isEmpty());
    Chart().activeIndex = 3;
    const auto before = Chart().components;
    Settle();
    driver.Then(Accept);
    Key(Qt::Key_X);
    EXPECT_EQ(boxes.warnings, QStringList{"problem adding component"});
    EXPECT_EQ(Chart().componentCount, 25);
    EXPECT_EQ(Chart().activeIndex, 3);
    EXPECT_EQ(Chart().components, before);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_GT(Paints(), 0);
}

TEST_F(ComponentCommands, CompoundElementOpensWithItsDefaults) {
    struct Shown {
        bool shunt, seriesRlc, tunedC;
        QString c, l, r;
    } shown{};
    driver.Then([&](CDialogBase& d) {
        shown = {Checked(d, kOrientShunt), Checked(d, kSeriesRlc), Checked(d, kTuneC),
                 TextOf(d, kEditC),        TextOf(d, kEditL),      TextOf(d, kEditR)};
        Accept(d);
    });
    Key(Qt::Key_X);
    EXPECT_EQ(driver.lastDialogId, 144);
    EXPECT_TRUE(shown.shunt && shown.seriesRlc && shown.tunedC);
    EXPECT_EQ(shown.c, "1");
    EXPECT_EQ(shown.l, "0.65");
    EXPECT_EQ(shown.r, "0.5");
    ASSERT_EQ(Chart().componentCount, 1);
    EXPECT_EQ(Chart().components[0], NewCompound(KIND_SERIES_RLC, PLACE_SHUNT));
}

TEST_F(ComponentCommands, CompoundElementTakesTheChoicesFromTheToolbar) {
    driver.Then([](CDialogBase& d) {
        Choose(d, kOrientSeries);
        Choose(d, kParallelRlc);
        Choose(d, kTuneL);
        Type(d, kEditC, "2.2");
        Type(d, kEditL, "15");
        Type(d, kEditR, "1000");
        Accept(d);
    });
    view.ExecuteCommand(ID_ADD_COMPOUND);
    ASSERT_EQ(Chart().componentCount, 1);
    const Component& c = Chart().components[0];
    EXPECT_EQ(c.kind, KIND_PARALLEL_RLC);
    EXPECT_EQ(c.placement, PLACE_SERIES);
    EXPECT_EQ(c.tunedElement, TUNE_L);
    EXPECT_EQ(c.capacitance, 2.2);
    EXPECT_EQ(c.inductance, 15.0);
    EXPECT_EQ(c.resistance, 1000.0);
    EXPECT_EQ(c.lineZ0 + c.lineAngle + c.lineFreq, 0.0);
}

TEST_F(ComponentCommands, SelectionWrapsAround) {
    Network(3);
    Chart().activeIndex = 2;
    Key(Qt::Key_Right);
    EXPECT_EQ(Chart().activeIndex, 0);
    Key(Qt::Key_Left);
    EXPECT_EQ(Chart().activeIndex, 2);
    Key(Qt::Key_Left, Qt::KeypadModifier);
    EXPECT_EQ(Chart().activeIndex, 1);
    Key(Qt::Key_Right, Qt::KeypadModifier);
    EXPECT_EQ(Chart().activeIndex, 2);
}

TEST_F(ComponentCommands, DeleteTheFirstOfThree) {
    Network(3);
    Chart().activeIndex = 0;
    view.ExecuteCommand(ID_DELETE_COMPONENT);
    ASSERT_EQ(Chart().componentCount, 2);
    EXPECT_EQ(Chart().activeIndex, 1);
    EXPECT_EQ(Chart().components[0].resistance, 2.0);
    EXPECT_EQ(Chart().components[1].resistance, 3.0);
}

// Editing a lumped component in the Parameter Editor.
struct LumpedEdit {
    int32_t kind;
    int32_t placement;
    const char* label;
    double Component::*field;
};

class EditLumped : public ComponentCommands, public ::testing::WithParamInterface<LumpedEdit> {};

TEST_P(EditLumped, ShowsItsLabelAndValueAndTakesTheNewValue) {
    const LumpedEdit& p = GetParam();
    Network(3);
    Chart().activeIndex = 1;
    Component& c = Chart().components[1];
    c = Component{};
    c.kind = p.kind;
    c.placement = p.placement;
    c.*p.field = 12.5;
    const auto before = Chart().components;
    QString label, value;
    driver.Then([&](CDialogBase& d) {
        label = TextOf(d, kParameterLabel);
        value = TextOf(d, kParameterValue);
        Type(d, kParameterValue, "33");
        Accept(d);
    });
    Key(Qt::Key_E);
    EXPECT_EQ(driver.lastDialogId, 141);
    EXPECT_EQ(label, QString::fromLatin1(p.label));
    EXPECT_EQ(value, "12.5");
    Component expected = before[1];
    expected.*p.field = 33.0;
    EXPECT_EQ(Chart().components[1], expected);
    EXPECT_EQ(Chart().components[0], before[0]);
    EXPECT_EQ(Chart().components[2], before[2]);
    EXPECT_EQ(Chart().activeIndex, 1);

    // Escape keeps the value, but the document counts as modified all the same.
    Settle();
    driver.Then([](CDialogBase& d) {
        Type(d, kParameterValue, "99");
        Cancel(d);
    });
    Key(Qt::Key_E);
    EXPECT_EQ(Chart().components[1], expected);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_GT(Paints(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, EditLumped,
    ::testing::Values(
        LumpedEdit{KIND_RESISTOR, PLACE_SERIES, "Series Resistor (ohm)", &Component::resistance},
        LumpedEdit{KIND_RESISTOR, PLACE_SHUNT, "Shunt Resistor (ohm)", &Component::resistance},
        LumpedEdit{KIND_CAPACITOR, PLACE_SERIES, "Series Capacitor (pF)", &Component::capacitance},
        LumpedEdit{KIND_CAPACITOR, PLACE_SHUNT, "Shunt Capacitor (pF)", &Component::capacitance},
        LumpedEdit{KIND_INDUCTOR, PLACE_SERIES, "Series Inductor (nH)", &Component::inductance},
        LumpedEdit{KIND_INDUCTOR, PLACE_SHUNT, "Shunt Inductance (nH)", &Component::inductance}));

TEST_F(ComponentCommands, EditLineTakesTheThreeLineValues) {
    Chart().AddComponent(NewLine(PLACE_TL_SHUNT_OPEN, 50.0, 1000.0));
    Chart().components[0].resistance = 7.0; // not shown, must survive
    QString z0, angle, freq;
    driver.Then([&](CDialogBase& d) {
        z0 = TextOf(d, kLineZ0);
        angle = TextOf(d, kLineAngle);
        freq = TextOf(d, kLineFreq);
        Type(d, kLineZ0, "75");
        Type(d, kLineAngle, "90");
        Type(d, kLineFreq, "433.92");
        Accept(d);
    });
    Key(Qt::Key_E);
    EXPECT_EQ(driver.lastDialogId, 133);
    EXPECT_EQ(z0, "50");
    EXPECT_EQ(angle, "45");
    EXPECT_EQ(freq, "1000");
    const Component& c = Chart().components[0];
    EXPECT_EQ(c.lineZ0, 75.0);
    EXPECT_EQ(c.lineAngle, 90.0);
    EXPECT_EQ(c.lineFreq, 433.92);
    EXPECT_EQ(c.resistance, 7.0);
    EXPECT_EQ(c.placement, PLACE_TL_SHUNT_OPEN);
}

TEST_F(ComponentCommands, EditLineCancelledAfterARefusedOkKeepsWhatWasAccepted) {
    Chart().AddComponent(NewLine(PLACE_TL_SERIES, 50.0, 1000.0));
    driver.Then([](CDialogBase& d) {
        Type(d, kLineZ0, "60");
        Type(d, kLineAngle, "120");
        Type(d, kLineFreq, "abc"); // the angle is exchanged first, then this one fails
        Accept(d);
        EXPECT_TRUE(d.isVisible());
        Cancel(d);
    });
    Key(Qt::Key_E);
    EXPECT_EQ(boxes.warnings, QStringList{"Please enter a number."});
    const Component& c = Chart().components[0];
    EXPECT_EQ(c.lineAngle, 120.0);
    EXPECT_EQ(c.lineFreq, 1000.0);
    EXPECT_EQ(c.lineZ0, 50.0);
    EXPECT_TRUE(doc.IsModified());
}

TEST_F(ComponentCommands, EditCompoundCanChangeItsKindAndPlacement) {
    Network(3);
    Chart().activeIndex = 1;
    Chart().components[1] = NewCompound(KIND_SERIES_RLC, PLACE_SERIES);
    Chart().components[1].tunedElement = TUNE_R;
    bool series = false, seriesRlc = false, tunedR = false;
    driver.Then([&](CDialogBase& d) {
        series = Checked(d, kOrientSeries);
        seriesRlc = Checked(d, kSeriesRlc);
        tunedR = Checked(d, kTuneR);
        Choose(d, kParallelRlc);
        Choose(d, kOrientShunt);
        Choose(d, kTuneC);
        Type(d, kEditL, "3.3");
        Accept(d);
    });
    Key(Qt::Key_E);
    EXPECT_EQ(driver.lastDialogId, 144);
    EXPECT_TRUE(series && seriesRlc && tunedR);
    ASSERT_EQ(Chart().componentCount, 3);
    const Component& c = Chart().components[1];
    EXPECT_EQ(c.kind, KIND_PARALLEL_RLC);
    EXPECT_EQ(c.placement, PLACE_SHUNT);
    EXPECT_EQ(c.tunedElement, TUNE_C);
    EXPECT_EQ(c.inductance, 3.3);
    EXPECT_EQ(c.capacitance, 1.0);
    EXPECT_EQ(c.resistance, 0.5);
    EXPECT_EQ(Chart().components[2].resistance, 3.0);

    // Cancel leaves it as it is.
    const Component kept = c;
    driver.Then([](CDialogBase& d) {
        Choose(d, kSeriesRlc);
        Cancel(d);
    });
    Key(Qt::Key_E);
    EXPECT_EQ(Chart().components[1], kept);
}

TEST_F(ComponentCommands, EditOfAnUnknownKindReports) {
    Network(1);
    Chart().components[0].kind = 99;
    const Component before = Chart().components[0];
    Settle();
    Key(Qt::Key_E);
    EXPECT_EQ(driver.opened, 0);
    // The draw may add a message of its own about the unknown kind.
    EXPECT_EQ(boxes.warnings.value(0), "unexpected case in OnEditComponent()");
    EXPECT_EQ(boxes.warnings.count("unexpected case in OnEditComponent()"), 1);
    EXPECT_EQ(Chart().components[0], before);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_GT(Paints(), 0);
}

} // namespace
