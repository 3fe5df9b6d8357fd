#pragma once

#include "platform/shell/ifiledialogs.h"

class QWidget;

/// QFileDialog with the document filters "Quorbel Files (*.qbl)" and "All Files (*.*)", and for
/// the chart's pictures the PNG, SVG and PDF filters.
class CQtFileDialogs : public IFileDialogs {
public:
    explicit CQtFileDialogs(QWidget* parent = nullptr) : parent_(parent) {}
    void SetParent(QWidget* parent) { parent_ = parent; }
    QString GetOpenFileName() override;
    QString GetSaveFileName(const QString& suggested) override;
    QString GetExportFileName(const QString& suggested) override;
    QString GetDataFileName() override;
    QString GetDeviceFileName() override;
    QString GetNetworkFileName(const QString& suggested) override;

private:
    QWidget* parent_;
};
