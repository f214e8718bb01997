#include "editor/spelling.h"

#include <hunspell.hxx>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextCursor>
#include <QVBoxLayout>

namespace quarvel {

namespace {
TSpellAnswerer& Answerer() {
    static TSpellAnswerer answerer;
    return answerer;
}

bool IsApostrophe(QChar c) { return c == QLatin1Char('\'') || c == QChar(0x2019); }

// Dictionaries spell apostrophes straight; teachers often paste curly ones.
QString Plain(QString word) {
    word.replace(QChar(0x2019), QLatin1Char('\''));
    return word;
}
} // namespace

QList<TWordSpan> SpellWords(const QString& text, bool skipCapitals) {
    QList<TWordSpan> out;
    const int n = int(text.size());
    int i = 0;
    while (i < n) {
        const QChar c = text[i];
        if (c == QLatin1Char('<')) { // a tag, up to its end
            const int close = int(text.indexOf(QLatin1Char('>'), i));
            if (close > i) {
                i = close + 1;
                continue;
            }
        }
        if (c == QLatin1Char('&')) { // an entity such as &deg; or &#176;
            int j = i + 1;
            while (j < n && j - i <= 10 && (text[j].isLetterOrNumber() || text[j] == QLatin1Char('#')))
                ++j;
            if (j < n && j > i + 1 && text[j] == QLatin1Char(';')) {
                i = j + 1;
                continue;
            }
        }
        if (!c.isLetterOrNumber()) {
            ++i;
            continue;
        }
        int j = i;
        bool digit = false, lower = false;
        while (j < n) {
            const QChar d = text[j];
            if (d.isLetterOrNumber() || d.isMark()) {
                digit = digit || d.isDigit();
                lower = lower || d.isLower();
                ++j;
            } else if (IsApostrophe(d) && j + 1 < n && text[j + 1].isLetter()) {
                ++j;
            } else {
                break;
            }
        }
        const bool capitals = !lower && j - i > 1;
        if (!digit && !(skipCapitals && capitals))
            out.append({i, j - i});
        i = j;
    }
    return out;
}

TSpeller::TSpeller() = default;
TSpeller::~TSpeller() = default;

bool TSpeller::Load(const QStringList& folders, const QString& name) {
    for (const QString& folder : folders) {
        const QString aff = QDir(folder).filePath(name + QStringLiteral(".aff"));
        const QString dic = QDir(folder).filePath(name + QStringLiteral(".dic"));
        if (!QFileInfo::exists(aff) || !QFileInfo::exists(dic))
            continue;
        m_hunspell = std::make_unique<Hunspell>(QFile::encodeName(aff).constData(), QFile::encodeName(dic).constData());
        m_dicPath = dic;
        m_utf8 = QString::fromStdString(m_hunspell->get_dict_encoding()).compare(QStringLiteral("UTF-8"),
                                                                                    Qt::CaseInsensitive) == 0;
        for (const QString& w : std::as_const(m_userWords))
            m_hunspell->add(ToDict(w));
        return true;
    }
    return false;
}

std::string TSpeller::ToDict(const QString& s) const {
    if (m_utf8)
        return s.toStdString();
    QStringEncoder enc(m_hunspell ? m_hunspell->get_dict_encoding().c_str() : "UTF-8");
    if (!enc.isValid())
        return s.toStdString();
    const QByteArray bytes = enc(s);
    return bytes.toStdString();
}

QString TSpeller::FromDict(const std::string& s) const {
    if (m_utf8)
        return QString::fromStdString(s);
    QStringDecoder dec(m_hunspell ? m_hunspell->get_dict_encoding().c_str() : "UTF-8");
    if (!dec.isValid())
        return QString::fromStdString(s);
    return dec(QByteArray::fromStdString(s));
}

void TSpeller::SetWordListFile(const QString& path) {
    m_wordFile = path;
    m_userWords.clear();
    QFile f(path);
    if (f.open(QIODevice::ReadOnly)) {
        for (const QString& line : QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'))) {
            const QString w = line.trimmed();
            if (!w.isEmpty() && !m_userWords.contains(w))
                m_userWords << w;
        }
    }
    if (m_hunspell)
        for (const QString& w : std::as_const(m_userWords))
            m_hunspell->add(ToDict(w));
}

QStringList TSpeller::UserWords() const { return m_userWords; }

bool TSpeller::IsCorrect(const QString& word) const {
    const QString w = Plain(word);
    if (!m_hunspell || m_ignored.contains(w) || m_userWords.contains(w))
        return true;
    return m_hunspell->spell(ToDict(w));
}

QStringList TSpeller::Suggestions(const QString& word) const {
    QStringList out;
    if (!m_hunspell)
        return out;
    for (const std::string& s : m_hunspell->suggest(ToDict(Plain(word))))
        out << FromDict(s);
    return out;
}

void TSpeller::IgnoreAll(const QString& word) { m_ignored.insert(Plain(word)); }

bool TSpeller::AddWord(const QString& word) {
    const QString w = Plain(word);
    if (w.isEmpty())
        return false;
    if (!m_userWords.contains(w))
        m_userWords << w;
    if (m_hunspell)
        m_hunspell->add(ToDict(w));
    if (m_wordFile.isEmpty())
        return false;
    QDir().mkpath(QFileInfo(m_wordFile).absolutePath());
    QSaveFile f(m_wordFile);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    f.write((m_userWords.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8());
    return f.commit();
}

TSpeller& SharedSpeller() {
    static TSpeller speller;
    return speller;
}

TSpellHighlighter::TSpellHighlighter(QTextDocument* document, TSpeller* speller)
    : QSyntaxHighlighter(document), m_speller(speller) {}

void TSpellHighlighter::highlightBlock(const QString& text) {
    if (!Live || !m_speller->IsLoaded())
        return;
    QTextCharFormat wrong;
    wrong.setUnderlineStyle(QTextCharFormat::SpellCheckUnderline);
    wrong.setUnderlineColor(Qt::red);
    for (const TWordSpan& w : SpellWords(text, m_speller->SkipCapitals))
        if (!m_speller->IsCorrect(text.mid(w.Start, w.Length)))
            setFormat(w.Start, w.Length, wrong);
}

void SetSpellAnswerer(TSpellAnswerer answerer) { Answerer() = std::move(answerer); }

TSpellDlg::TSpellDlg(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("SpellDlg"));
    setWindowTitle(QStringLiteral("Spelling"));
    auto* grid = new QGridLayout(this);
    grid->addWidget(new QLabel(QStringLiteral("Not in dictionary:"), this), 0, 0, 1, 2);
    ContextBox = new QTextBrowser(this);
    ContextBox->setObjectName(QStringLiteral("ContextBox"));
    ContextBox->setFixedHeight(90);
    grid->addWidget(ContextBox, 1, 0);
    grid->addWidget(new QLabel(QStringLiteral("Change to:"), this), 2, 0, 1, 2);
    ChangeToEdit = new QLineEdit(this);
    ChangeToEdit->setObjectName(QStringLiteral("ChangeToEdit"));
    grid->addWidget(ChangeToEdit, 3, 0);
    grid->addWidget(new QLabel(QStringLiteral("Suggestions:"), this), 4, 0, 1, 2);
    SuggestionList = new QListWidget(this);
    SuggestionList->setObjectName(QStringLiteral("SuggestionList"));
    grid->addWidget(SuggestionList, 5, 0);
    connect(SuggestionList, &QListWidget::currentTextChanged, ChangeToEdit, &QLineEdit::setText);

    auto* buttons = new QVBoxLayout;
    const struct {
        const char* Caption;
        TSpellAction Action;
    } list[] = {{"&Ignore", TSpellAction::Ignore},     {"I&gnore all", TSpellAction::IgnoreAll},
                {"&Add", TSpellAction::Add},           {"&Change", TSpellAction::Change},
                {"C&hange all", TSpellAction::ChangeAll}, {"Cancel", TSpellAction::Cancel}};
    for (const auto& b : list) {
        auto* button = new QPushButton(QString::fromLatin1(b.Caption), this);
        button->setAutoDefault(false);
        if (b.Action == TSpellAction::Change)
            button->setDefault(true);
        if (b.Action == TSpellAction::Cancel)
            buttons->addStretch(1);
        const TSpellAction action = b.Action;
        connect(button, &QPushButton::clicked, this, [this, action] { Finish(action); });
        buttons->addWidget(button);
    }
    connect(SuggestionList, &QListWidget::itemDoubleClicked, this, [this] { Finish(TSpellAction::Change); });
    grid->addLayout(buttons, 1, 1, 5, 1);
    resize(460, 330);
}

void TSpellDlg::Present(const TSpellRequest& request) {
    const QString before = request.Text.left(request.Start).toHtmlEscaped();
    const QString word = request.Word.toHtmlEscaped();
    const QString after = request.Text.mid(request.Start + request.Word.size()).toHtmlEscaped();
    ContextBox->setHtml(before + QStringLiteral("<span style=\"color:#c00000; font-weight:bold\">") + word +
                        QStringLiteral("</span>") + after);
    SuggestionList->clear();
    SuggestionList->addItems(request.Suggestions);
    ChangeToEdit->setText(request.Suggestions.value(0, request.Word));
    if (!request.Suggestions.isEmpty())
        SuggestionList->setCurrentRow(0);
    ChangeToEdit->setFocus();
}

TSpellAnswer TSpellDlg::Ask(const TSpellRequest& request) {
    Present(request);
    m_answer = TSpellAnswer{};
    exec();
    return m_answer;
}

void TSpellDlg::Finish(TSpellAction action) {
    m_answer.Action = action;
    m_answer.Replacement = ChangeToEdit->text();
    if (action == TSpellAction::Cancel)
        reject();
    else
        accept();
}

TCheckSequence::TCheckSequence(TSpeller* speller, QWidget* dialogParent)
    : m_speller(speller), m_parent(dialogParent) {}

TCheckSequence::~TCheckSequence() { delete m_dialog; }

TSpellAnswer TCheckSequence::AskUser(const TSpellRequest& request) {
    ++m_asked;
    if (Answerer())
        return Answerer()(request);
    if (!m_dialog) {
        m_dialog = new TSpellDlg(m_parent);
        // Top right of the window, clear of the text box where the word is marked.
        if (m_parent) {
            const QRect g = m_parent->window()->geometry();
            m_dialog->move(g.right() - m_dialog->width() - 24, g.top() + 60);
        }
    }
    return m_dialog->Ask(request);
}

bool TCheckSequence::CheckEdit(QPlainTextEdit* edit) {
    if (m_cancelled)
        return false;
    int from = 0;
    for (;;) {
        const QString text = edit->toPlainText();
        TWordSpan found{-1, 0};
        for (const TWordSpan& w : SpellWords(text, m_speller->SkipCapitals)) {
            if (w.Start < from)
                continue;
            if (!m_speller->IsCorrect(text.mid(w.Start, w.Length))) {
                found = w;
                break;
            }
        }
        if (found.Start < 0)
            return true;
        const QString word = text.mid(found.Start, found.Length);
        QTextCursor cursor(edit->document());
        cursor.setPosition(found.Start);
        cursor.setPosition(found.Start + found.Length, QTextCursor::KeepAnchor);
        QString replacement;
        bool change = false;
        if (const auto it = m_changeAll.constFind(word); it != m_changeAll.constEnd()) {
            replacement = *it;
            change = true;
        } else {
            edit->setTextCursor(cursor);
            edit->ensureCursorVisible();
            const TSpellAnswer a = AskUser({word, text, found.Start, m_speller->Suggestions(word)});
            switch (a.Action) {
            case TSpellAction::Cancel:
                m_cancelled = true;
                return false;
            case TSpellAction::Ignore:
                break;
            case TSpellAction::IgnoreAll:
                m_speller->IgnoreAll(word);
                break;
            case TSpellAction::Add:
                m_speller->AddWord(word);
                break;
            case TSpellAction::ChangeAll:
                m_changeAll.insert(word, a.Replacement);
                [[fallthrough]];
            case TSpellAction::Change:
                replacement = a.Replacement;
                change = true;
                break;
            }
        }
        if (change && replacement != word) {
            cursor.insertText(replacement);
            from = found.Start + int(replacement.size());
        } else {
            from = found.Start + found.Length;
        }
    }
}

} // namespace quarvel
