#include "../testmain.h"
#include "host/panel.h"
#include "models/electromagnetism/fieldplot.h"
#include "models/electromagnetism/permmagfrm.h"
#include "widgets/dialogs.h"
#include "widgets/dock.h"
#include "shell/courseareas.h"
#include "shell/framefrm.h"

#include <QAction>
#include <QComboBox>
#include <QSettings>
#include <cmath>

using namespace quarvel;

namespace {
int Fan(const TFieldPlot& p, int sign) { return int(std::count(p.LineSigns.begin(), p.LineSigns.end(), sign)); }
} // namespace

class TestMagnets : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void sizes();
    void snapToGrid_data();
    void snapToGrid();
    void arrivalSectors_data();
    void arrivalSectors();
    void singleMagnetFans();
    void fanFollowsTheLastTraceSign();
    void arrowheads();
    void runawayLinesAreCapped();
    void compass();
    void probingLeavesThePicture();
    void togglesRepaintWithoutTracing();
    void panelLifecycle();
    void toolbarItemsReachable_data();
    void toolbarItemsReachable();
    void drawingAtTopLeftWithoutUnpaintedEdge();
    void arrangementPictures();
};

void TestMagnets::initTestCase() {
    RegisterCourseAreas();
    QSettings(QStringLiteral("Brantock"), QStringLiteral("Quarvel")).clear();
    SetBoxAnswerer([](const TBoxRequest&) { return true; });
}

void TestMagnets::sizes() {
    const TFieldPlot big(16), small(12);
    QCOMPARE(QSize(big.Width, big.Height), QSize(993, 609));
    QCOMPARE(QSize(small.Width, small.Height), QSize(745, 457));
    QCOMPARE(big.StepLength, 4);
    QCOMPARE(small.StepLength, 3);
    Tem_PermMagFrm at800(nullptr, 800), at801(nullptr, 801);
    QCOMPARE(at800.Plotter->Spacing, 12);
    QCOMPARE(at801.Plotter->Spacing, 16);
    QCOMPARE(at801.Plotter->Charges[0].X, 480);
    QCOMPARE(at801.Plotter->Charges[1].X, 544);
    QCOMPARE(at800.Plotter->Charges[1].Y, 228);
}

void TestMagnets::snapToGrid_data() {
    QTest::addColumn<int>("v");
    QTest::addColumn<bool>("isX");
    QTest::addColumn<int>("snapped");
    QTest::newRow("down") << 23 << true << 16;
    QTest::newRow("up") << 25 << true << 32;
    QTest::newRow("half rounds down") << 24 << true << 16;
    QTest::newRow("zero moves in") << 3 << true << 16;
    QTest::newRow("past the right edge") << 1001 << true << 992;
    QTest::newRow("past the bottom") << 620 << false << 608;
}

void TestMagnets::snapToGrid() {
    QFETCH(int, v);
    QFETCH(bool, isX);
    QFETCH(int, snapped);
    TFieldPlot p(16);
    QCOMPARE(p.SnapToGrid(v, isX), snapped);
}

void TestMagnets::arrivalSectors_data() {
    QTest::addColumn<float>("dx");
    QTest::addColumn<float>("dy");
    QTest::addColumn<int>("sector");
    QTest::newRow("right") << 1.f << 0.f << 0;
    QTest::newRow("below (y down)") << 0.f << 1.f << 3;
    QTest::newRow("above") << 0.f << -1.f << 9;
    QTest::newRow("left") << -1.f << 0.f << 6;
    QTest::newRow("45 rounds down") << 1.f << 1.f << 1;
    QTest::newRow("46 rounds up") << 1.f << float(std::tan(46 * M_PI / 180)) << 2;
    QTest::newRow("just above +x wraps to 0") << 1.f << -0.01f << 0;
    QTest::newRow("up-left") << -1.f << -1.f << 7;
}

void TestMagnets::arrivalSectors() {
    QFETCH(float, dx);
    QFETCH(float, dy);
    QFETCH(int, sector);
    QCOMPARE(TFieldPlot::ArrivalSector(dx, dy), sector);
}

void TestMagnets::singleMagnetFans() {
    Tem_PermMagFrm panel(nullptr, 1280);
    const TFieldPlot& p = *panel.Plotter;
    QCOMPARE(Fan(p, 1), 12); // the north pole's full fan
    // The south pole gets lines only where no north line arrived.
    int free = 0;
    for (bool arrived : p.Charges[1].Arrived)
        free += arrived ? 0 : 1;
    QVERIFY(free > 0 && free < 12);
    QCOMPARE(Fan(p, -1), free);
    // Every line starts half a spacing from its pole and ends outside the drawing or at the other pole.
    for (const auto& line : p.Lines) {
        const QPoint end = line.back();
        const bool outside = end.x() < 0 || end.y() < 0 || end.x() >= p.Width || end.y() >= p.Height;
        const bool atPole = std::hypot(end.x() - p.Charges[1].X, end.y() - p.Charges[1].Y) <= 9 ||
                            std::hypot(end.x() - p.Charges[0].X, end.y() - p.Charges[0].Y) <= 9;
        QVERIFY(outside || atPole);
    }
    // Adding a charge clears the arrival sectors of the others.
    TFieldPlot copy = p;
    int x = 100, y = 100;
    copy.AddCharge(x, y, 1);
    for (int i = 0; i < 2; ++i)
        for (bool a : copy.Charges[std::size_t(i)].Arrived)
            QVERIFY(!a);
}

void TestMagnets::fanFollowsTheLastTraceSign() {
    Tem_PermMagFrm panel(nullptr, 1280);
    panel.ChooseArrangement(3); // S-N  N-S: traced from the south poles
    QCOMPARE(panel.Plotter->TraceSign, -1);
    panel.ChooseArrangement(0);
    const TFieldPlot& p = *panel.Plotter;
    QCOMPARE(p.TraceSign, -1);
    QCOMPARE(Fan(p, -1), 12); // now the full fan starts at the south pole
    // ... and the arrows still point from N towards S: a head on a south-fan
    // line points back towards the pole it left.
    for (std::size_t l = 0; l < p.Lines.size(); ++l) {
        if (p.LineSigns[l] != -1 || p.Lines[l].size() < 22)
            continue;
        const auto& line = p.Lines[l];
        const auto head = p.ArrowHead(line[19], line[20], -1);
        const QPointF base = (QPointF(head[1]) + QPointF(head[2])) / 2;
        const QPointF along = QPointF(line[20] - line[19]);
        QVERIFY(QPointF::dotProduct(QPointF(head[0]) - base, along) < 0);
    }
}

void TestMagnets::arrowheads() {
    TFieldPlot p(16);
    using H = std::array<QPoint, 3>;
    QCOMPARE(p.ArrowHead({0, 0}, {10, 0}, 1), (H{QPoint(10, 0), QPoint(6, -4), QPoint(6, 4)}));
    QCOMPARE(p.ArrowHead({10, 0}, {0, 0}, 1), (H{QPoint(0, 0), QPoint(4, -4), QPoint(4, 4)}));
    QCOMPARE(p.ArrowHead({0, 0}, {0, 10}, 1), (H{QPoint(0, 10), QPoint(-4, 6), QPoint(4, 6)}));
    QCOMPARE(p.ArrowHead({0, 0}, {10, 0}, -1), (H{QPoint(10, 0), QPoint(14, 4), QPoint(14, -4)}));
    // A diagonal head: t = -45 degrees, b = 4: corners at (10, 10 - 4 sqrt 2) and (10 - 4 sqrt 2, 10).
    QCOMPARE(p.ArrowHead({0, 0}, {10, 10}, 1), (H{QPoint(10, 10), QPoint(10, 4), QPoint(4, 10)}));
    TFieldPlot twelve(12);
    QCOMPARE(twelve.ArrowHead({0, 0}, {10, 0}, -1)[1], QPoint(13, 3)); // b = -3
    // Which points get heads: none up to 21 points; at 20 and 40 for 45 points.
    std::vector<QPoint> line;
    for (int i = 0; i < 21; ++i)
        line.emplace_back(i, 0);
    QVERIFY(p.ArrowPoints(line).empty());
    line.clear();
    for (int i = 0; i < 45; ++i)
        line.emplace_back(i, 300);
    QCOMPARE(p.ArrowPoints(line), std::vector<int>({20, 40}));
    int x = 40, y = 300; // a pole near point 40: its last head is left out
    p.AddCharge(x, y, 1);
    QCOMPARE(p.ArrowPoints(line), std::vector<int>({20}));
}

void TestMagnets::runawayLinesAreCapped() {
    TFieldPlot p(16);
    int x = 480, y = 304;
    p.AddCharge(x, y, 1);
    x = 544;
    p.AddCharge(x, y, -1);
    p.MaxSteps = 20000; // the default leaves room for every real line
    p.Plot();
    QCOMPARE(Fan(p, 1), 12);
    const std::size_t all = p.Lines.size();
    p.MaxSteps = 30; // now the long lines run past the cap and are dropped
    p.Plot();
    QVERIFY(p.Lines.size() < all);
    for (const auto& line : p.Lines)
        QVERIFY(line.size() <= 31);
}

void TestMagnets::compass() {
    QCOMPARE(TFieldPlot::NeedleAngle({1, 0}), 0.0);
    QCOMPARE(TFieldPlot::NeedleAngle({-1, 0}), M_PI);
    QCOMPARE(TFieldPlot::NeedleAngle({0, -1}), M_PI / 2);
    QCOMPARE(TFieldPlot::NeedleAngle({0, 1}), 3 * M_PI / 2);
    QVERIFY(std::abs(TFieldPlot::NeedleAngle({1, -1}) - M_PI / 4) < 1e-12);
    Tem_PermMagFrm panel(nullptr, 1280);
    panel.ChooseArrangement(4); // N-S  S-N: the south poles face each other at 29 and 33 spacings
    const TFieldPlot& p = *panel.Plotter;
    // On the symmetry line between them the needle lies along that line.
    const double a = TFieldPlot::NeedleAngle(p.FieldVectorAt(31 * 16, 19 * 16 + 48));
    QVERIFY(std::abs(a - M_PI / 2) < 1e-9 || std::abs(a - 3 * M_PI / 2) < 1e-9);
    // At a pole's centre that pole is left out.
    const QPointF atPole = p.FieldVectorAt(p.Charges[0].X, p.Charges[0].Y);
    QVERIFY(std::isfinite(atPole.x()) && std::isfinite(atPole.y()));
}

void TestMagnets::probingLeavesThePicture() {
    Tem_PermMagFrm panel(nullptr, 1280);
    const QImage before = panel.Picture();
    panel.FieldPicMouseDown({200, 150});
    QVERIFY(panel.Probing);
    QVERIFY(panel.Picture() != before);
    // The compass disc is drawn round the pointer.
    bool disc = false;
    for (int dx = -14; dx <= 14 && !disc; ++dx)
        disc = panel.Picture().pixelColor(200 + dx, 150 + 12) == QColor(192, 225, 255);
    QVERIFY(disc);
    panel.FieldPicMouseMove({300, 160});
    panel.FieldPicMouseUp();
    QVERIFY(!panel.Probing);
    QCOMPARE(panel.Picture(), before);
}

void TestMagnets::togglesRepaintWithoutTracing() {
    Tem_PermMagFrm panel(nullptr, 1280);
    const auto lines = panel.Plotter->Lines;
    const QImage withGrid = panel.Picture();
    panel.FGridBtn->trigger();
    QVERIFY(!panel.Plotter->ShowGrid);
    QVERIFY(panel.Picture() != withGrid);
    QCOMPARE(panel.Picture().pixelColor(16, 200), QColor(Qt::white)); // no grid line there now
    QCOMPARE(withGrid.pixelColor(16, 200), QColor(192, 192, 192));
    panel.ArwBtn->trigger();
    QVERIFY(!panel.Plotter->ShowArrows);
    QCOMPARE(panel.Plotter->Lines, lines);
}

void TestMagnets::panelLifecycle() {
    int lensLarge = 0;
    TPanelInfo lens;
    lens.Create = [&](QWidget* owner) {
        struct TLens : TPanel {
            int* Calls;
            TLens(QWidget* o, int* c) : TPanel(o), Calls(c) {}
            void SetLargeButtons(bool) override { ++*Calls; }
        };
        return new TLens(owner, &lensLarge);
    };
    lens.DockedToolbar = false;
    lens.LargeButtons = false;
    RegisterPanel(2007, lens);

    TFrameFrm f(QStringLiteral(QUARVEL_CONTENT_DIR));
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    f.SetToolbarsAtBottom(true);
    f.Topics->SelectTopic(2002);
    auto* magnets = qobject_cast<Tem_PermMagFrm*>(f.Topics->HostedPanel());
    QVERIFY(magnets);
    QVERIFY(f.ContainerTW->isVisible());
    QCOMPARE(magnets->Toolbar()->Dock(), f.BottomDock);
    QCOMPARE(magnets->Toolbar()->DockPos(), 0);
    QVERIFY(magnets->isVisible());
    QCOMPARE(magnets->size(), f.ContainerTW->size());
    // Large buttons reach the hosted panel.
    f.UseLargeButtonsItem->trigger();
    QVERIFY(magnets->LargeButtons);
    QCOMPARE(magnets->MagnetCB->width(), 210);
    // Toolbars at top take the panel's along; the split buttons hide and show it.
    f.SetToolbarsAtBottom(false);
    QCOMPARE(magnets->Toolbar()->Dock(), f.TopDock);
    f.SplitBtnClick(f.MaxRightBtn);
    QVERIFY(!magnets->Toolbar()->isVisible());
    f.SplitBtnClick(f.NormalSplitBtn);
    QVERIFY(magnets->Toolbar()->isVisible());
    // Another panel topic releases the old panel and its toolbar.
    QPointer<Tem_PermMagFrm> old = magnets;
    QPointer<TDockToolbar> oldBar = magnets->Toolbar();
    f.Topics->SelectTopic(2007);
    QTRY_VERIFY(old.isNull());
    QTRY_VERIFY(oldBar.isNull());
    QVERIFY(f.Topics->HostedPanel());
    QCOMPARE(lensLarge, 0); // the lens takes no large-button call
    for (TDock* dock : {f.TopDock, f.BottomDock})
        for (TDockToolbar* bar : dock->Toolbars())
            QVERIFY(bar == f.HTMLToolbar || bar == f.MainToolbar || bar == f.CircuitToolbar);
    // A 3D topic releases the panel too.
    f.Topics->SelectTopic(1);
    QTRY_VERIFY(f.Topics->HostedPanel() == nullptr);
    QVERIFY(!f.ContainerTW->isVisible());
}

void TestMagnets::toolbarItemsReachable_data() {
    QTest::addColumn<QSize>("window");
    QTest::addColumn<bool>("large");
    QTest::newRow("default, normal") << QSize() << false;
    QTest::newRow("default, large") << QSize() << true;
    QTest::newRow("1024 x 768, normal") << QSize(1024, 768) << false;
    QTest::newRow("1024 x 768, large") << QSize(1024, 768) << true;
}

// No item of the panel's toolbar may hide behind the chevron for want of room.
void TestMagnets::toolbarItemsReachable() {
    QFETCH(QSize, window);
    QFETCH(bool, large);
    TFrameFrm f(QStringLiteral(QUARVEL_CONTENT_DIR));
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    if (window.isValid()) {
        f.showNormal();
        f.resize(window);
    }
    f.Topics->SelectTopic(2002);
    if (large)
        f.UseLargeButtonsItem->trigger();
    auto* magnets = qobject_cast<Tem_PermMagFrm*>(f.Topics->HostedPanel());
    QVERIFY(magnets);
    QTRY_VERIFY(magnets->Toolbar()->isVisible());
    QCoreApplication::processEvents();
    TDockToolbar* bar = magnets->Toolbar();
    for (QAction* a : bar->actions()) {
        if (!a->isVisible() || a->isSeparator())
            continue;
        QWidget* w = bar->widgetForAction(a);
        QVERIFY2(w && w->isVisible(), qPrintable(a->objectName()));
        QVERIFY2(bar->rect().contains(w->geometry()), qPrintable(a->objectName()));
    }
    // The page toolbar keeps all its items too.
    for (QAction* a : f.HTMLToolbar->actions())
        if (a->isVisible() && !a->isSeparator())
            QVERIFY2(f.HTMLToolbar->widgetForAction(a)->isVisible(), qPrintable(a->objectName()));
}

void TestMagnets::drawingAtTopLeftWithoutUnpaintedEdge() {
    Tem_PermMagFrm panel(nullptr, 1280);
    panel.resize(1400, 900); // larger than the drawing
    panel.show();
    QVERIFY(QTest::qWaitForWindowExposed(&panel));
    QWidget* pic = panel.FieldPic;
    QCOMPARE(pic->mapTo(&panel, QPoint(0, 0)), QPoint(0, 0));
    const QImage shown = pic->grab().toImage();
    QCOMPARE(shown.size(), pic->size());
    // The box is one pixel taller and wider than the drawing: that edge is white.
    for (int x = 0; x < shown.width(); x += 7)
        QCOMPARE(shown.pixelColor(x, shown.height() - 1), QColor(Qt::white));
    for (int y = 0; y < shown.height(); y += 7)
        QCOMPARE(shown.pixelColor(shown.width() - 1, y), QColor(Qt::white));
}

// With QUARVEL_SCREENSHOTS set to a folder, the five arrangements are saved there.
void TestMagnets::arrangementPictures() {
    Tem_PermMagFrm panel(nullptr, 1280);
    const QString shots = qEnvironmentVariable("QUARVEL_SCREENSHOTS");
    QList<QImage> pictures;
    for (int item = 0; item < 5; ++item) {
        panel.ChooseArrangement(item);
        QVERIFY(!panel.Plotter->Lines.empty());
        pictures << panel.Picture();
        if (!shots.isEmpty())
            panel.Picture().save(QStringLiteral("%1/magnets-%2.png").arg(shots).arg(item));
    }
    for (int i = 1; i < 5; ++i)
        QVERIFY(pictures[i] != pictures[0]);
    // Two magnets: four poles, two bodies drawn in silver.
    QCOMPARE(panel.Plotter->Charges.size(), std::size_t(4));
    QCOMPARE(panel.Picture().pixelColor(25 * 16 + 8, 19 * 16 - 4), QColor(192, 192, 192));
}

QUARVEL_GUI_TEST_MAIN(TestMagnets)
#include "tst_magnets.moc"
