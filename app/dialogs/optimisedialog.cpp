#include "app/dialogs/optimisedialog.h"

#include "model/numbertext.h"

#include <QBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

std::optional<std::vector<int32_t>> ParseComponentList(const std::string& text, int32_t count) {
    std::vector<int32_t> list;
    size_t from = 0;
    while (from <= text.size()) {
        const size_t comma = std::min(text.find(',', from), text.size());
        std::string number = text.substr(from, comma - from);
        number.erase(0, number.find_first_not_of(' '));
        number.erase(number.find_last_not_of(' ') + 1);
        const std::optional<int64_t> n = ParseInteger(number);
        if (!n || *n < 1 || *n > count) {
            return std::nullopt;
        }
        list.push_back(static_cast<int32_t>(*n - 1));
        from = comma + 1;
    }
    return list;
}

COptimiseDialog::COptimiseDialog(QWidget* parent)
    : CDialogBase(IDD, QStringLiteral("Optimise"), true, parent) {
    QRadioButton* all = NewRadio(1101, QStringLiteral("All components"));
    QRadioButton* fromActive = NewRadio(1102, QStringLiteral("The active component and after"));
    QRadioButton* listed = NewRadio(1103, QStringLiteral("These components (1, 2, ...):"));
    listEdit = NewEdit(1104);
    QRadioButton* quick = NewRadio(1111, QStringLiteral("Quick"));
    QRadioButton* normal = NewRadio(1112, QStringLiteral("Normal"));
    QRadioButton* thorough = NewRadio(1113, QStringLiteral("Thorough"));
    QRadioButton* vswr = NewRadio(1131, QStringLiteral("Smallest worst VSWR"));
    QRadioButton* gain = NewRadio(1132, QStringLiteral("Largest worst transducer gain"));

    auto* listRow = new QHBoxLayout;
    listRow->addWidget(listed);
    listRow->addWidget(listEdit);
    auto* components = new QVBoxLayout;
    components->addWidget(all);
    components->addWidget(fromActive);
    components->addLayout(listRow);
    auto* efforts = new QHBoxLayout;
    efforts->addWidget(NewStatic(QStringLiteral("Effort:")));
    efforts->addWidget(quick);
    efforts->addWidget(normal);
    efforts->addWidget(thorough);
    efforts->addStretch(1);
    auto* objectives = new QHBoxLayout;
    objectives->addWidget(NewStatic(QStringLiteral("Objective:")));
    objectives->addWidget(vswr);
    objectives->addWidget(gain);
    objectives->addStretch(1);

    auto* column = new QVBoxLayout;
    column->addWidget(NewStatic(
        QStringLiteral("Tunes the chosen components for the objective over the band\n"
                       "(the analysis frequency alone while no band is set), each value within\n"
                       "a factor of 100 of its present one. For a lossless network both\n"
                       "objectives reach the same match.")));
    column->addLayout(objectives);
    column->addLayout(components);
    column->addLayout(efforts);
    column->addLayout(NewButtonRow(true));
    SetDialogLayout(column);

    BindRadio({all, fromActive, listed}, &which);
    BindText(listEdit, &list, 200);
    BindRadio({quick, normal, thorough}, &effort);
    BindRadio({vswr, gain}, &objective);
}

std::optional<CDialogBase::CrossFieldRefusal> COptimiseDialog::CheckFieldsTogether() const {
    if (which != OPTIMISE_LIST || ParseComponentList(list, componentCount)) {
        return std::nullopt;
    }
    return CrossFieldRefusal{listEdit, QStringLiteral("Please list component numbers from 1 to %1, "
                                                      "separated by commas.")
                                           .arg(componentCount)};
}
