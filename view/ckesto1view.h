#pragma once

#include "model/geometry.h"
#include "platform/drawing/cchartprinter.h"
#include "platform/drawing/cdrawmessages.h"
#include "platform/drawing/chartpictures.h"
#include "platform/drawing/clocaledatetime.h"
#include "platform/drawing/crastersurface.h"
#include "view/commandtable.h"

#include <QRect>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

class CKesto1Doc;
class IViewShell;
class QFocusEvent;
class QKeyEvent;
class QMouseEvent;
class QPainter;
class QWheelEvent;
struct Component;
enum class LoadEnd;

/// The chart view: draws the document and runs the command table's view rows. Keys reach them
/// through the accelerator table; menu items and toolbar buttons through the main frame, which
/// sends the shell's rows to the application instead. The key of a shell row is left to the
/// window around the view.
class CKesto1View : public QWidget {
public:
    explicit CKesto1View(CKesto1Doc& document, QWidget* parent = nullptr);

    CKesto1Doc* GetDocument() const { return document; }
    void SetShell(IViewShell* commands) { shell = commands; }

    /// Runs one of the view's commands if it is enabled; true when it ran. The shell's rows
    /// are never enabled here.
    bool ExecuteCommand(int id);
    bool IsCommandEnabled(int id) const;
    bool IsCommandChecked(int id) const;

    /// Runs the view's command bound to the key of event, if any; true when the key is one of
    /// the view's accelerators (a disabled command uses its key up too).
    bool TranslateAccelerator(QKeyEvent* event);

    /// The one drawing routine of screen, printer and print preview. On a printer (painter's
    /// device) the page's drawing area is printRect; elsewhere the view's client area, of which
    /// clipBox (all of it when null) is the part repainted.
    void DrawView(QPainter& painter, const QRect& clipBox = QRect());
    /// Repaints for a reason of the view's own (a command, a new or opened document, a resize),
    /// so that the draw's messages are shown again.
    void Redraw();

    /// A comfortable first size; the view sets no minimum.
    QSize sizeHint() const override { return {1000, 560}; }
    QSize minimumSizeHint() const override { return {0, 0}; }

    // Design wizards: replace the network with a synthesised matching network or filter.
    void OnMatchMeWizard();
    void OnFilterWizard();

    /// File > Export Chart...: the chart as the view shows it, at its client size, to a PNG, SVG
    /// or PDF file the user names.
    void OnFileExportChart();
    void OnFileExportNetwork();

    // Printing: each page is drawn by DrawView.
    void OnFilePrint();
    void OnFilePrintPreview();
    void OnFilePrintSetup();

    // Component commands (adding, selecting, deleting, editing) and tuning and stepping.
    void OnAddSeriesCapacitor();
    void OnAddShuntCapacitor();
    void OnAddSeriesInductor();
    void OnAddShuntInductor();
    void OnAddSeriesResistor();
    void OnAddShuntResistor();
    void OnAddSeriesLine();
    void OnAddShuntOpenLine();
    void OnAddShuntShortedLine();
    void OnAddCapacitor();
    void OnAddInductor();
    void OnAddResistor();
    void OnAddLine();
    void OnAddCompound();
    void OnSelectPrevious();
    void OnSelectNext();
    void OnDeleteComponent();
    void OnEditComponent();
    void OnValueUp();
    void OnValueDown();
    void OnFrequencyUp();
    void OnFrequencyDown();
    void OnZ0Up();
    void OnZ0Down();
    void OnRecallF1();
    void OnRecallF2();
    void OnRecallF3();
    void OnToggleMarkers();
    void OnToggleGamma();
    void OnToggleAdmittance();
    void OnToggleQArcs();
    void OnToggleVswr();
    /// One step per whole wheel notch: the value, the frequency (exactly Ctrl) or Z0 (exactly
    /// Shift); forward steps up.
    void OnMouseWheel(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons, int delta);

    // Chart setup, parameter entry, pointer interaction and network flip. The pointer handlers
    // take the button and key state and the pointer's client position (window pixels, y down).
    void OnChartSetup();
    void OnEditFrequency();
    void OnEditChartZ0();
    void OnEditTunePercent();
    void OnLButtonDown(Qt::KeyboardModifiers keys, Qt::MouseButtons buttons, Point point);
    void OnLButtonDblClk(Qt::KeyboardModifiers keys, Qt::MouseButtons buttons, Point point);
    void OnRButtonDown(Qt::KeyboardModifiers keys, Qt::MouseButtons buttons, Point point);
    void OnMouseMove(Qt::KeyboardModifiers keys, Qt::MouseButtons buttons, Point point);
    void OnFlipNetwork();

    // Band analysis: the band display and its junction loci, the Band Setup dialog.
    void OnToggleBandDisplay();
    void OnToggleJunctionLoci();
    void OnBandSetup();
    // Optimising for the band: the optimiser run in a worker thread, snapping to standard
    // values, the Bode-Fano limit's readout line.
    void OnOptimise();
    void OnSnapToStandard();
    void OnToggleBodeFano();
    /// True while the Bode-Fano line is shown.
    bool BodeFanoShown() const { return showBodeFano; }
    // Measured loads: bind the starting or goal impedance to a Touchstone file's data, unbind.
    void OnLoadStartData();
    void OnLoadGoalData();
    void OnUnbindData();
    // Amplifier design: load a two-port device, toggle its circle families, set their steps,
    // bind the goal to the device, unbind it.
    void OnLoadDevice();
    void OnToggleStabilityCircles();
    void OnToggleAvailableGainCircles();
    void OnToggleOperatingGainCircles();
    void OnToggleNoiseCircles();
    void OnCircleSteps();
    void OnGoalFromDevice();
    void OnUnbindDevice();
    void OnLosses();
    void OnComponentLoss();

    /// Called after every paint of the window, when the draw has left its results in the
    /// document (the band's evaluation among them).
    void SetPaintListener(std::function<void()> listener) { paintListener = std::move(listener); }

    /// Wheel units of one notch; finer deltas are added up until they make one.
    static constexpr int kWheelNotch = 120;

    /// The drawing area of the page being printed, in printer device units.
    Rect printRect;
    /// Print, Print Preview and Print Setup over the view's printer; each page is drawn by
    /// DrawView.
    CChartPrinter printer{[this](QPainter& painter, QPrinter& page) { DrawPage(painter, page); }};

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    // Pointer messages: the pointer handlers above, then the default handling.
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

    /// What every chart command does once it has changed the document: marks it modified
    /// (when asked) and repaints the whole view.
    void AfterCommand(bool markModified = true);

private:
    /// Shows the document as it is now: see PaintAtOnce, or a repaint where that cannot be.
    void ShowChange();
    /// Paints the view straight into its window's backing store and puts only the part the
    /// draw changed on the screen; false when it cannot (hidden, not yet sized, covered, or in a
    /// paint).
    bool PaintAtOnce();
    /// One printed or previewed page: takes the page's drawing area into printRect, then draws.
    void DrawPage(QPainter& painter, QPrinter& page);
    /// The number of pages the print preview shows side by side, as the settings give it.
    int PreviewPages() const;

    /// Adds c after the active component; reports a full network. Repaints either way.
    void AddNewComponent(const Component& c);
    /// The active component, or nullptr when there is none.
    Component* ActiveComponent();
    void EditResistor(Component& c);
    void EditCapacitor(Component& c);
    void EditInductor(Component& c);
    void EditLine(Component& c);
    void EditCompound(Component& c);
    /// Multiplies the active component's tunable value by factor; see OnValueUp.
    void StepActiveValue(double factor);
    /// The factor of one step up or down by the tuning percentage.
    double StepFactor(bool up) const;
    void RecallFrequency(double stored);
    /// Reads a Touchstone file the user picks (asking for the port of multi-port data) and binds
    /// it to end; an unreadable file shows the reader's message and changes nothing.
    void LoadData(LoadEnd end);
    /// Turns one circle family of the device on or off.
    void ToggleCircles(bool& family);
    /// Puts the network into the document, keeping its count and active component.
    void InstallNetwork(const std::vector<Component>& network);
    /// Says why an empty network cannot be optimised or snapped, and ends the command; false
    /// when there is a network to work on.
    bool RefusedForEmptyNetwork();
    bool showBodeFano = false;
    /// The objective last chosen in the Optimise dialog (OPTIMISE_VSWR or OPTIMISE_GAIN), which
    /// Snap to Standard Values serves too.
    int32_t optimiseObjective = 0;
    /// After an edit of startZ or goalZ: unbinds each bound impedance the edit changed and says
    /// so. True when one was unbound.
    bool UnbindEdited();
    /// Shows "what: <why>" and gives true when a bound impedance has no value at the analysis
    /// frequency (the wizards need both).
    bool RefuseWithoutValues(const char* what);
    void ToggleFlag(int32_t& flag);

    CKesto1Doc* document;
    IViewShell* shell = nullptr;
    /// Messages raised by a draw, shown after the paint.
    CDrawMessages drawMessages;
    CLocaleDateTime clock;
    /// What the window's draws keep for the next: the grid's picture, laid-out lines, pixel runs.
    CRasterCache rasterCache;
    /// Wheel units received toward the next notch, signed by direction.
    int wheelRemainder = 0;
    std::function<void()> paintListener;
    bool showPending = false; ///< a ShowChange is queued
    bool painting = false;    ///< within paintEvent
};
