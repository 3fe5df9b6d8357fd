#include "app/dialogs/matchmewizarddialog.h"
#include "app/dialogs/simplefilterwizarddialog.h"
#include "tests/support/viewcommandfixture.h"

#include <array>
#include <ostream>
#include <string>
#include <vector>

namespace {

// What the document looked like when a message box came up.
struct Snapshot {
    int32_t componentCount = 0;
    Complex startZ;
    Complex chartZ0;
    int32_t showQArcs = 0;
    bool showVswrCircles = false;
    std::string title;
};

// The document fields a wizard may change.
struct DocumentState {
    std::string title;
    Complex startZ;
    Complex goalZ;
    Complex chartZ0;
    double frequency = 0.0;
    int32_t showQArcs = 0;
    bool showVswrCircles = false;
    int32_t componentCount = 0;
    int32_t activeIndex = 0;
    std::array<Component, MAX_COMPONENTS> components{};
    bool modified = false;

    explicit DocumentState(const CKesto1Doc& doc)
        : title(doc.chart.title), startZ(doc.chart.startZ), goalZ(doc.chart.goalZ),
          chartZ0(doc.chart.chartZ0), frequency(doc.chart.frequency),
          showQArcs(doc.chart.showQArcs), showVswrCircles(doc.chart.showVswrCircles),
          componentCount(doc.chart.componentCount), activeIndex(doc.chart.activeIndex),
          components(doc.chart.components), modified(doc.IsModified()) {}
    bool operator==(const DocumentState&) const = default;
};

// The kind, placement and the one value of a synthesised component (nH, pF or ohm).
struct Part {
    int32_t kind;
    int32_t placement;
    double value;
};

double ValueOf(const Component& c) {
    switch (c.kind) {
    case KIND_INDUCTOR:
        return c.inductance;
    case KIND_CAPACITOR:
        return c.capacitance;
    case KIND_TLINE:
        return c.lineZ0;
    default:
        return -1.0;
    }
}

void ExpectNetwork(const SmithChrt& chart, const std::vector<Part>& parts) {
    ASSERT_EQ(chart.componentCount, static_cast<int32_t>(parts.size()));
    for (size_t i = 0; i < parts.size(); ++i) {
        const Component& c = chart.components[i];
        EXPECT_EQ(c.kind, parts[i].kind) << "component " << i;
        EXPECT_EQ(c.placement, parts[i].placement) << "component " << i;
        EXPECT_NEAR(ValueOf(c), parts[i].value, 5e-4) << "component " << i;
    }
    EXPECT_EQ(chart.activeIndex, chart.componentCount - 1);
}

// The view at 100 MHz; every message box shown keeps a snapshot of the document.
class WizardCommandsTest : public ViewCommandTest {
protected:
    WizardCommandsTest() {
        Chart().frequency = 100.0;
        boxes.onWarning = [this] {
            const SmithChrt& c = Chart();
            shown.push_back(
                {c.componentCount, c.startZ, c.chartZ0, c.showQArcs, c.showVswrCircles, c.title});
        };
    }

    // A network of two resistors to be replaced, and flags the wizards switch on.
    void FillDocument() {
        Component r;
        r.kind = KIND_RESISTOR;
        r.placement = PLACE_SERIES;
        r.resistance = 12.0;
        Chart().AddComponent(r);
        r.placement = PLACE_SHUNT;
        Chart().AddComponent(r);
        Chart().title = "my network";
        Chart().showQArcs = 0;
        Chart().showVswrCircles = false;
        doc.SetModifiedFlag(false);
    }

    // Runs a command that must open one modal dialog, which action works and should close.
    void PressKey(int key, Qt::KeyboardModifiers modifiers, DialogDriver::Action action) {
        Run([&] { Key(key, modifiers); }, std::move(action));
    }
    void Execute(int id, DialogDriver::Action action) {
        Run([&] { EXPECT_TRUE(view.ExecuteCommand(id)); }, std::move(action));
    }

    std::vector<Snapshot> shown;
    QString dialogTitle;

private:
    void Run(const std::function<void()>& command, DialogDriver::Action action) {
        Settle();
        driver.Then([this, action = std::move(action)](CDialogBase& dialog) {
            dialogTitle = dialog.windowTitle();
            action(dialog);
        });
        command();
        EXPECT_EQ(driver.opened, 1) << "the command opened one dialog";
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    }
};

// --- MatchMe -----------------------------------------------------------------------------

TEST_F(WizardCommandsTest, MatchMeKeyWithTheOpeningValuesGivesTheExample) {
    FillDocument();
    PressKey(Qt::Key_W, Qt::NoModifier, [](CDialogBase& dialog) {
        // One low-pass section between the document's impedances.
        EXPECT_EQ(TextOf(dialog, 1005), "1");
        EXPECT_TRUE(Checked(dialog, 1080));
        EXPECT_EQ(TextOf(dialog, 1003), "50");
        EXPECT_EQ(TextOf(dialog, 1006), "0");
        EXPECT_EQ(TextOf(dialog, 1004), "50");
        EXPECT_EQ(TextOf(dialog, 1007), "0");
        Accept(dialog);
    });
    EXPECT_EQ(dialogTitle, "Simple MatchMe Wizard ");

    // No validation message; the example message comes after the entered impedances are stored
    // and before the start becomes a tenth and the old network goes.
    ASSERT_EQ(boxes.warnings,
              QStringList{"no need to match!!, I'm gonna give you an example instead!!"});
    const Snapshot& atMessage = shown[0];
    EXPECT_EQ(atMessage.startZ, Complex(50.0, 0.0));
    EXPECT_TRUE(atMessage.showVswrCircles);
    EXPECT_EQ(atMessage.showQArcs, 0);
    EXPECT_EQ(atMessage.componentCount, 2);

    const SmithChrt& chart = doc.chart;
    EXPECT_EQ(chart.startZ, Complex(5.0, 0.0));
    EXPECT_EQ(chart.goalZ, Complex(50.0, 0.0));
    ExpectNetwork(chart,
                  {{KIND_INDUCTOR, PLACE_SERIES, 23.873}, {KIND_CAPACITOR, PLACE_SHUNT, 95.493}});
    EXPECT_EQ(chart.showQArcs, 1);
    EXPECT_TRUE(chart.showVswrCircles);
    EXPECT_EQ(chart.title, "my network");
    EXPECT_TRUE(doc.IsModified());
    EXPECT_GE(Paints(), 1);
}

struct MatchCase {
    const char* name;
    Complex startZ;
    Complex goalZ;
    const char* sections; // typed into the dialog, nullptr to keep the opening value
    int topologyButton;   // clicked in the dialog, 0 to keep the opening choice
    std::vector<Part> network;
};

void PrintTo(const MatchCase& c, std::ostream* out) {
    *out << c.name;
}

class MatchMeButtonTest : public WizardCommandsTest,
                          public ::testing::WithParamInterface<MatchCase> {};

TEST_P(MatchMeButtonTest, BuildsTheNetworkFromTheDialog) {
    const MatchCase& c = GetParam();
    FillDocument();
    doc.chart.startZ = c.startZ;
    doc.chart.goalZ = c.goalZ;
    Execute(ID_MATCHME_WIZARD, [&](CDialogBase& dialog) {
        if (c.sections != nullptr) {
            Type(dialog, 1005, c.sections);
        }
        if (c.topologyButton != 0) {
            Choose(dialog, c.topologyButton);
        }
        Accept(dialog);
    });
    EXPECT_TRUE(boxes.warnings.isEmpty());
    EXPECT_EQ(doc.chart.startZ, c.startZ);
    EXPECT_EQ(doc.chart.goalZ, c.goalZ);
    ExpectNetwork(doc.chart, c.network);
    EXPECT_EQ(doc.chart.showQArcs, 1);
    EXPECT_TRUE(doc.chart.showVswrCircles);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_GE(Paints(), 1);
}

INSTANTIATE_TEST_SUITE_P(Networks, MatchMeButtonTest,
                         ::testing::Values(MatchCase{"HighPassDownward",
                                                     {100.0, 0.0},
                                                     {25.0, 0.0},
                                                     "2",
                                                     1081,
                                                     {{KIND_INDUCTOR, PLACE_SHUNT, 159.155},
                                                      {KIND_CAPACITOR, PLACE_SERIES, 31.831},
                                                      {KIND_INDUCTOR, PLACE_SHUNT, 79.577},
                                                      {KIND_CAPACITOR, PLACE_SERIES, 63.662}}},
                                           MatchCase{"ReversedWithStartFix",
                                                     {100.0, -20.0},
                                                     {25.0, 0.0},
                                                     nullptr,
                                                     0,
                                                     {{KIND_INDUCTOR, PLACE_SERIES, 31.831},
                                                      {KIND_CAPACITOR, PLACE_SHUNT, 27.566},
                                                      {KIND_INDUCTOR, PLACE_SERIES, 68.916}}},
                                           MatchCase{"QuarterWave",
                                                     {50.0, 0.0},
                                                     {200.0, 0.0},
                                                     nullptr,
                                                     1082,
                                                     {{KIND_TLINE, PLACE_TL_SERIES, 100.0}}}),
                         [](const ::testing::TestParamInfo<MatchCase>& info) {
                             return std::string(info.param.name);
                         });

TEST_F(WizardCommandsTest, MatchMeCancelChangesNothingAndDoesNotRepaint) {
    FillDocument();
    const DocumentState before(doc);
    PressKey(Qt::Key_W, Qt::NoModifier, [](CDialogBase& dialog) {
        Type(dialog, 1005, "4");
        Type(dialog, 1003, "75");
        Choose(dialog, 1081);
        Cancel(dialog);
    });
    EXPECT_EQ(DocumentState(doc), before);
    EXPECT_TRUE(boxes.warnings.isEmpty());
    EXPECT_EQ(Paints(), 0);
}

TEST_F(WizardCommandsTest, MatchMeRefusesElevenSectionsAndStaysOpen) {
    FillDocument();
    const DocumentState before(doc);
    PressKey(Qt::Key_W, Qt::NoModifier, [this, &before](CDialogBase& dialog) {
        Type(dialog, 1005, "11");
        Accept(dialog);
        EXPECT_EQ(boxes.warnings, QStringList{"Please enter an integer between 1 and 10."});
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(QApplication::activeModalWidget(), &dialog);
        EXPECT_EQ(dialog.focusWidget(), dialog.ControlAs<QLineEdit>(1005));
        EXPECT_EQ(DocumentState(doc), before);
        Cancel(dialog);
    });
    EXPECT_EQ(DocumentState(doc), before);
    EXPECT_EQ(boxes.warnings.size(), 1) << "no message but the refusal";
    EXPECT_EQ(Paints(), 0);
}

TEST_F(WizardCommandsTest, MatchMeRefusedValueCanBeCorrected) {
    PressKey(Qt::Key_W, Qt::NoModifier, [this](CDialogBase& dialog) {
        Type(dialog, 1004, "0");
        Accept(dialog);
        EXPECT_EQ(boxes.warnings, QStringList{"Please enter a number between 1e-15 and 1e+15."});
        EXPECT_TRUE(dialog.isVisible());
        Type(dialog, 1004, "200");
        Accept(dialog);
    });
    EXPECT_EQ(boxes.warnings.size(), 1);
    EXPECT_EQ(doc.chart.goalZ, Complex(200.0, 0.0));
    EXPECT_EQ(doc.chart.componentCount, 2);
    EXPECT_TRUE(doc.IsModified());
}

// --- Filter ------------------------------------------------------------------------------

TEST_F(WizardCommandsTest, FilterKeyWithTheOpeningValues) {
    FillDocument();
    doc.chart.chartZ0 = {50.0, 2.0};
    PressKey(Qt::Key_W, Qt::ControlModifier, [](CDialogBase& dialog) {
        // Cutoff at the analysis frequency, Ro the chart Z0, 0.1 dB, N = 3, low-pass, shunt first.
        EXPECT_EQ(TextOf(dialog, 1003), "100");
        EXPECT_EQ(TextOf(dialog, 1004), "0.1");
        EXPECT_EQ(TextOf(dialog, 1005), "3");
        EXPECT_EQ(TextOf(dialog, 1006), "50");
        EXPECT_TRUE(Checked(dialog, 1093));
        EXPECT_TRUE(Checked(dialog, 1095));
        Accept(dialog);
    });
    EXPECT_EQ(dialogTitle, "Simple HPF/LPF Synthesis wizard");
    EXPECT_TRUE(boxes.warnings.isEmpty());

    const SmithChrt& chart = doc.chart;
    ExpectNetwork(chart, {{KIND_CAPACITOR, PLACE_SHUNT, 32.836},
                          {KIND_INDUCTOR, PLACE_SERIES, 91.307},
                          {KIND_CAPACITOR, PLACE_SHUNT, 32.836}});
    EXPECT_EQ(chart.title,
              "Initial SimpleFilter Specs: Lowpass Fc=100.0 N=3 Ripple=0.10 dB R0=50.00 Ohms");
    EXPECT_EQ(chart.startZ, Complex(50.0, 0.0));
    EXPECT_EQ(chart.goalZ, Complex(50.0, 0.0));
    EXPECT_EQ(chart.chartZ0, Complex(50.0, 2.0)); // only the real part is written
    EXPECT_EQ(chart.frequency, 100.0);
    EXPECT_TRUE(chart.showVswrCircles);
    EXPECT_EQ(chart.showQArcs, 0);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_GE(Paints(), 1);
}

TEST_F(WizardCommandsTest, FilterButtonRaisesAnEvenOrder) {
    FillDocument();
    Execute(ID_FILTER_WIZARD, [](CDialogBase& dialog) {
        Type(dialog, 1005, "4");
        Type(dialog, 1006, "75");
        Accept(dialog);
    });
    // The message comes once the network is emptied and before Z0, impedances and title change.
    ASSERT_EQ(boxes.warnings,
              QStringList{"N was not Odd, I've increased the order to the nearest odd number"});
    const Snapshot& atMessage = shown[0];
    EXPECT_EQ(atMessage.componentCount, 0);
    EXPECT_TRUE(atMessage.showVswrCircles);
    EXPECT_EQ(atMessage.chartZ0, Complex(50.0, 0.0));
    EXPECT_EQ(atMessage.startZ, Complex(50.0, 0.0));
    EXPECT_EQ(atMessage.title, "my network");

    EXPECT_EQ(doc.chart.componentCount, 5);
    EXPECT_EQ(doc.chart.activeIndex, 4);
    EXPECT_EQ(doc.chart.chartZ0.re, 75.0);
    EXPECT_EQ(doc.chart.startZ, Complex(75.0, 0.0));
    EXPECT_EQ(doc.chart.goalZ, Complex(75.0, 0.0));
    EXPECT_EQ(doc.chart.title,
              "Initial SimpleFilter Specs: Lowpass Fc=100.0 N=5 Ripple=0.10 dB R0=75.00 Ohms");
    EXPECT_TRUE(doc.IsModified());
}

TEST_F(WizardCommandsTest, FilterHighPassWithSeriesFirst) {
    Execute(ID_FILTER_WIZARD, [](CDialogBase& dialog) {
        Choose(dialog, 1094);
        Choose(dialog, 1096);
        Accept(dialog);
    });
    ExpectNetwork(doc.chart, {{KIND_CAPACITOR, PLACE_SERIES, 30.856},
                              {KIND_INDUCTOR, PLACE_SHUNT, 69.355},
                              {KIND_CAPACITOR, PLACE_SERIES, 30.856}});
    EXPECT_EQ(doc.chart.title,
              "Initial SimpleFilter Specs: Highpass Fc=100.0 N=3 Ripple=0.10 dB R0=50.00 Ohms");
}

TEST_F(WizardCommandsTest, FilterCancelChangesNothingButRepaints) {
    FillDocument();
    const DocumentState before(doc);
    PressKey(Qt::Key_W, Qt::ControlModifier, [](CDialogBase& dialog) {
        Type(dialog, 1005, "5");
        Choose(dialog, 1094);
        Cancel(dialog);
    });
    EXPECT_EQ(DocumentState(doc), before);
    EXPECT_TRUE(boxes.warnings.isEmpty());
    EXPECT_GE(Paints(), 1);
}

TEST_F(WizardCommandsTest, FilterRefusesZeroRippleAndStaysOpen) {
    FillDocument();
    const DocumentState before(doc);
    Execute(ID_FILTER_WIZARD, [this, &before](CDialogBase& dialog) {
        Type(dialog, 1004, "0");
        Accept(dialog);
        EXPECT_EQ(boxes.warnings, QStringList{"Please enter a number between 0.0001 and 10."});
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(QApplication::activeModalWidget(), &dialog);
        EXPECT_EQ(dialog.focusWidget(), dialog.ControlAs<QLineEdit>(1004));
        EXPECT_EQ(DocumentState(doc), before);
        Cancel(dialog);
    });
    EXPECT_EQ(DocumentState(doc), before);
    EXPECT_EQ(boxes.warnings.size(), 1) << "no message but the refusal";
    EXPECT_GE(Paints(), 1);
}

} // namespace
