#pragma once
// The question editor's one window: the question list on the left, the
// editing area (or the preview of the pupil's page) on the right. The
// document is the list of questions of one file; questions change only
// through a working copy that Update commits.

#include "editor/editdoc.h"
#include "questions/questions.h"

#include <functional>
#include <optional>
#include <QMainWindow>
#include <QListWidgetItem>
#include <functional>
#include <memory>

class QAction;
class QButtonGroup;
class QGroupBox;
class QLabel;
class QListWidget;
class QMenu;
class QPlainTextEdit;
class QPrinter;
class QScrollArea;
class QSplitter;
class QStackedWidget;
class QTabBar;
class QToolBar;
class QWebEngineView;

namespace quarvel {

class TSpellHighlighter;
struct TFileRequest;

// A list item that owns its question.
class TQuestionItem : public QListWidgetItem {
public:
    TQuestionItem(const TMCQuestion& q, int number);
    TMCQuestion Question;
};

// What the window is started with.
struct TEditorSetup {
    QString ProgramFolder; // holds vantrel.ini and Help/
    QString StartFile;     // a question file named on the command line
};

// Browse, new question, edit.
enum TEditMode : int { emBrowse = 0, emNew = 1, emEdit = 2 };

class TEditFrm : public QMainWindow {
    Q_OBJECT
public:
    explicit TEditFrm(const TEditorSetup& setup, QWidget* parent = nullptr);
    ~TEditFrm() override;

    // --- the document ---
    QString FileName;
    int DocumentState = dsNew;
    QString QuestionFolder; // without a trailing separator
    QString ImagesFolder;
    QString PictureFolder;
    QString HelpFile;
    int EditMode = emBrowse;
    std::unique_ptr<TMCQuestion> WorkingCopy;
    QString PictureName;
    // Errors reported while the window was being built (start-up file).
    QString StartupError;

    int Count() const;
    TMCQuestion* Question(int index) const;
    TQuestionItem* Item(int index) const;
    int Selected() const;
    void Select(int index);
    bool IsChecked(int index) const;
    void SetChecked(int index, bool checked);
    std::vector<TMCQuestion> Questions() const;

    // --- controls, by the names the rest of the program uses ---
    QMenu* File1 = nullptr;
    QMenu* Questions1 = nullptr;
    QMenu* Print1 = nullptr;
    QAction *New1 = nullptr, *Open1 = nullptr, *Save1 = nullptr, *SaveAs1 = nullptr, *Import1 = nullptr,
            *Questionfile1 = nullptr, *ConvertFile1 = nullptr, *XML1 = nullptr, *PrintAll1 = nullptr,
            *PrintSelected1 = nullptr, *PrintSetup1 = nullptr, *Exit1 = nullptr, *CheckAll1 = nullptr,
            *Clearchecks1 = nullptr, *Renumber1 = nullptr, *Autosave1 = nullptr, *Spellcheck1 = nullptr,
            *Spellcheck2 = nullptr, *Contents1 = nullptr, *SearchforHelpOn1 = nullptr, *About1 = nullptr;
    QToolBar* Toolbar = nullptr;
    QAction *FileOpenBtn = nullptr, *FileSaveBtn = nullptr, *NewBtn = nullptr, *EditBtn = nullptr,
            *UpdateBtn = nullptr, *CancelBtn = nullptr, *HTMLBtn = nullptr;
    QLabel* EditLabel = nullptr;
    QWidget* LeftPanel = nullptr;
    QToolBar* QListToolbar = nullptr;
    QAction *UpBtn = nullptr, *DownBtn = nullptr, *DeleteBtn = nullptr;
    QListWidget* QListBox = nullptr;
    QSplitter* Splitter1 = nullptr;
    QStackedWidget* RightStack = nullptr;
    QWidget* EditPanel = nullptr;
    QSplitter* Splitter2 = nullptr;
    QWidget* TopPanel = nullptr;
    QListWidget* TopicListbox = nullptr;
    QGroupBox* AnswerRG = nullptr;
    QButtonGroup* AnswerButtons = nullptr;
    QToolBar* PicToolbar = nullptr;
    QAction *AddPicBtn = nullptr, *ClearPicBtn = nullptr;
    QLabel *PicFileLabel = nullptr, *PicSizeLabel = nullptr, *QPic = nullptr;
    QTabBar* QTab = nullptr;
    QPlainTextEdit* QEdit = nullptr;
    TSpellHighlighter* Highlighter = nullptr;
    QWebEngineView* Viewer = nullptr;
    QWebEngineView* PrintBrowser = nullptr;
    QLabel *StatusPanel0 = nullptr, *StatusPanel1 = nullptr;

    // --- file commands; the ...Click forms ask for names, the rest take them ---
    bool SavePrompt();
    // The caption for the state and file name.
    void SetCaption();
    void New1Click();
    void Open1Click();
    bool OpenFile(const QString& path);
    bool Save1Click();
    bool SaveAs1Click();
    bool SaveToFile(const QString& path);
    void Import1Click();
    bool ImportFile(const QString& path);
    void Questionfile1Click();
    bool ExportSelectedTo(const QString& path);
    void ConvertFile1Click();
    bool ConvertFromFile(const QString& path);
    void XML1Click();
    bool ExportXmlTo(const QString& path);
    // The printable page of all questions or of the checked ones.
    QString PrintPage(bool selectedOnly) const;
    void PrintAll1Click() { Print(false); }
    void PrintSelected1Click() { Print(true); }
    void Print(bool selectedOnly);
    void PrintSetup1Click();
    // Whether a printer is installed; tests replace it.
    std::function<bool()> PrinterInstalled;

    // --- list commands ---
    void MoveBtnClick(bool up);
    void DeleteBtnClick();
    void Renumber1Click();
    void CheckAll1Click();
    void Clearchecks1Click();
    // Menu items are enabled as their menus open.
    void File1Popup();
    void Print1Popup();
    void Questions1Popup();
    void RefreshListButtons();
    void About1Click();

    // --- editing ---
    void ShowSelectedQuestion();
    void SetEditStatus(QAction* sender);
    void NewQuestion();
    void StartEdit();
    // A key or a click in the text box while browsing.
    void StartFromTextBox();
    // Commit; `checkAnswer` false when the save prompt commits for the user.
    bool UpdateQuestion(bool checkAnswer = true);
    void CancelEdit();
    void RefreshControls();
    int CurrentPage() const;
    void SetPage(int page);
    void ShowPicture(const QString& name);
    // The choice in AnswerRG; -1 for none.
    void SetCorrectAnswer(int index);
    void AddPicBtnClick();
    void AddPictureFile(const QString& path);
    void ClearPicBtnClick();
    void HTMLBtnClick();
    // The page last built for the preview.
    QString PreviewHtml() const { return m_previewHtml; }
    // The preview's link filter: answer links go nowhere.
    static bool IsAnswerLink(const QUrl& url);

    void Spellcheck1Click();
    void Spellcheck2Click();

    // Close without any question (scripted runs).
    void CloseWithoutAsking();

    // The picture shown for no picture: 240 x 180, outlined, both diagonals.
    static QPixmap EmptyPictureSign();

signals:
    // The help file and whether its search was asked for.
    void HelpRequested(const QString& file, bool search);

protected:
    void closeEvent(QCloseEvent* e) override;
    void showEvent(QShowEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool event(QEvent* e) override;

private:
    void BuildActions();
    void BuildMenus();
    void BuildToolbar();
    void BuildLeftPanel();
    void BuildEditPanel();
    void BuildStatusBar();
    void SetUpSpeller();
    void PlaceWindow();
    void ApplyColourScheme();
    void LoadStartFile(const QString& path);
    // A name from the save dialog with `extension` put on; asks before
    // replacing a file the dialog could not know about. Empty: stop.
    QString AskSaveName(const TFileRequest& request, const QString& extension);
    void MarkChanged();
    void ReplaceList(std::vector<TMCQuestion>&& questions);
    void AppendQuestions(std::vector<TMCQuestion>&& questions);
    void ReportError(const QString& text);
    // Runs a file read; on failure shows why and gives nothing.
    std::optional<std::vector<TMCQuestion>> ReadOrReport(const std::function<std::vector<TMCQuestion>()>& read);
    QString PageText(const TMCQuestion& q, int page) const;
    void StorePage(int page);
    void ShowPage(int page);
    void QTabChange(int page);
    void ShowPreview(bool show);
    void ReturnToBrowse();
    TTopicSet TickedTopics() const;
    void TickTopics(const TTopicSet& set);
    int CorrectAnswerChoice() const;
    std::vector<const TMCQuestion*> CheckedQuestions() const;
    bool SpellCheckPages(class TCheckSequence& sequence, TMCQuestion* target, bool* changed);

    int m_page = 0;
    bool m_shown = false;
    bool m_closeWithoutAsking = false;
    QString m_previewHtml;
    QString m_styleSheet;
    QString m_pageImages; // the pages' images folder, with its separator
    std::unique_ptr<QPrinter> m_printer;
};

} // namespace quarvel
