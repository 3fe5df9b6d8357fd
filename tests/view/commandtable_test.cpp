#include "commandtable.h"
#include "shellpictures.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

TEST(CommandTable, IdsAreUnique) {
    std::set<int> ids;
    for (const CommandRow& row : CommandTable()) {
        EXPECT_TRUE(ids.insert(row.id).second) << row.id;
    }
    EXPECT_GE(ids.size(), 62u);
}

TEST(CommandTable, EveryKeyBelongsToOneCommand) {
    std::set<std::pair<int, int>> keys;
    for (const CommandRow& row : CommandTable()) {
        for (const KeyBinding& k : row.keys) {
            if (k.key != 0) {
                EXPECT_TRUE(keys.insert({k.key, static_cast<int>(k.modifiers.toInt())}).second)
                    << row.id;
            }
        }
    }
}

struct KeyCase {
    int key;
    Qt::KeyboardModifiers modifiers;
    int expected; // 0: no command
};

class AcceleratorTest : public ::testing::TestWithParam<KeyCase> {};

TEST_P(AcceleratorTest, ExactModifierMatch) {
    const KeyCase& c = GetParam();
    const CommandRow* row = FindAccelerator(c.key, c.modifiers);
    if (c.expected == 0) {
        EXPECT_EQ(row, nullptr);
    } else {
        ASSERT_NE(row, nullptr);
        EXPECT_EQ(row->id, c.expected);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Keys, AcceleratorTest,
    ::testing::Values(
        KeyCase{Qt::Key_C, Qt::NoModifier, 32806}, KeyCase{Qt::Key_C, Qt::ShiftModifier, 0},
        KeyCase{Qt::Key_C, Qt::ControlModifier, ID_EDIT_COPY},
        KeyCase{Qt::Key_C, Qt::AltModifier, 0}, KeyCase{Qt::Key_L, Qt::NoModifier, 32808},
        KeyCase{Qt::Key_R, Qt::NoModifier, 32807}, KeyCase{Qt::Key_T, Qt::NoModifier, 32803},
        KeyCase{Qt::Key_X, Qt::NoModifier, 32809}, KeyCase{Qt::Key_E, Qt::NoModifier, 32793},
        KeyCase{Qt::Key_F, Qt::NoModifier, 32788}, KeyCase{Qt::Key_G, Qt::NoModifier, 32795},
        KeyCase{Qt::Key_M, Qt::NoModifier, 32792}, KeyCase{Qt::Key_P, Qt::NoModifier, 32791},
        KeyCase{Qt::Key_Q, Qt::NoModifier, 32801}, KeyCase{Qt::Key_S, Qt::NoModifier, 32790},
        KeyCase{Qt::Key_V, Qt::NoModifier, 32816}, KeyCase{Qt::Key_W, Qt::NoModifier, 32812},
        KeyCase{Qt::Key_Z, Qt::NoModifier, 32789}, KeyCase{Qt::Key_A, Qt::NoModifier, 32798},
        KeyCase{Qt::Key_Up, Qt::NoModifier, 32783}, KeyCase{Qt::Key_Down, Qt::NoModifier, 32784},
        KeyCase{Qt::Key_Left, Qt::NoModifier, 32785}, KeyCase{Qt::Key_Right, Qt::NoModifier, 32786},
        KeyCase{Qt::Key_Delete, Qt::NoModifier, 32787},
        KeyCase{Qt::Key_Up, Qt::ControlModifier, 32796},
        KeyCase{Qt::Key_Down, Qt::ControlModifier, 32797},
        KeyCase{Qt::Key_Up, Qt::ShiftModifier, 32799},
        KeyCase{Qt::Key_Down, Qt::ShiftModifier, 32800},
        KeyCase{Qt::Key_Up, Qt::ControlModifier | Qt::ShiftModifier, 0},
        KeyCase{Qt::Key_Up, Qt::KeypadModifier, 32783},
        KeyCase{Qt::Key_Left, Qt::KeypadModifier, 32785},
        KeyCase{Qt::Key_Up, Qt::KeypadModifier | Qt::ControlModifier, 32796},
        KeyCase{Qt::Key_F1, Qt::NoModifier, 32826}, KeyCase{Qt::Key_F2, Qt::NoModifier, 32827},
        KeyCase{Qt::Key_F3, Qt::NoModifier, 32828}, KeyCase{Qt::Key_F, Qt::ControlModifier, 32819},
        KeyCase{Qt::Key_W, Qt::ControlModifier, 32823},
        KeyCase{Qt::Key_N, Qt::ControlModifier, ID_FILE_NEW},
        KeyCase{Qt::Key_O, Qt::ControlModifier, ID_FILE_OPEN},
        KeyCase{Qt::Key_S, Qt::ControlModifier, ID_FILE_SAVE},
        KeyCase{Qt::Key_P, Qt::ControlModifier, ID_FILE_PRINT},
        KeyCase{Qt::Key_Insert, Qt::ControlModifier, ID_EDIT_COPY},
        KeyCase{Qt::Key_Delete, Qt::ShiftModifier, ID_EDIT_CUT},
        KeyCase{Qt::Key_Insert, Qt::ShiftModifier, ID_EDIT_PASTE},
        KeyCase{Qt::Key_Backspace, Qt::AltModifier, ID_EDIT_UNDO},
        KeyCase{Qt::Key_Z, Qt::ControlModifier, ID_EDIT_UNDO},
        KeyCase{Qt::Key_F6, Qt::NoModifier, ID_NEXT_PANE},
        KeyCase{Qt::Key_F6, Qt::ShiftModifier, ID_PREV_PANE}, KeyCase{Qt::Key_N, Qt::NoModifier, 0},
        KeyCase{Qt::Key_B, Qt::NoModifier, 0}));

TEST(CommandTable, CommandsWithHandlers) {
    std::set<int> handled{ID_FILE_NEW,       ID_FILE_OPEN,      ID_FILE_SAVE,
                          ID_FILE_SAVE_AS,   ID_FILE_MRU_FILE1, ID_FILE_MRU_FILE2,
                          ID_FILE_MRU_FILE3, ID_FILE_MRU_FILE4, ID_APP_EXIT,
                          ID_APP_ABOUT,      ID_VIEW_TOOLBAR,   ID_VIEW_STATUS_BAR};
    handled.insert({ID_MATCHME_WIZARD, ID_MATCHME_WIZARD_KEY, ID_FILTER_WIZARD});
    handled.insert({ID_FILE_PRINT, ID_FILE_PRINT_PREVIEW, ID_FILE_PRINT_SETUP});
    // The component, tuning and stepping commands.
    handled.insert({ID_ADD_SERIES_CAPACITOR,
                    ID_ADD_SHUNT_CAPACITOR,
                    ID_ADD_SERIES_INDUCTOR,
                    ID_ADD_SHUNT_INDUCTOR,
                    ID_ADD_SERIES_RESISTOR,
                    ID_ADD_SHUNT_RESISTOR,
                    ID_ADD_SERIES_LINE,
                    ID_ADD_SHUNT_SHORTED_LINE,
                    ID_ADD_SHUNT_OPEN_LINE,
                    ID_ADD_LINE,
                    ID_ADD_CAPACITOR,
                    ID_ADD_RESISTOR,
                    ID_ADD_INDUCTOR,
                    ID_ADD_COMPOUND_KEY,
                    ID_ADD_COMPOUND,
                    ID_SELECT_PREVIOUS,
                    ID_SELECT_NEXT,
                    ID_DELETE_COMPONENT,
                    ID_EDIT_COMPONENT,
                    ID_VALUE_UP,
                    ID_VALUE_DOWN,
                    ID_FREQUENCY_UP,
                    ID_FREQUENCY_DOWN,
                    ID_Z0_UP,
                    ID_Z0_DOWN,
                    ID_RECALL_F1,
                    ID_RECALL_F2,
                    ID_RECALL_F3,
                    ID_TOGGLE_MARKERS,
                    ID_TOGGLE_GAMMA,
                    ID_TOGGLE_ADMITTANCE,
                    ID_TOGGLE_QARCS,
                    ID_TOGGLE_VSWR});
    // Chart setup, parameter entry and flip.
    handled.insert({ID_CHART_SETUP_KEY, ID_CHART_SETUP_MENU, ID_CHART_SETUP_BUTTON,
                    ID_EDIT_FREQUENCY, ID_EDIT_CHART_Z0, ID_EDIT_TUNE_PERCENT, ID_FLIP_NETWORK});
    for (const CommandRow& row : CommandTable()) {
        EXPECT_EQ(row.handler != nullptr, handled.count(row.id) == 1) << row.id;
    }
    for (const int id : {ID_EDIT_UNDO, ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_PASTE}) {
        EXPECT_EQ(FindCommand(id)->handler, nullptr);
    }
}

TEST(CommandTable, EveryIconIsDrawn) {
    int buttons = 0;
    for (const CommandRow& row : CommandTable()) {
        if (row.icon != nullptr) {
            ++buttons;
            const QIcon icon = ToolbarIcon(QString::fromLatin1(row.icon));
            ASSERT_FALSE(icon.isNull()) << row.icon;
            const QImage image = icon.pixmap(32, 32).toImage();
            EXPECT_EQ(image.size(), QSize(32, 32));
            int inked = 0;
            for (int y = 0; y < 32; ++y) {
                for (int x = 0; x < 32; ++x) {
                    inked += qAlpha(image.pixel(x, y)) > 128 ? 1 : 0;
                }
            }
            EXPECT_GT(inked, 40) << row.icon;
        }
    }
    EXPECT_EQ(buttons, 23);
    EXPECT_EQ(ToolbarIconNames().size(), 23);
}

TEST(CommandTable, ButtonIconsAreDistinct) {
    std::set<QByteArray> seen;
    for (const QString& name : ToolbarIconNames()) {
        const QImage image = ToolbarIcon(name).pixmap(32, 32).toImage();
        const QByteArray bits(reinterpret_cast<const char*>(image.constBits()),
                              static_cast<qsizetype>(image.sizeInBytes()));
        EXPECT_TRUE(seen.insert(bits).second) << name.toStdString();
    }
}

} // namespace
