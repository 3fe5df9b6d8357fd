#include "app/dialogs/matchmewizarddialog.h"
#include "app/dialogs/simplefilterwizarddialog.h"
#include "model/smithchrt.h"
#include "tests/app/dialogs/dialogtesting.h"

#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>

namespace {

SmithChrt Chart(Complex startZ, Complex goalZ) {
    SmithChrt chart;
    chart.startZ = startZ;
    chart.goalZ = goalZ;
    return chart;
}

SmithChrt Chart(double frequency, double chartZ0) {
    SmithChrt chart;
    chart.frequency = frequency;
    chart.chartZ0 = {chartZ0, 7.0};
    return chart;
}

QStringList LabelTexts(const QWidget& dialog) {
    QStringList texts;
    for (const QLabel* label : dialog.findChildren<QLabel*>()) {
        texts << label->text();
    }
    return texts;
}

using MatchMeDialogTest = DialogTest;

TEST_F(MatchMeDialogTest, FreshDialogAndOpeningValues) {
    CMatchMeWizardDialog dialog;
    EXPECT_EQ(dialog.sectionCount, 0);
    EXPECT_EQ(dialog.topology, -1);
    EXPECT_EQ(dialog.startR, 0.0);

    dialog.SetOpeningValues(Chart({50.0, -30.0}, {200.0, 0.0}));
    dialog.show();
    EXPECT_EQ(dialog.ControlAs<QLineEdit>(1005)->text(), "1");
    EXPECT_EQ(dialog.ControlAs<QLineEdit>(1003)->text(), "50");
    EXPECT_EQ(dialog.ControlAs<QLineEdit>(1006)->text(), "-30");
    EXPECT_EQ(dialog.ControlAs<QLineEdit>(1004)->text(), "200");
    EXPECT_EQ(dialog.ControlAs<QLineEdit>(1007)->text(), "0");
    EXPECT_TRUE(dialog.ControlAs<QRadioButton>(1080)->isChecked());

    Click(dialog.ControlAs<QRadioButton>(1082));
    Type(dialog.ControlAs<QLineEdit>(1005), "10");
    PressEnter(dialog.ControlAs<QLineEdit>(1005));
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.sectionCount, 10);
    EXPECT_EQ(dialog.topology, 2);
    EXPECT_EQ(dialog.startX, -30.0);
    EXPECT_EQ(dialog.goalR, 200.0);
    const MatchMeInput in = dialog.Input();
    EXPECT_EQ(in.sectionCount, 10);
    EXPECT_EQ(in.topology, TOPO_QUARTER_WAVE);
    EXPECT_EQ(in.startR, 50.0);
    EXPECT_EQ(in.startX, -30.0);
    EXPECT_EQ(in.goalR, 200.0);
    EXPECT_EQ(in.goalX, 0.0);
}

// The dialog refuses exactly what the wizard refuses, with the same words.
TEST_F(MatchMeDialogTest, RefusesWhatTheWizardRefuses) {
    auto with = [](auto change) {
        MatchMeInput in;
        change(in);
        return in;
    };
    const MatchMeInput inputs[] = {
        with([](MatchMeInput& in) { in.sectionCount = 10; }),
        with([](MatchMeInput& in) { in.sectionCount = 11; }),
        with([](MatchMeInput& in) { in.sectionCount = 0; }),
        with([](MatchMeInput& in) { in.startR = 1e-15; }),
        with([](MatchMeInput& in) { in.startR = 9e-16; }),
        with([](MatchMeInput& in) { in.startX = -1e15; }),
        with([](MatchMeInput& in) { in.startX = -1.1e15; }),
        with([](MatchMeInput& in) { in.goalR = 1e15; }),
        with([](MatchMeInput& in) { in.goalR = 1.1e15; }),
        with([](MatchMeInput& in) { in.goalX = 2e15; }),
    };
    for (const MatchMeInput& in : inputs) {
        ASSERT_NO_FATAL_FAILURE(
            ExpectRefusedAsValidated<CMatchMeWizardDialog>(in, ValidateMatchMe));
    }
}

struct SectionCase {
    const char* typed;
    const char* message;
    int32_t count;
};

class MatchMeSectionsTest : public DialogTest, public ::testing::WithParamInterface<SectionCase> {};

TEST_P(MatchMeSectionsTest, SectionCountIsAnIntegerFrom1To10) {
    CMatchMeWizardDialog dialog;
    dialog.SetOpeningValues(Chart({50.0, 0.0}, {50.0, 0.0}));
    dialog.show();
    auto* edit = dialog.ControlAs<QLineEdit>(1005);
    ASSERT_NO_FATAL_FAILURE(EnterAndExpect(dialog, edit, GetParam().typed, GetParam().message));
    EXPECT_EQ(dialog.sectionCount, GetParam().count);
}

INSTANTIATE_TEST_SUITE_P(
    Entries, MatchMeSectionsTest,
    ::testing::Values(SectionCase{"3.7", "", 3}, SectionCase{" 10 sections", "", 10},
                      SectionCase{"abc", "Please enter an integer.", 1},
                      SectionCase{"", "Please enter an integer.", 1},
                      SectionCase{"0", "Please enter an integer between 1 and 10.", 1},
                      SectionCase{"11", "Please enter an integer between 1 and 10.", 1},
                      SectionCase{"4294967297", "Please enter an integer between 1 and 10.", 1}));

TEST_F(MatchMeDialogTest, ImpedanceChecksAfterTheCount) {
    CMatchMeWizardDialog dialog;
    dialog.SetOpeningValues(Chart({0.0, 0.0}, {50.0, 0.0}));
    dialog.show();
    PressEnter(dialog.focusWidget());
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "Please enter a number between 1e-15 and 1e+15.");
    EXPECT_TRUE(RefusedAt(dialog, dialog.ControlAs<QLineEdit>(1003)));
    EXPECT_EQ(dialog.topology, 0);
}

TEST_F(MatchMeDialogTest, Texts) {
    CMatchMeWizardDialog dialog;
    const QStringList texts = LabelTexts(dialog);
    for (const char* text :
         {"Goal [Load] Impedance", "Starting [Generator] Impedance", "Number of Sections (10 Max)",
          "!!Note, this will blow away anything on the chart that you've manually added!!  Cancel "
          "now if you don't want to do this!!",
          "*** this is not meant to replace a real synthesis program!!! ***\n It is very crude and "
          "simplistic -- you might be able to do better manually!!!"}) {
        EXPECT_EQ(texts.count(text), 1) << text;
    }
    EXPECT_EQ(texts.count("+/- J"), 2);
    EXPECT_EQ(texts.count("Ohms"), 2);
    EXPECT_EQ(dialog.ControlAs<QRadioButton>(1081)->text(), "Lumped High-pass");
    EXPECT_EQ(dialog.ControlAs<QRadioButton>(1082)->text(), "Quarter Wave Transformer");
}

using FilterDialogTest = DialogTest;

TEST_F(FilterDialogTest, FreshDialogAndOpeningValues) {
    CSimpleFilterWizardDialog dialog;
    EXPECT_EQ(dialog.order, 0);
    EXPECT_EQ(dialog.filterType, 0);
    EXPECT_EQ(dialog.firstElement, 0);

    dialog.SetOpeningValues(Chart(100.0, 50.0));
    dialog.show();
    EXPECT_EQ(dialog.ControlAs<QLineEdit>(1003)->text(), "100");
    EXPECT_EQ(dialog.ControlAs<QLineEdit>(1004)->text(), "0.1");
    EXPECT_EQ(dialog.ControlAs<QLineEdit>(1005)->text(), "3");
    EXPECT_EQ(dialog.ControlAs<QLineEdit>(1006)->text(), "50");
    EXPECT_TRUE(dialog.ControlAs<QRadioButton>(1093)->isChecked());
    EXPECT_TRUE(dialog.ControlAs<QRadioButton>(1095)->isChecked());

    Click(dialog.ControlAs<QRadioButton>(1094));
    Click(dialog.ControlAs<QRadioButton>(1096));
    Type(dialog.ControlAs<QLineEdit>(1005), "4");
    PressEnter(dialog.ControlAs<QLineEdit>(1005));
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.order, 4);
    EXPECT_EQ(dialog.filterType, 1);
    EXPECT_EQ(dialog.firstElement, 1);
    EXPECT_EQ(dialog.rippleDb, 0.1);
    const FilterInput in = dialog.Input();
    EXPECT_EQ(in.cutoffMHz, 100.0);
    EXPECT_EQ(in.rippleDb, 0.1);
    EXPECT_EQ(in.order, 4);
    EXPECT_EQ(in.ro, 50.0);
    EXPECT_EQ(in.filterType, FILTER_HIGHPASS);
    EXPECT_EQ(in.firstElement, FIRST_SERIES);
}

TEST_F(FilterDialogTest, RefusesWhatTheWizardRefuses) {
    auto with = [](auto change) {
        FilterInput in;
        change(in);
        return in;
    };
    const FilterInput inputs[] = {
        with([](FilterInput& in) { in.cutoffMHz = 1e-15; }),
        with([](FilterInput& in) { in.cutoffMHz = 0; }),
        with([](FilterInput& in) { in.rippleDb = 0.0001; }),
        with([](FilterInput& in) { in.rippleDb = 0.00009; }),
        with([](FilterInput& in) { in.rippleDb = 10; }),
        with([](FilterInput& in) { in.rippleDb = 10.01; }),
        with([](FilterInput& in) { in.order = 15; }),
        with([](FilterInput& in) { in.order = 16; }),
        with([](FilterInput& in) { in.order = 2; }),
        with([](FilterInput& in) { in.ro = 1e15; }),
        with([](FilterInput& in) { in.ro = -1; }),
    };
    for (const FilterInput& in : inputs) {
        ASSERT_NO_FATAL_FAILURE(
            ExpectRefusedAsValidated<CSimpleFilterWizardDialog>(in, ValidateFilter));
    }
}

TEST_F(FilterDialogTest, RangeMessages) {
    const struct {
        int id;
        const char* typed;
        const char* message;
    } cases[] = {
        {1004, "0", "Please enter a number between 0.0001 and 10."},
        {1004, "10.5", "Please enter a number between 0.0001 and 10."},
        {1005, "2", "Please enter an integer between 3 and 15."},
        {1005, "17", "Please enter an integer between 3 and 15."},
        {1005, "x", "Please enter an integer."},
        {1006, "0", "Please enter a number between 1e-15 and 1e+15."},
        {1003, "", "Please enter a number."},
    };
    for (const auto& c : cases) {
        messages.clear();
        CSimpleFilterWizardDialog dialog;
        dialog.SetOpeningValues(Chart(100.0, 50.0));
        dialog.show();
        auto* edit = dialog.ControlAs<QLineEdit>(c.id);
        Type(edit, c.typed);
        PressEnter(edit);
        ASSERT_EQ(messages.size(), 1u) << c.typed;
        EXPECT_EQ(messages[0], c.message);
        EXPECT_TRUE(RefusedAt(dialog, edit)) << c.typed;
    }
}

TEST_F(FilterDialogTest, Texts) {
    CSimpleFilterWizardDialog dialog;
    const QStringList texts = LabelTexts(dialog);
    for (const char* text :
         {"Fc (MHz, Ripple Cutoff frequency)",
          "Passband Ripple (dB) \n(ripple will be the loss at cutoff)",
          "N ( 3 <= N <= 15 ), if not odd , it will be rounded up",
          "Ro (Ohms, characteristic resistance for filter design)",
          "Note: this will blow away anything you have on the chart (replace your circuit)"}) {
        EXPECT_EQ(texts.count(text), 1) << text;
    }
    QStringList groups;
    for (const QGroupBox* group : dialog.findChildren<QGroupBox*>()) {
        groups << group->title();
    }
    EXPECT_EQ(groups, QStringList({"Topology", "First Element is...."}));
    EXPECT_EQ(dialog.ControlAs<QRadioButton>(1094)->text(), "Highpass");
    EXPECT_EQ(dialog.ControlAs<QRadioButton>(1096)->text(), "Series");
}

} // namespace
