#include "editor/editfrm.h"

#include "browser/pageprinter.h"
#include "common/contentpath.h"
#include "common/inifile.h"
#include "common/version.h"
#include "editor/editordialogs.h"
#include "editor/editoricons.h"
#include "editor/spelling.h"
#include "shell/dialogs.h"
#include "shell/skins.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QSettings>
#include <QSplitter>
#include <QStackedWidget>
#include <QStandardPaths>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTabBar>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWebEnginePage>
#include <QWebEngineView>

namespace quarvel {

namespace {
const QString kUmqFilter = QStringLiteral("Multiple choice questions (*.umq)|*.umq");
const QString kConvertFilter =
    QStringLiteral("All question files(*.mq;*.mcq;*.kpq))|*.mq;*.mcq;*.kpq");
const QString kXmlFilter = QStringLiteral("XML file(*.xml)|*.xml");
const QString kPictureFilter = QStringLiteral(
    "All (*.png;*.gif;*.jpg;*.jpeg;*.bmp;|*.png;*.gif;*.jpg;*.jpeg;*.bmp;|Portable Network Graphics "
    "(*.png)|*.png|CompuServe GIF Image (*.gif)|*.gif|JPEG Image File (*.jpg)|*.jpg|JPEG Image File "
    "(*.jpeg)|*.jpeg|Bitmaps (*.bmp)|*.bmp");
const char* const kPageNames[6] = {"Question text", "Answer A", "Answer B", "Answer C", "Answer D", "Answer E"};

QString QuestionCaption(int number) { return QStringLiteral("Question ") + QString::number(number); }

// The text box works with single line breaks; the files keep CR LF.
QString ToEditText(QString s) {
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return s;
}
QString FromEditText(QString s) {
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    s.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return s;
}

void Hint(QAction* a, const QString& text) {
    a->setToolTip(text);
    a->setStatusTip(text);
}
void Hint(QWidget* w, const QString& text) {
    w->setToolTip(text);
    w->setStatusTip(text);
}

// Answer links of the preview go nowhere; every other link is followed.
class TPreviewPage : public QWebEnginePage {
public:
    using QWebEnginePage::QWebEnginePage;

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override {
        if (isMainFrame && type == NavigationTypeLinkClicked && TEditFrm::IsAnswerLink(url))
            return false;
        return true;
    }
};

class TAboutDlg : public QDialog {
public:
    explicit TAboutDlg(QWidget* parent) : QDialog(parent) {
        setObjectName(QStringLiteral("AboutDlg"));
        setWindowTitle(QStringLiteral("About"));
        QFont f(QStringLiteral("Arial"));
        f.setPixelSize(13);
        setFont(f);
        auto* layout = new QVBoxLayout(this);
        auto* top = new QHBoxLayout;
        auto* logo = new QLabel(this);
        logo->setPixmap(EditorIcon(QStringLiteral("PreloxLogo"), 64).pixmap(64, 64));
        top->addWidget(logo, 0, Qt::AlignTop);
        auto* texts = new QVBoxLayout;
        auto* name = new QLabel(QStringLiteral("Quarvel - Question Editor"), this);
        QFont bold = f;
        bold.setBold(true);
        name->setFont(bold);
        texts->addWidget(name);
        auto* version = new QLabel(QStringLiteral("Version ") + FileVersionText(), this);
        version->setObjectName(QStringLiteral("VersionLabel"));
        texts->addWidget(version);
        texts->addStretch(1);
        top->addLayout(texts);
        layout->addLayout(top);
        auto* ok = new QPushButton(QStringLiteral("OK"), this);
        connect(ok, &QPushButton::clicked, this, &QDialog::accept);
        layout->addWidget(ok, 0, Qt::AlignHCenter);
        layout->setSizeConstraint(QLayout::SetFixedSize);
    }
    // The four parts of the program's version, most significant first.
    static QString FileVersionText() {
        QStringList parts = VersionText().split(QLatin1Char('.'));
        while (parts.size() < 4)
            parts << QStringLiteral("0");
        return QStringLiteral("%1.%2.%3.%4").arg(parts[0].toInt()).arg(parts[1].toInt()).arg(parts[2].toInt()).arg(
            parts[3].toInt());
    }
};
} // namespace

TQuestionItem::TQuestionItem(const TMCQuestion& q, int number)
    : QListWidgetItem(QuestionCaption(number), nullptr, QListWidgetItem::UserType), Question(q) {
    setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
    setCheckState(Qt::Unchecked);
}

TEditFrm::TEditFrm(const TEditorSetup& setup, QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("EditFrm"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    QFont f = font();
    f.setPixelSize(13);
    setFont(f);
    m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    PrinterInstalled = [] { return !QPrinterInfo::availablePrinterNames().isEmpty(); };

    BuildActions();
    BuildMenus();
    BuildToolbar();
    BuildLeftPanel();
    BuildEditPanel();
    BuildStatusBar();
    SetUpSpeller();
    PlaceWindow();

    WorkingCopy = std::make_unique<TMCQuestion>();

    const TVantrelIni ini = ReadVantrelIni(setup.ProgramFolder);
    QuestionFolder = QDir::cleanPath(ini.QuestionFolder);
    const QString images = ResolveContentPath(QuestionFolder, QStringLiteral("images"));
    ImagesFolder = images.isEmpty() ? QuestionFolder + QStringLiteral("/images") : images;
    PictureFolder = ImagesFolder;

    if (const QString topics = ResolveContentPath(QuestionFolder, QStringLiteral("test-topics.txt"));
        !topics.isEmpty()) {
        for (const QString& line : ReadTopicList(topics)) {
            auto* item = new QListWidgetItem(line, TopicListbox);
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
            item->setCheckState(Qt::Unchecked);
        }
    }

    const QString css = ResolveContentPath(QuestionFolder, QStringLiteral("css/qstyle.css"));
    m_styleSheet = css.isEmpty() ? QuestionFolder + QStringLiteral("/css/qstyle.css") : css;
    // The pupil's pages take their buttons and pictures from the question
    // folder, as the test window does, whatever file is open later.
    m_pageImages = ImagesFolder + QLatin1Char('/');
    SetPagePaths(m_pageImages, m_styleSheet);

    const QString start = !setup.StartFile.isEmpty() ? QFileInfo(setup.StartFile).absoluteFilePath()
                          : QFileInfo::exists(ini.TestFilePath) ? ini.TestFilePath
                                                                : QString();
    ShowPicture(QString());
    if (!start.isEmpty())
        LoadStartFile(start);

    SetCaption();
    if (Count() > 0)
        Select(0);
    ShowSelectedQuestion();

    const QString help = ResolveContentPath(setup.ProgramFolder, QStringLiteral("Help/Pellinor.chm"));
    HelpFile = help.isEmpty() ? QDir(setup.ProgramFolder).filePath(QStringLiteral("Help/Pellinor.chm")) : help;
    Contents1->setEnabled(!help.isEmpty());
    SearchforHelpOn1->setEnabled(!help.isEmpty());

    RefreshControls();
    RefreshListButtons();
    ApplyColourScheme();

    PrintBrowser = new QWebEngineView(this);
    PrintBrowser->setObjectName(QStringLiteral("PrintBrowser"));
    PrintBrowser->setFixedSize(0, 0);
    PrintBrowser->hide();
}

TEditFrm::~TEditFrm() {
    // The pages go before their views' profile.
    delete Viewer;
    delete PrintBrowser;
}

// --- building the window ---

void TEditFrm::BuildActions() {
    auto make = [this](const char* name, const QString& text, const QString& icon = QString(), int size = 16) {
        auto* a = new QAction(text, this);
        a->setObjectName(QLatin1String(name));
        if (!icon.isEmpty())
            a->setIcon(EditorIcon(icon, size));
        return a;
    };
    New1 = make("New1", QStringLiteral("&New"), QStringLiteral("NewPage"));
    Open1 = make("Open1", QStringLiteral("&Open.."), QStringLiteral("File_open"));
    Open1->setShortcut(QKeySequence::Open);
    Save1 = make("Save1", QStringLiteral("&Save"), QStringLiteral("save16_h"));
    Save1->setShortcut(QKeySequence::Save);
    SaveAs1 = make("SaveAs1", QStringLiteral("S&ave as..."));
    Import1 = make("Import1", QStringLiteral("Import.."), QStringLiteral("file_import16"));
    Questionfile1 = make("Questionfile1", QStringLiteral("Export selected questions"), QStringLiteral("file_export16"));
    ConvertFile1 = make("ConvertFile1", QStringLiteral("Convert file"));
    XML1 = make("XML1", QStringLiteral("Export to XML"));
    PrintAll1 = make("PrintAll1", QStringLiteral("All questions"));
    PrintSelected1 = make("PrintSelected1", QStringLiteral("Selected questions"));
    PrintSetup1 = make("PrintSetup1", QStringLiteral("P&rint Setup.."));
    Exit1 = make("Exit1", QStringLiteral("Exit"));
    CheckAll1 = make("CheckAll1", QStringLiteral("Check all entries"));
    Clearchecks1 = make("Clearchecks1", QStringLiteral("Clear checks"));
    Renumber1 = make("Renumber1", QStringLiteral("Renumber"));
    Autosave1 = make("Autosave1", QStringLiteral("Auto save"));
    Autosave1->setCheckable(true);
    Autosave1->setChecked(false);
    Spellcheck1 = make("Spellcheck1", QStringLiteral("Spell check all questions"), QStringLiteral("properties_doc16_h"));
    Spellcheck2 = make("Spellcheck2", QStringLiteral("Spell check the current question"));
    Spellcheck2->setShortcut(QKeySequence(Qt::Key_F7));
    Contents1 = make("Contents1", QStringLiteral("Contents"), QStringLiteral("help16"));
    Contents1->setShortcut(QKeySequence::HelpContents);
    SearchforHelpOn1 = make("SearchforHelpOn1", QStringLiteral("Search for help on..."));
    About1 = make("About1", QStringLiteral("About"));

    connect(New1, &QAction::triggered, this, &TEditFrm::New1Click);
    connect(Open1, &QAction::triggered, this, &TEditFrm::Open1Click);
    connect(Save1, &QAction::triggered, this, &TEditFrm::Save1Click);
    connect(SaveAs1, &QAction::triggered, this, &TEditFrm::SaveAs1Click);
    connect(Import1, &QAction::triggered, this, &TEditFrm::Import1Click);
    connect(Questionfile1, &QAction::triggered, this, &TEditFrm::Questionfile1Click);
    connect(ConvertFile1, &QAction::triggered, this, &TEditFrm::ConvertFile1Click);
    connect(XML1, &QAction::triggered, this, &TEditFrm::XML1Click);
    connect(PrintAll1, &QAction::triggered, this, &TEditFrm::PrintAll1Click);
    connect(PrintSelected1, &QAction::triggered, this, &TEditFrm::PrintSelected1Click);
    connect(PrintSetup1, &QAction::triggered, this, &TEditFrm::PrintSetup1Click);
    connect(Exit1, &QAction::triggered, this, &QWidget::close);
    connect(CheckAll1, &QAction::triggered, this, &TEditFrm::CheckAll1Click);
    connect(Clearchecks1, &QAction::triggered, this, &TEditFrm::Clearchecks1Click);
    connect(Renumber1, &QAction::triggered, this, &TEditFrm::Renumber1Click);
    connect(Spellcheck1, &QAction::triggered, this, &TEditFrm::Spellcheck1Click);
    connect(Spellcheck2, &QAction::triggered, this, &TEditFrm::Spellcheck2Click);
    connect(Contents1, &QAction::triggered, this, [this] { emit HelpRequested(HelpFile, false); });
    connect(SearchforHelpOn1, &QAction::triggered, this, [this] { emit HelpRequested(HelpFile, true); });
    connect(About1, &QAction::triggered, this, &TEditFrm::About1Click);
}

void TEditFrm::BuildMenus() {
    File1 = menuBar()->addMenu(QStringLiteral("&File"));
    File1->setObjectName(QStringLiteral("File1"));
    File1->addActions({New1, Open1, Save1, SaveAs1});
    File1->addSeparator();
    File1->addActions({Import1, Questionfile1, ConvertFile1, XML1});
    File1->addSeparator();
    Print1 = File1->addMenu(EditorIcon(QStringLiteral("print16_h"), 16), QStringLiteral("&Print"));
    Print1->setObjectName(QStringLiteral("Print1"));
    Print1->addActions({PrintAll1, PrintSelected1});
    File1->addAction(PrintSetup1);
    File1->addSeparator();
    File1->addAction(Exit1);
    connect(File1, &QMenu::aboutToShow, this, &TEditFrm::File1Popup);
    connect(Print1, &QMenu::aboutToShow, this, &TEditFrm::Print1Popup);

    Questions1 = menuBar()->addMenu(QStringLiteral("&Questions"));
    Questions1->setObjectName(QStringLiteral("Questions1"));
    Questions1->addActions({CheckAll1, Clearchecks1, Renumber1});
    connect(Questions1, &QMenu::aboutToShow, this, &TEditFrm::Questions1Popup);

    QMenu* options = menuBar()->addMenu(QStringLiteral("Options"));
    options->setObjectName(QStringLiteral("Options1"));
    options->addAction(Autosave1);
    QMenu* tools = menuBar()->addMenu(QStringLiteral("&Tools"));
    tools->setObjectName(QStringLiteral("Tools1"));
    tools->addActions({Spellcheck1, Spellcheck2});
    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    help->setObjectName(QStringLiteral("Help1"));
    help->addActions({Contents1, SearchforHelpOn1, About1});
}

void TEditFrm::BuildToolbar() {
    Toolbar = addToolBar(QStringLiteral("Toolbar"));
    Toolbar->setObjectName(QStringLiteral("Toolbar"));
    Toolbar->setMovable(false);
    Toolbar->setFloatable(false);
    Toolbar->setIconSize(QSize(24, 24));
    Toolbar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    auto make = [this](const char* name, const QString& text, const QString& icon, const QString& hint) {
        auto* a = new QAction(EditorIcon(icon, 24), text, this);
        a->setObjectName(QLatin1String(name));
        Hint(a, hint);
        Toolbar->addAction(a);
        return a;
    };
    FileOpenBtn = make("FileOpenBtn", QStringLiteral("Open"), QStringLiteral("FileOpen"),
                       QStringLiteral("Open a file of questions"));
    FileSaveBtn = make("FileSaveBtn", QStringLiteral("Save"), QStringLiteral("FileSave"),
                       QStringLiteral("Save the current quesion file"));
    Toolbar->addSeparator();
    NewBtn = make("NewBtn", QStringLiteral("New"), QStringLiteral("AddToList2"), QStringLiteral("Add a new question"));
    EditBtn = make("EditBtn", QStringLiteral("Edit"), QStringLiteral("Edit24"),
                   QStringLiteral("Edit the current question"));
    UpdateBtn = make("UpdateBtn", QStringLiteral("Update"), QStringLiteral("UpdateList"),
                     QStringLiteral("Save changes to the current question"));
    CancelBtn = make("CancelBtn", QStringLiteral("Cancel"), QStringLiteral("CancelEdit"),
                     QStringLiteral("Cancel changes"));
    HTMLBtn = make("HTMLBtn", QStringLiteral("Preview"), QStringLiteral("print_preview24_h"),
                   QStringLiteral("Preview question"));
    HTMLBtn->setCheckable(true);
    auto* gap = new QWidget(Toolbar);
    gap->setFixedWidth(24);
    Toolbar->addWidget(gap);
    EditLabel = new QLabel(Toolbar);
    EditLabel->setObjectName(QStringLiteral("EditLabel"));
    QFont big = font();
    big.setPixelSize(16);
    big.setBold(true);
    EditLabel->setFont(big);
    Toolbar->addWidget(EditLabel);

    connect(FileOpenBtn, &QAction::triggered, this, &TEditFrm::Open1Click);
    connect(FileSaveBtn, &QAction::triggered, this, &TEditFrm::Save1Click);
    for (QAction* a : {NewBtn, EditBtn, UpdateBtn, CancelBtn})
        connect(a, &QAction::triggered, this, [this, a] { SetEditStatus(a); });
    connect(HTMLBtn, &QAction::triggered, this, &TEditFrm::HTMLBtnClick);
}

void TEditFrm::BuildLeftPanel() {
    Splitter1 = new QSplitter(Qt::Horizontal, this);
    Splitter1->setObjectName(QStringLiteral("Splitter1"));
    Splitter1->setHandleWidth(10);
    Splitter1->setChildrenCollapsible(false);
    setCentralWidget(Splitter1);

    LeftPanel = new QWidget(Splitter1);
    LeftPanel->setObjectName(QStringLiteral("LeftPanel"));
    auto* layout = new QVBoxLayout(LeftPanel);
    layout->setContentsMargins(4, 4, 0, 4);
    layout->setSpacing(2);
    auto* label = new QLabel(QStringLiteral("Questions"), LeftPanel);
    label->setObjectName(QStringLiteral("QListLabel"));
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    layout->addWidget(label);
    QListToolbar = new QToolBar(LeftPanel);
    QListToolbar->setObjectName(QStringLiteral("QListToolbar"));
    QListToolbar->setIconSize(QSize(24, 24));
    QListToolbar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    auto make = [this](const char* name, const QString& text, const QString& icon, const QString& hint) {
        auto* a = QListToolbar->addAction(EditorIcon(icon, 24), text);
        a->setObjectName(QLatin1String(name));
        Hint(a, hint);
        return a;
    };
    UpBtn = make("UpBtn", QStringLiteral("Up"), QStringLiteral("Blue_up_arw"),
                 QStringLiteral("Move selected question up"));
    DownBtn = make("DownBtn", QStringLiteral("Down"), QStringLiteral("Blue_down_arw"),
                   QStringLiteral("Move selected question down"));
    DeleteBtn = make("DeleteBtn", QStringLiteral("Delete"), QStringLiteral("Delete"),
                     QStringLiteral("Delete selected question"));
    connect(UpBtn, &QAction::triggered, this, [this] { MoveBtnClick(true); });
    connect(DownBtn, &QAction::triggered, this, [this] { MoveBtnClick(false); });
    connect(DeleteBtn, &QAction::triggered, this, &TEditFrm::DeleteBtnClick);
    layout->addWidget(QListToolbar);

    QListBox = new QListWidget(LeftPanel);
    QListBox->setObjectName(QStringLiteral("QListBox"));
    QListBox->setUniformItemSizes(true);
    QListBox->setSelectionMode(QAbstractItemView::SingleSelection);
    QListBox->setStyleSheet(QStringLiteral("QListWidget::item { height: 16px; }"));
    Hint(QListBox, QStringLiteral("Click to select a question"));
    QListBox->installEventFilter(this);
    connect(QListBox, &QListWidget::currentRowChanged, this, [this] {
        ShowSelectedQuestion();
        RefreshListButtons();
        RefreshControls();
    });
    layout->addWidget(QListBox, 1);
}

void TEditFrm::BuildEditPanel() {
    RightStack = new QStackedWidget(Splitter1);
    RightStack->setObjectName(QStringLiteral("RightStack"));
    EditPanel = new QWidget(RightStack);
    EditPanel->setObjectName(QStringLiteral("EditPanel"));
    auto* editLayout = new QVBoxLayout(EditPanel);
    editLayout->setContentsMargins(0, 4, 4, 4);
    Splitter2 = new QSplitter(Qt::Vertical, EditPanel);
    Splitter2->setObjectName(QStringLiteral("Splitter2"));
    Splitter2->setHandleWidth(9);
    Splitter2->setChildrenCollapsible(false);
    editLayout->addWidget(Splitter2);

    TopPanel = new QWidget(Splitter2);
    TopPanel->setObjectName(QStringLiteral("TopPanel"));
    auto* top = new QHBoxLayout(TopPanel);
    top->setContentsMargins(0, 0, 0, 0);

    auto* topics = new QVBoxLayout;
    auto* topicLabel = new QLabel(QStringLiteral("Topic area"), TopPanel);
    topicLabel->setObjectName(QStringLiteral("TopicLabel"));
    topics->addWidget(topicLabel);
    TopicListbox = new QListWidget(TopPanel);
    TopicListbox->setObjectName(QStringLiteral("TopicListbox"));
    TopicListbox->setUniformItemSizes(true);
    TopicListbox->setSelectionMode(QAbstractItemView::NoSelection);
    TopicListbox->setMinimumWidth(170);
    Hint(TopicListbox, QStringLiteral("Tick one or more boxes to show topic areas"));
    topics->addWidget(TopicListbox, 1);
    top->addLayout(topics, 2);

    AnswerRG = new QGroupBox(QStringLiteral(" Correct answer "), TopPanel);
    AnswerRG->setObjectName(QStringLiteral("AnswerRG"));
    Hint(AnswerRG, QStringLiteral("Select the correct answer for the question"));
    // Browsing shows the correct answer too: keep it readable while the group is off.
    AnswerRG->setStyleSheet(QStringLiteral("QRadioButton:disabled { color: #303030; }"));
    auto* answers = new QVBoxLayout(AnswerRG);
    AnswerButtons = new QButtonGroup(this);
    for (int i = 0; i < 5; ++i) {
        auto* r = new QRadioButton(QString(QChar(char16_t('A' + i))), AnswerRG);
        r->setObjectName(QStringLiteral("Answer%1").arg(QChar(char16_t('A' + i))));
        AnswerButtons->addButton(r, i);
        answers->addWidget(r);
    }
    answers->addStretch(1);
    top->addWidget(AnswerRG, 0);

    auto* picture = new QVBoxLayout;
    PicToolbar = new QToolBar(TopPanel);
    PicToolbar->setObjectName(QStringLiteral("PicToolbar"));
    PicToolbar->setIconSize(QSize(24, 24));
    AddPicBtn = PicToolbar->addAction(EditorIcon(QStringLiteral("AddPic"), 24), QStringLiteral("Add picture"));
    AddPicBtn->setObjectName(QStringLiteral("AddPicBtn"));
    Hint(AddPicBtn, QStringLiteral("Add a picture"));
    ClearPicBtn = PicToolbar->addAction(EditorIcon(QStringLiteral("DeletePic"), 24), QStringLiteral("Remove picture"));
    ClearPicBtn->setObjectName(QStringLiteral("ClearPicBtn"));
    Hint(ClearPicBtn, QStringLiteral("Remove the picture"));
    connect(AddPicBtn, &QAction::triggered, this, &TEditFrm::AddPicBtnClick);
    connect(ClearPicBtn, &QAction::triggered, this, &TEditFrm::ClearPicBtnClick);
    picture->addWidget(PicToolbar);
    PicFileLabel = new QLabel(TopPanel);
    PicFileLabel->setObjectName(QStringLiteral("PicFileLabel"));
    PicFileLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    picture->addWidget(PicFileLabel);
    PicSizeLabel = new QLabel(TopPanel);
    PicSizeLabel->setObjectName(QStringLiteral("PicSizeLabel"));
    picture->addWidget(PicSizeLabel);
    // A large picture scrolls inside its area rather than pushing the editor apart.
    auto* scroll = new QScrollArea(TopPanel);
    scroll->setObjectName(QStringLiteral("PicScroll"));
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QPic = new QLabel;
    QPic->setObjectName(QStringLiteral("QPic"));
    scroll->setWidget(QPic);
    scroll->setWidgetResizable(false);
    picture->addWidget(scroll, 1);
    top->addLayout(picture, 3);

    auto* bottomPanel = new QWidget(Splitter2);
    bottomPanel->setObjectName(QStringLiteral("BottomPanel"));
    auto* bottom = new QVBoxLayout(bottomPanel);
    bottom->setContentsMargins(0, 0, 0, 0);
    bottom->setSpacing(0);
    QTab = new QTabBar(bottomPanel);
    QTab->setObjectName(QStringLiteral("QTab"));
    QTab->setExpanding(false);
    QTab->setDrawBase(true);
    for (const char* name : kPageNames)
        QTab->addTab(QString::fromLatin1(name));
    connect(QTab, &QTabBar::currentChanged, this, &TEditFrm::QTabChange);
    bottom->addWidget(QTab);
    QEdit = new QPlainTextEdit(bottomPanel);
    QEdit->setObjectName(QStringLiteral("QEdit"));
    QFont editFont = font();
    editFont.setPixelSize(16);
    QEdit->setFont(editFont);
    Hint(QEdit, QStringLiteral("Type question / answer text in the box. Use CTRL + left/right arrow key to change pages."));
    QEdit->installEventFilter(this);
    QEdit->viewport()->installEventFilter(this);
    bottom->addWidget(QEdit, 1);

    RightStack->addWidget(EditPanel);
    Viewer = new QWebEngineView(RightStack);
    Viewer->setObjectName(QStringLiteral("Viewer"));
    Viewer->setPage(new TPreviewPage(Viewer));
    RightStack->addWidget(Viewer);
    RightStack->setCurrentWidget(EditPanel);

    Splitter1->addWidget(LeftPanel);
    Splitter1->addWidget(RightStack);
    Splitter1->setStretchFactor(0, 0);
    Splitter1->setStretchFactor(1, 1);
    Splitter1->setSizes({144, 640});
}

void TEditFrm::BuildStatusBar() {
    StatusPanel0 = new QLabel(this);
    StatusPanel0->setObjectName(QStringLiteral("StatusPanel0"));
    StatusPanel0->setFixedWidth(150);
    StatusPanel1 = new QLabel(this);
    StatusPanel1->setObjectName(QStringLiteral("StatusPanel1"));
    StatusPanel1->setMinimumWidth(50);
    statusBar()->addWidget(StatusPanel0);
    statusBar()->addWidget(StatusPanel1, 1);
}

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

void TEditFrm::PlaceWindow() {
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) {
        setWindowState(Qt::WindowMaximized);
        return;
    }
    const QRect work = screen->availableGeometry();
    const QRect full = screen->geometry();
    QRect r = work;
    // On a wide screen a 4:3 window reads better than a stretched one.
    if (double(full.width()) / double(full.height()) > 1.4) {
        r.setWidth(work.height() * 4 / 3);
        r.moveLeft((full.width() - r.width()) / 2);
    }
    setGeometry(r);
}

void TEditFrm::ApplyColourScheme() {
    const QSettings vantrel(QStringLiteral("Brantock"), QStringLiteral("Quarvel"));
    const TSkin* skin = nullptr;
    const QVariant value = vantrel.value(QStringLiteral("Skin"));
    if (value.isValid())
        skin = FindSkin(value.toString());
    if (!skin)
        skin = FindSkin(QStringLiteral("Office 2007 blue"));
    if (skin)
        ApplySkinToApplication(*skin);
}

void TEditFrm::showEvent(QShowEvent* e) {
    QMainWindow::showEvent(e);
    if (m_shown)
        return;
    m_shown = true;
    const int h = EditPanel->height();
    Splitter2->setSizes({h / 2, h - h / 2});
}

bool TEditFrm::event(QEvent* e) {
    // Every hint goes to the second status panel.
    if (e->type() == QEvent::StatusTip) {
        StatusPanel1->setText(static_cast<QStatusTipEvent*>(e)->tip());
        return true;
    }
    return QMainWindow::event(e);
}

// --- the document ---

int TEditFrm::Count() const { return QListBox->count(); }

TQuestionItem* TEditFrm::Item(int index) const {
    return static_cast<TQuestionItem*>(QListBox->item(index));
}

TMCQuestion* TEditFrm::Question(int index) const {
    TQuestionItem* item = Item(index);
    return item ? &item->Question : nullptr;
}

int TEditFrm::Selected() const { return QListBox->currentRow(); }

void TEditFrm::Select(int index) {
    const QSignalBlocker block(QListBox);
    if (index < 0 || index >= Count()) {
        QListBox->setCurrentRow(-1);
        QListBox->clearSelection();
    } else {
        QListBox->setCurrentRow(index);
    }
}

bool TEditFrm::IsChecked(int index) const {
    const TQuestionItem* item = Item(index);
    return item && item->checkState() == Qt::Checked;
}

void TEditFrm::SetChecked(int index, bool checked) {
    if (TQuestionItem* item = Item(index))
        item->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
}

std::vector<TMCQuestion> TEditFrm::Questions() const {
    std::vector<TMCQuestion> out;
    out.reserve(std::size_t(Count()));
    for (int i = 0; i < Count(); ++i)
        out.push_back(Item(i)->Question);
    return out;
}

std::vector<const TMCQuestion*> TEditFrm::CheckedQuestions() const {
    std::vector<const TMCQuestion*> out;
    for (int i = 0; i < Count(); ++i)
        if (IsChecked(i))
            out.push_back(Question(i));
    return out;
}

void TEditFrm::ReplaceList(std::vector<TMCQuestion>&& questions) {
    const QSignalBlocker block(QListBox);
    QListBox->setUpdatesEnabled(false);
    QListBox->clear();
    AppendQuestions(std::move(questions));
    QListBox->setUpdatesEnabled(true);
}

void TEditFrm::AppendQuestions(std::vector<TMCQuestion>&& questions) {
    const QSignalBlocker block(QListBox);
    int number = Count();
    for (TMCQuestion& q : questions)
        QListBox->addItem(new TQuestionItem(q, ++number));
}

void TEditFrm::MarkChanged() {
    const int before = DocumentState;
    DocumentState = MarkedChanged(DocumentState);
    if (before != DocumentState)
        SetCaption();
}

void TEditFrm::SetCaption() { setWindowTitle(EditorCaption(DocumentState, FileName)); }

void TEditFrm::ReportError(const QString& text) { ErrorBox(this, text); }


void TEditFrm::LoadStartFile(const QString& path) {
    try {
        ReplaceList(ReadQuestionFile(path, TReader::Prelox));
        FileName = path;
        DocumentState = dsNamed;
    } catch (const std::exception& e) {
        // A broken file named in the settings must not keep the teacher out:
        // they get a new, empty document and the reason.
        StartupError = QString::fromUtf8(e.what());
        ReplaceList({});
        FileName.clear();
        DocumentState = dsNew;
        ReportError(StartupError);
    }
}

bool TEditFrm::SavePrompt() {
    if (!IsChanged(DocumentState))
        return true;
    const QString name = FileName.isEmpty() ? QStringLiteral("Untitled") : FileName;
    switch (YesNoCancelBox(this, name + QStringLiteral(" has changed.\r\nDo you want to save the changes?"))) {
    case TSaveAnswer::Cancel:
        return false;
    case TSaveAnswer::No:
        return true;
    case TSaveAnswer::Yes:
        break;
    }
    if (EditMode != emBrowse)
        UpdateQuestion(false);
    // Going on after a save that did not happen would throw the changes away.
    return DocumentState == dsNewChanged ? SaveAs1Click() : Save1Click();
}

void TEditFrm::closeEvent(QCloseEvent* e) {
    if (m_closeWithoutAsking) {
        e->accept();
        return;
    }
    bool close = false;
    if (IsChanged(DocumentState))
        close = SavePrompt();
    else
        close = ConfirmBox(this, QStringLiteral("Close program"));
    if (close)
        e->accept();
    else
        e->ignore();
}

void TEditFrm::CloseWithoutAsking() {
    m_closeWithoutAsking = true;
    close();
}

void TEditFrm::New1Click() {
    if (!SavePrompt())
        return;
    ReplaceList({});
    SetCorrectAnswer(-1);
    QEdit->clear();
    FileName.clear();
    DocumentState = dsNew;
    SetCaption();
    WorkingCopy->Picture.clear();
    ShowPicture(QString());
    ReturnToBrowse();
    ShowSelectedQuestion();
}

void TEditFrm::ReturnToBrowse() {
    EditMode = emBrowse;
    ShowPreview(false);
    RefreshControls();
    RefreshListButtons();
}

void TEditFrm::Open1Click() {
    if (!SavePrompt())
        return;
    const QString path = AskFileName(this, {TFileDialogKind::Open, QStringLiteral("Open a question file"), kUmqFilter,
                                            QuestionFolder, QString(), QString()});
    if (!path.isEmpty())
        OpenFile(path);
}

std::optional<std::vector<TMCQuestion>> TEditFrm::ReadOrReport(const std::function<std::vector<TMCQuestion>()>& read) {
    try {
        return read();
    } catch (const std::exception& e) {
        ReportError(QString::fromUtf8(e.what()));
        return std::nullopt;
    }
}

bool TEditFrm::OpenFile(const QString& path) {
    // Read into a list of its own: a file that fails leaves the document as it was.
    auto questions = ReadOrReport([&] { return ReadQuestionFile(path, TReader::Prelox); });
    if (!questions)
        return false;
    ReplaceList(std::move(*questions));
    DocumentState = dsNamed;
    FileName = QFileInfo(path).absoluteFilePath();
    Select(Count() > 0 ? 0 : -1);
    ReturnToBrowse();
    // Only the picture area follows the file; the page paths stay as set at start-up.
    ImagesFolder = QFileInfo(FileName).absolutePath() + QStringLiteral("/images");
    ShowSelectedQuestion();
    SetCaption();
    return true;
}

bool TEditFrm::Save1Click() {
    if (DocumentState == dsNamed || DocumentState == dsNamedChanged)
        return SaveToFile(FileName);
    return SaveAs1Click();
}

bool TEditFrm::SaveAs1Click() {
    TFileRequest r{TFileDialogKind::Save, QStringLiteral("Save question file as"), kUmqFilter, QuestionFolder,
                   QString(), QStringLiteral("umq")};
    // A converted file is offered beside the old one, under the new extension.
    if (!FileName.isEmpty()) {
        r.Folder = QFileInfo(FileName).absolutePath();
        r.ProposedName = QFileInfo(WithExtension(FileName, QStringLiteral(".umq"))).fileName();
    }
    const QString path = AskSaveName(r, QStringLiteral(".umq"));
    return !path.isEmpty() && SaveToFile(path);
}

QString TEditFrm::AskSaveName(const TFileRequest& request, const QString& extension) {
    const QString chosen = AskFileName(this, request);
    if (chosen.isEmpty())
        return {};
    const QString path = WithExtension(chosen, extension);
    // The dialog asked about the name typed; ask again for the name we write.
    if (path != chosen && QFileInfo::exists(path) &&
        !ConfirmBox(this, path + QStringLiteral(" already exists.\r\nDo you want to replace it?")))
        return {};
    return path;
}

bool TEditFrm::SaveToFile(const QString& path) {
    QString error;
    if (!WriteFileSafely(path, QuestionFileBytes(Questions()), &error)) {
        ReportError(error);
        return false;
    }
    FileName = QFileInfo(path).absoluteFilePath();
    DocumentState = dsNamed;
    SetCaption();
    return true;
}

void TEditFrm::Import1Click() {
    // The working copy belongs to the question on show; importing would move
    // the list under it, so the edit must end first.
    if (EditMode != emBrowse) {
        ShowBox(this, TBoxKind::Information,
                QStringLiteral("Please update or cancel the question you are editing\r\nbefore importing questions."));
        return;
    }
    const QString path = AskFileName(this, {TFileDialogKind::Open, QStringLiteral("Import questions"), kUmqFilter,
                                            QuestionFolder, QString(), QString()});
    if (!path.isEmpty())
        ImportFile(path);
}

bool TEditFrm::ImportFile(const QString& path) {
    if (EditMode != emBrowse)
        return false;
    auto questions = ReadOrReport([&] { return ReadQuestionFile(path, TReader::Prelox); });
    if (!questions)
        return false;
    AppendQuestions(std::move(*questions));
    Select(Count() > 0 ? 0 : -1);
    ShowSelectedQuestion();
    MarkChanged();
    RefreshListButtons();
    RefreshControls();
    return true;
}

void TEditFrm::Questionfile1Click() {
    const QString path = AskSaveName({TFileDialogKind::Save, QStringLiteral("Save question file as"), kUmqFilter,
                                      QuestionFolder, QString(), QStringLiteral("umq")},
                                     QStringLiteral(".umq"));
    if (!path.isEmpty())
        ExportSelectedTo(path);
}

bool TEditFrm::ExportSelectedTo(const QString& path) {
    std::vector<TMCQuestion> checked;
    for (const TMCQuestion* q : CheckedQuestions())
        checked.push_back(*q);
    QString error;
    if (!WriteFileSafely(path, QuestionFileBytes(checked), &error)) {
        ReportError(error);
        return false;
    }
    return true;
}

void TEditFrm::ConvertFile1Click() {
    if (!SavePrompt())
        return;
    const QString path = AskFileName(this, {TFileDialogKind::Open, QStringLiteral("Convert a question file"),
                                            kConvertFilter, QuestionFolder, QString(), QString()});
    if (!path.isEmpty())
        ConvertFromFile(path);
}

bool TEditFrm::ConvertFromFile(const QString& path) {
    auto questions = ReadOrReport([&] { return ReadLegacyQuestionFile(path); });
    if (!questions)
        return false;
    ReplaceList(std::move(*questions));
    FileName = QFileInfo(path).absoluteFilePath();
    // The converted list is not yet a file of the current layout: Save asks
    // for a name rather than writing over the older file.
    DocumentState = dsNewChanged;
    Select(Count() > 0 ? 0 : -1);
    ReturnToBrowse();
    ShowSelectedQuestion();
    SetCaption();
    return true;
}

void TEditFrm::XML1Click() {
    const QString path = AskSaveName({TFileDialogKind::Save, QStringLiteral("Export to XML"), kXmlFilter,
                                      QuestionFolder, QString(), QStringLiteral("xml")},
                                     QStringLiteral(".xml"));
    if (!path.isEmpty())
        ExportXmlTo(path);
}

bool TEditFrm::ExportXmlTo(const QString& path) {
    QString error;
    if (!WriteFileSafely(path, XmlExportBytes(CheckedQuestions()), &error)) {
        ReportError(error);
        return false;
    }
    return true;
}

QString TEditFrm::PrintPage(bool selectedOnly) const {
    QString html = PrintPageHead();
    int number = 0;
    for (int i = 0; i < Count(); ++i) {
        if (selectedOnly && !IsChecked(i))
            continue;
        ++number;
        html += PrintEntry(*Question(i), selectedOnly ? number : i + 1);
    }
    return html + QStringLiteral("</body></html>");
}

void TEditFrm::Print(bool selectedOnly) {
    if (!PrinterInstalled()) {
        ShowBox(this, TBoxKind::Information, QStringLiteral("No printer installed"));
        return;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QString html;
    try {
        html = PrintPage(selectedOnly);
    } catch (...) {
        QApplication::restoreOverrideCursor();
        return;
    }
    PrintBrowser->disconnect(this);
    connect(PrintBrowser, &QWebEngineView::loadFinished, this, [this](bool) {
        PrintBrowser->disconnect(this);
        PrintBrowser->page()->printToPdf(
            [this](const QByteArray& pdf) {
                QApplication::restoreOverrideCursor();
                auto* preview = new QPrintPreviewDialog(m_printer.get(), this);
                preview->setObjectName(QStringLiteral("PrintPreview"));
                preview->setAttribute(Qt::WA_DeleteOnClose);
                const QString title = windowTitle();
                connect(preview, &QPrintPreviewDialog::paintRequested, this,
                        [pdf, title](QPrinter* printer) { PaintPdfPages(printer, pdf, title, QUrl()); });
                preview->setWindowState(Qt::WindowNoState);
                preview->show();
            },
            CoursePageLayout());
    });
    PrintBrowser->setHtml(html, QUrl::fromLocalFile(m_pageImages));
}

void TEditFrm::PrintSetup1Click() {
    QPageSetupDialog dialog(m_printer.get(), this);
    dialog.exec();
}

// --- the list ---

void TEditFrm::MoveBtnClick(bool up) {
    const int i = Selected();
    if (i < 0 || EditMode != emBrowse)
        return;
    const int j = up ? i - 1 : i + 1;
    if (j < 0 || j >= Count())
        return;
    const QSignalBlocker block(QListBox);
    QListWidgetItem* item = QListBox->takeItem(i);
    QListBox->insertItem(j, item);
    Select(j);
    MarkChanged();
    RefreshListButtons();
}

void TEditFrm::DeleteBtnClick() {
    const int i = Selected();
    if (i < 0 || EditMode != emBrowse)
        return;
    if (!ConfirmBox(this, QStringLiteral("Delete the selected question?")))
        return;
    {
        const QSignalBlocker block(QListBox);
        delete QListBox->takeItem(i);
    }
    MarkChanged();
    Select(i < Count() ? i : -1);
    ShowSelectedQuestion();
    RefreshListButtons();
    RefreshControls();
}

void TEditFrm::Renumber1Click() {
    for (int i = 0; i < Count(); ++i)
        Item(i)->setText(QuestionCaption(i + 1));
    MarkChanged();
}

void TEditFrm::CheckAll1Click() {
    for (int i = 0; i < Count(); ++i)
        SetChecked(i, true);
}

void TEditFrm::Clearchecks1Click() {
    for (int i = 0; i < Count(); ++i)
        SetChecked(i, false);
}

void TEditFrm::File1Popup() {
    const bool any = Count() > 0;
    Save1->setEnabled(any);
    SaveAs1->setEnabled(any);
    Import1->setEnabled(any);
    Questionfile1->setEnabled(!CheckedQuestions().empty());
    Print1->setEnabled(any);
    Print1->menuAction()->setEnabled(any);
}

void TEditFrm::Print1Popup() {
    PrintAll1->setEnabled(Count() > 0);
    PrintSelected1->setEnabled(!CheckedQuestions().empty());
}

void TEditFrm::Questions1Popup() {
    const int checked = int(CheckedQuestions().size());
    CheckAll1->setEnabled(checked < Count());
    Clearchecks1->setEnabled(checked > 0);
    Renumber1->setEnabled(Count() > 0);
}

void TEditFrm::RefreshListButtons() {
    const bool browse = EditMode == emBrowse;
    const int i = Selected();
    UpBtn->setEnabled(browse && i > 0);
    DownBtn->setEnabled(browse && i >= 0 && i < Count() - 1);
    DeleteBtn->setEnabled(browse && i >= 0);
    QListBox->setEnabled(browse);
}

void TEditFrm::About1Click() {
    TAboutDlg dialog(this);
    dialog.exec();
}

bool TEditFrm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == QListBox && event->type() == QEvent::KeyPress) {
        if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete && EditMode == emBrowse) {
            DeleteBtnClick();
            return true;
        }
        return false;
    }
    if (QEdit && watched == QEdit && event->type() == QEvent::KeyPress) {
        auto* k = static_cast<QKeyEvent*>(event);
        const int key = k->key();
        if (key == Qt::Key_Shift || key == Qt::Key_Control || key == Qt::Key_Alt || key == Qt::Key_Meta ||
            key == Qt::Key_AltGr)
            return false;
        // Typing into the box while browsing starts an edit (a new question
        // when there is none), and the key then goes on as typed.
        if (EditMode == emBrowse)
            StartFromTextBox();
        if (k->modifiers() & Qt::ControlModifier) {
            if (key == Qt::Key_Right) {
                if (m_page < 5)
                    SetPage(m_page + 1);
                return true;
            }
            if (key == Qt::Key_Left) {
                if (m_page > 0)
                    SetPage(m_page - 1);
                return true;
            }
        }
        return false;
    }
    if (QEdit && watched == QEdit->viewport() && event->type() == QEvent::MouseButtonPress && EditMode == emBrowse) {
        StartFromTextBox();
        return false;
    }
    return QMainWindow::eventFilter(watched, event);
}

// --- editing ---

QString TEditFrm::PageText(const TMCQuestion& q, int page) const {
    return page == 0 ? q.Text : q.GetAnswer(page - 1);
}

void TEditFrm::StorePage(int page) {
    const QString text = FromEditText(QEdit->toPlainText());
    if (page == 0)
        WorkingCopy->Text = text;
    else
        WorkingCopy->SetAnswer(page - 1, text);
}

void TEditFrm::ShowPage(int page) {
    if (EditMode != emBrowse) {
        QEdit->setPlainText(ToEditText(PageText(*WorkingCopy, page)));
        return;
    }
    const TMCQuestion* q = Question(Selected());
    QEdit->setPlainText(q ? ToEditText(PageText(*q, page)) : QString());
}

int TEditFrm::CurrentPage() const { return m_page; }

void TEditFrm::SetPage(int page) { QTab->setCurrentIndex(page); }

void TEditFrm::QTabChange(int page) {
    if (page < 0)
        return;
    if (EditMode != emBrowse)
        StorePage(m_page);
    m_page = page;
    ShowPage(page);
}

void TEditFrm::ShowSelectedQuestion() {
    const int i = Selected();
    {
        const QSignalBlocker block(QTab);
        QTab->setCurrentIndex(0);
        m_page = 0;
    }
    if (const TMCQuestion* q = Question(i)) {
        QEdit->setPlainText(ToEditText(q->Text));
        SetCorrectAnswer(q->CorrectAnswer);
        TickTopics(q->TopicAreas);
        ShowPicture(q->Picture);
        m_previewHtml = QuestionPage(*q, i + 1);
        if (RightStack->currentWidget() == Viewer)
            Viewer->setHtml(m_previewHtml, QUrl::fromLocalFile(m_pageImages));
    } else {
        // Nothing of a question that is gone may stay on show.
        QEdit->clear();
        TickTopics(TTopicSet());
        SetCorrectAnswer(-1);
        ShowPicture(QString());
        m_previewHtml.clear();
        if (RightStack->currentWidget() == Viewer)
            Viewer->setHtml(m_previewHtml, QUrl::fromLocalFile(m_pageImages));
    }
    StatusPanel0->setText(QStringLiteral("Question %1 of %2").arg(i + 1).arg(Count()));
}

void TEditFrm::TickTopics(const TTopicSet& set) {
    for (int k = 0; k < TopicListbox->count(); ++k)
        TopicListbox->item(k)->setCheckState(k < 256 && set.test(std::size_t(k)) ? Qt::Checked : Qt::Unchecked);
}

TTopicSet TEditFrm::TickedTopics() const {
    TTopicSet set;
    for (int k = 0; k < TopicListbox->count() && k < 256; ++k)
        if (TopicListbox->item(k)->checkState() == Qt::Checked)
            set.set(std::size_t(k));
    return set;
}

void TEditFrm::SetCorrectAnswer(int index) {
    if (index >= 0 && index < 5) {
        AnswerButtons->button(index)->setChecked(true);
        return;
    }
    // A group that always keeps one button must let go of it for "none".
    AnswerButtons->setExclusive(false);
    for (QAbstractButton* b : AnswerButtons->buttons())
        b->setChecked(false);
    AnswerButtons->setExclusive(true);
}

int TEditFrm::CorrectAnswerChoice() const { return AnswerButtons->checkedId(); }

void TEditFrm::SetEditStatus(QAction* sender) {
    if (sender == NewBtn)
        NewQuestion();
    else if (sender == EditBtn)
        StartEdit();
    else if (sender == UpdateBtn)
        UpdateQuestion(true);
    else if (sender == CancelBtn)
        CancelEdit();
}

void TEditFrm::NewQuestion() {
    ShowPreview(false);
    WorkingCopy = std::make_unique<TMCQuestion>();
    {
        const QSignalBlocker block(QTab);
        QTab->setCurrentIndex(0);
        m_page = 0;
    }
    QEdit->clear();
    ShowPicture(QString());
    SetCorrectAnswer(-1);
    MarkChanged();
    EditMode = emNew;
    RefreshControls();
    RefreshListButtons();
    QEdit->setFocus();
}

void TEditFrm::StartEdit() {
    // With no question on show there is nothing to edit, and an Update
    // would have nowhere to put the text.
    const TMCQuestion* q = Question(Selected());
    if (!q)
        return;
    EditMode = emEdit;
    ShowPreview(false);
    WorkingCopy->Assign(q);
    MarkChanged();
    RefreshControls();
    RefreshListButtons();
}

void TEditFrm::StartFromTextBox() {
    // An empty text box (an empty list, or nothing selected after the last
    // question was deleted) is where a new question is written.
    if (Selected() < 0)
        NewQuestion();
    else
        StartEdit();
}

bool TEditFrm::UpdateQuestion(bool checkAnswer) {
    if (EditMode == emBrowse)
        return false;
    if (checkAnswer && CorrectAnswerChoice() < 0) {
        ShowBox(this, TBoxKind::Information,
                QStringLiteral("Please choose the correct answer, A to E.\r\nCorrect answer not set."));
        return false;
    }
    StorePage(m_page);
    WorkingCopy->CorrectAnswer = CorrectAnswerChoice();
    WorkingCopy->TopicAreas = TickedTopics();
    if (EditMode == emEdit) {
        if (TMCQuestion* q = Question(Selected()))
            q->Assign(WorkingCopy.get());
    } else {
        TMCQuestion copy;
        copy.Assign(WorkingCopy.get());
        {
            const QSignalBlocker block(QListBox);
            QListBox->addItem(new TQuestionItem(copy, Count() + 1));
        }
        Select(Count() - 1);
    }
    // The edit was marked when it started, but a Save since then has cleared
    // the mark while the change was still in the working copy.
    MarkChanged();
    if (Autosave1->isChecked() && DocumentState == dsNamedChanged)
        Save1Click();
    EditMode = emBrowse;
    ShowSelectedQuestion();
    RefreshControls();
    RefreshListButtons();
    return true;
}

void TEditFrm::CancelEdit() {
    EditMode = emBrowse;
    ShowSelectedQuestion();
    RefreshControls();
    RefreshListButtons();
}

void TEditFrm::RefreshControls() {
    const bool browse = EditMode == emBrowse;
    NewBtn->setEnabled(browse);
    EditBtn->setEnabled(browse && Count() > 0 && Selected() >= 0);
    UpdateBtn->setEnabled(!browse);
    CancelBtn->setEnabled(!browse);
    QEdit->setReadOnly(browse);
    HTMLBtn->setEnabled(browse);
    AnswerRG->setEnabled(!browse);
    AddPicBtn->setEnabled(!browse);
    ClearPicBtn->setEnabled(!browse);
    Spellcheck1->setEnabled(browse && Count() > 0);
    if (EditMode == emNew)
        EditLabel->setText(QStringLiteral("New question"));
    else if (EditMode == emEdit)
        EditLabel->setText(QStringLiteral("Editing question ") + QString::number(Selected() + 1));
    else
        EditLabel->setText(Count() > 0 ? QStringLiteral("Browse") : QString());
    RefreshListButtons();
}

QPixmap TEditFrm::EmptyPictureSign() {
    QPixmap pm(240, 180);
    pm.fill(Qt::white);
    QPainter p(&pm);
    p.setPen(QPen(Qt::black, 1));
    p.drawRect(0, 0, 239, 179);
    p.drawLine(0, 0, 239, 179);
    p.drawLine(0, 179, 239, 0);
    return pm;
}

void TEditFrm::ShowPicture(const QString& name) {
    PictureName = name;
    QPixmap pm;
    if (name.isEmpty()) {
        PicFileLabel->setText(QStringLiteral("File name: "));
    } else {
        // Pictures were named on Windows: find them in any letter case.
        const QString found = ResolveContentPath(ImagesFolder, name);
        if (found.isEmpty()) {
            PicFileLabel->setText(QStringLiteral("File not found ") + ImagesFolder + QLatin1Char('/') + name);
        } else {
            pm.load(found);
            PicFileLabel->setText(QStringLiteral("File name: ") + name);
        }
    }
    if (pm.isNull()) {
        QPic->setPixmap(EmptyPictureSign());
        QPic->setFixedSize(240, 180);
        PicSizeLabel->setText(QStringLiteral("Size: "));
    } else {
        QPic->setPixmap(pm);
        QPic->setFixedSize(pm.size());
        PicSizeLabel->setText(QStringLiteral("Size: %1 x %2").arg(pm.width()).arg(pm.height()));
    }
}

void TEditFrm::AddPicBtnClick() {
    const QString path = AskFileName(this, {TFileDialogKind::Open, QStringLiteral("Add a picture from file"),
                                            kPictureFilter, PictureFolder, QString(), QString()});
    if (!path.isEmpty())
        AddPictureFile(path);
}

void TEditFrm::AddPictureFile(const QString& path) {
    const QFileInfo chosen(path);
    // Folder names keep their case here: the file system tells them apart.
    PictureFolder = chosen.absolutePath();
    const QString name = chosen.fileName();
    QPixmap pm(path);
    if (!pm.isNull()) {
        QPic->setPixmap(pm);
        QPic->setFixedSize(pm.size());
        PicSizeLabel->setText(QStringLiteral("Size: %1 x %2").arg(pm.width()).arg(pm.height()));
    }
    PicFileLabel->setText(QStringLiteral("File name: ") + name);
    WorkingCopy->Picture = name;
    PictureName = name;

    const QString target = ImagesFolder + QLatin1Char('/') + name;
    const QFileInfo targetInfo(target);
    // The same file reached by another path (a link, "..") is still the same file.
    if (targetInfo.exists() && targetInfo.canonicalFilePath() == chosen.canonicalFilePath())
        return;
    if (targetInfo.exists() && !ConfirmBox(this, QStringLiteral("Replace ") + target)) {
        ShowPicture(name); // the picture the question will show
        return;
    }
    QFile source(path);
    bool ok = source.open(QIODevice::ReadOnly) && QDir().mkpath(ImagesFolder);
    if (ok)
        ok = WriteFileSafely(target, source.readAll(), nullptr);
    if (!ok)
        ErrorBox(this, QStringLiteral("Unable to copy file to images folder"));
}

void TEditFrm::ClearPicBtnClick() {
    WorkingCopy->Picture.clear();
    ShowPicture(QString());
}

void TEditFrm::HTMLBtnClick() { ShowPreview(HTMLBtn->isChecked()); }

void TEditFrm::ShowPreview(bool show) {
    if (show && EditMode != emBrowse)
        show = false;
    HTMLBtn->setChecked(show);
    if (show) {
        Viewer->setHtml(m_previewHtml, QUrl::fromLocalFile(m_pageImages));
        RightStack->setCurrentWidget(Viewer);
        Hint(HTMLBtn, QStringLiteral("Return to edit page"));
    } else {
        RightStack->setCurrentWidget(EditPanel);
        Hint(HTMLBtn, QStringLiteral("Preview question"));
    }
}

bool TEditFrm::IsAnswerLink(const QUrl& url) {
    // The test window goes by the same rule, so the preview behaves as the pupil's page.
    return !AnswerLetterOfLink(QUrl::fromPercentEncoding(url.toEncoded())).isEmpty();
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
