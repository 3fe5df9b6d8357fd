#pragma once

#include "app/dialogs/dialogbase.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class QLineEdit;

enum : int32_t {
    OPTIMISE_VSWR = 0, ///< the smallest worst VSWR
    OPTIMISE_GAIN = 1, ///< the largest worst transducer gain
};

enum : int32_t {
    OPTIMISE_ALL = 0,         ///< every component
    OPTIMISE_FROM_ACTIVE = 1, ///< the active component and those after it
    OPTIMISE_LIST = 2,        ///< the components the list names
};

/// The 1-based component numbers of a list such as "1, 3,4" for a network of count components
/// (0-based in the result), or nullopt when a number is missing, not whole or out of range.
std::optional<std::vector<int32_t>> ParseComponentList(const std::string& text, int32_t count);

/// "Optimise": which components to tune (all, the active one and after, or a list), how hard
/// to search and for which objective. OK starts the search; Cancel changes nothing.
class COptimiseDialog : public CDialogBase {
    Q_OBJECT
public:
    static constexpr int IDD = 160;

    explicit COptimiseDialog(QWidget* parent = nullptr);

    // In exchange order.
    int32_t which = OPTIMISE_ALL;      ///< radios 1101-1103
    std::string list;                  ///< edit 1104, 1-based numbers separated by commas
    int32_t effort = 1;                ///< radios 1111-1113: quick, normal, thorough
    int32_t objective = OPTIMISE_VSWR; ///< radios 1131-1132

    /// Components of the network, for checking the list.
    int32_t componentCount = 0;

protected:
    std::optional<CrossFieldRefusal> CheckFieldsTogether() const override;

private:
    QLineEdit* listEdit = nullptr;
};
