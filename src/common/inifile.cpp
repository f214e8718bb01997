#include "common/inifile.h"

#include "common/contentpath.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace quarvel {

namespace {
QString Key(const QString& section, const QString& key) {
    return section.trimmed().toLower() + '\n' + key.trimmed().toLower();
}
} // namespace

TIniFile TIniFile::Load(const QString& path) {
    if (path.isEmpty())
        return {};
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return Parse(f.readAll());
}

TIniFile TIniFile::Parse(const QByteArray& raw) {
    TIniFile ini;
    QByteArray bytes = raw;
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes.remove(0, 3);
    const QString text = QString::fromUtf8(bytes);
    QString section;
    for (QString line : text.split(QLatin1Char('\n'))) {
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith(';') || line.startsWith('#'))
            continue;
        if (line.startsWith('[')) {
            const int close = line.indexOf(']');
            section = line.mid(1, close < 0 ? -1 : close - 1);
            continue;
        }
        const int eq = line.indexOf('=');
        if (eq <= 0)
            continue;
        const QString k = Key(section, line.left(eq));
        if (!ini.m_values.contains(k)) // the first of duplicate keys wins, as on Windows
            ini.m_values.insert(k, line.mid(eq + 1).trimmed());
    }
    return ini;
}

QString TIniFile::ReadString(const QString& section, const QString& key, const QString& def) const {
    const QString v = m_values.value(Key(section, key));
    return v.isEmpty() ? def : v;
}

bool TIniFile::ReadBool(const QString& section, const QString& key, bool def) const {
    const QString v = ReadString(section, key, QString()).toLower();
    if (v.isEmpty())
        return def;
    bool ok = false;
    const int n = v.toInt(&ok);
    if (ok)
        return n != 0;
    if (v == QLatin1String("true") || v == QLatin1String("yes") || v == QLatin1String("on"))
        return true;
    if (v == QLatin1String("false") || v == QLatin1String("no") || v == QLatin1String("off"))
        return false;
    return def;
}

TVantrelIni ReadVantrelIni(const QString& contentRoot) {
    const QString root = QDir(contentRoot).absolutePath();
    const TIniFile ini = TIniFile::Load(ResolveContentPath(root, QStringLiteral("vantrel.ini")));
    TVantrelIni out;

    QString folder = ini.ReadString(QStringLiteral("testpath"), QStringLiteral("path"), QString());
    if (folder.isEmpty()) {
        const QString found = ResolveContentPath(root, QStringLiteral("questions"));
        folder = found.isEmpty() ? JoinPath(root, QStringLiteral("questions"), true) : found;
    } else {
        folder.replace(QLatin1Char('\\'), QLatin1Char('/'));
        if (QDir::isRelativePath(folder)) {
            const QString found = ResolveContentPath(root, folder);
            folder = found.isEmpty() ? JoinPath(root, folder) : found;
        }
    }
    out.QuestionFolder = JoinPath(QDir::cleanPath(folder), QString(), true);

    const QString file =
        ini.ReadString(QStringLiteral("test"), QStringLiteral("testfile"), QStringLiteral("mctest.umq"));
    // Find the file in any letter case when the folder has it.
    const QString found = ResolveContentPath(out.QuestionFolder, file);
    out.TestFilePath = found.isEmpty() ? JoinPath(out.QuestionFolder, file) : found;

    out.TrolleyErrorFlag = ini.ReadBool(QStringLiteral("trolley"), QStringLiteral("error"), false);
    return out;
}

} // namespace quarvel
