#include "app/dialogs/chartsetupdialog.h"
#include "app/dialogs/parametereditordialog.h"
#include "tests/support/viewcommandfixture.h"

#include <QCheckBox>

#include <cstdlib>
#include <string>

namespace {

const QString kBothFormats = QStringLiteral(
    " You changed the entries in both impedance formats, the entry in the Mag/Angle will be used");

// Chart Setup edit ids.
enum : int {
    kTitle = 1003,
    kFrequency = 1017,
    kTune = 1018,
    kZ0 = 1019,
    kStartReal = 1020,
    kStartImag = 1021,
    kGoalReal = 1022,
    kGoalImag = 1023,
    kStartMag = 1024,
    kStartAngle = 1025,
    kGoalMag = 1026,
    kGoalAngle = 1027,
    kF1 = 1100,
    kF2 = 1101,
    kF3 = 1102,
};

class SetupCommandsTest : public ViewCommandTest {
protected:
    /// Opens the Chart Setup with S, lets edit change it, then presses Enter.
    void RunSetup(const std::function<void(CDialogBase&)>& edit) {
        driver.Then([&](CDialogBase& d) {
            edit(d);
            Accept(d);
        });
        Key(Qt::Key_S);
        ASSERT_EQ(driver.opened, 1);
        EXPECT_EQ(driver.lastDialogId, CChartSetupDialog::IDD);
    }

    /// A number as the dialogs show it and read it back.
    static double ReadBack(double v) {
        return std::strtod(QString::asprintf("%.15g", v).toLatin1().constData(), nullptr);
    }

    /// The polar conversion on a chart of the given Z0.
    static Complex PolarToZOn(double z0, double mag, double angle) {
        SmithChrt reference;
        reference.chartZ0 = {z0, 0.0};
        return reference.GammaPolarToZ(mag, angle);
    }
};

TEST_F(SetupCommandsTest, OkWithoutChangesKeepsBothImpedancesExactly) {
    // Values that do not survive a trip through 15 digits.
    Chart().startZ = {100.0 / 3.0, -7.0 / 3.0};
    Chart().goalZ = {100.0 / 7.0, 1.0 / 3000.0};
    Chart().chartZ0 = {50.0, 0.25};
    const Complex start = Chart().startZ;
    const Complex goal = Chart().goalZ;
    RunSetup([](CDialogBase&) {});

    EXPECT_EQ(Chart().startZ, start);
    EXPECT_EQ(Chart().goalZ, goal);
    EXPECT_EQ(Chart().chartZ0, (Complex{50.0, 0.25})) << "the setup never touches Z0's reactance";
    EXPECT_TRUE(boxes.warnings.isEmpty());
    EXPECT_TRUE(doc.IsModified());
}

TEST_F(SetupCommandsTest, ShowsTheDocumentAndStoresTheOtherSettingsFromTheFields) {
    Chart().startZ = {100.0, 0.0};
    Chart().title = "Shown";
    QStringList shown;
    RunSetup([&](CDialogBase& d) {
        for (const int id : {kTitle, kStartReal, kStartMag, kStartAngle, kFrequency, kTune}) {
            shown.append(TextOf(d, id));
        }
        Type(d, kTitle, "Matching at 2 m");
        Type(d, kFrequency, "144.5");
        Type(d, kTune, "7.5");
        Type(d, kZ0, "75");
        Type(d, kF1, "1");
        Type(d, kF2, "2e3");
        Type(d, kF3, "3.25");
        for (const int id : {1083, 1084, 1085, 1086, 1091}) {
            d.ControlAs<QCheckBox>(id)->toggle();
        }
    });
    EXPECT_EQ(shown, (QStringList{"Shown", "100", "0.333333333333333", "0", "1000", "2.5"}));
    const SmithChrt& sc = Chart();
    EXPECT_EQ(sc.title, "Matching at 2 m");
    EXPECT_EQ(sc.frequency, 144.5);
    EXPECT_EQ(sc.tunePercent, 7.5);
    EXPECT_EQ(sc.chartZ0, (Complex{75.0, 0.0}));
    EXPECT_EQ(sc.f1Freq, 1.0);
    EXPECT_EQ(sc.f2Freq, 2000.0);
    EXPECT_EQ(sc.f3Freq, 3.25);
    // A new document has only the text markers on.
    EXPECT_EQ(sc.showQArcs, 1);
    EXPECT_EQ(sc.showAdmittance, 1);
    EXPECT_EQ(sc.gammaMode, 1);
    EXPECT_EQ(sc.textMarkers, 0);
    EXPECT_TRUE(sc.showVswrCircles);
    EXPECT_EQ(sc.startZ, (Complex{100.0, 0.0})) << "nothing changed, nothing converted";
}

TEST_F(SetupCommandsTest, NewRealPartIsStoredWithTheOldImaginaryPart) {
    Chart().startZ = {40.0, 12.5};
    Chart().goalZ = {20.0, -5.0};
    RunSetup([](CDialogBase& d) { Type(d, kStartReal, "30"); });
    EXPECT_EQ(Chart().startZ, (Complex{30.0, 12.5}));
    EXPECT_EQ(Chart().goalZ, (Complex{20.0, -5.0}));
    EXPECT_TRUE(boxes.warnings.isEmpty());
}

TEST_F(SetupCommandsTest, ChangesWithinTheToleranceAreNoChanges) {
    Chart().startZ = {40.0, 12.5};
    const double angle = Chart().ZToGammaPolar({40.0, 12.5}).angle;
    RunSetup([](CDialogBase& d) {
        Type(d, kStartReal, "40.0000009");
        Type(d, kStartMag, "0.2");
    });
    // The real part counts as unchanged, so only the polar entry changed: no message.
    EXPECT_TRUE(boxes.warnings.isEmpty());
    EXPECT_EQ(Chart().startZ, PolarToZOn(50.0, 0.2, ReadBack(angle)));
}

TEST_F(SetupCommandsTest, GoalMagnitudeZeroGivesTheOldZ0) {
    Chart().goalZ = {10.0, 20.0};
    RunSetup([](CDialogBase& d) {
        Type(d, kGoalMag, "0");
        Type(d, kZ0, "75");
    });
    EXPECT_EQ(Chart().goalZ.re, 50.0);
    EXPECT_EQ(Chart().goalZ.im, 0.0);
    EXPECT_EQ(Chart().chartZ0.re, 75.0);
}

TEST_F(SetupCommandsTest, BothFormatsChangedWarnsOncePerImpedanceAndTakesThePolarEntry) {
    Chart().startZ = {40.0, 12.5};
    Chart().goalZ = {20.0, -5.0};
    const double startMag = Chart().ZToGammaPolar({40.0, 12.5}).magnitude;
    RunSetup([](CDialogBase& d) {
        Type(d, kStartImag, "3");
        Type(d, kStartAngle, "45");
        Type(d, kGoalReal, "70");
        Type(d, kGoalMag, "0.5");
        Type(d, kGoalAngle, "-90");
    });
    EXPECT_EQ(boxes.warnings, (QStringList{kBothFormats, kBothFormats}));
    EXPECT_EQ(Chart().startZ, PolarToZOn(50.0, ReadBack(startMag), 45.0));
    EXPECT_EQ(Chart().goalZ, PolarToZOn(50.0, 0.5, -90.0));
}

TEST_F(SetupCommandsTest, OneFormatChangedPerImpedanceDoesNotWarn) {
    Chart().goalZ = {20.0, -5.0};
    RunSetup([](CDialogBase& d) {
        Type(d, kStartMag, "0.5");
        Type(d, kStartAngle, "90");
        Type(d, kGoalImag, "8");
    });
    EXPECT_TRUE(boxes.warnings.isEmpty());
    EXPECT_EQ(Chart().startZ, PolarToZOn(50.0, 0.5, 90.0));
    EXPECT_EQ(Chart().goalZ, (Complex{20.0, 8.0}));
}

TEST_F(SetupCommandsTest, NewZ0AndNewMagnitudeConvertOnTheOldZ0) {
    Chart().startZ = {100.0, 0.0}; // angle exactly 0
    RunSetup([](CDialogBase& d) {
        Type(d, kZ0, "75");
        Type(d, kStartMag, "0.2");
    });
    EXPECT_EQ(Chart().startZ, PolarToZOn(50.0, 0.2, 0.0));
    EXPECT_DOUBLE_EQ(Chart().startZ.re, 75.0) << "on 75 ohm it would be 112.5";
    EXPECT_EQ(Chart().chartZ0.re, 75.0);
}

TEST_F(SetupCommandsTest, CancelStoresNothingAndOnlyRepaints) {
    const SmithChrt before = Chart();
    driver.Then([](CDialogBase& d) {
        Type(d, kFrequency, "5");
        Type(d, kStartReal, "7");
        Cancel(d);
    });
    EXPECT_TRUE(view.ExecuteCommand(ID_CHART_SETUP_MENU));
    ASSERT_EQ(driver.opened, 1);
    EXPECT_EQ(Chart().frequency, before.frequency);
    EXPECT_EQ(Chart().startZ, before.startZ);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_GT(Paints(), 0);
}

TEST_F(SetupCommandsTest, FieldOutOfTheDialogsRangeIsRefused) {
    bool stayedOpen = false;
    driver.Then([&](CDialogBase& d) {
        Type(d, kTune, "20");
        Accept(d);
        stayedOpen = d.isVisible();
        Cancel(d);
    });
    EXPECT_TRUE(view.ExecuteCommand(ID_CHART_SETUP_BUTTON));
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(boxes.warnings, QStringList{"Please enter a number between 0.1 and 10."});
    EXPECT_EQ(Chart().tunePercent, 2.5);
    EXPECT_FALSE(doc.IsModified());
}

// Every way to the setup and parameter commands opens its dialog.
struct OpenCase {
    const char* name;
    int key; ///< 0: the command below
    int command;
    int dialogId;
    const char* label; ///< the Parameter Editor's caption
};

class SetupCommandSources : public SetupCommandsTest,
                            public ::testing::WithParamInterface<OpenCase> {};

TEST_P(SetupCommandSources, OpenTheirDialog) {
    const OpenCase c = GetParam();
    QString label;
    driver.Then([&](CDialogBase& d) {
        label = TextOf(d, 1038);
        Cancel(d);
    });
    if (c.command != 0) {
        EXPECT_TRUE(view.ExecuteCommand(c.command));
    } else {
        Key(c.key);
    }
    ASSERT_EQ(driver.opened, 1);
    EXPECT_EQ(driver.lastDialogId, c.dialogId);
    if (c.dialogId == CParameterEditorDialog::IDD) {
        EXPECT_EQ(label, c.label);
    }
}

INSTANTIATE_TEST_SUITE_P(
    KeysMenuAndButton, SetupCommandSources,
    ::testing::Values(OpenCase{"S", Qt::Key_S, 0, CChartSetupDialog::IDD, ""},
                      OpenCase{"Menu", 0, ID_CHART_SETUP_MENU, CChartSetupDialog::IDD, ""},
                      OpenCase{"Button", 0, ID_CHART_SETUP_BUTTON, CChartSetupDialog::IDD, ""},
                      OpenCase{"F", Qt::Key_F, 0, CParameterEditorDialog::IDD, "Frequency (MHz)"},
                      OpenCase{"Z", Qt::Key_Z, 0, CParameterEditorDialog::IDD, "Chart Z0 (ohm)"},
                      OpenCase{"P", Qt::Key_P, 0, CParameterEditorDialog::IDD,
                               "Tune % (0.1 - 10.0)"}),
    [](const ::testing::TestParamInfo<OpenCase>& info) { return std::string(info.param.name); });

class ParameterEntryTest : public SetupCommandsTest {
protected:
    /// Runs a parameter command, types text and presses Enter; returns the value shown.
    QString Enter(int command, const QString& text) {
        QString shown;
        driver.Then([&](CDialogBase& d) {
            shown = TextOf(d, 1003);
            Type(d, 1003, text);
            Accept(d);
        });
        view.ExecuteCommand(command);
        EXPECT_EQ(driver.opened, 1);
        return shown;
    }
};

TEST_F(ParameterEntryTest, FrequencyAndZ0) {
    Chart().frequency = 433.92;
    EXPECT_EQ(Enter(ID_EDIT_FREQUENCY, "144.5"), "433.92");
    EXPECT_EQ(Chart().frequency, 144.5);
    EXPECT_TRUE(doc.IsModified());
}

TEST_F(ParameterEntryTest, Z0EntrySetsTheReactanceToZero) {
    Chart().chartZ0 = {50.0, 7.0};
    EXPECT_EQ(Enter(ID_EDIT_CHART_Z0, "75"), "50");
    EXPECT_EQ(Chart().chartZ0.re, 75.0);
    EXPECT_EQ(Chart().chartZ0.im, 0.0);
}

TEST_F(ParameterEntryTest, CancelKeepsTheValueButMarksModified) {
    for (const int command : {ID_EDIT_FREQUENCY, ID_EDIT_CHART_Z0, ID_EDIT_TUNE_PERCENT}) {
        Chart().chartZ0 = {50.0, 7.0};
        Settle();
        driver.Then([](CDialogBase& d) {
            Type(d, 1003, "9");
            Cancel(d);
        });
        view.ExecuteCommand(command);
        EXPECT_EQ(Chart().frequency, 1000.0);
        EXPECT_EQ(Chart().chartZ0, (Complex{50.0, 7.0}));
        EXPECT_EQ(Chart().tunePercent, 2.5);
        EXPECT_TRUE(doc.IsModified()) << command;
        EXPECT_GT(Paints(), 0) << command;
    }
    EXPECT_EQ(driver.opened, 3);
}

struct TuneCase {
    const char* typed;
    bool accepted;
    double stored;
};

class TunePercentEntry : public ParameterEntryTest,
                         public ::testing::WithParamInterface<TuneCase> {};

TEST_P(TunePercentEntry, AcceptsTheRangeWithBothEnds) {
    const TuneCase c = GetParam();
    EXPECT_EQ(Enter(ID_EDIT_TUNE_PERCENT, c.typed), "2.5");
    EXPECT_EQ(Chart().tunePercent, c.stored);
    if (c.accepted) {
        EXPECT_TRUE(boxes.warnings.isEmpty());
    } else {
        EXPECT_EQ(boxes.warnings, QStringList{"Tuning Percentage Out of Range"});
    }
    EXPECT_TRUE(doc.IsModified());
}

INSTANTIATE_TEST_SUITE_P(Bounds, TunePercentEntry,
                         ::testing::Values(TuneCase{"10.0", true, 10.0}, TuneCase{"0.1", true, 0.1},
                                           TuneCase{"10.01", false, 2.5},
                                           TuneCase{"0.09", false, 2.5},
                                           TuneCase{"1e3", false, 2.5}));

} // namespace
