#include "app/dialogs/addlinedialog.h"
#include "app/dialogs/chartsetupdialog.h"
#include "app/dialogs/complexelementdialog.h"
#include "app/dialogs/componentconfigdialog.h"
#include "app/dialogs/impedancedisplaydialog.h"
#include "app/dialogs/lineeditdialog.h"
#include "app/dialogs/matchmewizarddialog.h"
#include "app/dialogs/parametereditordialog.h"
#include "app/dialogs/simplefilterwizarddialog.h"
#include "tests/app/dialogs/dialogtesting.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include <functional>
#include <memory>

namespace {

// Every dialog: id, title, buttons and close box.
struct DialogKind {
    std::function<std::unique_ptr<CDialogBase>()> make;
    int id;
    const char* title;
    bool hasOk;
    bool hasCancel;
    bool hasCloseBox;
};

template <class T> std::function<std::unique_ptr<CDialogBase>()> Maker() {
    return [] { return std::make_unique<T>(); };
}

class EveryDialogTest : public ::testing::TestWithParam<DialogKind> {};

TEST_P(EveryDialogTest, FrameAndButtons) {
    const DialogKind& kind = GetParam();
    std::unique_ptr<CDialogBase> dialog = kind.make();
    EXPECT_EQ(dialog->DialogId(), kind.id);
    EXPECT_EQ(dialog->windowTitle(), kind.title);
    EXPECT_EQ(dialog->Control(CDialogBase::ID_OK) != nullptr, kind.hasOk);
    EXPECT_EQ(dialog->Control(CDialogBase::ID_CANCEL) != nullptr, kind.hasCancel);
    EXPECT_EQ(dialog->windowFlags().testFlag(Qt::WindowCloseButtonHint), kind.hasCloseBox);
    EXPECT_TRUE(dialog->isModal());
}

TEST_P(EveryDialogTest, EnterAcceptsAndEscapeCancels) {
    std::unique_ptr<CDialogBase> dialog = GetParam().make();
    // Fresh dialogs hold zeros, which some ranges refuse; make every edit valid first.
    for (const DialogField& field : dialog->Fields()) {
        if (field.kind == FieldKind::Number) {
            *field.number = field.range.min;
        } else if (field.kind == FieldKind::Integer) {
            *field.integer = field.intRange.min;
        }
    }
    dialog->show();
    ASSERT_NE(dialog->focusWidget(), nullptr);
    QTest::keyClick(dialog->focusWidget(), Qt::Key_Return);
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_FALSE(dialog->isVisible());

    dialog->show();
    QTest::keyClick(dialog->focusWidget(), Qt::Key_Escape);
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_FALSE(dialog->isVisible());
}

INSTANTIATE_TEST_SUITE_P(
    Dialogs, EveryDialogTest,
    ::testing::Values(
        DialogKind{Maker<CLineEditDialog>(), 133, "Transmission Line Component Edit", false, false,
                   true},
        DialogKind{Maker<CChartSetupDialog>(), 134, "Chart Setup", true, true, true},
        DialogKind{Maker<CParameterEditorDialog>(), 141, "Parameter Editor", false, false, true},
        DialogKind{Maker<CComponentConfigDialog>(), 142, "Component Configuration", true, false,
                   false},
        DialogKind{Maker<CAddLineDialog>(), 143, "Add Transmission Line Element", true, false,
                   true},
        DialogKind{Maker<CComplexElementDialog>(), 144, "Complex Element", true, true, true},
        DialogKind{Maker<CImpedanceDisplayDialog>(), 145, "Impedance Display", true, false, false},
        DialogKind{Maker<CMatchMeWizardDialog>(), 146, "Simple MatchMe Wizard ", true, true, true},
        DialogKind{Maker<CSimpleFilterWizardDialog>(), 147, "Simple HPF/LPF Synthesis wizard", true,
                   true, true}));

using LineEditTest = DialogTest;

Component SomeLine() {
    Component c;
    c.kind = KIND_TLINE;
    c.placement = PLACE_TL_SHUNT_OPEN;
    c.tunedElement = 2;
    c.resistance = 1.5;
    c.lineZ0 = 75.0;
    c.lineAngle = 45.0;
    c.lineFreq = 1000.0;
    return c;
}

TEST_F(LineEditTest, EditingTheAngleKeepsTheRestOfTheRecord) {
    CLineEditDialog dialog;
    dialog.SetComponent(SomeLine());
    dialog.show();
    auto* angle = dialog.ControlAs<QLineEdit>(1007);
    EXPECT_EQ(dialog.ControlAs<QLineEdit>(1006)->text(), "75");
    EXPECT_EQ(angle->text(), "45");
    EXPECT_EQ(dialog.ControlAs<QLineEdit>(1008)->text(), "1000");
    Type(angle, "90.5");
    PressEnter(angle);
    ASSERT_EQ(dialog.result(), QDialog::Accepted);

    Component expected = SomeLine();
    expected.lineAngle = 90.5;
    EXPECT_EQ(dialog.GetComponent(), expected);
}

TEST_F(LineEditTest, AngleIsCheckedBeforeZ0AndKeptAfterARefusal) {
    CLineEditDialog dialog;
    dialog.SetComponent(SomeLine());
    dialog.show();
    Type(dialog.ControlAs<QLineEdit>(1006), "-1");
    Type(dialog.ControlAs<QLineEdit>(1007), "3601");
    PressEnter(dialog.ControlAs<QLineEdit>(1006));
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "Please enter a number between 0 and 3600.");
    EXPECT_TRUE(RefusedAt(dialog, dialog.ControlAs<QLineEdit>(1007)));

    // A good angle is taken even though the Z0 after it fails, and stays after Escape.
    Type(dialog.ControlAs<QLineEdit>(1007), "3600");
    PressEnter(dialog.ControlAs<QLineEdit>(1007));
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[1], "Please enter a number between 0 and 1000000000000.");
    EXPECT_TRUE(RefusedAt(dialog, dialog.ControlAs<QLineEdit>(1006)));
    QTest::keyClick(dialog.ControlAs<QLineEdit>(1006), Qt::Key_Escape);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    Component expected = SomeLine();
    expected.lineAngle = 3600.0;
    EXPECT_EQ(dialog.GetComponent(), expected);
}

using ParameterEditorTest = DialogTest;

TEST_F(ParameterEditorTest, ShowsTheCallersLabelAndAcceptsOnEnter) {
    CParameterEditorDialog dialog;
    dialog.label = "Series Inductor (nH)";
    dialog.value = 23.873241463784;
    dialog.show();
    auto* caption = dialog.ControlAs<QLabel>(1038);
    auto* edit = dialog.ControlAs<QLineEdit>(1003);
    EXPECT_EQ(caption->text(), "Series Inductor (nH)");
    EXPECT_TRUE(caption->alignment() & Qt::AlignHCenter);
    EXPECT_EQ(edit->text(), "23.873241463784");
    // It opens with the value selected, so typing replaces it.
    EXPECT_EQ(dialog.focusWidget(), edit);
    QTest::keyClicks(edit, "12");
    EXPECT_EQ(edit->text(), "12");
    QTest::keyClick(edit, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.value, 12.0);
    EXPECT_EQ(dialog.label, "Series Inductor (nH)");
}

TEST_F(ParameterEditorTest, EscapeLeavesTheValue) {
    CParameterEditorDialog dialog;
    dialog.value = 1000.0;
    dialog.show();
    Type(dialog.ControlAs<QLineEdit>(1003), "5");
    QTest::keyClick(dialog.ControlAs<QLineEdit>(1003), Qt::Key_Escape);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(dialog.value, 1000.0);
}

TEST_F(ParameterEditorTest, RunsModally) {
    CParameterEditorDialog dialog;
    dialog.value = 1000.0;
    QTimer::singleShot(0, &dialog, [&dialog] {
        auto* edit = dialog.ControlAs<QLineEdit>(1003);
        QTest::keyClicks(edit, "0");
        QTest::keyClick(edit, Qt::Key_Return);
        QTest::keyClicks(edit, "250");
        QTest::keyClick(edit, Qt::Key_Return);
    });
    // Never hang: whatever happens above, the dialog is closed in the end.
    QTimer::singleShot(5000, &dialog, &QDialog::reject);
    EXPECT_EQ(dialog.exec(), QDialog::Accepted);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "Please enter a number between 1e-15 and 1e+20.");
    EXPECT_EQ(dialog.value, 250.0);
}

struct EntryCase {
    const char* typed;
    const char* message; ///< empty when accepted
    double value;
};

class ParameterEntryTest : public DialogTest, public ::testing::WithParamInterface<EntryCase> {};

TEST_P(ParameterEntryTest, ReadsAndChecksTheTypedText) {
    CParameterEditorDialog dialog;
    dialog.value = 2.5;
    dialog.show();
    auto* edit = dialog.ControlAs<QLineEdit>(1003);
    ASSERT_NO_FATAL_FAILURE(EnterAndExpect(dialog, edit, GetParam().typed, GetParam().message));
    EXPECT_EQ(dialog.value, GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(
    Entries, ParameterEntryTest,
    ::testing::Values(EntryCase{"12abc", "", 12.0}, EntryCase{" 0x10", "", 16.0},
                      EntryCase{"1e20", "", 1e20}, EntryCase{"1e-15", "", 1e-15},
                      EntryCase{"abc", "Please enter a number.", 2.5},
                      EntryCase{"", "Please enter a number.", 2.5},
                      EntryCase{"-", "Please enter a number.", 2.5},
                      EntryCase{"0", "Please enter a number between 1e-15 and 1e+20.", 2.5},
                      EntryCase{"2e20", "Please enter a number between 1e-15 and 1e+20.", 2.5},
                      EntryCase{"nan", "Please enter a number between 1e-15 and 1e+20.", 2.5},
                      EntryCase{"inf", "Please enter a number between 1e-15 and 1e+20.", 2.5}));

using ComponentConfigTest = DialogTest;

TEST_F(ComponentConfigTest, LabelAboveTheChoiceAndTheChosenIndex) {
    CComponentConfigDialog dialog;
    dialog.label = "Add Inductor";
    dialog.placementIndex = 0;
    dialog.show();
    EXPECT_EQ(dialog.ControlAs<QLabel>(1070)->text(), "Add Inductor");
    auto* series = dialog.ControlAs<QRadioButton>(1064);
    auto* shunt = dialog.ControlAs<QRadioButton>(1065);
    EXPECT_EQ(series->text(), "Series");
    EXPECT_EQ(shunt->text(), "Shunt");
    EXPECT_TRUE(series->isChecked());
    Click(shunt);
    EXPECT_FALSE(series->isChecked());
    QTest::mouseClick(dialog.ControlAs<QPushButton>(CDialogBase::ID_OK), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.placementIndex, 1);
    EXPECT_EQ(dialog.label, "Add Inductor");
}

TEST_F(ComponentConfigTest, NoSelectionGivesMinusOne) {
    CComponentConfigDialog dialog;
    dialog.placementIndex = 1;
    dialog.show();
    dialog.close();
    dialog.placementIndex = -1;
    dialog.show();
    EXPECT_FALSE(dialog.ControlAs<QRadioButton>(1064)->isChecked());
    EXPECT_FALSE(dialog.ControlAs<QRadioButton>(1065)->isChecked());
    PressEnter(dialog.focusWidget());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.placementIndex, -1);
    EXPECT_TRUE(messages.empty());
}

using AddLineTest = DialogTest;

TEST_F(AddLineTest, ButtonsInGroupOrder) {
    const struct {
        int id;
        const char* text;
    } buttons[] = {{1064, "Series Transmission Line"},
                   {1071, "Shunt Open Transmission Line"},
                   {1070, "Shunt Shorted Transmission Line"}};
    for (int index = 0; index < 3; ++index) {
        CAddLineDialog dialog;
        dialog.lineType = 0;
        dialog.show();
        auto* button = dialog.ControlAs<QRadioButton>(buttons[index].id);
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->text(), buttons[index].text);
        Click(button);
        PressEnter(button);
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        EXPECT_EQ(dialog.lineType, index);
    }
}

using ComplexElementTest = DialogTest;

TEST_F(ComplexElementTest, OpeningValuesAndGroups) {
    CComplexElementDialog dialog;
    dialog.orientation = 1;
    dialog.rlcType = 1;
    dialog.tunedIndex = 2;
    dialog.capacitance = 1.0;
    dialog.inductance = 0.65;
    dialog.resistance = 0.5;
    dialog.show();
    EXPECT_EQ(dialog.ControlAs<QLineEdit>(1005)->text(), "1");
    EXPECT_EQ(dialog.ControlAs<QLineEdit>(1004)->text(), "0.65");
    EXPECT_EQ(dialog.ControlAs<QLineEdit>(1003)->text(), "0.5");
    EXPECT_TRUE(dialog.ControlAs<QRadioButton>(1072)->isChecked());
    EXPECT_TRUE(dialog.ControlAs<QRadioButton>(1074)->isChecked());
    EXPECT_TRUE(dialog.ControlAs<QRadioButton>(1077)->isChecked());
    EXPECT_EQ(dialog.ControlAs<QRadioButton>(1075)->text(), "Resistance (ohm)");
    EXPECT_EQ(dialog.ControlAs<QRadioButton>(1076)->text(), "Inductance (nH)");
    EXPECT_EQ(dialog.ControlAs<QRadioButton>(1073)->text(), "Parallel RLC");

    QStringList groups;
    for (const QGroupBox* group : dialog.findChildren<QGroupBox*>()) {
        groups << group->title();
    }
    EXPECT_EQ(groups, QStringList({"Component Orientation in Circuit", "Component Type",
                                   "which is \"tuned\" with keystrokes"}));

    Click(dialog.ControlAs<QRadioButton>(1071));
    Click(dialog.ControlAs<QRadioButton>(1073));
    Click(dialog.ControlAs<QRadioButton>(1076));
    Type(dialog.ControlAs<QLineEdit>(1003), "22");
    QTest::mouseClick(dialog.ControlAs<QPushButton>(CDialogBase::ID_OK), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.orientation, 0);
    EXPECT_EQ(dialog.rlcType, 0);
    EXPECT_EQ(dialog.tunedIndex, 1);
    EXPECT_EQ(dialog.resistance, 22.0);
    EXPECT_EQ(dialog.capacitance, 1.0);
}

TEST_F(ComplexElementTest, CapacitanceIsCheckedFirst) {
    CComplexElementDialog dialog;
    dialog.show();
    Type(dialog.ControlAs<QLineEdit>(1003), "1");
    Type(dialog.ControlAs<QLineEdit>(1004), "1");
    PressEnter(dialog.ControlAs<QLineEdit>(1003));
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "Please enter a number between 1e-15 and 1e+15.");
    EXPECT_TRUE(RefusedAt(dialog, dialog.ControlAs<QLineEdit>(1005)));
    // The radio groups with nothing chosen were exchanged before and gave -1.
    EXPECT_EQ(dialog.orientation, -1);
    EXPECT_EQ(dialog.tunedIndex, -1);
}

using ImpedanceDisplayTest = DialogTest;

TEST_F(ImpedanceDisplayTest, AngleLimitIsExactly180) {
    CImpedanceDisplayDialog dialog;
    dialog.action = 0;
    dialog.zReal = 50.0;
    dialog.gammaAngle = 180.0;
    dialog.show();
    auto* angle = dialog.ControlAs<QLineEdit>(1006);
    EXPECT_EQ(angle->text(), "180");
    EXPECT_TRUE(dialog.ControlAs<QRadioButton>(1077)->isChecked());
    EXPECT_EQ(dialog.ControlAs<QRadioButton>(1078)->text(), "Make Starting [Generator]  Impedance");

    Type(angle, "180.000001");
    PressEnter(angle);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "Please enter a number between -180 and 180.");
    EXPECT_TRUE(RefusedAt(dialog, angle));

    Type(angle, "-180");
    Click(dialog.ControlAs<QRadioButton>(1079));
    PressEnter(angle);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.gammaAngle, -180.0);
    EXPECT_EQ(dialog.action, 2);
}

TEST_F(ImpedanceDisplayTest, ResistanceOnTheRimIsRefusedUntilCorrected) {
    CImpedanceDisplayDialog dialog;
    dialog.action = 0;
    dialog.zReal = 1e-16;
    dialog.zImag = 25.0;
    dialog.gammaMag = 1.0;
    dialog.show();
    PressEnter(dialog.focusWidget());
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "Please enter a number between 1e-15 and 1e+15.");
    EXPECT_TRUE(RefusedAt(dialog, dialog.ControlAs<QLineEdit>(1003)));
    QTest::keyClick(dialog.focusWidget(), Qt::Key_Escape);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
}

} // namespace
