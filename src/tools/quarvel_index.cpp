// quarvel-index: the course index file for authors.
//
//   quarvel-index compile IN.json OUT.ux   writes an index file (current layout)
//   quarvel-index dump FILE.ux             prints any index file as JSON
//
// The JSON is a list of headings, each
//   {"tag": int, "title": string, "children": [{"title": string, "link": string}]}
// in UTF-8; dump prints exactly what compile reads.

#include "browser/topicindex.h"
#include "common/lestream.h"

#include <QCoreApplication>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <cstdio>

using namespace quarvel;

namespace {

[[noreturn]] void Fail(const QString& message) {
    std::fprintf(stderr, "quarvel-index: %s\n", qPrintable(message));
    std::exit(1);
}

TEWBHTMLIndex FromJson(const QByteArray& text) {
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(text, &error);
    if (error.error != QJsonParseError::NoError)
        Fail(QStringLiteral("%1 at offset %2").arg(error.errorString()).arg(error.offset));
    if (!doc.isArray())
        Fail(QStringLiteral("the index must be a list of headings"));
    TEWBHTMLIndex index;
    for (const QJsonValue& hv : doc.array()) {
        const QJsonObject h = hv.toObject();
        if (!h.value(QLatin1String("title")).isString())
            Fail(QStringLiteral("every heading needs a \"title\""));
        TEWBHeading heading;
        heading.Tag = h.value(QLatin1String("tag")).toInt();
        heading.Title = h.value(QLatin1String("title")).toString();
        for (const QJsonValue& cv : h.value(QLatin1String("children")).toArray()) {
            const QJsonObject c = cv.toObject();
            if (!c.value(QLatin1String("title")).isString() || !c.value(QLatin1String("link")).isString())
                Fail(QStringLiteral("every page of \"%1\" needs a \"title\" and a \"link\"").arg(heading.Title));
            heading.Children.append({c.value(QLatin1String("title")).toString(),
                                     c.value(QLatin1String("link")).toString(), false});
        }
        index.Headings.append(heading);
    }
    return index;
}

QByteArray ToJson(const TEWBHTMLIndex& index) {
    QJsonArray headings;
    for (const TEWBHeading& h : index.Headings) {
        QJsonArray children;
        for (const TEWBChildItem& c : h.Children)
            children.append(QJsonObject{{QStringLiteral("title"), c.Title}, {QStringLiteral("link"), c.Link}});
        headings.append(QJsonObject{{QStringLiteral("tag"), h.Tag},
                                    {QStringLiteral("title"), h.Title},
                                    {QStringLiteral("children"), children}});
    }
    return QJsonDocument(headings).toJson(QJsonDocument::Indented);
}

QByteArray ReadFile(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        Fail(QStringLiteral("cannot open %1: %2").arg(path, f.errorString()));
    return f.readAll();
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.size() == 3 && args[0] == QLatin1String("compile")) {
        const TEWBHTMLIndex index = FromJson(ReadFile(args[1]));
        QSaveFile out(args[2]);
        if (!out.open(QIODevice::WriteOnly) || out.write(index.SaveToBytes()) < 0 || !out.commit())
            Fail(QStringLiteral("cannot write %1: %2").arg(args[2], out.errorString()));
        return 0;
    }
    if (args.size() == 2 && args[0] == QLatin1String("dump")) {
        TEWBHTMLIndex index;
        try {
            index.LoadFromBytes(ReadFile(args[1]));
        } catch (const std::exception& e) {
            Fail(QString::fromUtf8(e.what()));
        }
        const QByteArray json = ToJson(index);
        std::fwrite(json.constData(), 1, std::size_t(json.size()), stdout);
        return 0;
    }
    std::fprintf(stderr, "usage: quarvel-index compile IN.json OUT.ux\n"
                         "       quarvel-index dump FILE.ux\n");
    return 2;
}
