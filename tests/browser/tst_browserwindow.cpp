#include "../testmain.h"
#include "browser/courseview.h"
#include "browser/pageprinter.h"
#include "shell/bigpicfrm.h"
#include "widgets/dialogs.h"
#include "widgets/dock.h"
#include "shell/courseareas.h"
#include "shell/framefrm.h"

#include <QAction>
#include <QClipboard>
#include <QLabel>
#include <QPdfDocument>
#include <QPrinter>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMenu>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QWebEngineHistory>
#include <memory>

using namespace quarvel;

class TestBrowserWindow : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void indexPanelAndHeadingClicks();
    void openingAPageSelectsItsTopicAndMarksTheIndex();
    void linksOnPages();
    void backAndForwardRestorePageState();
    void textSizeAndBackground();
    void copyFollowsTheSelection();
    void pageCommandsWaitWhileBusy();
    void rejectedIndexFileStopsStartUp();
    void copyTopicTextAndPrint();
    void pictureViewer();

private:
    std::unique_ptr<TFrameFrm> Make();
    static bool WaitLoaded(TFrameFrm* f, int timeout = 15000);
    static QVariant Js(TFrameFrm* f, const QString& script);
    void Write(const QString& rel, const QByteArray& text);
    QTemporaryDir m_dir;
    QString m_root;
};

void TestBrowserWindow::Write(const QString& rel, const QByteArray& text) {
    const QString path = m_root + '/' + rel;
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(text);
}

void TestBrowserWindow::initTestCase() {
    RegisterCourseAreas();
    m_root = m_dir.path() + "/course";
    auto page = [](const char* title, const char* body = "") {
        return QByteArray("<!DOCTYPE html><html><head><title>") + title + "</title></head><body><h1>" + title +
               "</h1><p id='p'>Some text</p>" + body + "</body></html>";
    };
    Write("HTML/index.html", page("Index", "<div id='index'></div>"));
    Write("HTML/MoonPhase.htm",
          page("Moon", "<a id='cmd' href='+moon3'>full</a> <a id='pic' href='$Moon.PNG'>pic</a>"
                       " <a id='web' href='http://example.org/x'>web</a>"));
    Write("HTML/Refraction.htm", page("Refraction"));
    Write("HTML/Critical_Angle.htm", page("Critical"));
    Write("HTML/images/moon.png", "not really a picture");
    TEWBHTMLIndex index;
    index.Headings = {{QStringLiteral("Space"), 1, {{QStringLiteral("Moon"), QStringLiteral("MOONPHASE.HTM"), false}}, false},
                      {QStringLiteral("Light"), 2,
                       {{QStringLiteral("Refraction"), QStringLiteral("REFRACTION.HTM"), false}}, false}};
    Write("HTML/index.ux", index.SaveToBytes());
}

void TestBrowserWindow::init() {
    QSettings s(QStringLiteral("Brantock"), QStringLiteral("Quarvel"));
    s.clear();
    s.sync();
    SetBoxAnswerer([](const TBoxRequest&) { return true; });
}

std::unique_ptr<TFrameFrm> TestBrowserWindow::Make() {
    auto f = std::make_unique<TFrameFrm>(m_root);
    f->show();
    if (!QTest::qWaitForWindowExposed(f.get()) || !WaitLoaded(f.get()))
        qWarning("index page did not load");
    return f;
}

bool TestBrowserWindow::WaitLoaded(TFrameFrm* f, int timeout) {
    QSignalSpy spy(f->EWB, &QWebEngineView::loadFinished);
    return spy.wait(timeout);
}

QVariant TestBrowserWindow::Js(TFrameFrm* f, const QString& script) {
    QVariant result;
    bool done = false;
    f->EWB->page()->runJavaScript(script, [&](const QVariant& v) {
        result = v;
        done = true;
    });
    QElapsedTimer clock;
    clock.start();
    while (!done && clock.elapsed() < 10000)
        QTest::qWait(10);
    return result;
}

void TestBrowserWindow::indexPanelAndHeadingClicks() {
    auto f = Make();
    QCOMPARE(f->LocationName(), QStringLiteral("index.html"));
    QTRY_COMPARE(Js(f.get(), "document.getElementById('index').innerHTML").toString(),
                 f->TopicIndex.GetHTML());
    QVERIFY(!f->Item("IndexBtn")->isEnabled());
    QVERIFY(f->Item("IndexOptBtns")->isEnabled());

    // A click on a heading link opens it and redraws the panel, without leaving the page.
    Js(f.get(), "document.querySelector('a[href=\"!1\"]').click()");
    QTRY_VERIFY(f->TopicIndex.Headings[1].Expanded);
    QTRY_VERIFY(Js(f.get(), "document.getElementById('index').innerHTML").toString().contains("REFRACTION.HTM"));
    QCOMPARE(f->LocationName(), QStringLiteral("index.html"));

    // "Expand all", then "Allow all expanded" shows checked.
    f->Item("ExpandAll1")->trigger();
    QTRY_VERIFY(Js(f.get(), "document.querySelectorAll('.level1exp').length").toInt() == 2);
    emit f->Item("IndexOptBtns")->menu()->aboutToShow();
    QVERIFY(f->Item("AllowAllExpanded1")->isChecked());
    f->Item("CollapseAll1")->trigger();
    QTRY_COMPARE(Js(f.get(), "document.querySelectorAll('.level1exp').length").toInt(), 0);
}

void TestBrowserWindow::openingAPageSelectsItsTopicAndMarksTheIndex() {
    auto f = Make();
    QSignalSpy selected(f->Topics, &TTopicHost::TopicSelected);
    QVERIFY(f->StartPicture == nullptr || f->StartPicture);
    Js(f.get(), "document.querySelector('a[href=\"!0\"]').click()");
    QTRY_VERIFY(f->TopicIndex.Headings[0].Expanded);
    Js(f.get(), "document.querySelector('a[href=\"MOONPHASE.HTM\"]').click()");
    QVERIFY(WaitLoaded(f.get()));
    QCOMPARE(f->CurrentTopicId, 1);
    QCOMPARE(selected.size(), 1);
    QVERIFY(f->GLToolwin->isVisible());
    QVERIFY(!f->ContainerTW->isVisible());
    QVERIFY(f->MainToolbar->isVisible());
    QVERIFY(f->EditMenu->menuAction()->isVisible());
    QVERIFY(f->AnimationMenu->menuAction()->isVisible());
    QVERIFY(f->Item("IndexBtn")->isEnabled());
    QVERIFY(!f->Item("IndexOptBtns")->isEnabled());
    QVERIFY(f->TopicIndex.Headings[0].Children[0].Selected);

    // Back at the index, the page's heading is open and the page marked.
    f->Item("IndexBtn")->trigger();
    QVERIFY(WaitLoaded(f.get()));
    QTRY_VERIFY(Js(f.get(), "document.querySelector('.level2selected a').getAttribute('href')").toString() ==
                "MOONPHASE.HTM");
    QCOMPARE(f->CurrentTopicId, 1); // the index keeps the content on show
}

void TestBrowserWindow::linksOnPages() {
    auto f = Make();
    QStringList pictures;
    QList<QUrl> outside;
    QList<QVariantList> moon;
    f->PictureOpener = [&](const QString& file) { pictures << file; };
    f->ExternalOpener = [&](const QUrl& url) { outside << url; };
    f->Operations.Register("MoonPosition", [&](const QVariantList& a) { moon << a; });
    QVERIFY(f->OpenPage("moonphase.htm"));
    QVERIFY(WaitLoaded(f.get()));
    Js(f.get(), "document.getElementById('cmd').click()");
    QTRY_COMPARE(moon.size(), 1);
    QCOMPARE(moon[0], QVariantList({5040}));
    Js(f.get(), "document.getElementById('pic').click()");
    QTRY_COMPARE(pictures, QStringList({m_root + "/HTML/images/moon.png"}));
    Js(f.get(), "document.getElementById('web').click()");
    QTRY_COMPARE(outside, QList<QUrl>({QUrl("http://example.org/x")}));
    QCOMPARE(f->LocationName(), QStringLiteral("MoonPhase.htm")); // none of them left the page
}

void TestBrowserWindow::backAndForwardRestorePageState() {
    auto f = Make();
    QList<int> blocks;
    f->Operations.Register("ChooseBlock", [&](const QVariantList& a) { blocks << a.value(0).toInt(); });
    QVERIFY(f->OpenPage("REFRACTION.HTM"));
    QVERIFY(WaitLoaded(f.get()));
    QCOMPARE(f->CurrentTopicId, 19);
    QVERIFY(f->OpenPage("CRITICAL_ANGLE.HTM"));
    QVERIFY(WaitLoaded(f.get()));
    QCOMPARE(f->CurrentTopicId, 19); // a follow-on page keeps the topic
    QVERIFY(blocks.isEmpty());       // only Back and Forward restore page state
    QTRY_VERIFY(f->Item("BackBtn")->isEnabled());
    f->Item("BackBtn")->trigger();
    QVERIFY(WaitLoaded(f.get()));
    QCOMPARE(blocks, QList<int>({0}));
    QVERIFY(!f->BackForwardPending);
    QTRY_VERIFY(f->Item("FwdBtn")->isEnabled());
    f->Item("FwdBtn")->trigger();
    QVERIFY(WaitLoaded(f.get()));
    QCOMPARE(blocks, QList<int>({0, 1}));
}

void TestBrowserWindow::textSizeAndBackground() {
    {
        auto f = Make();
        f->Item("Size4")->trigger();
        QCOMPARE(f->FontSizeIndex, 4);
        QCOMPARE(f->EWB->zoomFactor(), ZoomFactorForSize(4));
        f->Item("BColBlue")->trigger();
        QCOMPARE(f->TextBackColour, QStringLiteral("#D9EAFF"));
        QVERIFY(f->OpenPage("REFRACTION.HTM"));
        QVERIFY(WaitLoaded(f.get()));
        QTRY_COMPARE(Js(f.get(), "getComputedStyle(document.body).backgroundColor").toString(),
                     QStringLiteral("rgb(217, 234, 255)"));
        emit f->Item("TextBackColorBtn")->menu()->aboutToShow();
        QVERIFY(f->Item("BColBlue")->isChecked());
        QVERIFY(!f->Item("BColWhite")->isChecked());
    }
    // Both survive a restart.
    auto g = Make();
    QCOMPARE(g->FontSizeIndex, 4);
    QCOMPARE(g->TextBackColour, QStringLiteral("#D9EAFF"));
    QTRY_COMPARE(Js(g.get(), "getComputedStyle(document.body).backgroundColor").toString(),
                 QStringLiteral("rgb(217, 234, 255)"));
    QTRY_COMPARE(g->EWB->zoomFactor(), ZoomFactorForSize(4));
}

void TestBrowserWindow::copyFollowsTheSelection() {
    auto f = Make();
    QVERIFY(!f->Item("CopyBtn")->isEnabled());
    f->activateWindow();
    f->EWB->setFocus();
    Js(f.get(), "var r=document.createRange();r.selectNodeContents(document.getElementById('index')"
                ".parentNode.querySelector('h1'));getSelection().removeAllRanges();getSelection().addRange(r);");
    QTRY_VERIFY(f->Item("CopyBtn")->isEnabled());
    Js(f.get(), "getSelection().removeAllRanges()");
    QTRY_VERIFY(!f->Item("CopyBtn")->isEnabled());
}

void TestBrowserWindow::pageCommandsWaitWhileBusy() {
    auto f = Make();
    int starts = 0;
    f->Operations.Register("Start", [&](const QVariantList&) { ++starts; });
    f->CurrentTopicId = 1;
    f->Busy = true;
    QVERIFY(!f->RunPageCommand("+run"));
    f->Busy = false;
    QVERIFY(f->RunPageCommand("+run"));
    QCOMPARE(starts, 1);
    f->CurrentTopicId = 20;
    QVERIFY(!f->RunPageCommand("+run")); // no frame timer on topic 20
    QCOMPARE(starts, 1);
}

void TestBrowserWindow::rejectedIndexFileStopsStartUp() {
    QTemporaryDir dir;
    QDir().mkpath(dir.path() + "/HTML");
    QFile ux(dir.path() + "/HTML/Index.UX");
    QVERIFY(ux.open(QIODevice::WriteOnly));
    ux.write(QByteArray("\x01\x02\x03\x04\0\0\0\0", 8));
    ux.close();
    try {
        TFrameFrm f(dir.path());
        QFAIL("the window was created");
    } catch (const EBadIndexFile& e) {
        QCOMPARE(QString::fromUtf8(e.what()), QStringLiteral("Invalid unicode index file"));
    }
}

void TestBrowserWindow::copyTopicTextAndPrint() {
    auto f = Make();
    QVERIFY(f->OpenPage("REFRACTION.HTM"));
    QVERIFY(WaitLoaded(f.get()));
    QApplication::clipboard()->clear();
    f->CopyTopicText();
    QTRY_VERIFY(QApplication::clipboard()->text().contains("Some text"));
    QTRY_COMPARE(Js(f.get(), "getSelection().toString()").toString(), QString()); // selection cleared

    QTemporaryDir dir;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.path() + "/page.pdf");
    printer.setPageLayout(CoursePageLayout());
    QCOMPARE(printer.pageLayout().margins(QPageLayout::Millimeter), QMarginsF(19.05, 19.05, 19.05, 19.05));
    QCOMPARE(printer.pageLayout().orientation(), QPageLayout::Portrait);
    TPagePrinter job(f->EWB->page(), &printer);
    QSignalSpy finished(&job, &TPagePrinter::finished);
    job.Start();
    QVERIFY(finished.wait(15000));
    QCOMPARE(finished[0][0].toBool(), true);
    QPdfDocument pdf;
    QCOMPARE(pdf.load(dir.path() + "/page.pdf"), QPdfDocument::Error::None);
    const QString text = pdf.getAllText(0).text();
    QVERIFY2(text.contains("Page 1 of 1"), qPrintable(text));
    QVERIFY(text.contains("Refraction")); // the title in the header
    QVERIFY(text.contains("course:/HTML/Refraction.htm"));
}

void TestBrowserWindow::pictureViewer() {
    QTemporaryDir dir;
    QImage image(640, 480, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    QVERIFY(image.save(dir.path() + "/big.png"));
    TBigPicFrm pic(dir.path() + "/big.png");
    QVERIFY(pic.HasPicture());
    pic.show();
    QVERIFY(QTest::qWaitForWindowExposed(&pic));
    QCOMPARE(pic.size(), QSize(640, 480));
    QApplication::clipboard()->clear();
    pic.CopyPictureToClipboard();
    QCOMPARE(QApplication::clipboard()->image().size(), QSize(640, 480));
    QTest::mouseClick(pic.MagPic, Qt::LeftButton);
    QVERIFY(!pic.isVisible());
    QCOMPARE(pic.result(), int(QDialog::Accepted));

    TBigPicFrm missing(dir.path() + "/none.png");
    QVERIFY(!missing.HasPicture());
}

QUARVEL_GUI_TEST_MAIN(TestBrowserWindow)
#include "tst_browserwindow.moc"
