#include "widgets/cursors.h"

#include "widgets/datamod.h"

#include <QHash>

namespace quarvel {

namespace {
QHash<int, QCursor>& Table() {
    static QHash<int, QCursor> table;
    return table;
}
} // namespace

void RegisterCursor(int number, const QCursor& cursor) { Table().insert(number, cursor); }

QCursor ScreenCursor(int number) { return Table().value(number, QCursor(Qt::ArrowCursor)); }

void RegisterZoomCursor() {
    const QPixmap pm = RenderIcon(QStringLiteral("zoom_cursor"), 32).pixmap(32, 32);
    RegisterCursor(4, pm.isNull() ? QCursor(Qt::CrossCursor) : QCursor(pm, 12, 12));
}

} // namespace quarvel
