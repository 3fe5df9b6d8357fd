// The band commands: their keys, the after-command rule, the check marks and the Band Setup
// dialog's messages.
#include "app/dialogs/bandsetupdialog.h"
#include "tests/support/viewcommandfixture.h"

#include <cmath>
#include <limits>
#include <ostream>

namespace {

constexpr Qt::KeyboardModifiers kNo = Qt::NoModifier;
constexpr Qt::KeyboardModifiers kCtrl = Qt::ControlModifier;
constexpr Qt::KeyboardModifiers kShift = Qt::ShiftModifier;

enum class Answer { None, Ok, Cancel };

struct Row {
    const char* name;
    int key;
    Qt::KeyboardModifiers modifiers;
    Answer answer;
    bool bandOnBefore;
    bool marks;
    bool repaints;
    bool bandOnAfter;
};

void PrintTo(const Row& row, std::ostream* out) {
    *out << row.name;
}

class BandAfterCommand : public ViewCommandTest, public ::testing::WithParamInterface<Row> {};

TEST_P(BandAfterCommand, MarksAndRepaintsAsItsRowSays) {
    const Row& row = GetParam();
    Network(2);
    if (row.bandOnBefore) {
        ASSERT_TRUE(TurnBandDisplayOn(Chart()));
    }
    if (row.answer != Answer::None) {
        driver.Then(row.answer == Answer::Ok ? Accept : Cancel);
    }
    Settle();
    Key(row.key, row.modifiers);
    EXPECT_EQ(driver.opened, row.answer == Answer::None ? 0 : 1);
    EXPECT_EQ(doc.IsModified(), row.marks);
    EXPECT_EQ(Paints() > 0, row.repaints);
    EXPECT_EQ(Chart().band.display, row.bandOnAfter);
    EXPECT_TRUE(boxes.warnings.isEmpty()) << boxes.warnings.join(", ").toStdString();
}

// clang-format off
const Row kRows[] = {
    {"DisplayOn", Qt::Key_B, kCtrl, Answer::None, false, true, true, true},
    {"DisplayOff", Qt::Key_B, kCtrl, Answer::None, true, true, true, false},
    {"JunctionLoci", Qt::Key_J, kNo, Answer::None, true, true, true, true},
    {"JunctionLociWithTheBandOff", Qt::Key_J, kNo, Answer::None, false, true, true, false},
    {"SetupAcceptedTurnsTheDisplayOn", Qt::Key_B, kShift, Answer::Ok, false, true, true, true},
    {"SetupCancelled", Qt::Key_B, kShift, Answer::Cancel, false, false, true, false},
    // The panel belongs to the shell: no document change, no repaint (this view has no shell).
    {"ResponsePlot", Qt::Key_B, kCtrl | kShift, Answer::None, true, false, false, true},
    // Keys the map leaves unbound stay so.
    {"PlainB", Qt::Key_B, kNo, Answer::None, false, false, false, false},
    {"AltB", Qt::Key_B, Qt::AltModifier, Answer::None, false, false, false, false},
    {"ShiftJ", Qt::Key_J, kShift, Answer::None, true, false, false, true},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Rows, BandAfterCommand, ::testing::ValuesIn(kRows),
                         [](const ::testing::TestParamInfo<Row>& info) {
                             return std::string(info.param.name);
                         });

using BandCommands = ViewCommandTest;

TEST_F(BandCommands, FirstTurnOnTakesTheDefaultBandAndTurningOffKeepsIt) {
    Chart().frequency = 435;
    Key(Qt::Key_B, kCtrl);
    EXPECT_EQ(Chart().band.low, 435 * 0.9);
    EXPECT_EQ(Chart().band.high, 435 * 1.1);
    EXPECT_TRUE(view.IsCommandChecked(ID_BAND_DISPLAY));
    EXPECT_FALSE(view.IsCommandChecked(ID_BAND_JUNCTIONS));
    Key(Qt::Key_J);
    EXPECT_TRUE(view.IsCommandChecked(ID_BAND_JUNCTIONS));
    Key(Qt::Key_B, kCtrl);
    EXPECT_FALSE(view.IsCommandChecked(ID_BAND_DISPLAY));
    EXPECT_EQ(Chart().band.low, 435 * 0.9);
}

TEST_F(BandCommands, NoBandFromAnUnusableFrequencyIsReported) {
    Chart().frequency = std::numeric_limits<double>::quiet_NaN();
    Settle();
    Key(Qt::Key_B, kCtrl);
    EXPECT_FALSE(Chart().band.display);
    ASSERT_EQ(boxes.warnings.size(), 1);
    EXPECT_TRUE(boxes.warnings[0].startsWith(QStringLiteral("No band can be made")));
    EXPECT_TRUE(doc.IsModified());
}

struct SetupCase {
    const char* low;
    const char* high;
    const char* points;
    const char* message; // nullptr: accepted
    int focused;         // the edit that gets the focus after the message
};

TEST_F(BandCommands, BandSetupChecksItsFieldsInOrder) {
    // clang-format off
    const SetupCase cases[] = {
        {"400", "470", "201", nullptr, 0},
        {" ", "470", "201", "Please enter a number.", 1003},
        {"0", "470", "201", "Please enter a number between 1e-15 and 1e+20.", 1003},
        {"400", "x", "201", "Please enter a number.", 1004},
        {"400", "470", "1", "Please enter an integer between 2 and 10001.", 1005},
        {"400", "470", "10002", "Please enter an integer between 2 and 10001.", 1005},
        {"400", "470", "many", "Please enter an integer.", 1005},
        {"470", "400", "201", "The band's high frequency must be above its low frequency.", 1004},
        {"400", "400", "0", "Please enter an integer between 2 and 10001.", 1005},
    };
    // clang-format on
    for (const SetupCase& c : cases) {
        doc.chart.band = {};
        boxes.warnings.clear();
        int focused = 0;
        bool firstTry = true;
        driver.Then([&](CDialogBase& d) {
            EXPECT_EQ(d.DialogId(), CBandSetupDialog::IDD);
            EXPECT_EQ(d.windowTitle(), QStringLiteral("Band Setup"));
            Type(d, 1003, QString::fromLatin1(c.low));
            Type(d, 1004, QString::fromLatin1(c.high));
            Type(d, 1005, QString::fromLatin1(c.points));
            Accept(d);
            if (d.isVisible() && firstTry) {
                firstTry = false;
                QWidget* w = d.focusWidget();
                focused = w != nullptr ? w->objectName().toInt() : -1;
                Cancel(d);
            }
        });
        Key(Qt::Key_B, kShift);
        if (c.message == nullptr) {
            EXPECT_TRUE(boxes.warnings.isEmpty()) << c.low;
            EXPECT_EQ(Chart().band, (BandSettings{400, 470, 201, true, false}));
        } else {
            EXPECT_EQ(boxes.warnings, QStringList{QString::fromLatin1(c.message)}) << c.low;
            EXPECT_EQ(focused, c.focused) << c.message;
            EXPECT_FALSE(Chart().band.IsSet()) << c.message;
        }
    }
}

TEST_F(BandCommands, BandSetupOpensWithTheBandOrItsDefault) {
    Chart().frequency = 100;
    QString shown;
    driver.Then([&](CDialogBase& d) {
        shown = TextOf(d, 1003) + " " + TextOf(d, 1004) + " " + TextOf(d, 1005);
        Cancel(d);
    });
    Key(Qt::Key_B, kShift);
    EXPECT_EQ(shown, QStringLiteral("90 110 101"));
    Chart().band = {400, 470, 11, false, false};
    driver.Then([&](CDialogBase& d) {
        shown = TextOf(d, 1003) + " " + TextOf(d, 1004) + " " + TextOf(d, 1005);
        Cancel(d);
    });
    Key(Qt::Key_B, kShift);
    EXPECT_EQ(shown, QStringLiteral("400 470 11"));
}

} // namespace
