#pragma once

#include "app/dialogs/dialogfield.h"

#include <QDialog>
#include <QString>

#include <cstdint>
#include <initializer_list>
#include <map>
#include <optional>
#include <string>
#include <vector>

class QBoxLayout;
class QCheckBox;
class QGroupBox;
class QKeyEvent;
class QLabel;
class QLayout;
class QLineEdit;
class QPushButton;
class QRadioButton;

/// The common part of every dialog of the program: a table of fields, each binding a control to a
/// member of the dialog, exchanged in table order. Loading (members to controls) happens when the
/// dialog is shown; saving (controls to members, with validation) happens on OK and stops at the
/// first failing field, which shows its message in the program's message box, gets the focus with
/// its text selected and keeps the dialog open. Enter gives OK, also in dialogs without an OK
/// button; Escape and the close box give Cancel.
///
/// Dialogs are modal and live on the stack for one showing: construct, set the members, exec(),
/// and read the members back when exec() returned QDialog::Accepted.
class CDialogBase : public QDialog {
    Q_OBJECT
public:
    /// Control ids of the OK and Cancel buttons in every dialog.
    static constexpr int ID_OK = 1;
    static constexpr int ID_CANCEL = 2;

    /// The dialog's resource number (133 for the line editor, 134 for the chart setup, ...).
    int DialogId() const { return dialogId; }
    /// The control with the given id, or nullptr.
    QWidget* Control(int id) const;
    template <class T> T* ControlAs(int id) const { return qobject_cast<T*>(Control(id)); }
    /// The field table in exchange order.
    const std::vector<DialogField>& Fields() const { return fields; }

    /// Exchanges every field: save (controls to members, validated) or load (members to controls).
    /// Returns false when a field failed; its message has then been shown.
    bool UpdateData(bool save);

    /// OK: saves the fields and closes only when they all pass.
    void accept() override;
    /// Opening loads the controls from the members and puts the focus on the first control.
    void setVisible(bool visible) override;

protected:
    CDialogBase(int dialogId, const QString& title, bool hasCloseBox, QWidget* parent);

    void keyPressEvent(QKeyEvent* event) override;

    // Controls, registered under their ids (-1 for texts that are never addressed).
    QLineEdit* NewEdit(int id);
    QLabel* NewStatic(const QString& text, int id = -1);
    QRadioButton* NewRadio(int id, const QString& text);
    QCheckBox* NewCheck(int id, const QString& text);
    QGroupBox* NewGroup(const QString& caption);
    /// A captioned group holding the radio buttons one under the other.
    QGroupBox* NewRadioGroup(const QString& caption, std::initializer_list<QRadioButton*> buttons);
    QPushButton* NewOkButton();
    QPushButton* NewCancelButton();
    /// OK (and Cancel when wanted) pushed to the right end of a row.
    QBoxLayout* NewButtonRow(bool withCancel);
    /// OK (and Cancel) stacked at the top of a column, for dialogs with their buttons at the right.
    QBoxLayout* NewButtonColumn(bool withCancel);
    /// Installs the dialog's layout and fixes the dialog at its natural size, at least
    /// minimumChars average characters wide.
    void SetDialogLayout(QLayout* layout, int minimumChars = 0);

    // The field table, in exchange order.
    void BindNumber(QLineEdit* edit, double* field, double minimum, double maximum);
    void BindInteger(QLineEdit* edit, int32_t* field, int32_t minimum, int32_t maximum);
    void BindText(QLineEdit* edit, std::string* field, int maxLength = -1);
    void BindLabel(QLabel* label, std::string* field);
    void BindRadio(std::initializer_list<QRadioButton*> buttons, int32_t* field);
    void BindCheck(QCheckBox* check, int32_t* field);

    /// A refusal of values that passed their own fields' checks but not together.
    struct CrossFieldRefusal {
        QWidget* control = nullptr; ///< gets the focus with its text selected
        QString message;
    };
    /// Checked once every field has been saved; the default accepts. A refusal is shown and
    /// keeps the dialog open like a failing field.
    virtual std::optional<CrossFieldRefusal> CheckFieldsTogether() const { return std::nullopt; }

private:
    void Register(int id, QWidget* control);
    void LoadField(const DialogField& field);
    /// Saves one field; returns the validation message on failure, an empty string on success.
    QString SaveField(const DialogField& field);
    void FocusAndSelect(QWidget* control);
    void FocusFirstControl();

    int dialogId;
    std::map<int, QWidget*> controls;
    std::vector<DialogField> fields;
};
