#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>

/// A toolbar icon by name ("new", "series-capacitor", ...), drawn for 32 x 32 pixels and painted
/// afresh at every size and device pixel ratio asked for; a null icon for an unknown name.
QIcon ToolbarIcon(const QString& name);

/// The names ToolbarIcon draws.
QStringList ToolbarIconNames();

/// The picture across the bottom of the About box.
QPixmap AboutPicture(int width, int height);
