#pragma once
// Writing a file so that nothing is lost: the bytes go to a new file beside
// the target, which replaces the target only once every byte is written. A
// write that stops short (a full disk) or fails leaves the old file as it
// was; the reason comes back as "Cannot write NAME: why".

#include <QByteArray>
#include <QString>

namespace quarvel {
bool WriteFileSafely(const QString& path, const QByteArray& bytes, QString* error = nullptr);
}
