// The after-command rule, row by row: whether each command marks the document modified and
// whether it repaints, from an unmodified document.

#include "tests/support/viewcommandfixture.h"

#include <ostream>

namespace {

enum class Net { Empty, One, Full, Screwy };
enum class Answer { None, Ok, Cancel, Shunt };

struct Row {
    const char* name;
    Net network;
    int key; // 0: run command instead
    Qt::KeyboardModifiers modifiers;
    int command;
    Answer answer;
    bool marks;
    bool repaints;
    const char* message; // nullptr: none
};

void PrintTo(const Row& row, std::ostream* out) {
    *out << row.name;
}

class AfterCommand : public ViewCommandTest, public ::testing::WithParamInterface<Row> {};

TEST_P(AfterCommand, MarksAndRepaintsAsItsRowSays) {
    const Row& row = GetParam();
    switch (row.network) {
    case Net::Empty:
        break;
    case Net::One:
        Network(1);
        break;
    case Net::Full:
        Network(MAX_COMPONENTS);
        break;
    case Net::Screwy:
        Network(1);
        Chart().components[0] = NewCompound(KIND_SERIES_RLC, PLACE_SHUNT);
        Chart().components[0].tunedElement = -1;
        break;
    }
    switch (row.answer) {
    case Answer::None:
        break;
    case Answer::Ok:
        driver.Then(Accept);
        break;
    case Answer::Cancel:
        driver.Then(Cancel);
        break;
    case Answer::Shunt:
        driver.Then([](CDialogBase& d) {
            Choose(d, 1065);
            Accept(d);
        });
        break;
    }
    Settle();
    if (row.key != 0) {
        Key(row.key, row.modifiers);
    } else {
        EXPECT_TRUE(view.ExecuteCommand(row.command));
    }
    EXPECT_EQ(driver.opened, row.answer == Answer::None ? 0 : 1);
    EXPECT_EQ(doc.IsModified(), row.marks);
    EXPECT_EQ(Paints() > 0, row.repaints);
    if (row.message == nullptr) {
        EXPECT_TRUE(boxes.warnings.isEmpty()) << boxes.warnings.join(", ").toStdString();
    } else {
        EXPECT_EQ(boxes.warnings, QStringList{QString::fromLatin1(row.message)});
    }
}

constexpr Qt::KeyboardModifiers kNo = Qt::NoModifier;
constexpr Qt::KeyboardModifiers kCtrl = Qt::ControlModifier;
constexpr Qt::KeyboardModifiers kShift = Qt::ShiftModifier;
constexpr const char* kFull = "problem adding component";

// clang-format off
const Row kRows[] = {
    // Fixed-kind adds: marked only when added, except the shunt capacitor; repainted when tried.
    {"SeriesCapacitorAdded", Net::One, 0, kNo, ID_ADD_SERIES_CAPACITOR, Answer::None, true, true, nullptr},
    {"SeriesCapacitorFull", Net::Full, 0, kNo, ID_ADD_SERIES_CAPACITOR, Answer::None, false, true, kFull},
    {"ShuntCapacitorFullMarksFirst", Net::Full, 0, kNo, ID_ADD_SHUNT_CAPACITOR, Answer::None, true, true, kFull},
    {"ShuntInductorFull", Net::Full, 0, kNo, ID_ADD_SHUNT_INDUCTOR, Answer::None, false, true, kFull},
    {"ShuntOpenLineFull", Net::Full, 0, kNo, ID_ADD_SHUNT_OPEN_LINE, Answer::None, false, true, kFull},
    {"CompoundAdded", Net::Empty, 0, kNo, ID_ADD_COMPOUND, Answer::Ok, true, true, nullptr},
    {"CompoundFull", Net::Full, Qt::Key_X, kNo, 0, Answer::Ok, false, true, kFull},
    {"CompoundCancelled", Net::One, Qt::Key_X, kNo, 0, Answer::Cancel, false, false, nullptr},
    // Adds with a choice: as the add chosen; nothing when cancelled.
    {"ChoiceSeriesAdded", Net::Empty, Qt::Key_R, kNo, 0, Answer::Ok, true, true, nullptr},
    {"ChoiceShuntCapacitorFull", Net::Full, Qt::Key_C, kNo, 0, Answer::Shunt, true, true, kFull},
    {"ChoiceSeriesCapacitorFull", Net::Full, Qt::Key_C, kNo, 0, Answer::Ok, false, true, kFull},
    {"ChoiceShuntInductorFull", Net::Full, Qt::Key_L, kNo, 0, Answer::Shunt, false, true, kFull},
    {"ChoiceLineFull", Net::Full, Qt::Key_T, kNo, 0, Answer::Ok, false, true, kFull},
    {"ChoiceCancelled", Net::One, Qt::Key_C, kNo, 0, Answer::Cancel, false, false, nullptr},
    {"LineChoiceCancelled", Net::One, Qt::Key_T, kNo, 0, Answer::Cancel, false, false, nullptr},
    // Select, delete: always.
    {"LeftOnOneComponent", Net::One, Qt::Key_Left, kNo, 0, Answer::None, true, true, nullptr},
    {"RightOnEmpty", Net::Empty, Qt::Key_Right, kNo, 0, Answer::None, true, true, nullptr},
    {"DeleteOne", Net::One, Qt::Key_Delete, kNo, 0, Answer::None, true, true, nullptr},
    {"DeleteOnEmpty", Net::Empty, Qt::Key_Delete, kNo, 0, Answer::None, true, true, nullptr},
    // Edit: always with a component, also when cancelled; never with an empty network.
    {"EditCancelled", Net::One, Qt::Key_E, kNo, 0, Answer::Cancel, true, true, nullptr},
    {"EditAccepted", Net::One, Qt::Key_E, kNo, 0, Answer::Ok, true, true, nullptr},
    {"EditOnEmpty", Net::Empty, Qt::Key_E, kNo, 0, Answer::None, false, false, nullptr},
    // Value steps: with a component always, also after a message; never with an empty network.
    {"UpOnOne", Net::One, Qt::Key_Up, kNo, 0, Answer::None, true, true, nullptr},
    {"DownOnScrewy", Net::Screwy, Qt::Key_Down, kNo, 0, Answer::None, true, true, "Screwy tunable value"},
    {"UpOnEmpty", Net::Empty, Qt::Key_Up, kNo, 0, Answer::None, false, false, nullptr},
    {"DownOnEmpty", Net::Empty, Qt::Key_Down, kNo, 0, Answer::None, false, false, nullptr},
    // Frequency and Z0 steps, F1 to F3, the toggles: always.
    {"FrequencyUp", Net::Empty, Qt::Key_Up, kCtrl, 0, Answer::None, true, true, nullptr},
    {"FrequencyDown", Net::Empty, Qt::Key_Down, kCtrl, 0, Answer::None, true, true, nullptr},
    {"Z0Up", Net::Empty, Qt::Key_Up, kShift, 0, Answer::None, true, true, nullptr},
    {"Z0Down", Net::Empty, Qt::Key_Down, kShift, 0, Answer::None, true, true, nullptr},
    {"F1", Net::Empty, Qt::Key_F1, kNo, 0, Answer::None, true, true, nullptr},
    {"F2", Net::Empty, Qt::Key_F2, kNo, 0, Answer::None, true, true, nullptr},
    {"F3", Net::Empty, Qt::Key_F3, kNo, 0, Answer::None, true, true, nullptr},
    {"ToggleMarkers", Net::Empty, Qt::Key_M, kNo, 0, Answer::None, true, true, nullptr},
    {"ToggleGamma", Net::Empty, Qt::Key_G, kNo, 0, Answer::None, true, true, nullptr},
    {"ToggleAdmittance", Net::Empty, Qt::Key_A, kNo, 0, Answer::None, true, true, nullptr},
    {"ToggleQArcs", Net::Empty, Qt::Key_Q, kNo, 0, Answer::None, true, true, nullptr},
    {"ToggleVswr", Net::Empty, Qt::Key_V, kNo, 0, Answer::None, true, true, nullptr},
    // Chart setup: marked after OK only, repainted either way; parameter entry: always.
    {"SetupAccepted", Net::One, Qt::Key_S, kNo, 0, Answer::Ok, true, true, nullptr},
    {"SetupCancelled", Net::One, Qt::Key_S, kNo, 0, Answer::Cancel, false, true, nullptr},
    {"SetupButtonCancelled", Net::Empty, 0, kNo, ID_CHART_SETUP_BUTTON, Answer::Cancel, false, true, nullptr},
    {"FrequencyEntryAccepted", Net::Empty, Qt::Key_F, kNo, 0, Answer::Ok, true, true, nullptr},
    {"FrequencyEntryCancelled", Net::Empty, Qt::Key_F, kNo, 0, Answer::Cancel, true, true, nullptr},
    {"Z0EntryCancelled", Net::Empty, Qt::Key_Z, kNo, 0, Answer::Cancel, true, true, nullptr},
    {"TuneEntryAccepted", Net::Empty, Qt::Key_P, kNo, 0, Answer::Ok, true, true, nullptr},
    {"TuneEntryCancelled", Net::Empty, Qt::Key_P, kNo, 0, Answer::Cancel, true, true, nullptr},
    // Flip: never marked, repainted after either answer (these boxes answer No).
    {"FlipDeclined", Net::One, Qt::Key_F, kCtrl, 0, Answer::None, false, true, nullptr},
    // Keys that are no accelerator: nothing.
    {"ShiftC", Net::One, Qt::Key_C, kShift, 0, Answer::None, false, false, nullptr},
    {"CtrlShiftUp", Net::One, Qt::Key_Up, kCtrl | kShift, 0, Answer::None, false, false, nullptr},
    {"CtrlZ", Net::One, Qt::Key_Z, kCtrl, 0, Answer::None, false, false, nullptr},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Rows, AfterCommand, ::testing::ValuesIn(kRows),
                         [](const ::testing::TestParamInfo<Row>& info) {
                             return std::string(info.param.name);
                         });

// The wheel marks the document also when the value step it chose returned at once.
using AfterWheel = ViewCommandTest;

TEST_F(AfterWheel, MarksEvenWhenTheValueStepDidNothing) {
    Wheel(-120);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(Paints(), 0);
}

TEST_F(AfterWheel, RepaintsAsTheStepItPerforms) {
    Network(1);
    Settle();
    Wheel(120, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_GT(Paints(), 0);
}

} // namespace
