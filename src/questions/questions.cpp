#include "questions/questions.h"

#include "questions/strconst.h"

#include <algorithm>
#include "common/contentpath.h"
#include "common/safefile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace quarvel {

namespace {
struct TPageState {
    QString Images;
    QString StyleSheet;
    QString AllCorrect;
    QString SomeWrong;
};
TPageState& Pages() {
    static TPageState state;
    return state;
}

QString Head() {
    return QLatin1String(mcq::DocHead) + QStringLiteral("<link href=\"") + Pages().StyleSheet +
           QStringLiteral("\" rel=\"stylesheet\" type=\"text/css\" /></head><body>");
}

QString PictureAndText(const TMCQuestion& q) {
    if (!q.Picture.isEmpty())
        return QStringLiteral("<p><img src=\"") + Pages().Images + q.Picture + QStringLiteral("\"></p><p>") + q.Text +
               QStringLiteral("</p>");
    return QStringLiteral("<p>") + q.Text + QStringLiteral("</p>");
}

QString XmlEscaped(QString s) {
    s.replace(QLatin1Char('&'), QLatin1String("&amp;"));
    s.replace(QLatin1Char('<'), QLatin1String("&lt;"));
    s.replace(QLatin1Char('>'), QLatin1String("&gt;"));
    s.replace(QLatin1Char('"'), QLatin1String("&quot;"));
    return s;
}

void CheckCount(std::int64_t count, std::int64_t minBytesEach, const TLEReader& in, const char* what) {
    if (count < 0 || count * minBytesEach > in.Remaining())
        throw EStreamError(QStringLiteral("Invalid %1 count %2 at offset %3")
                               .arg(QLatin1String(what))
                               .arg(count)
                               .arg(in.Position())
                               .toStdString());
}

std::vector<TMCQuestion> ReadRecords(TLEReader& in, std::int32_t tag, bool legacy) {
    const std::int32_t n = in.ReadInt32();
    CheckCount(n, legacy ? 14 : 48, in, "question");
    std::vector<TMCQuestion> out;
    out.reserve(std::size_t(n));
    for (std::int32_t i = 0; i < n; ++i) {
        TMCQuestion q;
        if (legacy)
            q.ReadLegacyQuestion(in, tag);
        else
            q.ReadQuestion(in);
        out.push_back(std::move(q));
    }
    return out;
}
} // namespace

QByteArray TopicSetBytes(const TTopicSet& set) {
    QByteArray bytes(32, '\0');
    for (int k = 0; k < 256; ++k)
        if (set.test(std::size_t(k)))
            bytes[k / 8] = char(bytes[k / 8] | (1 << (k % 8)));
    return bytes;
}

TTopicSet TopicSetFromBytes(const QByteArray& bytes) {
    TTopicSet set;
    for (int k = 0; k < 256 && k / 8 < bytes.size(); ++k)
        if (bytes[k / 8] & (1 << (k % 8)))
            set.set(std::size_t(k));
    return set;
}

QString TMCQuestion::GetAnswer(int index) const {
    return index >= 0 && index < Answers.size() ? Answers[index] : QString();
}

void TMCQuestion::SetAnswer(int index, const QString& text) {
    if (index >= 0 && index < Answers.size())
        Answers[index] = text;
}

void TMCQuestion::Assign(const TMCQuestion* source) {
    if (!source)
        return;
    TopicAreas = source->TopicAreas;
    CorrectAnswer = source->CorrectAnswer;
    Picture = source->Picture;
    Text = source->Text;
    Answers = source->Answers;
    LegacyValues = source->LegacyValues;
}

void TMCQuestion::ReadQuestion(TLEReader& in) {
    TopicAreas = TopicSetFromBytes(in.ReadBytes(32));
    CorrectAnswer = in.ReadInt32();
    Text = in.ReadUtf16String();
    Picture = in.ReadUtf16String();
    const std::int32_t m = in.ReadInt32();
    CheckCount(m, 4, in, "answer");
    Answers.clear();
    for (std::int32_t i = 0; i < m; ++i)
        Answers.append(in.ReadUtf16String());
}

void TMCQuestion::ReadLegacyQuestion(TLEReader& in, std::int32_t tag) {
    const bool fullSet = tag == 8376 || tag == 707977;
    const bool skipsInts = tag == 8376 || tag == 707977 || tag == 758380;
    if (fullSet) {
        TopicAreas = TopicSetFromBytes(in.ReadBytes(32));
    } else {
        const QByteArray word = in.ReadBytes(2);
        const int bits = (unsigned char)word[0] | ((unsigned char)word[1] << 8);
        TopicAreas.reset();
        for (int i = 0; i < 16; ++i)
            if (bits & (1 << i))
                TopicAreas.set(std::size_t(i));
    }
    CorrectAnswer = in.ReadInt32();
    if (tag == kQuestionTagOld)
        for (std::int32_t& v : LegacyValues)
            v = in.ReadInt32();
    if (skipsInts)
        in.Skip(8);
    Text = in.ReadAnsiString();
    Picture = in.ReadAnsiString();
    if (skipsInts)
        in.Skip(1);
    if (tag == 8376)
        in.Skip(16);
    const std::int32_t m = in.ReadInt32();
    CheckCount(m, 4, in, "answer");
    Answers.clear();
    for (std::int32_t i = 0; i < m; ++i)
        Answers.append(in.ReadAnsiString());
}

void TMCQuestion::CheckAnswer(const QString& letter) {
    static const QString letters[5] = {"A", "B", "C", "D", "E"};
    const bool right = CorrectAnswer >= 0 && CorrectAnswer <= 4 && letter == letters[CorrectAnswer];
    AnswerState = right ? 1 : 2;
}

void WriteQuestion(const TMCQuestion& q, TLEWriter& out) {
    out.WriteBytes(TopicSetBytes(q.TopicAreas));
    out.WriteInt32(q.CorrectAnswer);
    out.WriteUtf16String(q.Text);
    out.WriteUtf16String(q.Picture);
    out.WriteInt32(std::int32_t(q.Answers.size()));
    for (const QString& a : q.Answers)
        out.WriteUtf16String(a);
}

std::vector<TMCQuestion> ReadQuestionBytes(const QByteArray& bytes, const QString& fileName, TReader reader) {
    TLEReader in(bytes);
    const std::int32_t tag = in.ReadInt32();
    const bool accepted = tag == kQuestionTag || (reader == TReader::Prelox && tag == kQuestionTagOld);
    if (!accepted)
        throw EBadFile((QFileInfo(fileName).fileName() + QStringLiteral("\r\n") +
                        QLatin1String(reader == TReader::Vantrel ? mcq::NotValidVantrel : mcq::NotValidPrelox))
                           .toStdString());
    return ReadRecords(in, tag, tag != kQuestionTag);
}

std::vector<TMCQuestion> ReadQuestionFile(const QString& path, TReader reader) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        throw EStreamError(QStringLiteral("Cannot open %1: %2").arg(path, f.errorString()).toStdString());
    return ReadQuestionBytes(f.readAll(), path, reader);
}

std::vector<TMCQuestion> ReadLegacyQuestionFile(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        throw EStreamError(QStringLiteral("Cannot open %1: %2").arg(path, f.errorString()).toStdString());
    TLEReader in(f.readAll());
    const std::int32_t tag = in.ReadInt32();
    return ReadRecords(in, tag, true);
}

QByteArray QuestionFileBytes(const std::vector<TMCQuestion>& questions) {
    TLEWriter out;
    out.WriteInt32(kQuestionTag);
    out.WriteInt32(std::int32_t(questions.size()));
    for (const TMCQuestion& q : questions)
        WriteQuestion(q, out);
    return out.Data();
}

bool WriteQuestionFile(const QString& path, const std::vector<TMCQuestion>& questions, QString* error) {
    return WriteFileSafely(path, QuestionFileBytes(questions), error);
}

TPagePaths PagePathsOf(const QString& questionFolder) {
    const QString folder = QDir::cleanPath(questionFolder);
    const QString images = ResolveContentPath(folder, QStringLiteral("images"));
    const QString css = ResolveContentPath(folder, QStringLiteral("css/qstyle.css"));
    return {(images.isEmpty() ? folder + QStringLiteral("/images") : images) + QLatin1Char('/'),
            css.isEmpty() ? folder + QStringLiteral("/css/qstyle.css") : css};
}

void SetPagePaths(const QString& imagesFolder, const QString& styleSheet) {
    TPageState& s = Pages();
    s.Images = imagesFolder;
    s.StyleSheet = styleSheet;
    const QString start = Head() + QStringLiteral("<div class=\"allcenter\">");
    s.AllCorrect = start + QStringLiteral("<img src=\"") + imagesFolder + QStringLiteral("Happy175.png\" alt=\"\" />") +
                   QStringLiteral("<p>") + QLatin1String(mcq::AllCorrect) + QStringLiteral("</p></div></body></html>");
    s.SomeWrong = start + QStringLiteral("<img src=\"") + imagesFolder + QStringLiteral("sad175.png\" alt=\"\" />") +
                  QStringLiteral("<p>") + QLatin1String(mcq::SomeWrong) + QStringLiteral("</p><p>") +
                  QLatin1String(mcq::TryAgain) + QStringLiteral("</p></div></body></html>");
}

QString QuestionPage(const TMCQuestion& q, int number) {
    QString html = Head() + QStringLiteral("<h1>") + QLatin1String(mcq::QuestionWord) + QString::number(number) +
                   QStringLiteral("</h1>") + PictureAndText(q);
    for (int i = 0; i < q.Answers.size(); ++i) {
        if (q.Answers[i].isEmpty())
            continue;
        html += QStringLiteral("<div class=\"ans\"><a href=\"") + QChar(char16_t(65 + i)) +
                QStringLiteral("\"><img border=\"0\" src=\"") + Pages().Images +
                QStringLiteral("button.gif\" alt=\"\" /></a>") + q.Answers[i] + QStringLiteral("</div>");
    }
    return html + QStringLiteral("</body></html>");
}

QString PrintPageHead() { return Head(); }

QString PrintEntry(const TMCQuestion& q, int number) {
    QString html = QStringLiteral("<h2>") + QLatin1String(mcq::QuestionWord) + QString::number(number) +
                   QStringLiteral("</h2>") + PictureAndText(q) + QStringLiteral("<ol>");
    // Each item carries its answer's own number, so the list letters it as
    // the test does even when an answer before it is empty.
    for (int i = 0; i < q.Answers.size(); ++i)
        if (!q.Answers[i].isEmpty())
            html += QStringLiteral("<li value=\"%1\">").arg(i + 1) + q.Answers[i] + QStringLiteral("</li>");
    return html + QStringLiteral("</ol>");
}

QString ResultsPage(bool someWrong) { return someWrong ? Pages().SomeWrong : Pages().AllCorrect; }

void XmlEntry(const TMCQuestion& q, QStringList& lines) {
    lines << QStringLiteral("<question>");
    lines << QStringLiteral("<qtext value=\"") + XmlEscaped(q.Text) + QStringLiteral("\"/>");
    lines << QStringLiteral("<correct value=\"") + QString::number(q.CorrectAnswer) + QStringLiteral("\"/>");
    lines << QStringLiteral("<picture pfile=\"") + XmlEscaped(q.Picture) + QStringLiteral("\"/>");
    for (QString a : q.Answers) {
        if (a.endsWith(QLatin1String("\r\n")))
            a.chop(2);
        if (!a.isEmpty())
            lines << QStringLiteral("<answer value=\"") + XmlEscaped(a) + QStringLiteral("\"/>");
    }
    lines << QStringLiteral("</question>");
}

QString AnswerLetterOfLink(const QString& link) {
    const qsizetype cut = std::max({link.lastIndexOf(QLatin1Char('\\')), link.lastIndexOf(QLatin1Char(':')),
                                    link.lastIndexOf(QLatin1Char('/'))});
    const QString rest = link.mid(cut + 1);
    if (rest.size() == 1 && rest[0] >= QLatin1Char('A') && rest[0] <= QLatin1Char('E'))
        return rest;
    return {};
}

} // namespace quarvel
