#include "ckesto1doc.h"
#include "ckesto1view.h"
#include "dialogbase.h"
#include "matchmewizarddialog.h"
#include "messageboxes.h"
#include "simplefilterwizarddialog.h"

#include <QApplication>
#include <QEvent>
#include <QLineEdit>
#include <QPalette>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

namespace {

// What the document looked like when a message box came up.
struct Snapshot {
    std::string text;
    int32_t componentCount = 0;
    Complex startZ;
    Complex chartZ0;
    int32_t showQArcs = 0;
    bool showVswrCircles = false;
    std::string title;
};

// Records the message boxes of the commands together with the state of the document at the
// moment each one was shown.
class SnapshotBoxes : public IMessageBoxes {
public:
    explicit SnapshotBoxes(const SmithChrt& chart) : chart(chart) {}
    void Warning(const QString& text) override {
        shown.push_back({text.toStdString(), chart.componentCount, chart.startZ, chart.chartZ0,
                         chart.showQArcs, chart.showVswrCircles, chart.title});
    }
    bool Question(const QString& text) override {
        Warning(text);
        return false;
    }
    SaveAnswer SaveQuestion(const QString& text) override {
        Warning(text);
        return SaveAnswer::Cancel;
    }
    std::vector<std::string> Texts() const {
        std::vector<std::string> texts;
        for (const Snapshot& s : shown) {
            texts.push_back(s.text);
        }
        return texts;
    }
    const SmithChrt& chart;
    std::vector<Snapshot> shown;
};

// Counts the paints the view receives. Qt's own widget code repaints a widget that can take
// the focus when it loses or regains it, and one whose palette differs between active and
// inactive windows when a dialog takes the activation. The chart shows neither, so the counter
// keeps the focus notices from the view and SameColoursWhenInactive evens the palette: the
// paints left are the ones the commands ask for.
class PaintCounter : public QObject {
public:
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        switch (event->type()) {
        case QEvent::Paint:
            ++paints;
            return false;
        case QEvent::FocusIn:
        case QEvent::FocusOut:
            return true;
        default:
            return false;
        }
    }
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

QLineEdit* Edit(QWidget* dialog, int id) {
    auto* base = qobject_cast<CDialogBase*>(dialog);
    return base == nullptr ? nullptr : base->ControlAs<QLineEdit>(id);
}

QRadioButton* Radio(QWidget* dialog, int id) {
    auto* base = qobject_cast<CDialogBase*>(dialog);
    return base == nullptr ? nullptr : base->ControlAs<QRadioButton>(id);
}

// Replaces an edit's text as a user who selected it all would.
void Type(QWidget* dialog, int id, const QString& text) {
    QLineEdit* edit = Edit(dialog, id);
    ASSERT_NE(edit, nullptr) << id;
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, text);
    ASSERT_EQ(edit->text(), text);
}

void Click(QWidget* dialog, int id) {
    QRadioButton* button = Radio(dialog, id);
    ASSERT_NE(button, nullptr) << id;
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
    ASSERT_TRUE(button->isChecked()) << id;
}

void PressEnter(QWidget* dialog) {
    QTest::keyClick(dialog->focusWidget() != nullptr ? dialog->focusWidget() : dialog,
                    Qt::Key_Return);
}

void PressEscape(QWidget* dialog) {
    QTest::keyClick(dialog->focusWidget() != nullptr ? dialog->focusWidget() : dialog,
                    Qt::Key_Escape);
}

using DialogAction = std::function<void(QWidget* dialog)>;

void SameColoursWhenInactive(QWidget& widget) {
    QPalette palette = widget.palette();
    for (int role = 0; role < QPalette::NColorRoles; ++role) {
        const auto r = static_cast<QPalette::ColorRole>(role);
        palette.setBrush(QPalette::Inactive, r, palette.brush(QPalette::Active, r));
    }
    widget.setPalette(palette);
}

class WizardCommandsTest : public ::testing::Test {
protected:
    WizardCommandsTest() : view(doc), boxes(doc.chart), scopedBoxes(boxes) {
        previousHook = CDialogBase::SetMessageHook(
            [this](QWidget*, const QString& text) { validation.push_back(text.toStdString()); });
        doc.chart.frequency = 100.0;
        SameColoursWhenInactive(view);
        view.resize(300, 200);
        view.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&view));
        view.setFocus();
        view.installEventFilter(&paints);
    }
    ~WizardCommandsTest() override { CDialogBase::SetMessageHook(previousHook); }

    // A network of two resistors to be replaced, and flags the wizards switch on.
    void FillDocument() {
        Component r;
        r.kind = KIND_RESISTOR;
        r.placement = PLACE_SERIES;
        r.resistance = 12.0;
        doc.chart.AddComponent(r);
        r.placement = PLACE_SHUNT;
        doc.chart.AddComponent(r);
        doc.chart.title = "my network";
        doc.chart.showQArcs = 0;
        doc.chart.showVswrCircles = false;
        doc.SetModifiedFlag(false);
    }

    // Runs command, which must open a modal dialog; action works the dialog and should close
    // it. A dialog still open after a few seconds is cancelled, so the test cannot hang.
    void RunWithDialog(const std::function<void()>& command, const DialogAction& action) {
        QApplication::processEvents();
        paints.paints = 0;
        bool acted = false;
        bool timedOut = false;
        QTimer poll;
        poll.setInterval(10);
        QObject::connect(&poll, &QTimer::timeout, &poll, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            if (modal == nullptr || acted) {
                return;
            }
            acted = true;
            dialogTitle = modal->windowTitle();
            action(modal);
        });
        QTimer guard;
        guard.setInterval(5000);
        QObject::connect(&guard, &QTimer::timeout, &guard, [&] {
            timedOut = true;
            while (QWidget* modal = QApplication::activeModalWidget()) {
                if (auto* dialog = qobject_cast<QDialog*>(modal)) {
                    dialog->reject();
                } else {
                    modal->close();
                }
                QApplication::processEvents();
            }
        });
        poll.start();
        guard.start();
        command();
        poll.stop();
        guard.stop();
        QApplication::processEvents();
        EXPECT_TRUE(acted) << "the command opened no dialog";
        EXPECT_FALSE(timedOut) << "the dialog was left open";
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    }

    void PressKey(int key, Qt::KeyboardModifiers modifiers, const DialogAction& action) {
        RunWithDialog([&] { QTest::keyClick(&view, key, modifiers); }, action);
    }

    void Execute(int id, const DialogAction& action) {
        RunWithDialog([&] { EXPECT_TRUE(view.ExecuteCommand(id)); }, action);
    }

    CKesto1Doc doc;
    CKesto1View view;
    SnapshotBoxes boxes;
    ScopedMessageBoxes scopedBoxes;
    PaintCounter paints;
    CDialogBase::MessageHook previousHook;
    std::vector<std::string> validation;
    QString dialogTitle;
};

// --- MatchMe -----------------------------------------------------------------------------

TEST_F(WizardCommandsTest, MatchMeKeyWithTheOpeningValuesGivesTheExample) {
    FillDocument();
    PressKey(Qt::Key_W, Qt::NoModifier, [](QWidget* dialog) {
        // One low-pass section between the document's impedances.
        EXPECT_EQ(Edit(dialog, 1005)->text(), "1");
        EXPECT_TRUE(Radio(dialog, 1080)->isChecked());
        EXPECT_EQ(Edit(dialog, 1003)->text(), "50");
        EXPECT_EQ(Edit(dialog, 1006)->text(), "0");
        EXPECT_EQ(Edit(dialog, 1004)->text(), "50");
        EXPECT_EQ(Edit(dialog, 1007)->text(), "0");
        PressEnter(dialog);
    });
    EXPECT_EQ(dialogTitle, "Simple MatchMe Wizard ");
    EXPECT_TRUE(validation.empty());

    // The example message comes after the entered impedances are stored and before the start
    // becomes a tenth and the old network goes.
    ASSERT_EQ(boxes.Texts(), std::vector<std::string>{
                                 "no need to match!!, I'm gonna give you an example instead!!"});
    const Snapshot& atMessage = boxes.shown[0];
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
    EXPECT_GE(paints.paints, 1);
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
    Execute(ID_MATCHME_WIZARD, [&](QWidget* dialog) {
        if (c.sections != nullptr) {
            Type(dialog, 1005, c.sections);
        }
        if (c.topologyButton != 0) {
            Click(dialog, c.topologyButton);
        }
        PressEnter(dialog);
    });
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_EQ(doc.chart.startZ, c.startZ);
    EXPECT_EQ(doc.chart.goalZ, c.goalZ);
    ExpectNetwork(doc.chart, c.network);
    EXPECT_EQ(doc.chart.showQArcs, 1);
    EXPECT_TRUE(doc.chart.showVswrCircles);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_GE(paints.paints, 1);
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
    PressKey(Qt::Key_W, Qt::NoModifier, [](QWidget* dialog) {
        Type(dialog, 1005, "4");
        Type(dialog, 1003, "75");
        Click(dialog, 1081);
        PressEscape(dialog);
    });
    EXPECT_EQ(DocumentState(doc), before);
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_EQ(paints.paints, 0);
}

TEST_F(WizardCommandsTest, MatchMeRefusesElevenSectionsAndStaysOpen) {
    FillDocument();
    const DocumentState before(doc);
    PressKey(Qt::Key_W, Qt::NoModifier, [this, &before](QWidget* dialog) {
        Type(dialog, 1005, "11");
        PressEnter(dialog);
        EXPECT_EQ(validation,
                  std::vector<std::string>{"Please enter an integer between 1 and 10."});
        EXPECT_TRUE(dialog->isVisible());
        EXPECT_EQ(QApplication::activeModalWidget(), dialog);
        EXPECT_EQ(dialog->focusWidget(), Edit(dialog, 1005));
        EXPECT_EQ(DocumentState(doc), before);
        PressEscape(dialog);
    });
    EXPECT_EQ(DocumentState(doc), before);
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_EQ(paints.paints, 0);
}

TEST_F(WizardCommandsTest, MatchMeRefusedValueCanBeCorrected) {
    PressKey(Qt::Key_W, Qt::NoModifier, [this](QWidget* dialog) {
        Type(dialog, 1004, "0");
        PressEnter(dialog);
        EXPECT_EQ(validation,
                  std::vector<std::string>{"Please enter a number between 1e-15 and 1e+15."});
        EXPECT_TRUE(dialog->isVisible());
        Type(dialog, 1004, "200");
        PressEnter(dialog);
    });
    EXPECT_EQ(validation.size(), 1u);
    EXPECT_EQ(doc.chart.goalZ, Complex(200.0, 0.0));
    EXPECT_EQ(doc.chart.componentCount, 2);
    EXPECT_TRUE(doc.IsModified());
}

// --- Filter ------------------------------------------------------------------------------

TEST_F(WizardCommandsTest, FilterKeyWithTheOpeningValues) {
    FillDocument();
    doc.chart.chartZ0 = {50.0, 2.0};
    PressKey(Qt::Key_W, Qt::ControlModifier, [](QWidget* dialog) {
        // Cutoff at the analysis frequency, Ro the chart Z0, 0.1 dB, N = 3, low-pass, shunt first.
        EXPECT_EQ(Edit(dialog, 1003)->text(), "100");
        EXPECT_EQ(Edit(dialog, 1004)->text(), "0.1");
        EXPECT_EQ(Edit(dialog, 1005)->text(), "3");
        EXPECT_EQ(Edit(dialog, 1006)->text(), "50");
        EXPECT_TRUE(Radio(dialog, 1093)->isChecked());
        EXPECT_TRUE(Radio(dialog, 1095)->isChecked());
        PressEnter(dialog);
    });
    EXPECT_EQ(dialogTitle, "Simple HPF/LPF Synthesis wizard");
    EXPECT_TRUE(validation.empty());
    EXPECT_TRUE(boxes.shown.empty());

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
    EXPECT_GE(paints.paints, 1);
}

TEST_F(WizardCommandsTest, FilterButtonRaisesAnEvenOrder) {
    FillDocument();
    Execute(ID_FILTER_WIZARD, [](QWidget* dialog) {
        Type(dialog, 1005, "4");
        Type(dialog, 1006, "75");
        PressEnter(dialog);
    });
    // The message comes once the network is emptied and before Z0, impedances and title change.
    ASSERT_EQ(boxes.Texts(),
              std::vector<std::string>{
                  "N was not Odd, I've increased the order to the nearest odd number"});
    const Snapshot& atMessage = boxes.shown[0];
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
    Execute(ID_FILTER_WIZARD, [](QWidget* dialog) {
        Click(dialog, 1094);
        Click(dialog, 1096);
        PressEnter(dialog);
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
    PressKey(Qt::Key_W, Qt::ControlModifier, [](QWidget* dialog) {
        Type(dialog, 1005, "5");
        Click(dialog, 1094);
        PressEscape(dialog);
    });
    EXPECT_EQ(DocumentState(doc), before);
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_GE(paints.paints, 1);
}

TEST_F(WizardCommandsTest, FilterRefusesZeroRippleAndStaysOpen) {
    FillDocument();
    const DocumentState before(doc);
    Execute(ID_FILTER_WIZARD, [this, &before](QWidget* dialog) {
        Type(dialog, 1004, "0");
        PressEnter(dialog);
        EXPECT_EQ(validation,
                  std::vector<std::string>{"Please enter a number between 0.0001 and 10."});
        EXPECT_TRUE(dialog->isVisible());
        EXPECT_EQ(QApplication::activeModalWidget(), dialog);
        EXPECT_EQ(dialog->focusWidget(), Edit(dialog, 1004));
        EXPECT_EQ(DocumentState(doc), before);
        PressEscape(dialog);
    });
    EXPECT_EQ(DocumentState(doc), before);
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_GE(paints.paints, 1);
}

} // namespace
