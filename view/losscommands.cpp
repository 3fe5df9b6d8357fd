// Losses: the document's loss defaults, the active component's own loss, and File > Export
// Network..., the network as a two-port Touchstone file.
#include "view/ckesto1view.h"

#include "app/dialogs/componentlossdialog.h"
#include "app/dialogs/lossesdialog.h"
#include "model/documentfile.h"
#include "model/losses.h"
#include "model/networktouchstone.h"
#include "platform/messages/messageboxes.h"
#include "view/ckesto1doc.h"
#include "view/iviewshell.h"

#include <QDialog>
#include <QDir>
#include <QFileInfo>

#include <array>

namespace {

// The values a dialog offers for a kind without a loss: a typical part's.
constexpr double kShownQ = 100;
constexpr double kShownDb = 0.1;

using DefaultField = std::optional<LossSpec> LossSettings::*;
constexpr std::array<DefaultField, 3> kDefaultFields{
    &LossSettings::inductorQ, &LossSettings::capacitorQ, &LossSettings::lineLoss};

// The document's name with .s2p, beside the document when it has a file.
QString SuggestedNetworkName(const CKesto1Doc& doc) {
    const QString s2p = QStringLiteral(".s2p");
    if (doc.GetPathName().isEmpty()) {
        return doc.GetTitle() + s2p;
    }
    const QFileInfo file(doc.GetPathName());
    return file.dir().filePath(file.completeBaseName() + s2p);
}

} // namespace

void CKesto1View::OnLosses() {
    SmithChrt& sc = document->chart;
    CLossesDialog dialog(this);
    for (size_t r = 0; r < kDefaultFields.size(); ++r) {
        dialog.rows[r] = FieldsOfLoss(sc.losses.*kDefaultFields[r], r == 2 ? kShownDb : kShownQ);
    }
    if (dialog.exec() != QDialog::Accepted) {
        AfterCommand(false);
        return;
    }
    LossSettings chosen;
    for (size_t r = 0; r < kDefaultFields.size(); ++r) {
        const LossSpec setting = LossOfFields(dialog.rows[r]);
        const LossClass cls = r == 2 ? LossClass::Line : LossClass::QualityFactor;
        if (dialog.rows[r].set != 0 && !IsLossless(setting, cls)) {
            chosen.*kDefaultFields[r] = setting;
        }
    }
    const bool changed = !(chosen == sc.losses);
    sc.losses = chosen;
    AfterCommand(changed);
}

void CKesto1View::OnComponentLoss() {
    SmithChrt& sc = document->chart;
    if (sc.activeIndex < 0 || sc.activeIndex >= sc.componentCount) {
        MessageBoxes().Warning(QStringLiteral("There is no active component to give a loss."));
        return;
    }
    Component& c = sc.components[sc.activeIndex];
    const LossClass cls = LossClassOf(c.kind);
    if (cls == LossClass::None) {
        MessageBoxes().Warning(QStringLiteral(
            "Only inductors, capacitors and lines take a loss: the active component keeps its "
            "own resistance."));
        return;
    }
    CComponentLossDialog dialog(cls, this);
    const double shown = cls == LossClass::Line ? kShownDb : kShownQ;
    if (!c.loss) {
        dialog.choice = 0;
        dialog.own = FieldsOfLoss(std::nullopt, shown);
    } else if (IsLossless(*c.loss, cls)) {
        dialog.choice = 1;
        dialog.own = FieldsOfLoss(std::nullopt, shown);
    } else {
        dialog.choice = 2;
        dialog.own = FieldsOfLoss(c.loss, shown);
    }
    if (dialog.exec() != QDialog::Accepted) {
        AfterCommand(false);
        return;
    }
    std::optional<LossSpec> chosen;
    if (dialog.choice == 1) {
        chosen = LossSpec{cls == LossClass::Line ? 0.0 : INFINITY, 0, LossLaw::Constant};
    } else if (dialog.choice == 2) {
        chosen = LossOfFields(dialog.own);
    }
    const bool changed = chosen != c.loss;
    c.loss = chosen;
    AfterCommand(changed);
}

void CKesto1View::OnFileExportNetwork() {
    if (shell == nullptr) {
        return;
    }
    const QString path = shell->AskNetworkFileName(SuggestedNetworkName(*document));
    if (path.isEmpty()) {
        return;
    }
    const NetworkTouchstone file =
        WriteNetworkTouchstone(document->chart, document->GetTitle().toStdString());
    if (!file.error.empty()) {
        MessageBoxes().Warning(QStringLiteral("The network cannot be exported: %1.")
                                   .arg(QString::fromStdString(file.error)));
        return;
    }
    const std::vector<uint8_t> bytes(file.text.begin(), file.text.end());
    if (SaveBytesFile(path.toStdString(), bytes) != DocumentError::None) {
        MessageBoxes().Warning(QStringLiteral("Failed to export the network to %1.").arg(path));
    }
}
