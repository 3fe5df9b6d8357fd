#include "tests/support/viewcommandfixture.h"

#include "model/complex.h"

#include <climits>

namespace {

using TuningCommands = ViewCommandTest;

TEST_F(TuningCommands, FrequencyAndZ0StepsByTheTuningPercentage) {
    Chart().chartZ0 = Complex{50.0, 3.0};
    Key(Qt::Key_Up, Qt::ControlModifier);
    EXPECT_DOUBLE_EQ(Chart().frequency, 1025.0);
    Chart().frequency = 1000.0;
    Key(Qt::Key_Down, Qt::ControlModifier);
    EXPECT_DOUBLE_EQ(Chart().frequency, 975.0);
    Key(Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_DOUBLE_EQ(Chart().chartZ0.re, 48.75);
    EXPECT_EQ(Chart().chartZ0.im, 3.0);
    Chart().chartZ0.re = 50.0;
    Key(Qt::Key_Up, Qt::ShiftModifier);
    EXPECT_DOUBLE_EQ(Chart().chartZ0.re, 51.25);
    // Keypad arrows act as arrows; Ctrl and Shift together is no key of the table.
    Chart().frequency = 1000.0;
    Key(Qt::Key_Up, Qt::ControlModifier | Qt::KeypadModifier);
    EXPECT_DOUBLE_EQ(Chart().frequency, 1025.0);
    Key(Qt::Key_Up, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_DOUBLE_EQ(Chart().frequency, 1025.0);
    EXPECT_DOUBLE_EQ(Chart().chartZ0.re, 51.25);
    // The step is the percentage at the moment of the key.
    Chart().tunePercent = 10.0;
    Key(Qt::Key_Down, Qt::ControlModifier);
    EXPECT_DOUBLE_EQ(Chart().frequency, 1025.0 * 0.9);
}

TEST_F(TuningCommands, UpThenDownLeavesTheLineShorter) {
    Chart().AddComponent(NewLine(PLACE_TL_SERIES, 50.0, 1000.0));
    Key(Qt::Key_Up);
    EXPECT_DOUBLE_EQ(Chart().components[0].lineAngle, 45.0 * 1.025);
    Key(Qt::Key_Down, Qt::KeypadModifier);
    EXPECT_DOUBLE_EQ(Chart().components[0].lineAngle, 45.0 * 1.025 * 0.975);
    EXPECT_NEAR(Chart().components[0].lineAngle, 44.972, 0.001);
    EXPECT_EQ(Chart().components[0].lineZ0, 50.0);
    EXPECT_EQ(Chart().components[0].lineFreq, 1000.0);
}

// Which field each kind tunes.
struct TunedCase {
    int32_t kind;
    int32_t tunedElement;
    double Component::*field;
};

class TunedField : public TuningCommands, public ::testing::WithParamInterface<TunedCase> {};

TEST_P(TunedField, OnlyTheTunableValueChanges) {
    const TunedCase& p = GetParam();
    Network(2);
    Chart().activeIndex = 0;
    Component c;
    c.kind = p.kind;
    c.placement = PLACE_SERIES;
    c.tunedElement = p.tunedElement;
    c.resistance = 10.0;
    c.capacitance = 20.0;
    c.inductance = 30.0;
    c.lineZ0 = 40.0;
    c.lineAngle = 50.0;
    c.lineFreq = 60.0;
    Chart().components[0] = c;
    const Component other = Chart().components[1];
    Key(Qt::Key_Up);
    Component expected = c;
    expected.*p.field *= 1.025;
    EXPECT_EQ(Chart().components[0], expected);
    EXPECT_EQ(Chart().components[1], other);
    Key(Qt::Key_Down);
    expected.*p.field *= 0.975;
    EXPECT_EQ(Chart().components[0], expected);
    EXPECT_TRUE(boxes.warnings.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, TunedField,
    ::testing::Values(TunedCase{KIND_RESISTOR, TUNE_C, &Component::resistance},
                      TunedCase{KIND_CAPACITOR, TUNE_R, &Component::capacitance},
                      TunedCase{KIND_INDUCTOR, TUNE_R, &Component::inductance},
                      TunedCase{KIND_TLINE, TUNE_R, &Component::lineAngle},
                      TunedCase{KIND_SERIES_RLC, TUNE_R, &Component::resistance},
                      TunedCase{KIND_SERIES_RLC, TUNE_L, &Component::inductance},
                      TunedCase{KIND_PARALLEL_RLC, TUNE_L, &Component::inductance},
                      TunedCase{KIND_PARALLEL_RLC, TUNE_C, &Component::capacitance}));

TEST_F(TuningCommands, UntunableComponentsReportAndStillCountAsAChange) {
    Network(1);
    Chart().components[0] = NewCompound(KIND_PARALLEL_RLC, PLACE_SHUNT);
    Chart().components[0].tunedElement = 3;
    const Component screwy = Chart().components[0];
    Settle();
    Key(Qt::Key_Up);
    EXPECT_EQ(boxes.warnings, QStringList{"Screwy tunable value"});
    EXPECT_EQ(Chart().components[0], screwy);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_GT(Paints(), 0);

    Chart().components[0].kind = 7;
    Settle();
    Key(Qt::Key_Down);
    boxes.warnings.removeAll("default case in plotcomponents type checking");
    EXPECT_EQ(boxes.warnings.value(1), "Problematic component type for tuning");
    EXPECT_EQ(Chart().components[0].capacitance, 1.0);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_GT(Paints(), 0);
}

TEST_F(TuningCommands, ValueKeysOnAnEmptyNetworkDoNothingAtAll) {
    for (bool modified : {false, true}) {
        Settle();
        doc.SetModifiedFlag(modified);
        Key(Qt::Key_Up);
        Key(Qt::Key_Down);
        EXPECT_EQ(doc.IsModified(), modified);
        EXPECT_EQ(Paints(), 0);
        EXPECT_TRUE(boxes.warnings.isEmpty());
    }
}

TEST_F(TuningCommands, RecallTheStoredFrequencies) {
    Chart().f1Freq = 144.0;
    Chart().f2Freq = 432.0;
    Chart().f3Freq = 1296.0;
    Key(Qt::Key_F2);
    EXPECT_EQ(Chart().frequency, 432.0);
    Key(Qt::Key_F3);
    EXPECT_EQ(Chart().frequency, 1296.0);
    Key(Qt::Key_F1);
    Key(Qt::Key_F1);
    EXPECT_EQ(Chart().frequency, 144.0);
    EXPECT_EQ(Chart().f1Freq, 144.0);
    EXPECT_EQ(Chart().f2Freq, 432.0);
    EXPECT_EQ(Chart().f3Freq, 1296.0);
}

struct ToggleCase {
    int key;
    int32_t SmithChrt::*flag;
};

class Toggle : public TuningCommands, public ::testing::WithParamInterface<ToggleCase> {};

TEST_P(Toggle, AStoredTwoBecomesOneThenZero) {
    const ToggleCase& p = GetParam();
    Chart().*p.flag = 2;
    Key(p.key);
    EXPECT_EQ(Chart().*p.flag, 1);
    Key(p.key);
    EXPECT_EQ(Chart().*p.flag, 0);
    Key(p.key);
    EXPECT_EQ(Chart().*p.flag, 1);
    Chart().*p.flag = -1;
    Key(p.key);
    EXPECT_EQ(Chart().*p.flag, 1);
    Key(p.key, Qt::ShiftModifier);
    EXPECT_EQ(Chart().*p.flag, 1);
}

INSTANTIATE_TEST_SUITE_P(Flags, Toggle,
                         ::testing::Values(ToggleCase{Qt::Key_M, &SmithChrt::textMarkers},
                                           ToggleCase{Qt::Key_G, &SmithChrt::gammaMode},
                                           ToggleCase{Qt::Key_A, &SmithChrt::showAdmittance},
                                           ToggleCase{Qt::Key_Q, &SmithChrt::showQArcs}));

TEST_F(TuningCommands, VswrCirclesToggle) {
    Key(Qt::Key_V);
    EXPECT_TRUE(Chart().showVswrCircles);
    Key(Qt::Key_V);
    EXPECT_FALSE(Chart().showVswrCircles);
}

// The wheel: which step each key-and-button state chooses.
enum class Stepped { Value, Frequency, Z0 };

struct WheelCase {
    Qt::KeyboardModifiers modifiers;
    Qt::MouseButtons buttons;
    int delta;
    Stepped stepped;
};

class WheelState : public TuningCommands, public ::testing::WithParamInterface<WheelCase> {};

TEST_P(WheelState, ChoosesTheStepAndItsDirection) {
    const WheelCase& p = GetParam();
    Network(1);
    Settle();
    Wheel(p.delta, p.modifiers, p.buttons);
    const double factor = p.delta > 0 ? 1.025 : 0.975;
    EXPECT_DOUBLE_EQ(Chart().components[0].resistance, p.stepped == Stepped::Value ? factor : 1.0);
    EXPECT_DOUBLE_EQ(Chart().frequency, p.stepped == Stepped::Frequency ? 1000.0 * factor : 1000.0);
    EXPECT_DOUBLE_EQ(Chart().chartZ0.re, p.stepped == Stepped::Z0 ? 50.0 * factor : 50.0);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_GT(Paints(), 0);
}

constexpr Qt::KeyboardModifiers kNone = Qt::NoModifier;
constexpr Qt::KeyboardModifiers kShift = Qt::ShiftModifier;
constexpr Qt::KeyboardModifiers kCtrl = Qt::ControlModifier;
constexpr Qt::MouseButtons kNoButton = Qt::NoButton;

INSTANTIATE_TEST_SUITE_P(
    States, WheelState,
    ::testing::Values(WheelCase{kNone, kNoButton, 120, Stepped::Value},
                      WheelCase{kNone, kNoButton, -120, Stepped::Value},
                      WheelCase{kShift, kNoButton, 120, Stepped::Z0},
                      WheelCase{kShift, kNoButton, -120, Stepped::Z0},
                      WheelCase{kCtrl, kNoButton, 120, Stepped::Frequency},
                      WheelCase{kCtrl, kNoButton, -120, Stepped::Frequency},
                      WheelCase{kCtrl | kShift, kNoButton, 120, Stepped::Value},
                      WheelCase{kShift, Qt::LeftButton, 120, Stepped::Value},
                      WheelCase{kCtrl, Qt::RightButton, -120, Stepped::Value},
                      WheelCase{kNone, Qt::MiddleButton, 120, Stepped::Value},
                      // Only Shift and Ctrl are part of the wheel's key state.
                      WheelCase{kShift | Qt::AltModifier, kNoButton, 120, Stepped::Z0},
                      WheelCase{kCtrl | Qt::KeypadModifier, kNoButton, 120, Stepped::Frequency}));

TEST_F(TuningCommands, WheelOnAnEmptyNetworkMarksButDoesNotRepaint) {
    Wheel(120);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(Paints(), 0);
    Settle();
    Wheel(-120, Qt::ControlModifier);
    EXPECT_DOUBLE_EQ(Chart().frequency, 975.0);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_GT(Paints(), 0);
}

TEST_F(TuningCommands, FineWheelDeltasAddUpToANotch) {
    for (int i = 0; i < 7; ++i) {
        Wheel(15, Qt::ControlModifier);
    }
    EXPECT_EQ(Chart().frequency, 1000.0);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(Paints(), 0);
    Wheel(15, Qt::ControlModifier);
    EXPECT_DOUBLE_EQ(Chart().frequency, 1025.0);
    EXPECT_TRUE(doc.IsModified());
    // What is left over counts toward the next notch: 100 + 30 makes one, 10 remains.
    Wheel(100, Qt::ControlModifier);
    EXPECT_DOUBLE_EQ(Chart().frequency, 1025.0);
    Wheel(30, Qt::ControlModifier);
    EXPECT_DOUBLE_EQ(Chart().frequency, 1025.0 * 1.025);
    Wheel(110, Qt::ControlModifier);
    EXPECT_DOUBLE_EQ(Chart().frequency, 1025.0 * 1.025 * 1.025);
}

TEST_F(TuningCommands, WheelTurnedBackStartsANewNotch) {
    Wheel(90, Qt::ShiftModifier);
    Wheel(-60, Qt::ShiftModifier);
    EXPECT_EQ(Chart().chartZ0.re, 50.0);
    Wheel(-60, Qt::ShiftModifier);
    EXPECT_DOUBLE_EQ(Chart().chartZ0.re, 48.75);
}

TEST_F(TuningCommands, WheelStepsOncePerWholeNotch) {
    Wheel(240, Qt::ControlModifier);
    EXPECT_DOUBLE_EQ(Chart().frequency, 1000.0 * 1.025 * 1.025);
    Wheel(-360, Qt::ControlModifier);
    EXPECT_DOUBLE_EQ(Chart().frequency, 1000.0 * 1.025 * 1.025 * 0.975 * 0.975 * 0.975);
}

TEST_F(TuningCommands, HorizontalWheelDoesNothing) {
    Wheel(QPoint(120, 0), Qt::ControlModifier);
    Wheel(QPoint(-120, 0));
    EXPECT_EQ(Chart().frequency, 1000.0);
    EXPECT_FALSE(doc.IsModified());
    // A diagonal movement steps by its vertical part only.
    Wheel(QPoint(500, 120), Qt::ControlModifier);
    EXPECT_DOUBLE_EQ(Chart().frequency, 1025.0);
}

TEST_F(TuningCommands, HugeWheelDeltaEndsAtOnce) {
    Chart().tunePercent = 0.1;
    Wheel(INT_MAX, Qt::ControlModifier);
    Wheel(INT_MIN, Qt::ControlModifier);
    Wheel(INT_MAX, Qt::ControlModifier);
    EXPECT_GT(Chart().frequency, 1000.0);
    EXPECT_LT(Chart().frequency, 1000.0 * 1.03);
}

} // namespace
