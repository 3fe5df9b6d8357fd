#pragma once

#include "model/fieldrange.h"

#include <cstdint>
#include <string>

class CTextLimitValidator;
class QButtonGroup;
class QCheckBox;
class QLabel;
class QLineEdit;
class QWidget;

/// The kinds of value a dialog exchanges with its controls.
enum class FieldKind { Number, Integer, Text, Label, Radio, Check };

/// One row of a dialog's field table: a control bound to a member, with its kind and limits.
struct DialogField {
    FieldKind kind = FieldKind::Number;
    QWidget* control = nullptr; ///< the edit, static text or check box; the first radio button
    QLineEdit* edit = nullptr;
    QLabel* label = nullptr;
    QCheckBox* check = nullptr;
    QButtonGroup* group = nullptr;
    double* number = nullptr;
    int32_t* integer = nullptr; ///< integer, radio index and check fields
    std::string* text = nullptr;
    NumberRange range{0.0, 0.0};
    IntegerRange intRange{0, 0};
    int maxLength = -1;                   ///< -1: no limit
    CTextLimitValidator* limit = nullptr; ///< keeps typing within maxLength
};
