#pragma once

#include "view/ishellcommands.h"

/// A shell that does nothing and allows every command; tests override what they need.
class IdleShell : public IShellCommands {
public:
    void OnFileNew() override {}
    void OnFileOpen() override {}
    void OnFileSave() override {}
    void OnFileSaveAs() override {}
    void OnOpenRecentFile(int) override {}
    void OnAppExit() override {}
    void OnAppAbout() override {}
    void OnViewToolbar() override {}
    void OnViewStatusBar() override {}
    bool IsShellCommandEnabled(int) const override { return true; }
    bool IsShellCommandChecked(int) const override { return false; }
};
