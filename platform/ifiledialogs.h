#pragma once

#include <QString>

/// The Open and Save As file dialogs; an empty result means the user cancelled.
class IFileDialogs {
public:
    virtual ~IFileDialogs() = default;
    virtual QString GetOpenFileName() = 0;
    /// suggested: the name the dialog starts with.
    virtual QString GetSaveFileName(const QString& suggested) = 0;
};
