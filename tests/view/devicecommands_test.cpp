// Amplifier design in the window: a device loaded through Data > Load Device..., its circle
// families toggled, their steps set, the goal bound to the device and the device unbound.
#include "app/dialogs/circlestepsdialog.h"
#include "app/dialogs/devicegoaldialog.h"
#include "app/dialogs/portchoicedialog.h"
#include "model/devicebinding.h"
#include "tests/support/idleshell.h"
#include "tests/support/viewcommandfixture.h"

#include <QFile>
#include <QTemporaryDir>

#include <cmath>
#include <numbers>

namespace {

constexpr Qt::KeyboardModifiers kNo = Qt::NoModifier;
constexpr Qt::KeyboardModifiers kCtrl = Qt::ControlModifier;
constexpr Qt::KeyboardModifiers kShift = Qt::ShiftModifier;

const QString kScikitRf = QStringLiteral(QUORBEL_SKRF_DIR);

// The GaAs FET of Pozar's amplifier examples (Microwave Engineering, 4th ed., example 12.4:
// S11 = 0.72/-116, S21 = 2.60/76, S12 = 0.03/57, S22 = 0.73/-54 at 4 GHz), with noise rows.
const char* const kFet = "# GHz S MA R 50\n"
                         "3.0 0.75 -105 2.85 82 0.028 60 0.76 -48\n"
                         "4.0 0.72 -116 2.60 76 0.030 57 0.73 -54\n"
                         "5.0 0.68 -128 2.36 68 0.032 55 0.69 -60\n"
                         "3.0 1.4 0.64 92 0.42\n"
                         "4.0 1.6 0.62 100 0.40\n"
                         "5.0 1.8 0.60 108 0.38\n";

/// A shell that answers the device file dialog with a fixed path.
class DeviceShell : public IdleShell {
public:
    QString AskDeviceFileName() override { return path; }
    void DeviceLoaded() override { ++loaded; }
    QString path;
    int loaded = 0;
};

class DeviceCommands : public ViewCommandTest {
protected:
    DeviceCommands() { view.SetShell(&shell); }

    QString WriteFile(const char* name, const char* text) {
        const QString path = dir.filePath(QString::fromLatin1(name));
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
        return path;
    }
    /// Loads the FET through the command at frequency (MHz).
    void LoadFet(double frequency) {
        Chart().frequency = frequency;
        shell.path = WriteFile("fet.s2p", kFet);
        Key(Qt::Key_D, kCtrl);
        ASSERT_NE(Chart().device, nullptr);
        Settle();
    }
    /// The goal's reflection on 50 ohm.
    Complex GoalGamma() {
        const Complex z = Chart().goalZ;
        return (z - Complex{50, 0}) / (z + Complex{50, 0});
    }

    QTemporaryDir dir;
    DeviceShell shell;
};

Complex Polar(double magnitude, double degrees) {
    const double a = degrees * std::numbers::pi / 180;
    return {magnitude * std::cos(a), magnitude * std::sin(a)};
}

double Distance(Complex a, Complex b) {
    return std::hypot(a.re - b.re, a.im - b.im);
}

struct DeviceKey {
    int id;
    int key;
    Qt::KeyboardModifiers modifiers;
};

// clang-format off
const DeviceKey kDeviceKeys[] = {
    {ID_DEVICE_STABILITY_CIRCLES, Qt::Key_K, kNo},
    {ID_DEVICE_AVAILABLE_GAIN_CIRCLES, Qt::Key_K, kShift},
    {ID_DEVICE_OPERATING_GAIN_CIRCLES, Qt::Key_K, kCtrl},
    {ID_DEVICE_NOISE_CIRCLES, Qt::Key_K, kCtrl | kShift},
    {ID_DEVICE_CIRCLE_STEPS, Qt::Key_D, kCtrl | kShift},
    {ID_DEVICE_GOAL, Qt::Key_G, kShift},
    {ID_UNBIND_DEVICE, Qt::Key_U, kCtrl},
};
// clang-format on

TEST_F(DeviceCommands, WithoutADeviceItsCommandsAreDisabledAndTheirKeysChangeNothing) {
    const SmithChrt before = Chart();
    for (const DeviceKey& k : kDeviceKeys) {
        EXPECT_FALSE(view.IsCommandEnabled(k.id)) << k.id;
        EXPECT_FALSE(view.IsCommandChecked(k.id)) << k.id;
        Key(k.key, k.modifiers);
    }
    Key(Qt::Key_D, kCtrl); // the file dialog cancelled
    EXPECT_TRUE(view.IsCommandEnabled(ID_LOAD_DEVICE));
    EXPECT_EQ(driver.opened, 0);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(Paints(), 0);
    EXPECT_EQ(Chart().circles, before.circles);
    EXPECT_EQ(Chart().goalZ, before.goalZ);
    EXPECT_TRUE(boxes.warnings.isEmpty());
}

TEST_F(DeviceCommands, LoadsScikitRfsNoiseFileWithTheReadersNote) {
    shell.path = kScikitRf + QStringLiteral("/tests/ntwk_noise.s2p");
    Key(Qt::Key_D, kCtrl);
    ASSERT_NE(Chart().device, nullptr);
    EXPECT_EQ(Chart().device->name, "ntwk_noise.s2p");
    EXPECT_EQ(Chart().device->points.size(), 11u) << "the repeated 1.5 GHz row is skipped";
    ASSERT_EQ(Chart().device->noise.size(), 2u);
    EXPECT_EQ(Chart().device->noise[1].fminDb, 1.0);
    ASSERT_EQ(boxes.warnings.size(), 1);
    EXPECT_EQ(boxes.warnings[0],
              QStringLiteral("ntwk_noise.s2p: line 12 repeats line 11 and is skipped."));
    EXPECT_TRUE(doc.IsModified());
    EXPECT_GT(Paints(), 0);
    EXPECT_EQ(shell.loaded, 1);
    for (const DeviceKey& k : kDeviceKeys) {
        EXPECT_TRUE(view.IsCommandEnabled(k.id)) << k.id;
    }
}

TEST_F(DeviceCommands, AnUnreadableFileSaysWhereAndChangesNothing) {
    shell.path = WriteFile("bad.s2p", "# MHz S RI R 50\n100 0.1 0 0.2 0 0.3\n");
    Key(Qt::Key_D, kCtrl);
    ASSERT_EQ(boxes.warnings.size(), 1);
    EXPECT_TRUE(boxes.warnings[0].startsWith(QStringLiteral("bad.s2p: line 2: ")))
        << boxes.warnings[0].toStdString();
    EXPECT_EQ(Chart().device, nullptr);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(shell.loaded, 0);
}

TEST_F(DeviceCommands, AFileOfMorePortsAsksForTwoDifferentPorts) {
    shell.path = kScikitRf + QStringLiteral("/data/tee.s3p");
    driver.Then([this](CDialogBase& d) {
        EXPECT_EQ(TextOf(d, 1038),
                  QStringLiteral("tee.s3p holds S-parameter data of 3 ports: which two are the "
                                 "device's?"));
        Type(d, 1003, QStringLiteral("2"));
        Type(d, 1004, QStringLiteral("2"));
        Accept(d); // refused: the dialog stays
        EXPECT_EQ(boxes.warnings.size(), 1);
        Type(d, 1004, QStringLiteral("4"));
        Accept(d); // refused: beyond the file's ports
        EXPECT_EQ(boxes.warnings.size(), 2);
        Type(d, 1004, QStringLiteral("3"));
        Accept(d);
    });
    Key(Qt::Key_D, kCtrl);
    EXPECT_EQ(driver.lastDialogId, CPortChoiceDialog::IDD);
    ASSERT_EQ(boxes.warnings.size(), 2);
    EXPECT_EQ(boxes.warnings[0], QStringLiteral("Please choose two different ports."));
    ASSERT_NE(Chart().device, nullptr);
    EXPECT_EQ(Chart().device->name, "tee.s3p (ports 2,3)");
}

struct Toggle {
    int id;
    int key;
    Qt::KeyboardModifiers modifiers;
    bool CircleSettings::*family;
};

class CircleToggles : public DeviceCommands, public ::testing::WithParamInterface<Toggle> {};

TEST_P(CircleToggles, EachKeyFlipsItsOwnFamilyOnly) {
    const Toggle& t = GetParam();
    LoadFet(4000);
    const CircleSettings before = Chart().circles;
    EXPECT_FALSE(view.IsCommandChecked(t.id));
    Key(t.key, t.modifiers);
    CircleSettings expected = before;
    expected.*t.family = true;
    EXPECT_EQ(Chart().circles, expected);
    EXPECT_TRUE(view.IsCommandChecked(t.id));
    EXPECT_TRUE(doc.IsModified());
    EXPECT_GT(Paints(), 0);
    Key(t.key, t.modifiers);
    EXPECT_EQ(Chart().circles, before);
    EXPECT_FALSE(view.IsCommandChecked(t.id));
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Families, CircleToggles, ::testing::Values(
    Toggle{ID_DEVICE_STABILITY_CIRCLES, Qt::Key_K, kNo, &CircleSettings::stability},
    Toggle{ID_DEVICE_AVAILABLE_GAIN_CIRCLES, Qt::Key_K, kShift, &CircleSettings::availableGain},
    Toggle{ID_DEVICE_OPERATING_GAIN_CIRCLES, Qt::Key_K, kCtrl, &CircleSettings::operatingGain},
    Toggle{ID_DEVICE_NOISE_CIRCLES, Qt::Key_K, kCtrl | kShift, &CircleSettings::noise}));
// clang-format on

TEST_F(DeviceCommands, CircleStepsAcceptOnlyListsOfStepsAboveZero) {
    LoadFet(4000);
    QStringList shown;
    driver.Then([&](CDialogBase& d) {
        shown = {TextOf(d, 1201), TextOf(d, 1202), TextOf(d, 1203)};
        int refusals = 0;
        for (const char* bad :
             {"", "1,,2", "0", "-1", "2,x", "101", "1,2,3,4,5,6,7,8,9,10,11,12,13", "1 2"}) {
            if (*bad == '\0') {
                d.ControlAs<QLineEdit>(1202)->clear();
            } else {
                Type(d, 1202, QString::fromLatin1(bad));
            }
            Accept(d);
            EXPECT_EQ(boxes.warnings.size(), ++refusals) << bad;
            EXPECT_TRUE(d.isVisible()) << bad;
        }
        Type(d, 1201, QStringLiteral("0.5, 1.5"));
        Type(d, 1202, QStringLiteral("2"));
        Type(d, 1203, QStringLiteral("0.1,0.3"));
        Accept(d);
    });
    Key(Qt::Key_D, kCtrl | kShift);
    EXPECT_EQ(driver.lastDialogId, CCircleStepsDialog::IDD);
    EXPECT_EQ(shown, QStringList({"1,2,3", "1,2,3", "0.25,0.5,1,2"}));
    EXPECT_EQ(Chart().circles.availableSteps, std::vector<double>({0.5, 1.5}));
    EXPECT_EQ(Chart().circles.operatingSteps, std::vector<double>({2}));
    EXPECT_EQ(Chart().circles.noiseSteps, std::vector<double>({0.1, 0.3}));
    EXPECT_TRUE(doc.IsModified());

    Settle();
    driver.Then([](CDialogBase& d) { Accept(d); });
    Key(Qt::Key_D, kCtrl | kShift);
    EXPECT_FALSE(doc.IsModified()) << "the same steps again change nothing";
}

TEST_F(DeviceCommands, TheGoalFollowsWhatTheDeviceWantsAcrossFrequency) {
    LoadFet(4000);
    const Complex before = Chart().goalZ;
    driver.Then([](CDialogBase& d) { Cancel(d); });
    Key(Qt::Key_G, kShift);
    EXPECT_EQ(driver.lastDialogId, CDeviceGoalDialog::IDD);
    EXPECT_EQ(Chart().deviceGoal, 0);
    EXPECT_EQ(Chart().goalZ, before);
    EXPECT_FALSE(doc.IsModified());

    // Pozar's results for this FET at 4 GHz: Gamma_S = 0.872/123, Gamma_L = 0.876/61 degrees.
    struct Choice {
        int radio;
        DeviceGoal goal;
        Complex gamma;
    };
    const Choice choices[] = {
        {1211, DeviceGoal::SourceGain, Polar(0.872, 123)},
        {1213, DeviceGoal::LoadGain, Polar(0.876, 61)},
        {1212, DeviceGoal::SourceNoise, Polar(0.62, 100)},
    };
    for (const Choice& c : choices) {
        driver.Then([&c](CDialogBase& d) {
            Choose(d, c.radio);
            Accept(d);
        });
        Key(Qt::Key_G, kShift);
        EXPECT_EQ(Chart().deviceGoal, static_cast<int32_t>(c.goal));
        // The book rounds to three digits and whole degrees: half a degree is 0.0076 here.
        EXPECT_LT(Distance(GoalGamma(), c.gamma), 0.008) << c.radio;
        EXPECT_TRUE(doc.IsModified());
        Settle();
    }
    // A new analysis frequency takes the goal's value there.
    Key(Qt::Key_Up, kCtrl);
    ASSERT_NE(Chart().frequency, 4000.0);
    const DeviceGoalValue there =
        DeviceGoalAt(*Chart().device, DeviceGoal::SourceNoise, Chart().frequency);
    ASSERT_TRUE(there.z.has_value());
    EXPECT_EQ(Chart().goalZ, *there.z);
    EXPECT_NE(Chart().goalZ, before);
}

TEST_F(DeviceCommands, TheMatchingWizardRefusesAGoalTheDeviceHasNoValueFor) {
    // Pozar's MESFET at 1.9 GHz is potentially unstable: no simultaneous conjugate match.
    shell.path = WriteFile("mesfet.s2p", "# GHz S MA R 50\n"
                                         "1.8 0.869 -159 4.250 61 0.031 -9 0.507 -117\n"
                                         "2.0 0.869 -159 4.250 61 0.031 -9 0.507 -117\n");
    Chart().frequency = 1900;
    Key(Qt::Key_D, kCtrl);
    driver.Then([](CDialogBase& d) {
        Choose(d, 1211);
        Accept(d);
    });
    Key(Qt::Key_G, kShift);
    ASSERT_EQ(Chart().deviceGoal, static_cast<int32_t>(DeviceGoal::SourceGain));
    Key(Qt::Key_W);
    EXPECT_EQ(driver.opened, 1) << "the wizard's dialog does not open";
    ASSERT_EQ(boxes.warnings.size(), 1);
    EXPECT_EQ(boxes.warnings[0],
              QStringLiteral("The matching wizard needs both impedances: the goal from the "
                             "device has no value here: no simultaneous match: K=0.38."));
}

TEST_F(DeviceCommands, UnbindingKeepsTheGoalsValueAndDisablesTheDevicesCommands) {
    LoadFet(4000);
    driver.Then([](CDialogBase& d) {
        Choose(d, 1211);
        Accept(d);
    });
    Key(Qt::Key_G, kShift);
    Key(Qt::Key_K);
    Settle();
    const Complex goal = Chart().goalZ;
    Key(Qt::Key_U, kCtrl);
    EXPECT_EQ(Chart().device, nullptr);
    EXPECT_EQ(Chart().deviceGoal, 0);
    EXPECT_EQ(Chart().goalZ, goal);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_GT(Paints(), 0);
    for (const DeviceKey& k : kDeviceKeys) {
        EXPECT_FALSE(view.IsCommandEnabled(k.id)) << k.id;
        EXPECT_FALSE(view.IsCommandChecked(k.id)) << k.id;
    }
}

TEST_F(DeviceCommands, SavingAndOpeningKeepTheDeviceItsToggleStepsAndGoal) {
    LoadFet(4000);
    Key(Qt::Key_K);
    Key(Qt::Key_K, kCtrl | kShift);
    driver.Then([](CDialogBase& d) {
        Type(d, 1203, QStringLiteral("0.2,0.4"));
        Accept(d);
    });
    Key(Qt::Key_D, kCtrl | kShift);
    driver.Then([](CDialogBase& d) {
        Choose(d, 1213);
        Accept(d);
    });
    Key(Qt::Key_G, kShift);
    const QString path = dir.filePath(QStringLiteral("amp.qbl"));
    ASSERT_EQ(doc.OnSaveDocument(path), DocumentError::None);

    CKesto1Doc reopened;
    ASSERT_EQ(reopened.OnOpenDocument(path), DocumentError::None);
    const SmithChrt& sc = reopened.chart;
    ASSERT_NE(sc.device, nullptr);
    EXPECT_EQ(sc.device->name, "fet.s2p");
    EXPECT_EQ(sc.device->points.size(), 3u);
    EXPECT_EQ(sc.device->noise.size(), 3u);
    EXPECT_EQ(sc.circles, Chart().circles);
    EXPECT_TRUE(sc.circles.stability && sc.circles.noise);
    EXPECT_FALSE(sc.circles.availableGain || sc.circles.operatingGain);
    EXPECT_EQ(sc.deviceGoal, static_cast<int32_t>(DeviceGoal::LoadGain));
    EXPECT_EQ(sc.goalZ, Chart().goalZ);
}

} // namespace
