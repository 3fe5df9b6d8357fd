#pragma once

#include <QList>
#include <QRect>

/// The window geometry wanted, moved (and shrunk where it is larger) so that it lies wholly on
/// one screen's available area: the screen it overlaps most, or the first of screens (the
/// primary one) when it overlaps none. A window left on a screen that is no longer there comes
/// back into reach. With no screens the geometry stays as it is.
QRect PlaceOnScreens(const QRect& wanted, const QList<QRect>& screens);
