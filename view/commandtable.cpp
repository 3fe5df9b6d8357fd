#include "view/commandtable.h"

#include "view/ckesto1view.h"

namespace {

using V = CKesto1View;
constexpr Qt::KeyboardModifiers kNone = Qt::NoModifier;
constexpr Qt::KeyboardModifiers kCtrl = Qt::ControlModifier;
constexpr Qt::KeyboardModifiers kShift = Qt::ShiftModifier;
constexpr Qt::KeyboardModifiers kAlt = Qt::AltModifier;

constexpr std::array<KeyBinding, 2> Key(int key, Qt::KeyboardModifiers m = kNone) {
    return {KeyBinding{key, m}, KeyBinding{}};
}
constexpr std::array<KeyBinding, 2> Keys(KeyBinding a, KeyBinding b) {
    return {a, b};
}
constexpr std::array<KeyBinding, 2> kNoKey{};
constexpr CommandOwner kShell = CommandOwner::Shell;

// To give a view command its handler, put the view's member function in the handler column; the
// shell's rows end in kShell and are bound to their handlers by the application.
// clang-format off
const CommandRow kCommands[] = {
    // id, keys, menu text, prompt, tooltip, icon, handler, checkable, owner
    {ID_ADD_SERIES_CAPACITOR, kNoKey, nullptr, "Add Series Capacitor (c)", nullptr, "series-capacitor", &V::OnAddSeriesCapacitor},
    {ID_ADD_SHUNT_CAPACITOR, kNoKey, nullptr, "Add shunt capacitor (c)", nullptr, "shunt-capacitor", &V::OnAddShuntCapacitor},
    {ID_ADD_SERIES_INDUCTOR, kNoKey, nullptr, "Add Series Inductor (l)", nullptr, "series-inductor", &V::OnAddSeriesInductor},
    {ID_ADD_SHUNT_INDUCTOR, kNoKey, nullptr, "Add Shunt Inductor (l)", nullptr, "shunt-inductor", &V::OnAddShuntInductor},
    {ID_ADD_SERIES_RESISTOR, kNoKey, nullptr, "Add Series Resistor (r)", nullptr, "series-resistor", &V::OnAddSeriesResistor},
    {ID_ADD_SHUNT_RESISTOR, kNoKey, nullptr, "Add Shunt Resistor (r)", nullptr, "shunt-resistor", &V::OnAddShuntResistor},
    {ID_ADD_SERIES_LINE, kNoKey, nullptr, "Add Series Transmission Line (t)", nullptr, "series-line", &V::OnAddSeriesLine},
    {ID_ADD_SHUNT_SHORTED_LINE, kNoKey, nullptr, "Add shunt (shorted) transmission line (t)", nullptr, "shorted-stub", &V::OnAddShuntShortedLine},
    {ID_ADD_SHUNT_OPEN_LINE, kNoKey, nullptr, "Add shunt  (open) transmission line (t)", nullptr, "open-stub", &V::OnAddShuntOpenLine},
    {ID_ADD_CAPACITOR, Key(Qt::Key_C), nullptr, nullptr, nullptr, nullptr, &V::OnAddCapacitor},
    {ID_ADD_INDUCTOR, Key(Qt::Key_L), nullptr, nullptr, nullptr, nullptr, &V::OnAddInductor},
    {ID_ADD_RESISTOR, Key(Qt::Key_R), nullptr, nullptr, nullptr, nullptr, &V::OnAddResistor},
    {ID_ADD_LINE, Key(Qt::Key_T), nullptr, nullptr, nullptr, nullptr, &V::OnAddLine},
    {ID_ADD_COMPOUND_KEY, Key(Qt::Key_X), nullptr, nullptr, nullptr, nullptr, &V::OnAddCompound},
    {ID_ADD_COMPOUND, kNoKey, nullptr, "Add Complex/Compound Element (x)", nullptr, "compound", &V::OnAddCompound},
    {ID_SELECT_PREVIOUS, Key(Qt::Key_Left), nullptr, nullptr, nullptr, nullptr, &V::OnSelectPrevious},
    {ID_SELECT_NEXT, Key(Qt::Key_Right), nullptr, nullptr, nullptr, nullptr, &V::OnSelectNext},
    {ID_DELETE_COMPONENT, Key(Qt::Key_Delete), nullptr, "Delete active component (DELETE KEY)", nullptr, "delete", &V::OnDeleteComponent},
    {ID_EDIT_COMPONENT, Key(Qt::Key_E), nullptr, nullptr, nullptr, nullptr, &V::OnEditComponent},
    {ID_VALUE_UP, Key(Qt::Key_Up), nullptr, nullptr, nullptr, nullptr, &V::OnValueUp},
    {ID_VALUE_DOWN, Key(Qt::Key_Down), nullptr, nullptr, nullptr, nullptr, &V::OnValueDown},
    {ID_FREQUENCY_UP, Key(Qt::Key_Up, kCtrl), nullptr, nullptr, nullptr, nullptr, &V::OnFrequencyUp},
    {ID_FREQUENCY_DOWN, Key(Qt::Key_Down, kCtrl), nullptr, nullptr, nullptr, nullptr, &V::OnFrequencyDown},
    {ID_Z0_UP, Key(Qt::Key_Up, kShift), nullptr, nullptr, nullptr, nullptr, &V::OnZ0Up},
    {ID_Z0_DOWN, Key(Qt::Key_Down, kShift), nullptr, nullptr, nullptr, nullptr, &V::OnZ0Down},
    {ID_RECALL_F1, Key(Qt::Key_F1), nullptr, nullptr, nullptr, nullptr, &V::OnRecallF1},
    {ID_RECALL_F2, Key(Qt::Key_F2), nullptr, nullptr, nullptr, nullptr, &V::OnRecallF2},
    {ID_RECALL_F3, Key(Qt::Key_F3), nullptr, nullptr, nullptr, nullptr, &V::OnRecallF3},
    {ID_TOGGLE_MARKERS, Key(Qt::Key_M), nullptr, nullptr, nullptr, nullptr, &V::OnToggleMarkers},
    {ID_TOGGLE_GAMMA, Key(Qt::Key_G), nullptr, nullptr, nullptr, nullptr, &V::OnToggleGamma},
    {ID_TOGGLE_ADMITTANCE, Key(Qt::Key_A), nullptr, nullptr, nullptr, nullptr, &V::OnToggleAdmittance},
    {ID_TOGGLE_QARCS, Key(Qt::Key_Q), nullptr, nullptr, nullptr, nullptr, &V::OnToggleQArcs},
    {ID_TOGGLE_VSWR, Key(Qt::Key_V), nullptr, nullptr, nullptr, nullptr, &V::OnToggleVswr},
    {ID_EDIT_FREQUENCY, Key(Qt::Key_F), nullptr, nullptr, nullptr, nullptr, &V::OnEditFrequency},
    {ID_EDIT_CHART_Z0, Key(Qt::Key_Z), nullptr, nullptr, nullptr, nullptr, &V::OnEditChartZ0},
    {ID_EDIT_TUNE_PERCENT, Key(Qt::Key_P), nullptr, nullptr, nullptr, nullptr, &V::OnEditTunePercent},
    {ID_CHART_SETUP_KEY, Key(Qt::Key_S), nullptr, nullptr, nullptr, nullptr, &V::OnChartSetup},
    {ID_CHART_SETUP_MENU, kNoKey, "&Options...\ts", "Setup the chart", nullptr, nullptr, &V::OnChartSetup},
    {ID_CHART_SETUP_BUTTON, kNoKey, nullptr, nullptr, nullptr, "setup", &V::OnChartSetup},
    {ID_FLIP_NETWORK, Key(Qt::Key_F, kCtrl), nullptr, "Flip network around", nullptr, "flip", &V::OnFlipNetwork},
    {ID_MATCHME_WIZARD, kNoKey, nullptr, "Simple MatchMe Wizard  (type w)", nullptr, "match-wizard", &V::OnMatchMeWizard},
    {ID_MATCHME_WIZARD_KEY, Key(Qt::Key_W), nullptr, nullptr, nullptr, nullptr, &V::OnMatchMeWizard},
    {ID_FILTER_WIZARD, Key(Qt::Key_W, kCtrl), nullptr, "Invoke the Simple Filter Wizard", nullptr, "filter-wizard", &V::OnFilterWizard},
    {ID_BAND_DISPLAY, Key(Qt::Key_B, kCtrl), "Show &Band\tCtrl+B", "Show or hide the band: its locus on the chart and its readout line (Ctrl+B)", "Band display (Ctrl+B)", nullptr, &V::OnToggleBandDisplay, true},
    {ID_BAND_JUNCTIONS, Key(Qt::Key_J), "&Junction Loci\tJ", "Show or hide the band's locus after every component (j)", "Junction loci (j)", nullptr, &V::OnToggleJunctionLoci, true},
    {ID_BAND_SETUP, Key(Qt::Key_B, kShift), "Band &Setup...\tShift+B", "Set the band's low and high frequency, its number of points and the limit its points should meet (Shift+B)", "Band Setup (Shift+B)", nullptr, &V::OnBandSetup},
    {ID_BAND_OPTIMISE, Key(Qt::Key_O), "&Optimise...\tO", "Tune the network's values for the smallest worst VSWR, or the largest worst transducer gain, over the band (o)", "Optimise (o)", nullptr, &V::OnOptimise},
    {ID_BAND_SNAP, Key(Qt::Key_O, kShift), "Snap to Standard &Values...\tShift+O", "Move every L, C and R value to a standard value of a series, the best combination for the band's objective (Shift+O)", "Snap to Standard Values (Shift+O)", nullptr, &V::OnSnapToStandard},
    {ID_BAND_BODE_FANO, Key(Qt::Key_F, kShift), "Bode-&Fano Limit\tShift+F", "Show or hide the Bode-Fano limit of the termination bound to data: a readout line and a dashed line on the response plot (Shift+F)", "Bode-Fano limit (Shift+F)", nullptr, &V::OnToggleBodeFano, true},
    {ID_VIEW_BAND_PLOT, Key(Qt::Key_B, kCtrl | kShift), "Response &Plot\tCtrl+Shift+B", "Show or hide the band's response plot (Ctrl+Shift+B)", "Response plot (Ctrl+Shift+B)", nullptr, nullptr, true, kShell},
    {ID_LOCK_PLOT_AXES, Key(Qt::Key_L, kCtrl), "&Lock Plot Axes\tCtrl+L", "Keep the response plot's axes as they are, or let them widen when the data leaves them (Ctrl+L)", "Lock plot axes (Ctrl+L)", nullptr, nullptr, true, kShell},
    {ID_LOAD_START_DATA, Key(Qt::Key_D), "Load &Starting Impedance Data...\tD", "Bind the starting [Generator] impedance to measured data from a Touchstone file (d)", "Load starting impedance data (d)", nullptr, &V::OnLoadStartData},
    {ID_LOAD_GOAL_DATA, Key(Qt::Key_D, kShift), "Load &Goal as Conjugate of Load Data...\tShift+D", "Bind the goal [Load] impedance to the conjugate of a load's measured data from a Touchstone file, for a conjugate match (Shift+D)", "Goal: conjugate of load data (Shift+D)", nullptr, &V::OnLoadGoalData},
    {ID_LOSSES, Key(Qt::Key_L, kShift), "&Losses...\tShift+L", "Set the loss of every inductor, capacitor and line: Q or dB per wavelength, at a frequency, with a law (Shift+L)", "Losses (Shift+L)", nullptr, &V::OnLosses},
    {ID_COMPONENT_LOSS, Key(Qt::Key_Q, kShift), "&Component Loss...\tShift+Q", "Give the active component its own loss, or make it lossless (Shift+Q)", "Component loss (Shift+Q)", nullptr, &V::OnComponentLoss},
    {ID_UNBIND_DATA, Key(Qt::Key_U), "&Unbind\tU", "Unbind the impedances from their data; each keeps its present value (u)", "Unbind (u)", nullptr, &V::OnUnbindData},
    {ID_LOAD_DEVICE, Key(Qt::Key_D, kCtrl), "Load &Device...\tCtrl+D", "Load a two-port device from a Touchstone file: its S-parameters and noise parameters for amplifier design (Ctrl+D)", "Load device (Ctrl+D)", nullptr, &V::OnLoadDevice},
    {ID_DEVICE_STABILITY_CIRCLES, Key(Qt::Key_K), "S&tability Circles\tK", "Show or hide the device's source and load stability circles, ticked on their unstable side (k)", "Stability circles (k)", nullptr, &V::OnToggleStabilityCircles, true},
    {ID_DEVICE_AVAILABLE_GAIN_CIRCLES, Key(Qt::Key_K, kShift), "&Available Gain Circles\tShift+K", "Show or hide the device's available gain circles in the source plane, at steps below MAG or MSG (Shift+K)", "Available gain circles (Shift+K)", nullptr, &V::OnToggleAvailableGainCircles, true},
    {ID_DEVICE_OPERATING_GAIN_CIRCLES, Key(Qt::Key_K, kCtrl), "&Operating Gain Circles\tCtrl+K", "Show or hide the device's operating power gain circles in the load plane, at steps below MAG or MSG (Ctrl+K)", "Operating gain circles (Ctrl+K)", nullptr, &V::OnToggleOperatingGainCircles, true},
    {ID_DEVICE_NOISE_CIRCLES, Key(Qt::Key_K, kCtrl | kShift), "&Noise Circles\tCtrl+Shift+K", "Show or hide the device's noise figure circles in the source plane, at steps above Fmin (Ctrl+Shift+K)", "Noise circles (Ctrl+Shift+K)", nullptr, &V::OnToggleNoiseCircles, true},
    {ID_DEVICE_CIRCLE_STEPS, Key(Qt::Key_D, kCtrl | kShift), "Circle St&eps...\tCtrl+Shift+D", "Set the steps of the gain circles below MAG or MSG and of the noise circles above Fmin, in dB (Ctrl+Shift+D)", "Circle steps (Ctrl+Shift+D)", nullptr, &V::OnCircleSteps},
    {ID_DEVICE_GOAL, Key(Qt::Key_G, kShift), "Goal from De&vice...\tShift+G", "Bind the goal [Load] impedance to what the device wants: the source for gain or for the least noise, or the load for gain (Shift+G)", "Goal from device (Shift+G)", nullptr, &V::OnGoalFromDevice},
    {ID_UNBIND_DEVICE, Key(Qt::Key_U, kCtrl), "Unbind Devi&ce\tCtrl+U", "Unload the device: its circles and readout line go, and a goal bound to it keeps its present value (Ctrl+U)", "Unbind device (Ctrl+U)", nullptr, &V::OnUnbindDevice},

    {ID_FILE_NEW, Key(Qt::Key_N, kCtrl), "&New\tCtrl+N", "Create a new document", "New", "new", nullptr, false, kShell},
    {ID_FILE_OPEN, Key(Qt::Key_O, kCtrl), "&Open...\tCtrl+O", "Open an existing document", "Open", "open", nullptr, false, kShell},
    {ID_FILE_SAVE, Key(Qt::Key_S, kCtrl), "&Save\tCtrl+S", "Save the active document", "Save", "save", nullptr, false, kShell},
    {ID_FILE_SAVE_AS, kNoKey, "Save &As...", "Save the active document with a new name", nullptr, nullptr, nullptr, false, kShell},
    {ID_FILE_EXPORT_CHART, Key(Qt::Key_E, kCtrl), "&Export Chart...\tCtrl+E", "Export the chart as a PNG, SVG or PDF picture", nullptr, nullptr, &V::OnFileExportChart},
    {ID_FILE_EXPORT_NETWORK, Key(Qt::Key_E, kCtrl | kShift), "Export &Network...\tCtrl+Shift+E", "Export the network as a two-port Touchstone file", nullptr, nullptr, &V::OnFileExportNetwork},
    {ID_FILE_PRINT, Key(Qt::Key_P, kCtrl), "&Print...\tCtrl+P", "Print the active document", "Print", "print", &V::OnFilePrint},
    {ID_FILE_PRINT_PREVIEW, kNoKey, "Print Pre&view", "Display full pages", "Print Preview", "print-preview", &V::OnFilePrintPreview},
    {ID_FILE_PRINT_SETUP, kNoKey, "P&rint Setup...", "Change the printer and printing options", nullptr, nullptr, &V::OnFilePrintSetup},
    {ID_FILE_MRU_FILE1, kNoKey, nullptr, "Open this document", nullptr, nullptr, nullptr, false, kShell},
    {ID_FILE_MRU_FILE2, kNoKey, nullptr, "Open this document", nullptr, nullptr, nullptr, false, kShell},
    {ID_FILE_MRU_FILE3, kNoKey, nullptr, "Open this document", nullptr, nullptr, nullptr, false, kShell},
    {ID_FILE_MRU_FILE4, kNoKey, nullptr, "Open this document", nullptr, nullptr, nullptr, false, kShell},
    {ID_APP_EXIT, kNoKey, "E&xit", "Quit the application; prompts to save documents", nullptr, nullptr, nullptr, false, kShell},
    {ID_EDIT_UNDO, Keys({Qt::Key_Z, kCtrl}, {Qt::Key_Backspace, kAlt}), "&Undo\tCtrl+Z", "Undo the last action", nullptr, nullptr, nullptr},
    {ID_EDIT_CUT, Keys({Qt::Key_X, kCtrl}, {Qt::Key_Delete, kShift}), "Cu&t\tCtrl+X", "Cut the selection and put it on the Clipboard", nullptr, nullptr, nullptr},
    {ID_EDIT_COPY, Keys({Qt::Key_C, kCtrl}, {Qt::Key_Insert, kCtrl}), "&Copy\tCtrl+C", "Copy the selection and put it on the Clipboard", "Copy", "copy", nullptr},
    {ID_EDIT_PASTE, Keys({Qt::Key_V, kCtrl}, {Qt::Key_Insert, kShift}), "&Paste\tCtrl+V", "Insert Clipboard contents", "Paste", "paste", nullptr},
    {ID_VIEW_TOOLBAR, kNoKey, "&Toolbar", "Show or hide the toolbar", nullptr, nullptr, nullptr, true, kShell},
    {ID_VIEW_STATUS_BAR, kNoKey, "&Status Bar", "Show or hide the status bar", nullptr, nullptr, nullptr, true, kShell},
    {ID_APP_ABOUT, kNoKey, "&About Quorbel...", "Display program information, version number and copyright", "About", "about", nullptr, false, kShell},
    {ID_NEXT_PANE, Key(Qt::Key_F6), nullptr, "Switch to the next window pane", nullptr, nullptr, nullptr},
    {ID_PREV_PANE, Key(Qt::Key_F6, kShift), nullptr, "Switch back to the previous window pane", nullptr, nullptr, nullptr},
};
// clang-format on

constexpr Qt::KeyboardModifiers kCounted =
    Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier;

} // namespace

std::span<const CommandRow> CommandTable() {
    return kCommands;
}

const CommandRow* FindCommand(int id) {
    for (const CommandRow& row : kCommands) {
        if (row.id == id) {
            return &row;
        }
    }
    return nullptr;
}

const CommandRow* FindAccelerator(int key, Qt::KeyboardModifiers modifiers) {
    const Qt::KeyboardModifiers pressed = modifiers & kCounted;
    for (const CommandRow& row : kCommands) {
        for (const KeyBinding& binding : row.keys) {
            if (binding.key != 0 && binding.key == key && binding.modifiers == pressed) {
                return &row;
            }
        }
    }
    return nullptr;
}
