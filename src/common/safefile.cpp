#include "common/safefile.h"

#include <QFileInfo>
#include <QSaveFile>
#include <cerrno>
#include <cstring>

namespace quarvel {

bool WriteFileSafely(const QString& path, const QByteArray& bytes, QString* error) {
    QSaveFile f(path);
    // Unbuffered, so a write that stops short says so at once.
    bool ok = f.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    // A write can stop short when the disk fills; only an error after it
    // says so, and a short file must never replace a whole one.
    qsizetype done = 0;
    while (ok && done < bytes.size()) {
        const qint64 n = f.write(bytes.constData() + done, bytes.size() - done);
        if (n <= 0)
            ok = false;
        else
            done += qsizetype(n);
    }
    const int code = errno;
    if (ok && f.size() != bytes.size())
        ok = false; // the new file is short: keep the old one
    if (ok)
        ok = f.commit();
    if (!ok) {
        QString reason = f.errorString();
        if ((reason.isEmpty() || reason == QLatin1String("Unknown error")) && code != 0)
            reason = QString::fromLocal8Bit(std::strerror(code));
        if (error)
            *error = QStringLiteral("Cannot write %1: %2").arg(QFileInfo(path).fileName(), reason);
        f.cancelWriting();
        return false;
    }
    return true;
}

} // namespace quarvel
