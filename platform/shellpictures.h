#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>

/// A 32 x 32 toolbar icon by name ("new", "series-capacitor", ...); a null icon for an
/// unknown name.
QIcon ToolbarIcon(const QString& name);

/// The names ToolbarIcon draws.
QStringList ToolbarIconNames();

/// The picture across the bottom of the About box.
QPixmap AboutPicture(int width, int height);
