#include "editor/editdoc.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <cerrno>
#include <cstring>

namespace quarvel {

int MarkedChanged(int state) {
    if (state == dsNew)
        return dsNewChanged;
    if (state == dsNamed)
        return dsNamedChanged;
    return state;
}

bool IsChanged(int state) { return state == dsNewChanged || state == dsNamedChanged; }

QString EditorCaption(int state, const QString& fileName) {
    const QString name = QFileInfo(fileName).fileName();
    return QStringLiteral("Quarvel - Question Editor - ") + (IsChanged(state) ? QStringLiteral("*") : QString()) +
           name;
}

QString WithExtension(const QString& path, const QString& extension) {
    const QFileInfo info(path);
    const QString name = info.fileName();
    const int dot = int(name.lastIndexOf(QLatin1Char('.')));
    const QString base = dot > 0 ? name.left(dot) : name;
    const QString folder = path.left(path.size() - name.size());
    return folder + base + extension;
}

QString DialogFilter(const QString& barFilter) {
    const QStringList parts = barFilter.split(QLatin1Char('|'));
    QStringList out;
    static const QRegularExpression tail(QStringLiteral("\\s*\\(.*$"));
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts[i];
        description.remove(tail);
        QStringList patterns;
        for (const QString& p : parts[i + 1].split(QLatin1Char(';')))
            if (!p.trimmed().isEmpty())
                patterns << p.trimmed();
        if (!patterns.isEmpty())
            out << description.trimmed() + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) +
                       QStringLiteral(")");
    }
    return out.join(QStringLiteral(";;"));
}

QByteArray XmlExportBytes(const std::vector<const TMCQuestion*>& questions) {
    QStringList lines;
    lines << QStringLiteral("<?xml version=\"1.0\" encoding=\"utf-8\"?>") << QStringLiteral("<quiz>");
    for (const TMCQuestion* q : questions)
        XmlEntry(*q, lines);
    lines << QStringLiteral("</quiz>");
    return (lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8();
}

QStringList ReadTopicList(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    // Lists written by the older programs are Windows-1252.
    QString text = DecodeTextFile(f.readAll());
    text.remove(QLatin1Char('\r'));
    QStringList lines = text.split(QLatin1Char('\n'));
    while (!lines.isEmpty() && lines.last().trimmed().isEmpty())
        lines.removeLast();
    return lines;
}

} // namespace quarvel
