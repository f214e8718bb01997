// The window's start and life: reading the settings, the first file, the
// window's place and colours, the document's state and caption, closing.

#include "editor/editfrm.h"

#include "common/contentpath.h"
#include "common/inifile.h"
#include "editor/editfrmparts.h"
#include "editor/spelling.h"
#include "widgets/dialogs.h"
#include "widgets/skins.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QPrinter>
#include <QPrinterInfo>
#include <QScreen>
#include <QSettings>
#include <QSplitter>
#include <QStatusTipEvent>
#include <QWebEngineView>

namespace quarvel {

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
    const TPagePaths pages = PagePathsOf(QuestionFolder);
    ImagesFolder = pages.Images.chopped(1);
    PictureFolder = ImagesFolder;

    if (const QString topics = ResolveContentPath(QuestionFolder, QStringLiteral("test-topics.txt"));
        !topics.isEmpty()) {
        for (const QString& line : ReadTopicList(topics)) {
            auto* item = new QListWidgetItem(line, TopicListbox);
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
            item->setCheckState(Qt::Unchecked);
        }
    }

    m_styleSheet = pages.StyleSheet;
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

void TEditFrm::MarkChanged() {
    const int before = DocumentState;
    DocumentState = MarkedChanged(DocumentState);
    if (before != DocumentState)
        SetCaption();
}

void TEditFrm::SetCaption() { setWindowTitle(EditorCaption(DocumentState, FileName)); }

void TEditFrm::ReportError(const QString& text) { ErrorBox(this, text); }

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

} // namespace quarvel
