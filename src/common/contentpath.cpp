#include "common/contentpath.h"

#include <QDir>
#include <QFileInfo>

namespace quarvel {

namespace {
bool LooksAbsoluteOnWindows(const QString& p) {
    return p.size() >= 2 && p[1] == QLatin1Char(':') && p[0].isLetter();
}
} // namespace

bool IsInsideRoot(const QString& root, const QString& path) {
    const QString canonRoot = QFileInfo(root).canonicalFilePath();
    const QString canonPath = QFileInfo(path).canonicalFilePath();
    if (canonRoot.isEmpty() || canonPath.isEmpty())
        return false;
    if (canonPath == canonRoot)
        return true;
    const QString prefix = canonRoot.endsWith(QLatin1Char('/')) ? canonRoot : canonRoot + '/';
    return canonPath.startsWith(prefix);
}

QString ResolveContentPath(const QString& root, const QString& relative) {
    if (root.isEmpty() || LooksAbsoluteOnWindows(relative))
        return {};
    QString rel = relative;
    rel.replace(QLatin1Char('\\'), QLatin1Char('/'));
    const QStringList parts = rel.split(QLatin1Char('/'), Qt::SkipEmptyParts);

    QString current = QDir(root).absolutePath();
    if (!QFileInfo(current).isDir())
        return {};
    for (const QString& part : parts) {
        if (part == QLatin1String("."))
            continue;
        if (part == QLatin1String(".."))
            return {};
        const QString exact = current + '/' + part;
        if (QFileInfo::exists(exact)) {
            current = exact;
            continue;
        }
        QDir dir(current);
        if (!dir.exists())
            return {};
        QString found;
        const QStringList entries =
            dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
        for (const QString& entry : entries)
            if (entry.compare(part, Qt::CaseInsensitive) == 0) {
                found = entry;
                break;
            }
        if (found.isEmpty())
            return {};
        current = current + '/' + found;
    }
    if (!IsInsideRoot(root, current))
        return {};
    return current;
}

QString JoinPath(const QString& folder, const QString& name, bool asFolder) {
    QString f = folder;
    f.replace(QLatin1Char('\\'), QLatin1Char('/'));
    QString n = name;
    n.replace(QLatin1Char('\\'), QLatin1Char('/'));
    QString out;
    if (f.isEmpty())
        out = n;
    else if (n.isEmpty())
        out = f;
    else
        out = (f.endsWith('/') ? f : f + '/') + (n.startsWith('/') ? n.mid(1) : n);
    if (asFolder && !out.endsWith('/'))
        out += '/';
    return out;
}

} // namespace quarvel
