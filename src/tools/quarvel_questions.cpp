// quarvel-questions: question files for teachers and for the build.
//
//   quarvel-questions dump FILE            prints a question file of any layout as JSON
//   quarvel-questions build IN.json OUT.umq writes the current layout from that JSON
//
// The JSON is a list, in file order, of
//   {"topics": [int...], "correct": int, "text": string, "picture": string,
//    "answers": [string...], "legacy": [int, int, int, int]}
// in UTF-8, texts exactly as stored (line breaks included).

#include "common/lestream.h"
#include "questions/questions.h"

#include <QCoreApplication>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cstdio>

using namespace quarvel;

namespace {

[[noreturn]] void Fail(const QString& message) {
    std::fprintf(stderr, "quarvel-questions: %s\n", qPrintable(message));
    std::exit(1);
}

QByteArray ReadFile(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        Fail(QStringLiteral("cannot open %1: %2").arg(path, f.errorString()));
    return f.readAll();
}

QJsonObject ToJson(const TMCQuestion& q) {
    QJsonArray topics;
    for (int k = 0; k < 256; ++k)
        if (q.TopicAreas.test(std::size_t(k)))
            topics.append(k);
    QJsonArray legacy;
    for (std::int32_t v : q.LegacyValues)
        legacy.append(v);
    return {{QStringLiteral("topics"), topics},
            {QStringLiteral("correct"), q.CorrectAnswer},
            {QStringLiteral("text"), q.Text},
            {QStringLiteral("picture"), q.Picture},
            {QStringLiteral("answers"), QJsonArray::fromStringList(q.Answers)},
            {QStringLiteral("legacy"), legacy}};
}

TMCQuestion FromJson(const QJsonObject& o, int index) {
    auto need = [&](const char* key, bool ok) {
        if (!ok)
            Fail(QStringLiteral("question %1: \"%2\" is missing or of the wrong kind").arg(index + 1).arg(QLatin1String(key)));
    };
    need("topics", o.value(QLatin1String("topics")).isArray());
    need("correct", o.value(QLatin1String("correct")).isDouble());
    need("text", o.value(QLatin1String("text")).isString());
    need("answers", o.value(QLatin1String("answers")).isArray());
    TMCQuestion q;
    for (const QJsonValue& t : o.value(QLatin1String("topics")).toArray()) {
        const int k = t.toInt(-1);
        if (k < 0 || k > 255)
            Fail(QStringLiteral("question %1: topic areas run from 0 to 255").arg(index + 1));
        q.TopicAreas.set(std::size_t(k));
    }
    q.CorrectAnswer = o.value(QLatin1String("correct")).toInt();
    q.Text = o.value(QLatin1String("text")).toString();
    q.Picture = o.value(QLatin1String("picture")).toString();
    q.Answers.clear();
    for (const QJsonValue& a : o.value(QLatin1String("answers")).toArray())
        q.Answers.append(a.toString());
    const QJsonArray legacy = o.value(QLatin1String("legacy")).toArray();
    for (int i = 0; i < 4 && i < legacy.size(); ++i)
        q.LegacyValues[std::size_t(i)] = legacy[i].toInt();
    return q;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.size() == 2 && args[0] == QLatin1String("dump")) {
        std::vector<TMCQuestion> questions;
        try {
            const QByteArray bytes = ReadFile(args[1]);
            TLEReader peek(bytes);
            const std::int32_t tag = peek.ReadInt32();
            if (tag == kQuestionTag || tag == kQuestionTagOld)
                questions = ReadQuestionBytes(bytes, args[1], TReader::Prelox);
            else
                questions = ReadLegacyQuestionFile(args[1]);
        } catch (const std::exception& e) {
            Fail(QString::fromUtf8(e.what()));
        }
        QJsonArray list;
        for (const TMCQuestion& q : questions)
            list.append(ToJson(q));
        const QByteArray json = QJsonDocument(list).toJson(QJsonDocument::Indented);
        std::fwrite(json.constData(), 1, std::size_t(json.size()), stdout);
        return 0;
    }
    if (args.size() == 3 && args[0] == QLatin1String("build")) {
        QJsonParseError error{};
        const QJsonDocument doc = QJsonDocument::fromJson(ReadFile(args[1]), &error);
        if (error.error != QJsonParseError::NoError)
            Fail(QStringLiteral("%1 at offset %2").arg(error.errorString()).arg(error.offset));
        if (!doc.isArray())
            Fail(QStringLiteral("the file must hold a list of questions"));
        std::vector<TMCQuestion> questions;
        const QJsonArray list = doc.array();
        for (int i = 0; i < list.size(); ++i)
            questions.push_back(FromJson(list[i].toObject(), i));
        QString why;
        if (!WriteQuestionFile(args[2], questions, &why))
            Fail(why);
        return 0;
    }
    std::fprintf(stderr, "usage: quarvel-questions dump FILE\n"
                         "       quarvel-questions build IN.json OUT.umq\n");
    return 2;
}
