#include "../testmain.h"
#include "models/light/symdraw.h"
#include "widgets/cursors.h"
#include "shell/courseareas.h"
#include "shell/framefrm.h"

#include <QAction>
#include <QComboBox>
#include <QPainter>
#include <QSettings>
#include <QSlider>

using namespace quarvel;

namespace {
bool IsWhite(const QImage& image) {
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if ((image.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF)
                return false;
    return true;
}
int CountColour(const QImage& image, QRgb c) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += image.pixel(x, y) == c;
    return n;
}
bool Dark(const QImage& image, QPointF p) {
    return qGray(image.pixel(int(std::lround(p.x())), int(std::lround(p.y())))) < 128;
}
} // namespace

class TestSymDraw : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void copies_data();
    void copies();
    void strokeRepeats_data();
    void strokeRepeats();
    void tinyMoveDrawsNothing();
    void strokeNeedsPressInside();
    void fillOwnColourChangesNothing();
    void fullAreaFill();
    void copiesFillOnlyTheOriginalColour();
    void fillIsFourConnected();
    void palette();
    void preview_data();
    void preview();
    void panel();
    void kscopePage();
};

void TestSymDraw::initTestCase() {
    RegisterCourseAreas();
    QSettings(QStringLiteral("Brantock"), QStringLiteral("Quarvel")).clear();
}

void TestSymDraw::copies_data() {
    QTest::addColumn<int>("item");
    QTest::addColumn<int>("n");
    QTest::newRow("180") << 0 << 2;
    QTest::newRow("120") << 1 << 3;
    QTest::newRow("90") << 2 << 4;
    QTest::newRow("72") << 3 << 5;
    QTest::newRow("60") << 4 << 6;
    QTest::newRow("45") << 5 << 8;
    QTest::newRow("other") << 9 << 8;
}

void TestSymDraw::copies() {
    QFETCH(int, item);
    QFETCH(int, n);
    QCOMPARE(CopiesForAngleItem(item), n);
}

void TestSymDraw::strokeRepeats_data() {
    QTest::addColumn<int>("n");
    QTest::newRow("180 degrees: one repeat") << 2;
    QTest::newRow("120 degrees") << 3;
    QTest::newRow("45 degrees: eight in all") << 8;
}

void TestSymDraw::strokeRepeats() {
    QFETCH(int, n);
    TSymDrawing d;
    d.Copies = n;
    d.PenWidth = 3;
    d.Press(QPoint(300, 100));
    QVERIFY(d.StrokeTo(QPoint(360, 100)));
    QCOMPARE(d.LastPoint, QPoint(360, 100));
    const QPointF mid(330, 100);
    for (int k = 0; k < n; ++k)
        QVERIFY2(Dark(d.Image, RotateAboutCentre(mid, k, n)), qPrintable(QStringLiteral("copy %1").arg(k)));
    // Nothing in between the copies: half a step round is still white.
    for (int k = 0; k < n; ++k) {
        const QPointF between = RotateAboutCentre(mid, 2 * k + 1, 2 * n);
        QVERIFY(!Dark(d.Image, between));
    }
    // The copy half a turn round, for two copies, is the stroke turned about the centre.
    if (n == 2)
        QVERIFY(Dark(d.Image, QPointF(170, 400)));
}

void TestSymDraw::tinyMoveDrawsNothing() {
    TSymDrawing d;
    d.Press(QPoint(100, 100));
    QVERIFY(!d.StrokeTo(QPoint(103, 100))); // 9 < 10
    QCOMPARE(d.LastPoint, QPoint(100, 100));
    QVERIFY(IsWhite(d.Image));
    QVERIFY(d.StrokeTo(QPoint(103, 101))); // 10
    QVERIFY(!IsWhite(d.Image));
}

void TestSymDraw::strokeNeedsPressInside() {
    TSymDrawing d;
    d.LastPoint = QPoint(10, 10); // a stale point from an earlier stroke
    QVERIFY(!d.StrokeTo(QPoint(400, 400)));
    d.Press(QPoint(-5, 20)); // outside the drawing
    QVERIFY(!d.StrokeTo(QPoint(400, 400)));
    QVERIFY(IsWhite(d.Image));
    d.Press(QPoint(100, 100));
    d.Release();
    QVERIFY(!d.StrokeTo(QPoint(200, 200)));
    QVERIFY(IsWhite(d.Image));
    d.Press(QPoint(100, 100));
    QVERIFY(!d.StrokeTo(QPoint(500, 200))); // a point off the drawing is ignored
    QVERIFY(IsWhite(d.Image));
}

void TestSymDraw::fillOwnColourChangesNothing() {
    TSymDrawing d;
    d.FillColour = 0xFFFFFFFF;
    const QImage before = d.Image;
    QCOMPARE(d.FillAt(QPoint(250, 250)), 0);
    QCOMPARE(FloodFill(d.Image, QPoint(3, 3), 0xFFFFFFFF), 0);
    QCOMPARE(d.Image, before);
}

void TestSymDraw::fullAreaFill() {
    TSymDrawing d;
    d.Copies = 8;
    d.FillColour = 0xFFFF0000;
    // One fill covers the whole drawing; the turned points then show the
    // fill colour, not white, and fill nothing more.
    QCOMPARE(d.FillAt(QPoint(120, 40)), 250000);
    QCOMPARE(CountColour(d.Image, 0xFFFF0000), 250000);
}

void TestSymDraw::copiesFillOnlyTheOriginalColour() {
    TSymDrawing d;
    d.Copies = 2;
    d.FillColour = 0xFFFF0000;
    {
        QPainter p(&d.Image);
        p.fillRect(250, 0, 1, 500, Qt::black); // two halves
    }
    QCOMPARE(d.FillAt(QPoint(100, 100)), 250 * 500 + 249 * 500); // both sides of the line
    QCOMPARE(d.Image.pixel(400, 400), 0xFFFF0000);

    TSymDrawing e;
    e.Copies = 2;
    e.FillColour = 0xFFFF0000;
    {
        QPainter p(&e.Image);
        p.fillRect(250, 0, 250, 500, Qt::blue); // the right half is blue
    }
    QCOMPARE(e.FillAt(QPoint(100, 100)), 250 * 500);
    QCOMPARE(e.Image.pixel(400, 400), QColor(Qt::blue).rgb());
}

void TestSymDraw::fillIsFourConnected() {
    QImage image(5, 5, QImage::Format_RGB32);
    image.fill(0xFFFFFFFF);
    // A black diagonal: the corner beyond it touches only diagonally.
    for (int i = 0; i < 5; ++i)
        image.setPixel(i, 4 - i, 0xFF000000);
    QCOMPARE(FloodFill(image, QPoint(0, 0), 0xFF00FF00), 10);
    QCOMPARE(image.pixel(4, 4), 0xFFFFFFFFu);
    QCOMPARE(FloodFill(image, QPoint(7, 0), 0xFF00FF00), 0);
}

void TestSymDraw::palette() {
    const auto& colours = PaletteColours();
    QCOMPARE(colours.size(), 100);
    QCOMPARE(colours.first(), 0xFF000000u);
    QCOMPARE(colours[13], 0xFFFFFF00u);
    QCOMPARE(colours.last(), 0xFF29022Fu);
    QCOMPARE(PaletteHint(0xFF008FDF), QStringLiteral("RGB(0, 143, 223)\nHex: 008FDF"));
    TColourPalette grid;
    grid.resize(160, 160);
    QCOMPARE(grid.CellAt(QPoint(0, 0)), 0);
    QCOMPARE(grid.CellAt(QPoint(17, 16)), 11);
    QCOMPARE(grid.CellAt(QPoint(159, 159)), 99);
    QCOMPARE(grid.CellAt(QPoint(5, 161)), -1);
    QCOMPARE(grid.heightForWidth(400), 64);
    QCOMPARE(grid.heightForWidth(160), 160);
}

void TestSymDraw::preview_data() {
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("top");
    QTest::addColumn<int>("bottom");
    QTest::newRow("hairline") << 1 << 25 << 25;
    QTest::newRow("width 2") << 2 << 24 << 26;
    QTest::newRow("width 5") << 5 << 23 << 27;
}

void TestSymDraw::preview() {
    QFETCH(int, width);
    QFETCH(int, top);
    QFETCH(int, bottom);
    const QImage image = DrawPenPreview(0xFF0000FF, 0xFFFFFF00, width);
    QCOMPARE(image.pixel(20, top - 1), 0xFFFFFF00u);
    QCOMPARE(image.pixel(20, top), 0xFF0000FFu);
    QCOMPARE(image.pixel(20, bottom), 0xFF0000FFu);
    QCOMPARE(image.pixel(20, bottom + 1), 0xFFFFFF00u);
    QCOMPARE(image.pixel(0, 10), 0xFF3F3F3Fu);
}

void TestSymDraw::panel() {
    TSymDrawFrm f;
    f.resize(600, 700);
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    QCOMPARE(f.AngleCB->currentText(), QStringLiteral("60 degrees"));
    QCOMPARE(f.Drawing.Copies, 6);
    QVERIFY(f.PenChosen());
    QCOMPARE(f.SDPenSizeTB->value(), 2);
    // The cursors are our own pictures, pencil for the pen and the pot for fills.
    QVERIFY(!ScreenCursor(2).pixmap().isNull());
    QVERIFY(!ScreenCursor(3).pixmap().isNull());
    QCOMPARE(f.pic->cursor().pixmap().cacheKey(), ScreenCursor(2).pixmap().cacheKey());
    // The palette sets the pen's colour while the pen is chosen, the fill's otherwise.
    f.PaletteClick(0xFFEF3F00);
    QCOMPARE(f.Drawing.PenColour, 0xFFEF3F00u);
    f.sdFillBtn->trigger();
    QCOMPARE(f.pic->cursor().pixmap().cacheKey(), ScreenCursor(3).pixmap().cacheKey());
    f.PaletteClick(0xFF00904F);
    QCOMPARE(f.Drawing.FillColour, 0xFF00904Fu);
    QCOMPARE(f.Drawing.PenColour, 0xFFEF3F00u);
    QCOMPARE(f.Preview().pixel(10, 10), 0xFF00904Fu);
    // Pointer on the drawing: a fill, then a stroke with the pen.
    QTest::mouseClick(f.pic, Qt::LeftButton, {}, QPoint(20, 20));
    QCOMPARE(f.Drawing.Image.pixel(480, 480), 0xFF00904Fu);
    f.sdPenBtn->trigger();
    QTest::mousePress(f.pic, Qt::LeftButton, {}, QPoint(100, 100));
    QMouseEvent move(QEvent::MouseMove, QPointF(160, 100), f.pic->mapToGlobal(QPointF(160, 100)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(f.pic, &move);
    QTest::mouseRelease(f.pic, Qt::LeftButton, {}, QPoint(160, 100));
    QCOMPARE(f.Drawing.Image.pixel(130, 100), 0xFFEF3F00u);
    // A change of angle clears the drawing; so does Clear.
    f.AngleChosen(5);
    QCOMPARE(f.Drawing.Copies, 8);
    QCOMPARE(f.AngleCB->currentIndex(), 5);
    QVERIFY(IsWhite(f.Drawing.Image));
    f.Drawing.Press(QPoint(100, 100));
    QVERIFY(f.Drawing.StrokeTo(QPoint(140, 100)));
    f.ClearBtn->trigger();
    QVERIFY(IsWhite(f.Drawing.Image));
    // Large buttons: 48-pixel images and a larger combo font.
    f.SetLargeButtons(true);
    QCOMPARE(f.Toolbar()->iconSize(), QSize(48, 48));
    QCOMPARE(f.AngleCB->font().pointSize(), 12);
    f.SetLargeButtons(false);
    QCOMPARE(f.Toolbar()->iconSize(), QSize(24, 24));
    QCOMPARE(f.AngleCB->font().pointSize(), 8);
}

void TestSymDraw::kscopePage() {
    TFrameFrm f(QStringLiteral(QUARVEL_CONTENT_DIR));
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    f.Topics->SelectTopic(2015);
    auto* panel = qobject_cast<TSymDrawFrm*>(f.Topics->HostedPanel());
    QVERIFY(panel);
    QVERIFY(panel->Toolbar()->Dock() == f.TopDock || panel->Toolbar()->Dock() == f.BottomDock);
}

QUARVEL_GUI_TEST_MAIN(TestSymDraw)
#include "tst_symdraw.moc"
