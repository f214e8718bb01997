// The window's side of spelling: setting up the speller and the text box's
// underlining, and the two passes over one question or all of them.

#include "editor/editfrm.h"

#include "editor/editfrmparts.h"
#include "editor/spelling.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QPlainTextEdit>
#include <QSettings>
#include <QStandardPaths>
#include <QTabBar>

namespace quarvel {

void TEditFrm::SetUpSpeller() {
    QSettings s(QStringLiteral("Brantock"), QStringLiteral("Question editor"));
    const QString dictionary = s.value(QStringLiteral("Dictionary"), QStringLiteral("en_GB")).toString();
    TSpeller& speller = SharedSpeller();
    speller.SkipCapitals = s.value(QStringLiteral("IgnoreCapitals"), true).toBool();
    QStringList folders;
    for (const QString& d : QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation))
        folders << d + QStringLiteral("/Brantock/Question editor/spell");
    folders << QCoreApplication::applicationDirPath() + QStringLiteral("/spell")
            << QStringLiteral("/usr/share/hunspell") << QStringLiteral("/usr/share/myspell/dicts");
    if (!speller.IsLoaded())
        speller.Load(folders, dictionary);
    // The user's own words live with their documents, so they follow the user.
    const QString userFolder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) +
                               QStringLiteral("/Brantock/Question editor");
    QDir().mkpath(userFolder);
    QString user = qEnvironmentVariable("USER");
    if (user.isEmpty())
        user = QStringLiteral("user");
    speller.SetWordListFile(userFolder + QLatin1Char('/') + user + QStringLiteral(".words"));
    Highlighter = new TSpellHighlighter(QEdit->document(), &speller);
    Highlighter->Live = s.value(QStringLiteral("LiveSpelling"), true).toBool();
}

bool TEditFrm::SpellCheckPages(TCheckSequence& sequence, TMCQuestion* target, bool* changed) {
    for (int page = 0; page < 6; ++page) {
        {
            const QSignalBlocker block(QTab);
            QTab->setCurrentIndex(page);
        }
        const QString before = ToEditText(PageText(*target, page));
        QEdit->setPlainText(before);
        sequence.CheckEdit(QEdit);
        const QString after = QEdit->toPlainText();
        if (after != before) {
            if (page == 0)
                target->Text = FromEditText(after);
            else
                target->SetAnswer(page - 1, FromEditText(after));
            *changed = true;
        }
        if (sequence.Cancelled())
            return false;
    }
    return true;
}

void TEditFrm::Spellcheck2Click() {
    const int i = Selected();
    if (i < 0)
        return;
    ShowPreview(false);
    const bool editing = EditMode != emBrowse;
    // Text typed on the page on show is kept before the box is reused.
    if (editing)
        StorePage(m_page);
    TMCQuestion* target = editing ? WorkingCopy.get() : Question(i);
    const int remembered = m_page;
    bool changed = false;
    {
        TCheckSequence sequence(&SharedSpeller(), this);
        SpellCheckPages(sequence, target, &changed);
    }
    {
        const QSignalBlocker block(QTab);
        QTab->setCurrentIndex(remembered);
        m_page = remembered;
    }
    QEdit->setPlainText(ToEditText(PageText(*target, remembered)));
    if (changed) {
        MarkChanged();
        if (!editing)
            m_previewHtml = QuestionPage(*target, i + 1);
    }
}

void TEditFrm::Spellcheck1Click() {
    if (EditMode != emBrowse) {
        ShowBox(this, TBoxKind::Information, QStringLiteral("Please switch back to browse mode\r\nbefore checking spelling"));
        return;
    }
    if (Count() == 0)
        return;
    const int remembered = Selected();
    ShowPreview(false);
    bool changed = false;
    {
        TCheckSequence sequence(&SharedSpeller(), this);
        for (int i = 0; i < Count(); ++i) {
            Select(i);
            ShowSelectedQuestion();
            if (!SpellCheckPages(sequence, Question(i), &changed))
                break;
        }
    }
    if (changed)
        MarkChanged();
    Select(remembered);
    ShowSelectedQuestion();
    RefreshListButtons();
}

} // namespace quarvel
