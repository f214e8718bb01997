#pragma once
// Spell checking for the question editor: Hunspell with the system's British
// English dictionary, a per-user word list kept in the user's documents
// folder, live underlining in a text box and the check dialog that walks
// through a text word by word.

#include <QDialog>
#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QSyntaxHighlighter>
#include <functional>
#include <memory>

class Hunspell;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QTextBrowser;

namespace quarvel {

// A word of a text: where it starts and how long it is.
struct TWordSpan {
    int Start;
    int Length;
    bool operator==(const TWordSpan&) const = default;
};

// The words of `text` that are worth checking: runs of letters with inner
// apostrophes. Markup (<sub>, &deg;) is skipped, as are words holding digits
// (H2O, 24th) and, when `skipCapitals` is set, words written in capitals
// (LED, DNA), which no school dictionary knows all of.
QList<TWordSpan> SpellWords(const QString& text, bool skipCapitals = true);

class TSpeller {
public:
    TSpeller();
    ~TSpeller();

    // Loads the dictionary `name` (name.aff and name.dic) from the first of
    // `folders` that has both; false when none has.
    bool Load(const QStringList& folders, const QString& name);
    bool IsLoaded() const { return bool(m_hunspell); }
    QString DictionaryPath() const { return m_dicPath; }

    // The user's own words: one word a line, UTF-8. Missing file = no words.
    void SetWordListFile(const QString& path);
    QString WordListFile() const { return m_wordFile; }
    QStringList UserWords() const;

    bool SkipCapitals = true;

    // True for words of the dictionary, the user's words and words ignored
    // for this session. Without a dictionary every word is correct, so a
    // missing dictionary never blocks the editor.
    bool IsCorrect(const QString& word) const;
    QStringList Suggestions(const QString& word) const;
    // Ignored until the program ends.
    void IgnoreAll(const QString& word);
    // Adds to the user's word list and saves it; false when it cannot be saved.
    bool AddWord(const QString& word);

private:
    std::string ToDict(const QString& s) const;
    QString FromDict(const std::string& s) const;
    std::unique_ptr<Hunspell> m_hunspell;
    QString m_dicPath;
    QString m_wordFile;
    QStringList m_userWords;
    QSet<QString> m_ignored;
    bool m_utf8 = true;
};

// The program's one spell checker.
TSpeller& SharedSpeller();

// Red wavy lines under the misspelt words of a text box, while typing.
class TSpellHighlighter : public QSyntaxHighlighter {
    Q_OBJECT
public:
    TSpellHighlighter(QTextDocument* document, TSpeller* speller);
    bool Live = true;

protected:
    void highlightBlock(const QString& text) override;

private:
    TSpeller* m_speller;
};

// What the check dialog asks and what the user answered.
enum class TSpellAction { Ignore, IgnoreAll, Add, Change, ChangeAll, Cancel };
struct TSpellRequest {
    QString Word;
    QString Text; // the whole text being checked
    int Start = 0;
    QStringList Suggestions;
};
struct TSpellAnswer {
    TSpellAction Action = TSpellAction::Cancel;
    QString Replacement; // for Change and Change all
};
// Tests answer the check dialog instead of a person.
using TSpellAnswerer = std::function<TSpellAnswer(const TSpellRequest&)>;
void SetSpellAnswerer(TSpellAnswerer answerer);

// The check dialog: the text with the word marked, "Change to", the
// suggestions and the six buttons.
class TSpellDlg : public QDialog {
    Q_OBJECT
public:
    explicit TSpellDlg(QWidget* parent = nullptr);
    // Shows `request` and waits for the answer.
    TSpellAnswer Ask(const TSpellRequest& request);
    void Present(const TSpellRequest& request);

    QTextBrowser* ContextBox = nullptr;
    QLineEdit* ChangeToEdit = nullptr;
    QListWidget* SuggestionList = nullptr;

private:
    void Finish(TSpellAction action);
    TSpellAnswer m_answer;
};

// One run of the check dialog over one or more texts: "Change all" and
// "Ignore all" hold to its end; Cancel ends it.
class TCheckSequence {
public:
    TCheckSequence(TSpeller* speller, QWidget* dialogParent);
    ~TCheckSequence();
    // Checks the whole text of `edit`, marking each word asked about and
    // changing it in the box. False once the user has cancelled.
    bool CheckEdit(QPlainTextEdit* edit);
    bool Cancelled() const { return m_cancelled; }
    // Words asked about so far (for tests and the status line).
    int Asked() const { return m_asked; }

private:
    TSpellAnswer AskUser(const TSpellRequest& request);
    TSpeller* m_speller;
    QWidget* m_parent;
    QHash<QString, QString> m_changeAll;
    TSpellDlg* m_dialog = nullptr;
    bool m_cancelled = false;
    int m_asked = 0;
};

} // namespace quarvel
