#include "app/dialogs/circlestepsdialog.h"

#include "model/devicefigures.h"

#include <QBoxLayout>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

#include <string_view>
#include <utility>

namespace {

constexpr int kMaxStepsText = 120;

} // namespace

CCircleStepsDialog::CCircleStepsDialog(QWidget* parent)
    : CDialogBase(IDD, QStringLiteral("Circle Steps"), true, parent), availableEdit(NewEdit(1201)),
      operatingEdit(NewEdit(1202)), noiseEdit(NewEdit(1203)) {
    auto* grid = new QGridLayout;
    grid->addWidget(NewStatic(QStringLiteral("Available gain, dB below MAG/MSG")), 0, 0);
    grid->addWidget(availableEdit, 0, 1);
    grid->addWidget(NewStatic(QStringLiteral("Operating gain, dB below MAG/MSG")), 1, 0);
    grid->addWidget(operatingEdit, 1, 1);
    grid->addWidget(NewStatic(QStringLiteral("Noise figure, dB above Fmin")), 2, 0);
    grid->addWidget(noiseEdit, 2, 1);

    auto* column = new QVBoxLayout;
    column->addWidget(NewStatic(QStringLiteral("Steps separated by commas, for example 1,2,3")));
    column->addLayout(grid);
    column->addLayout(NewButtonRow(true));
    SetDialogLayout(column, 50);

    BindText(availableEdit, &availableSteps, kMaxStepsText);
    BindText(operatingEdit, &operatingSteps, kMaxStepsText);
    BindText(noiseEdit, &noiseSteps, kMaxStepsText);
}

std::optional<std::vector<double>> CCircleStepsDialog::Steps(const std::string& text) {
    // Each value trimmed of the blanks around it; blanks inside one stay and are refused.
    constexpr std::string_view kBlanks = " \t";
    std::string packed;
    std::string_view rest = text;
    for (bool first = true;; first = false) {
        const size_t comma = rest.find(',');
        std::string_view item = rest.substr(0, comma);
        const size_t begin = item.find_first_not_of(kBlanks);
        item = begin == std::string_view::npos
                   ? std::string_view()
                   : item.substr(begin, item.find_last_not_of(kBlanks) - begin + 1);
        packed += first ? "" : ",";
        packed += item;
        if (comma == std::string_view::npos) {
            break;
        }
        rest.remove_prefix(comma + 1);
    }
    return ParseCircleSteps(packed);
}

std::optional<CDialogBase::CrossFieldRefusal> CCircleStepsDialog::CheckFieldsTogether() const {
    const std::pair<QLineEdit*, const std::string*> lists[] = {
        {availableEdit, &availableSteps},
        {operatingEdit, &operatingSteps},
        {noiseEdit, &noiseSteps},
    };
    for (const auto& [edit, text] : lists) {
        if (!Steps(*text)) {
            return CrossFieldRefusal{
                edit, QStringLiteral("Please enter 1 to 12 steps in dB, each above 0 and at most "
                                     "100, separated by commas.")};
        }
    }
    return std::nullopt;
}
