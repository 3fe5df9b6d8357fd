#pragma once

#include <QEvent>
#include <QObject>

/// Counts the paints a widget receives. The widget toolkit repaints a widget of its own accord
/// when it gains or loses the focus or its window is activated (as when a dialog over it closes);
/// those events are held back from the widget so that every paint counted is one that a
/// command asked for.
class PaintCounter : public QObject {
public:
    bool eventFilter(QObject*, QEvent* event) override {
        switch (event->type()) {
        case QEvent::Paint:
            ++paints;
            return false;
        case QEvent::FocusIn:
        case QEvent::FocusOut:
        case QEvent::WindowActivate:
        case QEvent::WindowDeactivate:
            return true;
        default:
            return false;
        }
    }
    int paints = 0;
};
