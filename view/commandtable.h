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

/// Who runs a command: the chart view, or the application shell around it (files, bars, About),
/// to which the main frame sends those rows straight.
enum class CommandOwner { View, Shell };

/// One command: how the user raises it, what the status bar and tooltip say, who owns it and,
/// for the view's rows, which view handler runs. A view row with a null handler leaves the
/// command's menu item and button disabled; the shell binds its rows' ids to its own handlers.
struct CommandRow {
    using Handler = void (CKesto1View::*)();

    int id = 0;
    std::array<KeyBinding, 2> keys{};
    const char* menuText = nullptr; ///< with the shortcut after a tab; nullptr: not in a menu
    const char* prompt = nullptr;   ///< status-bar prompt; nullptr: none
    const char* tooltip = nullptr;  ///< toolbar tooltip; nullptr: none
    const char* icon = nullptr;     ///< toolbar icon name; nullptr: not on the toolbar
    Handler handler = nullptr;      ///< the view's; nullptr for the shell's rows
    bool checkable = false;
    CommandOwner owner = CommandOwner::View;
};

/// Every command of the program.
std::span<const CommandRow> CommandTable();

/// The row of a command id, or nullptr.
const CommandRow* FindCommand(int id);

/// The command whose accelerator is exactly this key and these modifiers, or nullptr.
/// Only Shift, Ctrl and Alt count; the keypad flag is ignored so that keypad arrows act as
/// arrows.
const CommandRow* FindAccelerator(int key, Qt::KeyboardModifiers modifiers);
