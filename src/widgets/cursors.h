#pragma once
// The program's own cursors by number, as the panels ask for them: 4 is the
// magnifier "ZOOM" registered at start-up; 2 and 3 belong to the drawing panel.

#include <QCursor>

namespace quarvel {
void RegisterCursor(int number, const QCursor& cursor);
// Qt::ArrowCursor for a number nobody registered.
QCursor ScreenCursor(int number);
// Loads the magnifier picture from the resources as cursor 4.
void RegisterZoomCursor();
} // namespace quarvel
