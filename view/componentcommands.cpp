// The commands that build and change the network: add, select, delete and edit components.

#include "view/ckesto1view.h"

#include "app/dialogs/addlinedialog.h"
#include "app/dialogs/complexelementdialog.h"
#include "app/dialogs/componentconfigdialog.h"
#include "app/dialogs/lineeditdialog.h"
#include "app/dialogs/parametereditordialog.h"
#include "model/component.h"
#include "platform/messages/messageboxes.h"
#include "view/ckesto1doc.h"

#include <QDialog>
#include <QString>

namespace {

void Warn(const char* text) {
    MessageBoxes().Warning(QString::fromLatin1(text));
}

/// Asks series or shunt for a new element; 0 series, anything else shunt, -1 when cancelled.
int AskPlacement(QWidget* parent, const char* label) {
    CComponentConfigDialog dialog(parent);
    dialog.label = label;
    dialog.placementIndex = 0;
    if (dialog.exec() != QDialog::Accepted) {
        return -1;
    }
    return dialog.placementIndex == 0 ? 0 : 1;
}

int32_t PlacementOf(int32_t orientation) {
    return orientation == 0 ? PLACE_SERIES : PLACE_SHUNT;
}

int32_t KindOf(int32_t rlcType) {
    return rlcType == 0 ? KIND_PARALLEL_RLC : KIND_SERIES_RLC;
}

/// The compound element as the Complex Element dialog describes it.
void TakeCompound(const CComplexElementDialog& dialog, Component& c) {
    c.kind = KindOf(dialog.rlcType);
    c.placement = PlacementOf(dialog.orientation);
    c.tunedElement = dialog.tunedIndex;
    c.resistance = dialog.resistance;
    c.inductance = dialog.inductance;
    c.capacitance = dialog.capacitance;
}

} // namespace

Component* CKesto1View::ActiveComponent() {
    SmithChrt& sc = document->chart;
    if (sc.componentCount < 1 || sc.activeIndex < 0 || sc.activeIndex >= sc.componentCount ||
        sc.activeIndex >= MAX_COMPONENTS) {
        return nullptr;
    }
    return &sc.components[sc.activeIndex];
}

void CKesto1View::AddNewComponent(const Component& c) {
    if (document->chart.AddComponent(c) == 1) {
        document->SetModifiedFlag(true);
    } else {
        Warn("problem adding component");
    }
    AfterCommand(false);
}

void CKesto1View::OnAddSeriesCapacitor() {
    const SmithChrt& sc = document->chart;
    AddNewComponent(NewCapacitor(PLACE_SERIES, sc.chartZ0.re, sc.frequency));
}

void CKesto1View::OnAddShuntCapacitor() {
    // This one marks the document before it tries, so also when the network is full.
    document->SetModifiedFlag(true);
    const SmithChrt& sc = document->chart;
    AddNewComponent(NewCapacitor(PLACE_SHUNT, sc.chartZ0.re, sc.frequency));
}

void CKesto1View::OnAddSeriesInductor() {
    const SmithChrt& sc = document->chart;
    AddNewComponent(NewInductor(PLACE_SERIES, sc.chartZ0.re, sc.frequency));
}

void CKesto1View::OnAddShuntInductor() {
    const SmithChrt& sc = document->chart;
    AddNewComponent(NewInductor(PLACE_SHUNT, sc.chartZ0.re, sc.frequency));
}

void CKesto1View::OnAddSeriesResistor() {
    AddNewComponent(NewResistor(PLACE_SERIES, document->chart.chartZ0.re));
}

void CKesto1View::OnAddShuntResistor() {
    AddNewComponent(NewResistor(PLACE_SHUNT, document->chart.chartZ0.re));
}

void CKesto1View::OnAddSeriesLine() {
    const SmithChrt& sc = document->chart;
    AddNewComponent(NewLine(PLACE_TL_SERIES, sc.chartZ0.re, sc.frequency));
}

void CKesto1View::OnAddShuntOpenLine() {
    const SmithChrt& sc = document->chart;
    AddNewComponent(NewLine(PLACE_TL_SHUNT_OPEN, sc.chartZ0.re, sc.frequency));
}

void CKesto1View::OnAddShuntShortedLine() {
    const SmithChrt& sc = document->chart;
    AddNewComponent(NewLine(PLACE_TL_SHUNT_SHORTED, sc.chartZ0.re, sc.frequency));
}

void CKesto1View::OnAddCapacitor() {
    const int choice = AskPlacement(this, "Add Capacitor");
    if (choice == 0) {
        OnAddSeriesCapacitor();
    } else if (choice == 1) {
        OnAddShuntCapacitor();
    }
}

void CKesto1View::OnAddInductor() {
    const int choice = AskPlacement(this, "Add Inductor");
    if (choice == 0) {
        OnAddSeriesInductor();
    } else if (choice == 1) {
        OnAddShuntInductor();
    }
}

void CKesto1View::OnAddResistor() {
    const int choice = AskPlacement(this, "Add Resistor");
    if (choice == 0) {
        OnAddSeriesResistor();
    } else if (choice == 1) {
        OnAddShuntResistor();
    }
}

void CKesto1View::OnAddLine() {
    CAddLineDialog dialog(this);
    dialog.lineType = 0;
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    switch (dialog.lineType) {
    case 0:
        OnAddSeriesLine();
        break;
    case 1:
        OnAddShuntOpenLine();
        break;
    case 2:
        OnAddShuntShortedLine();
        break;
    default:
        Warn("unknown state in Add TRL");
        break;
    }
}

void CKesto1View::OnAddCompound() {
    CComplexElementDialog dialog(this);
    dialog.orientation = 1;
    dialog.rlcType = 1;
    dialog.tunedIndex = TUNE_C;
    dialog.capacitance = 1.0;
    dialog.inductance = 0.65;
    dialog.resistance = 0.5;
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    Component c;
    TakeCompound(dialog, c);
    AddNewComponent(c);
}

void CKesto1View::OnSelectPrevious() {
    document->chart.SelectPrevious();
    AfterCommand();
}

void CKesto1View::OnSelectNext() {
    document->chart.SelectNext();
    AfterCommand();
}

void CKesto1View::OnDeleteComponent() {
    document->chart.DeleteActiveComponent();
    AfterCommand();
}

void CKesto1View::EditResistor(Component& c) {
    CParameterEditorDialog::Edit(
        this, c.placement == PLACE_SERIES ? "Series Resistor (ohm)" : "Shunt Resistor (ohm)",
        c.resistance);
}

void CKesto1View::EditCapacitor(Component& c) {
    CParameterEditorDialog::Edit(
        this, c.placement == PLACE_SERIES ? "Series Capacitor (pF)" : "Shunt Capacitor (pF)",
        c.capacitance);
}

void CKesto1View::EditInductor(Component& c) {
    CParameterEditorDialog::Edit(
        this, c.placement == PLACE_SERIES ? "Series Inductor (nH)" : "Shunt Inductance (nH)",
        c.inductance);
}

void CKesto1View::EditLine(Component& c) {
    CLineEditDialog dialog(this);
    dialog.SetComponent(c);
    dialog.exec();
    // Taken back however the dialog closed: after Cancel it holds what it showed, apart from
    // the fields that an earlier refused OK had already accepted.
    c = dialog.GetComponent();
}

void CKesto1View::EditCompound(Component& c) {
    CComplexElementDialog dialog(this);
    dialog.orientation = c.placement == PLACE_SERIES ? 0 : 1;
    dialog.rlcType = c.kind == KIND_PARALLEL_RLC ? 0 : 1;
    dialog.tunedIndex = c.tunedElement;
    dialog.capacitance = c.capacitance;
    dialog.inductance = c.inductance;
    dialog.resistance = c.resistance;
    if (dialog.exec() == QDialog::Accepted) {
        TakeCompound(dialog, c);
    }
}

void CKesto1View::OnEditComponent() {
    Component* active = ActiveComponent();
    if (active == nullptr) {
        return;
    }
    // The dialogs work on a copy, written back into the same slot.
    Component c = *active;
    switch (c.kind) {
    case KIND_RESISTOR:
        EditResistor(c);
        break;
    case KIND_CAPACITOR:
        EditCapacitor(c);
        break;
    case KIND_INDUCTOR:
        EditInductor(c);
        break;
    case KIND_TLINE:
        EditLine(c);
        break;
    case KIND_PARALLEL_RLC:
    case KIND_SERIES_RLC:
        EditCompound(c);
        break;
    default:
        Warn("unexpected case in OnEditComponent()");
        break;
    }
    // The modal dialog ran no other command, so the slot is still the active one.
    *active = c;
    AfterCommand();
}
