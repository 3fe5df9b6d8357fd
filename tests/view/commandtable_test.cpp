#include "platform/shell/shellicons.h"
#include "view/commandtable.h"

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

// Every command of the view is carried out but undo, the clipboard commands and the pane
// switches, which the program leaves disabled; the shell's rows are the application's (files,
// the bars, the response plot's panel, About).
TEST(CommandTable, OnlyTheUndoClipboardAndPaneCommandsHaveNoHandler) {
    const std::set<int> unhandled{ID_EDIT_UNDO,  ID_EDIT_CUT,  ID_EDIT_COPY,
                                  ID_EDIT_PASTE, ID_NEXT_PANE, ID_PREV_PANE};
    const std::set<int> shell{ID_FILE_NEW,       ID_FILE_OPEN,       ID_FILE_SAVE,
                              ID_FILE_SAVE_AS,   ID_FILE_MRU_FILE1,  ID_FILE_MRU_FILE2,
                              ID_FILE_MRU_FILE3, ID_FILE_MRU_FILE4,  ID_APP_EXIT,
                              ID_VIEW_TOOLBAR,   ID_VIEW_STATUS_BAR, ID_VIEW_BAND_PLOT,
                              ID_APP_ABOUT};
    for (const CommandRow& row : CommandTable()) {
        const bool shellRow = row.owner == CommandOwner::Shell;
        EXPECT_EQ(shellRow, shell.count(row.id) == 1) << row.id;
        EXPECT_EQ(row.handler == nullptr, shellRow || unhandled.count(row.id) == 1) << row.id;
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
