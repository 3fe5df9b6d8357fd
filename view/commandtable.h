#pragma once

#include "view/commandids.h"

#include <Qt>

#include <array>
#include <span>

class CKesto1View;

/// A key of the accelerator table: a Qt key with exactly these modifiers (Shift, Ctrl, Alt).
struct KeyBinding {
    int key = 0; ///< 0: no key
    Qt::KeyboardModifiers modifiers = Qt::NoModifier;
};

/// One command: how the user raises it, what the status bar and tooltip say, and which view
/// handler runs. A null handler leaves the command's menu item and button disabled.
struct CommandRow {
    using Handler = void (CKesto1View::*)();

    int id = 0;
    std::array<KeyBinding, 2> keys{};
    const char* menuText = nullptr; ///< with the shortcut after a tab; nullptr: not in a menu
    const char* prompt = nullptr;   ///< status-bar prompt; nullptr: none
    const char* tooltip = nullptr;  ///< toolbar tooltip; nullptr: none
    const char* icon = nullptr;     ///< toolbar icon name; nullptr: not on the toolbar
    Handler handler = nullptr;
    bool checkable = false;
};

/// Every command of the program.
std::span<const CommandRow> CommandTable();

/// The row of a command id, or nullptr.
const CommandRow* FindCommand(int id);

/// The command whose accelerator is exactly this key and these modifiers, or nullptr.
/// Only Shift, Ctrl and Alt count; the keypad flag is ignored so that keypad arrows act as
/// arrows.
const CommandRow* FindAccelerator(int key, Qt::KeyboardModifiers modifiers);
