#include "app/dialogs/dialogbase.h"

#include "app/dialogs/textlimitvalidator.h"
#include "model/fieldrange.h"
#include "model/numbertext.h"
#include "platform/messages/messageboxes.h"

#include <QBoxLayout>
#include <QButtonGroup>
#include <QCheckBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpacerItem>

namespace {

// The refusal message of a field, or an empty text when it was accepted.
QString Refusal(const std::optional<std::string>& message) {
    return message ? QString::fromStdString(*message) : QString();
}

} // namespace

CDialogBase::CDialogBase(int dialogId, const QString& title, bool hasCloseBox, QWidget* parent)
    : QDialog(parent), dialogId(dialogId) {
    Qt::WindowFlags flags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                            Qt::MSWindowsFixedSizeDialogHint;
    if (hasCloseBox) {
        flags |= Qt::WindowCloseButtonHint;
    }
    setWindowFlags(flags);
    setWindowTitle(title);
    setModal(true);
}

QWidget* CDialogBase::Control(int id) const {
    const auto found = controls.find(id);
    return found == controls.end() ? nullptr : found->second;
}

bool CDialogBase::UpdateData(bool save) {
    for (const DialogField& field : fields) {
        if (!save) {
            LoadField(field);
            continue;
        }
        const QString failure = SaveField(field);
        if (!failure.isEmpty()) {
            MessageBoxes().Warning(failure);
            FocusAndSelect(field.control);
            return false;
        }
    }
    if (save) {
        if (const std::optional<CrossFieldRefusal> refusal = CheckFieldsTogether()) {
            MessageBoxes().Warning(refusal->message);
            FocusAndSelect(refusal->control);
            return false;
        }
    }
    return true;
}

void CDialogBase::accept() {
    if (UpdateData(true)) {
        QDialog::accept();
    }
}

void CDialogBase::setVisible(bool visible) {
    const bool opening = visible && !isVisible();
    if (opening) {
        UpdateData(false);
    }
    QDialog::setVisible(visible);
    if (opening) {
        FocusFirstControl();
    }
}

void CDialogBase::keyPressEvent(QKeyEvent* event) {
    const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    if (plain && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
        accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void CDialogBase::Register(int id, QWidget* control) {
    if (id < 0) {
        return;
    }
    control->setObjectName(QString::number(id));
    controls[id] = control;
}

QLineEdit* CDialogBase::NewEdit(int id) {
    auto* edit = new QLineEdit(this);
    // Room for a full 15-digit number with sign and exponent.
    edit->setMinimumWidth(
        edit->fontMetrics().horizontalAdvance(QStringLiteral("-0.00000000000000e+00")));
    Register(id, edit);
    return edit;
}

QLabel* CDialogBase::NewStatic(const QString& text, int id) {
    auto* label = new QLabel(text, this);
    label->setTextFormat(Qt::PlainText);
    Register(id, label);
    return label;
}

QRadioButton* CDialogBase::NewRadio(int id, const QString& text) {
    auto* button = new QRadioButton(text, this);
    Register(id, button);
    return button;
}

QCheckBox* CDialogBase::NewCheck(int id, const QString& text) {
    auto* check = new QCheckBox(text, this);
    Register(id, check);
    return check;
}

QGroupBox* CDialogBase::NewGroup(const QString& caption) {
    return new QGroupBox(caption, this);
}

QGroupBox* CDialogBase::NewRadioGroup(const QString& caption,
                                      std::initializer_list<QRadioButton*> buttons) {
    QGroupBox* group = NewGroup(caption);
    auto* column = new QVBoxLayout(group);
    for (QRadioButton* button : buttons) {
        column->addWidget(button);
    }
    return group;
}

QPushButton* CDialogBase::NewOkButton() {
    auto* button = new QPushButton(QStringLiteral("OK"), this);
    button->setDefault(true);
    connect(button, &QPushButton::clicked, this, &CDialogBase::accept);
    Register(ID_OK, button);
    return button;
}

QPushButton* CDialogBase::NewCancelButton() {
    auto* button = new QPushButton(QStringLiteral("Cancel"), this);
    connect(button, &QPushButton::clicked, this, &CDialogBase::reject);
    Register(ID_CANCEL, button);
    return button;
}

QBoxLayout* CDialogBase::NewButtonRow(bool withCancel) {
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    row->addWidget(NewOkButton());
    if (withCancel) {
        row->addWidget(NewCancelButton());
    }
    return row;
}

QBoxLayout* CDialogBase::NewButtonColumn(bool withCancel) {
    auto* column = new QVBoxLayout;
    column->addWidget(NewOkButton());
    if (withCancel) {
        column->addWidget(NewCancelButton());
    }
    column->addStretch(1);
    return column;
}

void CDialogBase::SetDialogLayout(QLayout* layout, int minimumChars) {
    if (minimumChars > 0) {
        const int width = fontMetrics().averageCharWidth() * minimumChars;
        layout->addItem(new QSpacerItem(width, 0, QSizePolicy::Fixed, QSizePolicy::Fixed));
    }
    layout->setSizeConstraint(QLayout::SetFixedSize);
    setLayout(layout);
}

void CDialogBase::BindNumber(QLineEdit* edit, double* field, double minimum, double maximum) {
    DialogField row;
    row.kind = FieldKind::Number;
    row.control = row.edit = edit;
    row.number = field;
    row.range = {minimum, maximum};
    fields.push_back(row);
}

void CDialogBase::BindInteger(QLineEdit* edit, int32_t* field, int32_t minimum, int32_t maximum) {
    DialogField row;
    row.kind = FieldKind::Integer;
    row.control = row.edit = edit;
    row.integer = field;
    row.intRange = {minimum, maximum};
    fields.push_back(row);
}

void CDialogBase::BindText(QLineEdit* edit, std::string* field, int maxLength) {
    DialogField row;
    row.kind = FieldKind::Text;
    row.control = row.edit = edit;
    row.text = field;
    row.maxLength = maxLength;
    if (maxLength >= 0) {
        auto* validator = new CTextLimitValidator(maxLength, edit);
        edit->setValidator(validator);
        connect(edit, &QLineEdit::textChanged, validator,
                [validator](const QString& text) { validator->SetCurrentLength(text.size()); });
        row.limit = validator;
    }
    fields.push_back(row);
}

void CDialogBase::BindLabel(QLabel* label, std::string* field) {
    DialogField row;
    row.kind = FieldKind::Label;
    row.control = row.label = label;
    row.text = field;
    fields.push_back(row);
}

void CDialogBase::BindRadio(std::initializer_list<QRadioButton*> buttons, int32_t* field) {
    DialogField row;
    row.kind = FieldKind::Radio;
    row.group = new QButtonGroup(this);
    int index = 0;
    for (QRadioButton* button : buttons) {
        row.group->addButton(button, index++);
    }
    row.control = buttons.size() > 0 ? *buttons.begin() : nullptr;
    row.integer = field;
    fields.push_back(row);
}

void CDialogBase::BindCheck(QCheckBox* check, int32_t* field) {
    DialogField row;
    row.kind = FieldKind::Check;
    row.control = row.check = check;
    row.integer = field;
    fields.push_back(row);
}

void CDialogBase::LoadField(const DialogField& field) {
    switch (field.kind) {
    case FieldKind::Number:
        field.edit->setText(QString::fromStdString(FormatG15(*field.number)));
        break;
    case FieldKind::Integer:
        field.edit->setText(QString::number(*field.integer));
        break;
    case FieldKind::Text: {
        const QString text = QString::fromStdString(*field.text);
        // A longer text put there by the program is shown whole; the check on OK reports it.
        if (field.limit != nullptr) {
            field.limit->SetCurrentLength(text.size());
        }
        field.edit->setText(text);
        break;
    }
    case FieldKind::Label:
        field.label->setText(QString::fromStdString(*field.text));
        break;
    case FieldKind::Radio: {
        // An exclusive group cannot be emptied, so -1 needs the exclusivity lifted for a moment.
        field.group->setExclusive(false);
        for (QAbstractButton* button : field.group->buttons()) {
            button->setChecked(field.group->id(button) == *field.integer);
        }
        field.group->setExclusive(true);
        break;
    }
    case FieldKind::Check:
        field.check->setChecked(*field.integer != 0);
        break;
    }
}

QString CDialogBase::SaveField(const DialogField& field) {
    switch (field.kind) {
    case FieldKind::Number:
        return Refusal(
            ReadNumberField(field.edit->text().toStdString(), field.range, *field.number));
    case FieldKind::Integer:
        return Refusal(
            ReadIntegerField(field.edit->text().toStdString(), field.intRange, *field.integer));
    case FieldKind::Text: {
        const QString text = field.edit->text();
        if (field.maxLength >= 0 && text.size() > field.maxLength) {
            return QString::fromStdString(TextLengthMessage(field.maxLength));
        }
        *field.text = text.toStdString();
        return {};
    }
    case FieldKind::Label:
        // A static text is not edited by the user: the member keeps its value.
        return {};
    case FieldKind::Radio:
        *field.integer = field.group->checkedId();
        return {};
    case FieldKind::Check:
        *field.integer = field.check->isChecked() ? 1 : 0;
        return {};
    }
    return {};
}

void CDialogBase::FocusAndSelect(QWidget* control) {
    if (control == nullptr) {
        return;
    }
    control->setFocus(Qt::OtherFocusReason);
    if (auto* edit = qobject_cast<QLineEdit*>(control)) {
        edit->selectAll();
    }
}

void CDialogBase::FocusFirstControl() {
    for (QWidget* w = nextInFocusChain(); w != nullptr && w != this; w = w->nextInFocusChain()) {
        if ((w->focusPolicy() & Qt::TabFocus) && w->isEnabled() && w->isVisibleTo(this)) {
            FocusAndSelect(w);
            return;
        }
    }
}
