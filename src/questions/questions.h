#pragma once
// Multiple-choice questions: the record, the question file in its current
// layout and the older ones, and the HTML pages questions are shown in.
//
// Current file (tag 77673), little-endian: int32 tag, int32 N, N records of
//   32-byte topic set | int32 correct (-1 unset) | string text |
//   string picture | int32 M | M strings
// where a string is an int32 count of UTF-16 code units and the text.
// Older layouts use Windows-1252 strings with a byte count (see
// ReadLegacyQuestion). Every count is checked against the bytes left.

#include "common/lestream.h"
#include "common/topicset.h"

#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <stdexcept>
#include <vector>

namespace quarvel {

constexpr std::int32_t kQuestionTag = 77673;
constexpr std::int32_t kQuestionTagOld = 77671;

class EBadFile : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Topic area k is bit (k mod 8) of byte (k div 8).
QByteArray TopicSetBytes(const TTopicSet& set);
TTopicSet TopicSetFromBytes(const QByteArray& bytes);

class TMCQuestion {
public:
    TTopicSet TopicAreas;
    QString Picture;
    QString Text = QStringLiteral("Enter the text for the question");
    QStringList Answers{QString(), QString(), QString(), QString(), QString()};
    std::int32_t CorrectAnswer = -1;
    std::array<std::int32_t, 4> LegacyValues{};
    std::uint8_t AnswerState = 0; // 0 not answered, 1 right, 2 wrong

    QString GetAnswer(int index) const;
    void SetAnswer(int index, const QString& text);
    void Assign(const TMCQuestion* source);
    void ReadQuestion(TLEReader& in);
    void ReadLegacyQuestion(TLEReader& in, std::int32_t tag);
    // Grades the chosen letter "A".."E".
    void CheckAnswer(const QString& letter);
};

void WriteQuestion(const TMCQuestion& q, TLEWriter& out);

// Which program reads: Vantrel accepts the current tag only; the editor
// also the older 77671 for opening and importing.
enum class TReader { Vantrel, Prelox };

// Reads a whole file. EBadFile for a tag not accepted ("name\r\nThis is not
// a valid question file[.]"), EStreamError for a short or hostile file.
std::vector<TMCQuestion> ReadQuestionFile(const QString& path, TReader reader);
std::vector<TMCQuestion> ReadQuestionBytes(const QByteArray& bytes, const QString& fileName, TReader reader);
// Reads a file of any tag with the older layouts (the editor's conversion).
std::vector<TMCQuestion> ReadLegacyQuestionFile(const QString& path);
QByteArray QuestionFileBytes(const std::vector<TMCQuestion>& questions);
// Writes to a new file beside `path` and replaces it only when complete;
// false (and the old file untouched) on failure, with the reason in `error`.
bool WriteQuestionFile(const QString& path, const std::vector<TMCQuestion>& questions, QString* error = nullptr);

// --- pages ---
// Sets the pictures folder and the style sheet the pages use, and builds the
// two results pages.
void SetPagePaths(const QString& imagesFolder, const QString& styleSheet);
// The pictures folder ("images", with a trailing "/") and the style sheet
// ("css/qstyle.css") of a question folder, found without regard to letter
// case; the plain names where they do not exist.
struct TPagePaths {
    QString Images;
    QString StyleSheet;
};
TPagePaths PagePathsOf(const QString& questionFolder);
QString QuestionPage(const TMCQuestion& q, int number);
QString PrintPageHead();
QString PrintEntry(const TMCQuestion& q, int number);
// The some-wrong page when `someWrong`, else the all-correct page.
QString ResultsPage(bool someWrong);
void XmlEntry(const TMCQuestion& q, QStringList& lines);

// The answer a link of a question page names: its last part (after the last
// "/", "\\" or ":") is exactly one letter A-E. Empty for any other link, so a
// link to "Earth.htm" stays an ordinary link.
QString AnswerLetterOfLink(const QString& link);

} // namespace quarvel
