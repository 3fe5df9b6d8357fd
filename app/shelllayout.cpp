#include "app/shelllayout.h"

#include "view/commandids.h"

namespace {

constexpr int kFileMenu[] = {
    ID_FILE_NEW,         ID_FILE_OPEN,         ID_FILE_SAVE,
    ID_FILE_SAVE_AS,     ID_FILE_EXPORT_CHART, ID_FILE_EXPORT_NETWORK,
    kSeparator,          ID_FILE_PRINT,        ID_FILE_PRINT_PREVIEW,
    ID_FILE_PRINT_SETUP, kSeparator,           kRecentFiles,
    kSeparator,          ID_APP_EXIT,
};
constexpr int kEditMenu[] = {
    ID_EDIT_UNDO, kSeparator, ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_PASTE, ID_CHART_SETUP_MENU,
};
constexpr int kViewMenu[] = {ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR};
constexpr int kBandMenu[] = {ID_BAND_DISPLAY,   ID_BAND_JUNCTIONS, ID_BAND_SETUP,     kSeparator,
                             ID_BAND_OPTIMISE,  ID_BAND_SNAP,      ID_BAND_BODE_FANO, kSeparator,
                             ID_VIEW_BAND_PLOT, ID_LOCK_PLOT_AXES};
constexpr int kDataMenu[] = {
    ID_LOAD_START_DATA,
    ID_LOAD_GOAL_DATA,
    kSeparator,
    ID_UNBIND_DATA,
    kSeparator,
    ID_LOAD_DEVICE,
    ID_DEVICE_STABILITY_CIRCLES,
    ID_DEVICE_AVAILABLE_GAIN_CIRCLES,
    ID_DEVICE_OPERATING_GAIN_CIRCLES,
    ID_DEVICE_NOISE_CIRCLES,
    ID_DEVICE_CIRCLE_STEPS,
    ID_DEVICE_GOAL,
    ID_UNBIND_DEVICE,
};
constexpr int kLossesMenu[] = {ID_LOSSES, ID_COMPONENT_LOSS};
constexpr int kHelpMenu[] = {ID_APP_ABOUT};

constexpr MenuLayout kMenus[] = {
    {"&File", kFileMenu},       {"&Edit", kEditMenu},       {"&View", kViewMenu},
    {"&Band", kBandMenu, true}, {"&Data", kDataMenu, true}, {"L&osses", kLossesMenu, true},
    {"&Help", kHelpMenu},
};

constexpr int kToolbar[] = {
    ID_FILE_NEW,
    ID_FILE_OPEN,
    ID_FILE_SAVE,
    kSeparator,
    ID_CHART_SETUP_BUTTON,
    ID_MATCHME_WIZARD,
    ID_FILTER_WIZARD,
    ID_FLIP_NETWORK,
    ID_DELETE_COMPONENT,
    kSeparator,
    ID_ADD_SERIES_CAPACITOR,
    ID_ADD_SHUNT_CAPACITOR,
    ID_ADD_SERIES_INDUCTOR,
    ID_ADD_SHUNT_INDUCTOR,
    ID_ADD_SERIES_RESISTOR,
    ID_ADD_SHUNT_RESISTOR,
    ID_ADD_SERIES_LINE,
    ID_ADD_SHUNT_SHORTED_LINE,
    ID_ADD_SHUNT_OPEN_LINE,
    ID_ADD_COMPOUND,
    kSeparator,
    ID_EDIT_COPY,
    ID_EDIT_PASTE,
    ID_FILE_PRINT_PREVIEW,
    ID_FILE_PRINT,
    kSeparator,
    ID_APP_ABOUT,
};

} // namespace

std::span<const MenuLayout> MenuBarLayout() {
    return kMenus;
}
std::span<const int> ToolbarLayout() {
    return kToolbar;
}
