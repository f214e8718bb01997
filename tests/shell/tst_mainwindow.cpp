#include "../testmain.h"
#include "browser/courseview.h"
#include "host/host.h"
#include "widgets/dialogs.h"
#include "widgets/dock.h"
#include "questions/questions.h"
#include "shell/courseareas.h"
#include "shell/framefrm.h"
#include "widgets/skins.h"

#include <QAction>
#include <QComboBox>
#include <QSpinBox>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QProcess>
#include <QScrollBar>
#include <QSettings>
#include <QSignalSpy>
#include <QStatusTipEvent>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWebEngineView>
#include <QToolButton>
#include <memory>

using namespace quarvel;

class TestMainWindow : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { RegisterCourseAreas(); }
    void init();
    void cleanup() { SetBoxAnswerer({}); }
    void firstRunDefaults();
    void windowLayout();
    void toolbarsAtBottomKeepCircuitAtTop();
    void savedToolbarsAtBottom();
    void splitButtons_data();
    void splitButtons();
    void splitterRefusesNarrowLeftPane();
    void closeAnsweredNo();
    void closeAnsweredYesWritesAllValues();
    void testMenuAndMissingQuestionFile();
    void scriptedRunOpensTheTestWindowAndQuits();
    void questionPicturesFoundWithoutCase();
    void f1Keyword();
    void largeButtons();
    void skinsMatchWithoutCase();
    void floatingToolbarReturnsInsteadOfClosing();
    void statusLabelFollowsHint();
    void speedDialogPersists();
    void toolbarItemsPerTopic();

private:
    std::unique_ptr<TFrameFrm> Make(const QString& root = QStringLiteral(QUARVEL_CONTENT_DIR)) {
        auto f = std::make_unique<TFrameFrm>(root);
        f->show();
        if (!QTest::qWaitForWindowExposed(f.get()))
            qWarning("window not exposed");
        return f;
    }
    QList<TBoxRequest> m_boxes;
    bool m_answer = false;
};

void TestMainWindow::init() {
    QSettings s(QStringLiteral("Brantock"), QStringLiteral("Quarvel"));
    s.clear();
    s.sync();
    m_boxes.clear();
    SetBoxAnswerer([this](const TBoxRequest& r) {
        m_boxes.append(r);
        return m_answer;
    });
}

void TestMainWindow::firstRunDefaults() {
    auto f = Make();
    QCOMPARE(f->ActiveSkin(), QStringLiteral("Office 2007 Blue"));
    QCOMPARE(f->FontSizeIndex, 2);
    QVERIFY(!f->ToolbarsAtBottom);
    QVERIFY(f->ToolbarsAtTopItem->isChecked());
    QVERIFY(!f->PositionRestored());
    QVERIFY(!f->Busy);
    QCOMPARE(f->windowTitle(), QStringLiteral("Quarvel"));
    QCOMPARE(f->FlashMajorVersion, 10);
    QCOMPARE(f->TestFilePath, QStringLiteral(QUARVEL_CONTENT_DIR "/questions/mctest.umq"));
    // The window is placed by default: the left pane is half of it and the
    // page toolbar starts above the page.
    QVERIFY(qAbs(f->LeftPaneWidth() - f->width() / 2) <= 3);
    QCOMPARE(f->HTMLToolbar->DockPos(), f->LeftPaneWidth());
}

void TestMainWindow::windowLayout() {
    auto f = Make();
    QVERIFY(f->HTMLToolbar->isVisible());
    QVERIFY(!f->MainToolbar->isVisible());
    QVERIFY(!f->CircuitToolbar->isVisible());
    QVERIFY(f->ContainerTW->isVisible());
    QVERIFY(!f->GLToolwin->isVisible());
    QVERIFY(!f->FlashPanel->isVisible());
    QCOMPARE(f->GLHsb->maximum(), 360);
    QCOMPARE(f->Splitter->handleWidth(), 5);
    QVERIFY(!f->Item("FwdBtn")->isEnabled());
    QVERIFY(!f->Item("BackBtn")->isEnabled());
    QVERIFY(!f->Item("StopBtn")->isEnabled());
    QVERIFY(f->Item("slit3")->isChecked());
    QVERIFY(!f->EditMenu->menuAction()->isVisible());
    QVERIFY(!f->AnimationMenu->menuAction()->isVisible());
    QCOMPARE(f->Item("FontBtn")->text(), QStringLiteral("Font"));
    QCOMPARE(f->Item("FontBtn")->statusTip(), QStringLiteral("Set the font size"));
    QCOMPARE(f->Item("Size4")->text(), QStringLiteral("Largest"));
    QCOMPARE(f->CircuitCB->itemText(2), QStringLiteral("Two bulbs in parallel"));
    QCOMPARE(f->LightGateSE->value(), 100);
    QCOMPARE(f->LightGateSE->maximum(), 200);
    // Every toolbar item with an image has one.
    for (const char* name : {"IndexBtn", "StartBtn", "PrismBtn", "AmmeterBtn", "NightDayMarker"})
        QVERIFY2(!f->Item(QLatin1String(name))->icon().isNull(), name);
}

void TestMainWindow::toolbarsAtBottomKeepCircuitAtTop() {
    auto f = Make();
    f->ToolbarsAtBottomItem->trigger();
    QVERIFY(f->ToolbarsAtBottom);
    QCOMPARE(f->HTMLToolbar->Dock(), f->BottomDock);
    QCOMPARE(f->MainToolbar->Dock(), f->BottomDock);
    QCOMPARE(f->CircuitToolbar->Dock(), f->TopDock);
    QVERIFY(f->HTMLToolbar->isVisible());
    f->ToolbarsAtTopItem->trigger();
    QCOMPARE(f->HTMLToolbar->Dock(), f->TopDock);
    QVERIFY(!f->ToolbarsAtBottom);
}

void TestMainWindow::savedToolbarsAtBottom() {
    {
        QSettings s(QStringLiteral("Brantock"), QStringLiteral("Quarvel"));
        s.setValue("TBTop", 0);
        s.setValue("zoom", 3);
    }
    auto f = Make();
    QVERIFY(f->ToolbarsAtBottom);
    QVERIFY(f->ToolbarsAtBottomItem->isChecked());
    QCOMPARE(f->HTMLToolbar->Dock(), f->BottomDock);
    QCOMPARE(f->CircuitToolbar->Dock(), f->TopDock);
    QCOMPARE(f->FontSizeIndex, 3);
    // Other values were absent: their defaults hold.
    QCOMPARE(f->ActiveSkin(), QStringLiteral("Office 2007 Blue"));
    QVERIFY(!f->PositionRestored());
}

void TestMainWindow::splitButtons_data() {
    QTest::addColumn<int>("topic");
    QTest::addColumn<QString>("button");
    QTest::addColumn<bool>("left");
    QTest::addColumn<bool>("right");
    QTest::addColumn<bool>("htmlBar");
    QTest::addColumn<bool>("mainBar");
    QTest::newRow("3D, max right") << 5 << "MaxRightBtn" << false << true << true << false;
    QTest::newRow("3D, normal") << 5 << "NormalSplitBtn" << true << true << true << true;
    QTest::newRow("3D, max left") << 5 << "MaxLeftBtn" << true << false << false << true;
    QTest::newRow("movie, normal") << 1005 << "NormalSplitBtn" << true << true << true << false;
    QTest::newRow("panel, max left") << 2002 << "MaxLeftBtn" << true << false << false << false;
}

void TestMainWindow::splitButtons() {
    QFETCH(int, topic);
    QFETCH(QString, button);
    QFETCH(bool, left);
    QFETCH(bool, right);
    QFETCH(bool, htmlBar);
    QFETCH(bool, mainBar);
    auto f = Make();
    f->CurrentTopicId = topic;
    f->SplitBtnClick(f->MaxRightBtn); // start from the state that hides most
    auto* b = f->findChild<QToolButton*>(button);
    QVERIFY(b);
    QTest::mouseClick(b, Qt::LeftButton);
    QVERIFY(b->isChecked());
    QCOMPARE(f->LeftToolwin->isVisible(), left);
    QCOMPARE(f->RightPanel->isVisible(), right);
    QCOMPARE(f->HTMLToolbar->isVisible(), htmlBar);
    QCOMPARE(f->MainToolbar->isVisible(), mainBar);
    if (button == "NormalSplitBtn")
        QVERIFY(qAbs(f->LeftPaneWidth() - f->width() / 2) <= 3);
}

void TestMainWindow::splitterRefusesNarrowLeftPane() {
    auto f = Make();
    const int before = f->LeftPaneWidth();
    QVERIFY(!f->Splitter->MoveLeftPaneTo(50));
    QCOMPARE(f->LeftPaneWidth(), before);
    QVERIFY(!f->Splitter->MoveLeftPaneTo(10));
    QCOMPARE(f->LeftPaneWidth(), before);
    QVERIFY(f->Splitter->MoveLeftPaneTo(51));
    QCOMPARE(f->LeftPaneWidth(), 51);

    // Dragging the bar with the mouse obeys the same rule.
    QSplitterHandle* handle = f->Splitter->handle(1);
    const QPoint centre = handle->rect().center();
    QTest::mousePress(handle, Qt::LeftButton, {}, centre);
    QMouseEvent move(QEvent::MouseMove, QPointF(centre) + QPointF(-40, 0),
                     handle->mapToGlobal(QPointF(centre) + QPointF(-40, 0)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(handle, &move);
    QTest::mouseRelease(handle, Qt::LeftButton);
    QCOMPARE(f->LeftPaneWidth(), 51);
}

void TestMainWindow::closeAnsweredNo() {
    auto f = Make();
    m_answer = false;
    QVERIFY(!f->close());
    QCOMPARE(m_boxes.size(), 1);
    QCOMPARE(m_boxes[0].Kind, TBoxKind::Confirmation);
    QCOMPARE(m_boxes[0].Text, QStringLiteral("Close program?"));
    QVERIFY(f->isVisible());
    QSettings s(QStringLiteral("Brantock"), QStringLiteral("Quarvel"));
    QVERIFY(s.allKeys().isEmpty()); // nothing written
}

void TestMainWindow::closeAnsweredYesWritesAllValues() {
    auto f = Make();
    f->SetToolbarsAtBottom(true);
    f->ApplySkin("xito");
    f->TopicRates[7] = 333;
    m_answer = true;
    // As a user closes: the close event is accepted and the event loop ends;
    // nobody deletes the window after that.
    QVERIFY(f->close());
    QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
    QCoreApplication::exec();
    QSettings s(QStringLiteral("Brantock"), QStringLiteral("Quarvel"));
    QStringList keys = s.allKeys();
    keys.sort();
    QCOMPARE(keys, QStringList({"GLColor", "Large", "Skin", "Speeds", "TBTop", "position", "textbgnd",
                                "zoom"}));
    QCOMPARE(s.value("Skin").toString(), QStringLiteral("Xito"));
    QCOMPARE(s.value("TBTop").toInt(), 0);
    QCOMPARE(s.value("Speeds").toByteArray().mid(28, 4), QByteArray("\x4D\x01\0\0", 4));

    // Written once, when the close was accepted: going later changes nothing.
    f->TopicRates[7] = 444;
    f.reset();
    s.sync();
    QCOMPARE(QSettings(QStringLiteral("Brantock"), QStringLiteral("Quarvel")).value("Speeds").toByteArray().mid(28, 4),
             QByteArray("\x4D\x01\0\0", 4));

    // The next run starts where this one ended.
    auto g = Make();
    QVERIFY(g->PositionRestored());
    QCOMPARE(g->ActiveSkin(), QStringLiteral("Xito"));
    QCOMPARE(g->TopicRates[7], 333);
    QVERIFY(g->ToolbarsAtBottom);
}

void TestMainWindow::testMenuAndMissingQuestionFile() {
    QTemporaryDir dir;
    QDir().mkpath(dir.path() + "/Questions");
    QFile list(dir.path() + "/Questions/Test-Topics.txt");
    QVERIFY(list.open(QIODevice::WriteOnly));
    list.write("Magnets\r\n\r\nLight \x96 sound\r\n"); // an older list: an en dash of the Windows code page
    list.close();
    auto f = Make(dir.path());
    const QList<QAction*> items = f->TestMenu->actions();
    QCOMPARE(items.size(), 3); // "All topics" and two; the blank line keeps the numbering
    QCOMPARE(items[0]->text(), QStringLiteral("All topics"));
    QCOMPARE(items[1]->text(), QStringLiteral("Magnets"));
    QCOMPARE(items[1]->data().toInt(), 0);
    QCOMPARE(items[2]->text(), QStringLiteral("Light \u2013 sound"));
    QCOMPARE(items[2]->data().toInt(), 2);

    QSignalSpy started(f.get(), &TFrameFrm::TopicTestRequested);
    items[2]->trigger();
    QCOMPARE(m_boxes.size(), 1);
    QCOMPARE(m_boxes[0].Kind, TBoxKind::Error);
    QCOMPARE(m_boxes[0].Text, QStringLiteral("File of test questions not found."));
    QCOMPARE(started.size(), 0);
}

// "@TestAll1" opens the modal test window without holding up the run: the
// picture is taken with the test window in it, and --quit still ends the run.
void TestMainWindow::scriptedRunOpensTheTestWindowAndQuits() {
    QTemporaryDir dir;
    const QString shot = dir.filePath("test.png");
    QProcess vantrel;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_CONFIG_HOME", dir.filePath("config"));
    vantrel.setProcessEnvironment(env);
    vantrel.start(QCoreApplication::applicationDirPath() + "/vantrel",
                  {"--command", "@TestAll1", "--screenshot", shot, "--quit"}); // the built course, with its question file
    QVERIFY(vantrel.waitForStarted());
    QVERIFY2(vantrel.waitForFinished(90000), "the scripted run did not end");
    QCOMPARE(vantrel.exitStatus(), QProcess::NormalExit);
    QCOMPARE(vantrel.exitCode(), 0);
    QImage picture(shot);
    QVERIFY(!picture.isNull());
    // Question 1's heading of the test page stands over the left pane, in the page's dark blue.
    int blue = 0;
    for (int y = 0; y < picture.height() / 3; ++y)
        for (int x = 0; x < picture.width() / 2; x += 4) {
            const QColor c = picture.pixelColor(x, y);
            blue += c.blue() > 150 && c.red() < 90 && c.green() < 140;
        }
    QVERIFY2(blue > 500, qPrintable(QString::number(blue)));
}

// A course whose question folder spells "Images" and "CSS/QStyle.css" in its
// own letter case still gives the test pages their pictures and style.
void TestMainWindow::questionPicturesFoundWithoutCase() {
    QTemporaryDir dir;
    QVERIFY(QDir().mkpath(dir.path() + "/questions/Images"));
    QVERIFY(QDir().mkpath(dir.path() + "/questions/CSS"));
    QFile css(dir.path() + "/questions/CSS/QStyle.css");
    QVERIFY(css.open(QIODevice::WriteOnly));
    css.close();
    auto f = Make(dir.path());
    TMCQuestion q;
    q.Text = "Which?";
    q.Picture = "magnet.png";
    q.Answers[0] = "This";
    const QString page = QuestionPage(q, 1);
    QVERIFY2(page.contains(QDir(dir.path()).absolutePath() + "/questions/Images/magnet.png"), qPrintable(page));
    QVERIFY2(page.contains("/questions/CSS/QStyle.css"), qPrintable(page));
}

void TestMainWindow::f1Keyword() {
    auto f = Make();
    QSignalSpy help(f.get(), &TFrameFrm::HelpRequested);
    QTest::keyClick(f->StatusLabel, Qt::Key_F1);
    QCOMPARE(help.size(), 1);
    QCOMPARE(help[0][0].toString(), QStringLiteral("index"));
    f->CurrentTopicId = 3;
    QTest::keyClick(f.get(), Qt::Key_F1);
    QCOMPARE(help.last()[0].toString(), QStringLiteral("screen"));
    // Also while the page has the keyboard.
    f->EWB->setFocus();
    QWidget* page = f->EWB->focusProxy() ? f->EWB->focusProxy() : f->EWB;
    QTest::keyClick(page, Qt::Key_F1);
    QCOMPARE(help.size(), 3);
}

void TestMainWindow::largeButtons() {
    auto f = Make();
    f->UseLargeButtonsItem->trigger();
    QVERIFY(f->LargeButtons());
    QCOMPARE(f->HTMLToolbar->iconSize(), QSize(48, 48));
    QCOMPARE(f->CircuitToolbar->iconSize(), QSize(48, 48));
    QCOMPARE(f->GLHsb->height(), 30);
    QCOMPARE(f->metalCB->width(), 110);
    QCOMPARE(f->CircuitCB->width(), 190);
    QCOMPARE(f->RampUpDn->width(), 60);
    f->UseLargeButtonsItem->trigger();
    QCOMPARE(f->MainToolbar->iconSize(), QSize(24, 24));
    QCOMPARE(f->GLHsb->height(), 20);
    QCOMPARE(f->TrolleyMassUpDn->width(), 50);
}

void TestMainWindow::skinsMatchWithoutCase() {
    auto f = Make();
    QCOMPARE(SkinNames().size(), 13);
    QVERIFY(f->ApplySkin("OFFICE 2007 black"));
    QCOMPARE(f->ActiveSkin(), QStringLiteral("Office 2007 Black"));
    const QColor dark = QApplication::palette().color(QPalette::Window);
    QVERIFY(f->ApplySkin("Dream"));
    QVERIFY(QApplication::palette().color(QPalette::Window) != dark); // skins look different
    QVERIFY(!f->ApplySkin("No such skin"));
    QCOMPARE(f->ActiveSkin(), QStringLiteral("Dream"));
}

void TestMainWindow::floatingToolbarReturnsInsteadOfClosing() {
    auto f = Make();
    f->SetToolbarsAtBottom(true);
    f->HTMLToolbar->Float(f->mapToGlobal(QPoint(100, 100)));
    QVERIFY(f->HTMLToolbar->IsFloating());
    QCOMPARE(f->HTMLToolbar->Dock(), nullptr);
    f->HTMLToolbar->RequestClose();
    QTRY_VERIFY(!f->HTMLToolbar->IsFloating());
    QCOMPARE(f->HTMLToolbar->Dock(), f->BottomDock); // the dock it last sat in
    QVERIFY(f->HTMLToolbar->isVisible());
}

void TestMainWindow::statusLabelFollowsHint() {
    auto f = Make();
    QStatusTipEvent tip(QStringLiteral("Main index"));
    QApplication::sendEvent(f.get(), &tip);
    QCOMPARE(f->StatusLabel->text(), QStringLiteral("Main index"));
}

void TestMainWindow::speedDialogPersists() {
    m_answer = true; // "Close program?"
    {
        TFrameFrm frame(QStringLiteral(QUARVEL_CONTENT_DIR));
        frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        frame.CurrentTopicId = 5;
        int offered = 0;
        frame.Host->SpeedDialog = [&](int current) -> std::optional<int> {
            offered = current;
            return 1;
        };
        QVERIFY(frame.Host->ShowSpeedDialog());
        QCOMPARE(offered, 200);
        QCOMPARE(frame.TopicRates[5], 1);
    }
    TFrameFrm again(QStringLiteral(QUARVEL_CONTENT_DIR));
    QCOMPARE(again.TopicRates[5], 1);
}

void TestMainWindow::toolbarItemsPerTopic() {
    TFrameFrm f(QStringLiteral(QUARVEL_CONTENT_DIR));
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    struct TRow {
        std::int32_t Id;
        QStringList Shown;
        QStringList Hidden;
    };
    const TRow rows[] = {
        {5, {"StartBtn", "SSViewBtn", "ssPlanetNamesBtn"}, {"metalCB", "RectBlockBtn", "moFieldBtn"}},
        {8, {"StartBtn", "moCurrentBtn", "moFieldBtn"}, {"SwitchBtn", "SSViewBtn"}},
        {11, {"SwitchBtn", "moCurrentBtn", "moFieldBtn"}, {"StartBtn", "StopBtn"}},
        {13, {"metalCB", "StartBtn"}, {"ResetBtn"}},
        {16, {"ResetBtn", "LightGateSE", "RampUpDn", "TrolleyMassUpDn"}, {"metalCB"}},
        {18, {"SlitBtn", "ProtractorBtn"}, {"StartBtn"}},
        {19, {"RectBlockBtn", "DBlockBtn", "PrismBtn"}, {"StartBtn", "SlitBtn"}},
        {20, {"moCurrentBtn"}, {"moFieldBtn", "StartBtn"}},
    };
    for (const TRow& r : rows) {
        f.Topics->SelectTopic(r.Id);
        QCOMPARE(f.CurrentTopicId, r.Id);
        QVERIFY(f.MainToolbar->isVisible());
        for (const QString& n : r.Shown)
            QVERIFY2(f.Item(n)->isVisible(), qPrintable(QString::number(r.Id) + " " + n));
        for (const QString& n : r.Hidden)
            QVERIFY2(!f.Item(n)->isVisible(), qPrintable(QString::number(r.Id) + " " + n));
    }
    QVERIFY(f.GLToolwin->isVisible());
    QCOMPARE(f.GLHsb->minimum(), -15); // topic 20's bar
    f.Topics->SelectTopic(1023);
    QVERIFY(!f.MainToolbar->isVisible());
    QVERIFY(f.CircuitToolbar->isVisible());
    QVERIFY(!f.GLToolwin->isVisible());
}

QUARVEL_GUI_TEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
