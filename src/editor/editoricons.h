#pragma once
// The editor's toolbar and menu pictures: its own drawings first, then the
// shared ones of both programs (Delete, print24_h).

#include <QIcon>
#include <QString>

namespace quarvel {

// The picture `name` at `size` pixels; an empty icon when there is none.
QIcon EditorIcon(const QString& name, int size);

} // namespace quarvel
