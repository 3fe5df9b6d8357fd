// Measured loads in the window: loading and unbinding through the command table, the value
// taken afresh on every route that changes the analysis frequency, and hand edits that unbind.
#include "app/dialogs/chartsetupdialog.h"
#include "app/dialogs/portchoicedialog.h"
#include "model/measuredbinding.h"
#include "tests/support/idleshell.h"
#include "tests/support/sampledocuments.h"
#include "tests/support/viewcommandfixture.h"

#include <QLabel>

#include <cmath>

namespace {

constexpr Qt::KeyboardModifiers kNo = Qt::NoModifier;
constexpr Qt::KeyboardModifiers kCtrl = Qt::ControlModifier;
constexpr Qt::KeyboardModifiers kShift = Qt::ShiftModifier;

/// A shell that answers the data file dialog with a fixed path.
class DataShell : public IdleShell {
public:
    QString AskDataFileName() override { return path; }
    QString path;
};

class DataCommands : public ShellCommandTest<DataShell> {
protected:
    void Bind(double frequency) {
        Chart().frequency = frequency;
        BindMeasuredData(Chart(), LoadEnd::Start,
                         std::make_shared<const MeasuredData>(SampleMeasuredData()));
        Settle();
    }
    Complex DataAt(double f) const { return *MeasuredImpedanceAt(*doc.chart.startData, f); }
};

struct Route {
    const char* name;
    int key;
    Qt::KeyboardModifiers modifiers;
    int wheel;       // 0: the key; else a wheel notch with Ctrl
    int typedEditId; // a dialog to type 250 into and accept; 0: none
};

class FrequencyRoutes : public DataCommands, public ::testing::WithParamInterface<Route> {};

TEST_P(FrequencyRoutes, EachTakesTheDataValueAtTheNewFrequency) {
    const Route& r = GetParam();
    Chart().f1Freq = 250;
    Bind(200);
    if (r.typedEditId != 0) {
        driver.Then([&](CDialogBase& d) {
            Type(d, r.typedEditId, QStringLiteral("250"));
            Accept(d);
        });
    }
    if (r.wheel != 0) {
        Wheel(r.wheel, kCtrl);
    } else {
        Key(r.key, r.modifiers);
    }
    ASSERT_NE(Chart().frequency, 200.0);
    EXPECT_EQ(Chart().startZ, DataAt(Chart().frequency));
    EXPECT_NE(Chart().startData, nullptr);
    EXPECT_TRUE(boxes.warnings.isEmpty()) << boxes.warnings.join(", ").toStdString();
}

// clang-format off
const Route kRoutes[] = {
    {"CtrlUp", Qt::Key_Up, kCtrl, 0, 0},
    {"F1", Qt::Key_F1, kNo, 0, 0},
    {"Wheel", 0, kNo, 120, 0},
    {"FrequencyEntry", Qt::Key_F, kNo, 0, 1003},
    {"ChartSetup", Qt::Key_S, kNo, 0, 1017},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Routes, FrequencyRoutes, ::testing::ValuesIn(kRoutes),
                         [](const ::testing::TestParamInfo<Route>& info) {
                             return std::string(info.param.name);
                         });

TEST_F(DataCommands, LoadBindsAFileAndAnUnreadableOneChangesNothing) {
    shell.path = WriteFile("bad.s1p", "# MHz S RI R 50\n100 0.1\n");
    Chart().frequency = 100;
    Key(Qt::Key_D);
    ASSERT_EQ(boxes.warnings.size(), 1);
    EXPECT_TRUE(boxes.warnings[0].startsWith(QStringLiteral("bad.s1p: line 2: ")))
        << boxes.warnings[0].toStdString();
    EXPECT_EQ(Chart().startData, nullptr);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_FALSE(view.IsCommandEnabled(ID_UNBIND_DATA));

    shell.path = WriteFile("good.S1P", "# MHz Z RI R 50\n100 10 5\n200 30 -5\n");
    Key(Qt::Key_D, kShift);
    ASSERT_NE(Chart().goalData, nullptr);
    EXPECT_EQ(Chart().goalData->name, "good.S1P");
    EXPECT_EQ(Chart().goalZ, Complex(500, -250))
        << "version 1 Z data is normalised to R; the goal is its conjugate";
    EXPECT_TRUE(doc.IsModified());
    EXPECT_TRUE(view.IsCommandEnabled(ID_UNBIND_DATA));
}

TEST_F(DataCommands, MultiPortDataAsksForThePort) {
    shell.path = WriteFile("two.s2p", "# MHz S RI R 50\n100 0.1 0 0 0 0 0 0.3 0\n");
    Chart().frequency = 100;
    driver.Then([](CDialogBase& d) {
        Type(d, 1003, QStringLiteral("2"));
        Accept(d);
    });
    Key(Qt::Key_D);
    EXPECT_EQ(driver.lastDialogId, CPortChoiceDialog::IDD);
    ASSERT_NE(Chart().startData, nullptr);
    EXPECT_EQ(Chart().startData->name, "two.s2p (port 2)");
    EXPECT_NEAR(Chart().startZ.re, 50 * 1.3 / 0.7, 1e-9);
}

TEST_F(DataCommands, UnbindKeepsTheValueAndIsRefusedWhereTheDataHasNone) {
    Bind(999);
    Key(Qt::Key_U);
    EXPECT_EQ(boxes.warnings.size(), 1);
    EXPECT_NE(Chart().startData, nullptr);
    Chart().frequency = 300;
    RefreshBoundImpedances(Chart());
    const Complex at300 = DataAt(300);
    Key(Qt::Key_U);
    EXPECT_EQ(Chart().startData, nullptr);
    EXPECT_EQ(Chart().startZ, at300);
    EXPECT_TRUE(doc.IsModified());
}

TEST_F(DataCommands, HandEditsAskBeforeUnbindingAndTheDialogSaysWhereTheValueComesFrom) {
    Bind(999); // no value: the setup shows the chart Z0 in its place and, untouched, keeps it so
    QString note;
    driver.Then([&note](CDialogBase& d) {
        note = d.ControlAs<QLabel>(CChartSetupDialog::kStartNoteId)->text();
        Accept(d);
    });
    Key(Qt::Key_S);
    EXPECT_TRUE(note.startsWith(QStringLiteral("From data: probe.s1p"))) << note.toStdString();
    EXPECT_NE(Chart().startData, nullptr);
    EXPECT_TRUE(std::isnan(Chart().startZ.re));
    EXPECT_TRUE(boxes.questions.isEmpty()) << "no edit, no question";
    const auto typed = [](CDialogBase& d) {
        Type(d, 1020, QStringLiteral("33"));
        Accept(d);
    };
    // Asked first: No keeps the data and its value.
    boxes.questionAnswer = false;
    driver.Then(typed);
    Key(Qt::Key_S);
    ASSERT_EQ(boxes.questions.size(), 1);
    EXPECT_TRUE(boxes.questions[0].startsWith(
        QStringLiteral("The starting impedance comes from probe.s1p.")));
    EXPECT_NE(Chart().startData, nullptr);
    EXPECT_TRUE(std::isnan(Chart().startZ.re));
    boxes.questionAnswer = true;
    driver.Then(typed);
    Key(Qt::Key_S);
    EXPECT_EQ(Chart().startData, nullptr);
    EXPECT_EQ(Chart().startZ, Complex(33, 0));
    EXPECT_EQ(boxes.questions.size(), 2);
    EXPECT_TRUE(boxes.warnings.isEmpty());
    // The matching wizard takes the value as its dialog shows it (15 digits): that is no edit.
    Bind(300);
    driver.Then(Accept);
    Key(Qt::Key_W);
    EXPECT_GT(Chart().componentCount, 0);
    EXPECT_NE(Chart().startData, nullptr);
    EXPECT_EQ(Chart().startZ, DataAt(300));
    EXPECT_EQ(boxes.questions.size(), 2);
    // It refuses an impedance without a value instead of opening.
    Bind(999);
    view.ExecuteCommand(ID_MATCHME_WIZARD);
    EXPECT_EQ(driver.opened, 4);
    EXPECT_TRUE(boxes.warnings.last().startsWith(QStringLiteral("The matching wizard needs")));
}

TEST_F(DataCommands, AdoptingAnImpedanceInThePopupUnbindsIt) {
    Bind(999);
    boxes.questionAnswer = true; // Yes, unbind it
    view.repaint();
    Settle();
    driver.Then([](CDialogBase& d) {
        Choose(d, 1078); // Make Starting [Generator] Impedance
        Accept(d);
    });
    const Point centre = Chart().chartCentre;
    QTest::mousePress(&view, Qt::RightButton, Qt::NoModifier, QPoint(centre.x, -centre.y));
    EXPECT_EQ(Chart().startData, nullptr);
    EXPECT_EQ(Chart().startZ, Chart().chartZ0);
    EXPECT_EQ(boxes.questions.size(), 1);
    EXPECT_TRUE(doc.IsModified()) << "unbinding is an edit, though adopting alone is not";
}

} // namespace
