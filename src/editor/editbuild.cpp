// Building the window: actions and menus, the toolbar, the question list's
// panel, the editing area with its preview, and the status bar.

#include "editor/editfrm.h"

#include "editor/editfrmparts.h"
#include "editor/editoricons.h"

#include <QAction>
#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QScrollArea>
#include <QSplitter>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTabBar>
#include <QToolBar>
#include <QVBoxLayout>
#include <QWebEngineView>

namespace quarvel {

namespace {
const char* const kPageNames[6] = {"Question text", "Answer A", "Answer B", "Answer C", "Answer D", "Answer E"};
} // namespace

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
    Viewer->setPage(NewPreviewPage(Viewer));
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

} // namespace quarvel
