#pragma once

#include <QDialog>

class QPushButton;

/// The About box: program icon, copyright, feedback address, the Visit button that opens the
/// maker's web page, the known issues and notes, and a picture across the bottom.
class CAboutDialog : public QDialog {
public:
    explicit CAboutDialog(QWidget* parent = nullptr);

    static constexpr const char* kKnownIssues =
        "** Known issues ** :\n ->really small sized windows\n-> some Q calcs with transmission "
        "lines\n->extreme impedances sometimes cause it to blow chunks";

private:
    /// Opens the page with the desktop's URL handler; the box stays open whatever happens.
    void OnVisit();
};
