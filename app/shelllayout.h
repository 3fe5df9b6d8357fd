#pragma once

#include <span>

// Where the commands of the command table appear: the menus and the toolbar, in order.

inline constexpr int kSeparator = 0;
/// Stands for the recent-file entries in the File menu.
inline constexpr int kRecentFiles = -1;

struct MenuLayout {
    const char* title;
    std::span<const int> items;
    bool showsTooltips = false; ///< the items' tooltips from the command table appear
};

std::span<const MenuLayout> MenuBarLayout();
std::span<const int> ToolbarLayout();

/// The status-bar text while no prompt is shown.
inline constexpr const char* kIdleText =
    "KBD:   s=Setup  e=Edit  UP/DN=value CTRL-UP/DN=freq  SHIFT-UP/DN=Z0 L/R=select  Del=Delete "
    "m=Marks g=gamma a=Admittance";

/// The menu text in place of the recent-file entries while the list is empty.
inline constexpr const char* kRecentFilePlaceholder = "Recent File";
