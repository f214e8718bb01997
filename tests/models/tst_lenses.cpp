#include "../testmain.h"
#include "host/globals.h"
#include "models/light/camera.h"
#include "models/light/eye.h"
#include "models/light/lensexpt.h"
#include "shell/courseareas.h"
#include "shell/framefrm.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QScrollBar>
#include <QSettings>
#include <cmath>

using namespace quarvel;

namespace {
bool Near(QRgb p, int r, int g, int b, int tolerance = 3) {
    return std::abs(qRed(p) - r) <= tolerance && std::abs(qGreen(p) - g) <= tolerance &&
           std::abs(qBlue(p) - b) <= tolerance;
}
double Cross(QPointF a, QPointF b) { return a.x() * b.y() - a.y() * b.x(); }
// True when segments p1-p2 and q1-q2 cross at a point inside both.
bool ProperlyCross(QPointF p1, QPointF p2, QPointF q1, QPointF q2) {
    const double d1 = Cross(p2 - p1, q1 - p1), d2 = Cross(p2 - p1, q2 - p1);
    const double d3 = Cross(q2 - q1, p1 - q1), d4 = Cross(q2 - q1, p2 - q1);
    return ((d1 > 0 && d2 < 0) || (d1 < 0 && d2 > 0)) && ((d3 > 0 && d4 < 0) || (d3 < 0 && d4 > 0));
}
bool IsSimple(const QPolygon& poly) {
    const int n = int(poly.size());
    for (int i = 0; i < n; ++i)
        for (int j = i + 2; j < n; ++j) {
            if (i == 0 && j == n - 1)
                continue; // neighbours through the closing edge
            if (ProperlyCross(poly[i], poly[(i + 1) % n], poly[j], poly[(j + 1) % n]))
                return false;
        }
    return true;
}
} // namespace

class TestLenses : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    // lens bench
    void lensOptics_data();
    void lensOptics();
    void faceAlpha_data();
    void faceAlpha();
    void drags_data();
    void drags();
    void blurKernel();
    void blurOnly32Bit();
    void imagePicture_data();
    void imagePicture();
    void blurGrowsAwayFromTheImage();
    void lensPanel();
    // eye
    void meetingPoint_data();
    void meetingPoint();
    void arrowheadsFollowTheirRays_data();
    void arrowheadsFollowTheirRays();
    void eyeNormalSightDisablesGlasses();
    void eyeExamples_data();
    void eyeExamples();
    // camera
    void cameraOptics_data();
    void cameraOptics();
    void darkness_data();
    void darkness();
    void lightConeIsSimple_data();
    void lightConeIsSimple();
    void cameraPanel();
    void panelsFromTheirPages();
};

void TestLenses::initTestCase() {
    RegisterCourseAreas();
    QSettings(QStringLiteral("Brantock"), QStringLiteral("Quarvel")).clear();
    TexturesFolder = QStringLiteral(QUARVEL_CONTENT_DIR "/Textures/");
}

void TestLenses::lensOptics_data() {
    QTest::addColumn<double>("lens");
    QTest::addColumn<double>("screen");
    QTest::addColumn<double>("v");
    QTest::addColumn<double>("m");
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("alpha");
    QTest::addColumn<bool>("blurred");
    QTest::newRow("start") << 32.0 << 60.0 << 28.235 << 0.882 << 57 << 255 << false;
    QTest::newRow("+lensmag") << 20.0 << 80.0 << 60.0 << 3.0 << 195 << 182 << false;
    QTest::newRow("+lensdim") << 43.0 << 66.0 << 23.035 << 0.536 << 35 << 255 << false;
    QTest::newRow("+large") << 17.0 << 144.5 << 127.5 << 7.5 << 488 << 70 << false;
    QTest::newRow("screen too near") << 32.0 << 40.0 << 28.235 << 0.882 << 57 << 255 << true;
}

void TestLenses::lensOptics() {
    QFETCH(double, lens);
    QFETCH(double, screen);
    QFETCH(double, v);
    QFETCH(double, m);
    QFETCH(int, size);
    QFETCH(int, alpha);
    QFETCH(bool, blurred);
    TLensBench bench;
    bench.SetBench(lens, screen);
    const TLensOptics o = bench.Optics();
    QVERIFY(std::abs(o.V - v) < 0.01);
    QVERIFY(std::abs(o.M - m) < 0.001);
    QCOMPARE(o.ImageSize(), size);
    QCOMPARE(o.FaceAlpha(), alpha);
    QCOMPARE(o.B > 0.3, blurred);
}

void TestLenses::faceAlpha_data() {
    QTest::addColumn<double>("m");
    QTest::addColumn<int>("alpha");
    QTest::newRow("object") << 0.0 << 255;
    QTest::newRow("reduced") << 0.5 << 255;
    QTest::newRow("exactly 1") << 1.0 << 255;
    QTest::newRow("just above 1") << 1.001 << 232;
    QTest::newRow("2") << 2.0 << 207;
    QTest::newRow("7.5") << 7.5 << 70;
}

void TestLenses::faceAlpha() {
    QFETCH(double, m);
    QFETCH(int, alpha);
    QCOMPARE(FaceAlphaFor(m), alpha);
}

void TestLenses::drags_data() {
    QTest::addColumn<QPoint>("press");
    QTest::addColumn<int>("to");
    QTest::addColumn<int>("dragging");
    QTest::addColumn<bool>("taken");
    QTest::addColumn<int>("lensX");
    QTest::addColumn<int>("screenX");
    QTest::newRow("lens along") << QPoint(230, 60) << 200 << 1 << true << 195 << 375;
    QTest::newRow("lens to its nearest") << QPoint(230, 60) << 155 << 1 << true << 150 << 375;
    QTest::newRow("lens too near the object") << QPoint(230, 60) << 154 << 1 << false << 225 << 375;
    QTest::newRow("lens onto the screen") << QPoint(230, 60) << 359 << 1 << false << 225 << 375;
    QTest::newRow("lens beside the screen") << QPoint(230, 60) << 358 << 1 << true << 353 << 375;
    QTest::newRow("screen away") << QPoint(377, 100) << 500 << 2 << true << 225 << 498;
    QTest::newRow("screen off the bench") << QPoint(377, 100) << 827 << 2 << false << 225 << 375;
    QTest::newRow("screen onto the lens") << QPoint(377, 100) << 248 << 2 << false << 225 << 375;
    QTest::newRow("nothing under the press") << QPoint(300, 60) << 400 << 0 << false << 225 << 375;
    QTest::newRow("below the lens") << QPoint(230, 125) << 300 << 0 << false << 225 << 375;
}

void TestLenses::drags() {
    QFETCH(QPoint, press);
    QFETCH(int, to);
    QFETCH(int, dragging);
    QFETCH(bool, taken);
    QFETCH(int, lensX);
    QFETCH(int, screenX);
    TLensBench bench;
    bench.Press(press);
    QCOMPARE(bench.Dragging, dragging);
    QCOMPARE(bench.MoveTo(to), taken);
    QCOMPARE(bench.LensX, lensX);
    QCOMPARE(bench.ScreenX, screenX);
    bench.Release();
    QCOMPARE(bench.Dragging, 0);
}

void TestLenses::blurKernel() {
    for (double radius : {0.5, 1.0, 3.0, 12.0}) {
        const std::vector<double> k = TExBitmap::Kernel(radius);
        QVERIFY(k.size() % 2 == 1);
        double sum = 0;
        for (double w : k)
            sum += w;
        QVERIFY(std::abs(sum - 1) < 1e-12);
        QCOMPARE(k.front(), k.back());
        QVERIFY(k[k.size() / 2] > k[k.size() / 2 + 1]);
    }
    // The cut keeps at least three weights and grows with the radius.
    QCOMPARE(TExBitmap::Kernel(0.1).size(), std::size_t(3));
    QVERIFY(TExBitmap::Kernel(12).size() > TExBitmap::Kernel(3).size());
    TExBitmap b;
    QCOMPARE(b.Radius(), 3.0);
    b.SetRadius(-2);
    b.SetRadius(0);
    QCOMPARE(b.Radius(), 3.0);
    b.SetRadius(1.5);
    QCOMPARE(b.Radius(), 1.5);
}

void TestLenses::blurOnly32Bit() {
    TExBitmap b;
    b.Bitmap = QImage(10, 10, QImage::Format_RGB888);
    QVERIFY_THROWS_EXCEPTION(EExBitmapAssertion, b.GaussianBlur());
    // A spot spreads; a plain picture stays plain.
    b.Bitmap = QImage(21, 21, QImage::Format_ARGB32);
    b.Bitmap.fill(0xFF000000);
    b.Bitmap.setPixel(10, 10, 0xFFFFFFFF);
    b.SetRadius(2);
    b.GaussianBlur();
    QVERIFY(qRed(b.Bitmap.pixel(10, 10)) < 255);
    QVERIFY(qRed(b.Bitmap.pixel(12, 10)) > 0);
    QCOMPARE(qRed(b.Bitmap.pixel(12, 10)), qRed(b.Bitmap.pixel(8, 10)));
    QCOMPARE(qAlpha(b.Bitmap.pixel(0, 0)), 255);
    b.Bitmap.fill(0xFF808080);
    b.GaussianBlur();
    QVERIFY(Near(b.Bitmap.pixel(0, 0), 128, 128, 128, 1));
}

// The face's middle (between the eyes, above the mouth) lands at the picture's
// centre; it is yellow dimmed by the face's alpha over black.
void TestLenses::imagePicture_data() {
    QTest::addColumn<double>("lens");
    QTest::addColumn<double>("screen");
    QTest::addColumn<int>("level");
    QTest::addColumn<int>("size");
    QTest::newRow("start") << 32.0 << 60.0 << 255 << 57;
    QTest::newRow("+lensmag") << 20.0 << 80.0 << 182 << 195;
    QTest::newRow("+large") << 17.0 << 144.5 << 70 << 488;
}

void TestLenses::imagePicture() {
    QFETCH(double, lens);
    QFETCH(double, screen);
    QFETCH(int, level);
    QFETCH(int, size);
    TLensBench bench;
    bench.SetBench(lens, screen);
    const QImage image = DrawLensImage(bench, false);
    QCOMPARE(image.size(), QSize(256, 256));
    QVERIFY2(Near(image.pixel(128, 128), level, level, 0, 4),
             qPrintable(QString::number(image.pixel(128, 128), 16)));
    if (size < 250) {
        const int g = (256 - size) / 2;
        QCOMPARE(image.pixel(g - 2, 128), 0xFFFFFFFFu);        // white round the square
        QVERIFY(Near(image.pixel(g + 1, g + 1), 0, 0, 0, 8)); // the square's corner: black
    } else {
        QCOMPARE(image.pixel(0, 0), 0xFF3F3F3Fu); // cut off at the frame
    }
    // Upside down: the mouth, red, is above the middle (cut off at +large).
    if (size < 250) {
        const QRgb mouth = image.pixel(128, 128 - int(size * 17.5 / 65));
        QVERIFY2(qRed(mouth) > 2 * qGreen(mouth) + 10, qPrintable(QString::number(mouth, 16)));
    }
}

void TestLenses::blurGrowsAwayFromTheImage() {
    // The eye's edge is crisp with the screen at the image and soft away from it.
    auto contrast = [](const QImage& image) {
        int most = 0;
        for (int x = 60; x < 196; ++x)
            most = std::max(most, std::abs(qGray(image.pixel(x + 1, 128)) - qGray(image.pixel(x, 128))));
        return most;
    };
    TLensBench bench;
    bench.SetBench(20, 80);
    const int sharp = contrast(DrawLensImage(bench, false));
    bench.SetBench(20, 70);
    QVERIFY(bench.Optics().B > 0.3);
    const int soft = contrast(DrawLensImage(bench, false));
    bench.SetBench(20, 50);
    const int softer = contrast(DrawLensImage(bench, false));
    QVERIFY2(sharp > soft && soft > softer, qPrintable(QStringLiteral("%1 %2 %3").arg(sharp).arg(soft).arg(softer)));
}

void TestLenses::lensPanel() {
    TLensFrm f;
    f.resize(900, 600);
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    QCOMPARE(f.BenchImage().size(), QSize(845, 200));
    QCOMPARE(f.BenchImage().pixel(30, 70), 0xFF7F7F7Fu); // the light box
    QCOMPARE(f.BenchImage().pixel(377, 70), 0xFF7F7F7Fu); // the screen
    QVERIFY2(Near(f.BenchImage().pixel(235, 70), 0xC0, 0xE1, 0xFF, 8), qPrintable(QString::number(f.BenchImage().pixel(235, 70), 16))); // the clear middle of the lens
    // The grid lies on both pictures while "Show grid" is checked.
    QVERIFY(f.LargeImage().pixel(16, 3) != 0xFF7F7F7Fu);
    f.GridChk->setChecked(true);
    QCOMPARE(f.LargeImage().pixel(16, 3), 0xFF7F7F7Fu);
    QCOMPARE(f.ObjectImage().pixel(16, 2), 0xFF7F7F7Fu);
    f.GridChk->setChecked(false);
    // A drag of the screen with the mouse, then one the bench refuses.
    QTest::mousePress(f.pic, Qt::LeftButton, {}, QPoint(377, 100));
    QTest::mouseMove(f.pic, QPoint(452, 100));
    QCOMPARE(f.Bench.ScreenX, 450);
    const QImage before = f.LargeImage();
    QTest::mouseMove(f.pic, QPoint(830, 100));
    QCOMPARE(f.Bench.ScreenX, 450);
    QCOMPARE(f.LargeImage(), before);
    QTest::mouseRelease(f.pic, Qt::LeftButton, {}, QPoint(830, 100));
    QCOMPARE(f.Bench.Dragging, 0);
    QVERIFY(f.RunOperation(QStringLiteral("LensPositions"), {17, 144.5}));
    QCOMPARE(f.Bench.LensX, 150);
    QCOMPARE(f.Bench.ScreenX, 797);
    QCOMPARE(f.BenchImage().pixel(799, 70), 0xFF7F7F7Fu);
}

void TestLenses::meetingPoint_data() {
    QTest::addColumn<int>("sight");
    QTest::addColumn<int>("p");
    QTest::addColumn<int>("x");
    QTest::newRow("normal near") << 0 << 350 << 21;
    QTest::newRow("normal far") << 0 << 1000 << 21;
    QTest::newRow("short near") << 1 << 350 << 21;
    QTest::newRow("short 376") << 1 << 376 << 21;
    QTest::newRow("short 475") << 1 << 475 << 31;
    QTest::newRow("short 574") << 1 << 574 << 41;
    QTest::newRow("short far") << 1 << 1000 << 41;
    QTest::newRow("long near") << 2 << 350 << 1;
    QTest::newRow("long 425") << 2 << 425 << 6;
    QTest::newRow("long far") << 2 << 1000 << 21;
}

void TestLenses::meetingPoint() {
    QFETCH(int, sight);
    QFETCH(int, p);
    QFETCH(int, x);
    const TEyeDiagram d{sight, false, p};
    QCOMPARE(d.MeetX(), x);
    for (const QPolygonF& ray : d.Rays())
        QCOMPARE(ray.first(), QPointF(x, 120));
}

void TestLenses::arrowheadsFollowTheirRays_data() {
    QTest::addColumn<int>("sight");
    QTest::addColumn<bool>("glasses");
    QTest::addColumn<int>("p");
    QTest::newRow("normal near") << 0 << false << 350;
    QTest::newRow("normal middle") << 0 << false << 640;
    QTest::newRow("normal far") << 0 << false << 1000;
    QTest::newRow("long, glasses, near") << 2 << true << 350;
    QTest::newRow("long, glasses, 500") << 2 << true << 500;
    QTest::newRow("short, glasses, far") << 1 << true << 1000;
    QTest::newRow("short, glasses, 400") << 1 << true << 400;
}

void TestLenses::arrowheadsFollowTheirRays() {
    QFETCH(int, sight);
    QFETCH(bool, glasses);
    QFETCH(int, p);
    const TEyeDiagram d{sight, glasses, p};
    const auto rays = d.Rays();
    const auto heads = d.ArrowHeads();
    for (int side = 0; side < 2; ++side) {
        const QPolygonF& ray = rays[side];
        const QPointF a = ray[ray.size() - 2], b = ray.last(); // the part from the object
        QVERIFY(a.x() <= 300 && b.x() > 300);
        const QPointF along = (a - b) / std::hypot((a - b).x(), (a - b).y());
        const TArrowHead& h = heads[side];
        QCOMPARE(h.Tip.x(), 300.0);
        QVERIFY(std::abs(Cross(h.Direction, along)) < 1e-9); // parallel to the ray
        QVERIFY(h.Direction.x() < 0);                         // towards the eye
        const double y = a.y() + (300 - a.x()) * (b.y() - a.y()) / (b.x() - a.x());
        QVERIFY(std::abs(h.Tip.y() - y) <= 0.5);
        const QPolygonF tri = h.Triangle();
        QVERIFY(std::abs(std::hypot((tri[1] - tri[2]).x(), (tri[1] - tri[2]).y()) - 8) < 1e-9);
    }
}

void TestLenses::eyeNormalSightDisablesGlasses() {
    TEyeFrm f;
    QVERIFY(!f.GlassesBtn->isEnabled());
    QVERIFY(f.NormalBtn->isChecked());
    f.VisionClick(f.LongBtn);
    QVERIFY(f.GlassesBtn->isEnabled());
    f.GlassesBtn->setChecked(true);
    f.VisionClick(f.GlassesBtn);
    QVERIFY(f.Glasses);
    QCOMPARE(f.Sight, 2);
    f.VisionClick(f.NormalBtn);
    QCOMPARE(f.Sight, 0);
    QVERIFY(!f.Glasses);
    QVERIFY(!f.GlassesBtn->isChecked());
    QVERIFY(!f.GlassesBtn->isEnabled());
    QVERIFY(f.Diagram().Spectacles().isEmpty());
    const qreal normal = f.NormalBtn->font().pointSizeF();
    f.SetLargeButtons(true);
    QCOMPARE(f.NormalBtn->font().pointSizeF(), normal * 1.5);
    f.SetLargeButtons(false);
    QCOMPARE(f.NormalBtn->font().pointSizeF(), normal);
}

void TestLenses::eyeExamples_data() {
    QTest::addColumn<QString>("word");
    QTest::addColumn<int>("p");
    QTest::addColumn<int>("sight");
    QTest::addColumn<bool>("glasses");
    QTest::addColumn<int>("meet");
    QTest::addColumn<bool>("nearSharp");
    QTest::addColumn<bool>("farSharp");
    QTest::newRow("+ss_near") << "+ss_near" << 350 << 1 << false << 21 << true << false;
    QTest::newRow("+ss_far") << "+ss_far" << 1000 << 1 << false << 41 << true << false;
    QTest::newRow("+ls_near") << "+ls_near" << 350 << 2 << false << 1 << false << true;
    QTest::newRow("+ls_far") << "+ls_far" << 1000 << 2 << false << 21 << false << true;
    QTest::newRow("+ss_lens") << "+ss_lens" << 1000 << 1 << true << 21 << true << true;
    QTest::newRow("+ls_lens") << "+ls_lens" << 350 << 2 << true << 21 << true << true;
}

void TestLenses::eyeExamples() {
    QFETCH(QString, word);
    QFETCH(int, p);
    QFETCH(int, sight);
    QFETCH(bool, glasses);
    QFETCH(int, meet);
    QFETCH(bool, nearSharp);
    QFETCH(bool, farSharp);
    static const QHash<QString, QVariantList> args = {
        {QStringLiteral("+ss_near"), {350, 1, 0}},  {QStringLiteral("+ss_far"), {1000, 1, 0}},
        {QStringLiteral("+ls_near"), {350, 2, 0}},  {QStringLiteral("+ls_far"), {1000, 2, 0}},
        {QStringLiteral("+ss_lens"), {1000, 1, 1}}, {QStringLiteral("+ls_lens"), {350, 2, 1}}};
    TEyeFrm f;
    // Start from another case so each example must set everything itself.
    f.SetCase(700, 2, true);
    QVERIFY(f.RunOperation(QStringLiteral("EyeExample"), args.value(word)));
    QCOMPARE(f.EyeDistHsb->value(), p);
    QCOMPARE(f.Sight, sight);
    QCOMPARE(f.Glasses, glasses);
    const TEyeDiagram d = f.Diagram();
    QCOMPARE(d.Rays()[0].first().x(), double(meet));
    QCOMPARE(d.NearSharp(), nearSharp);
    QCOMPARE(d.FarSharp(), farSharp);
    QCOMPARE(d.Spectacles().isEmpty(), !glasses);
    if (glasses)
        QCOMPARE(d.Spectacles().size(), sight == 2 ? 17 : 18);
    QCOMPARE(f.Picture().size(), QSize(680, 240));
}

void TestLenses::cameraOptics_data() {
    QTest::addColumn<int>("object");
    QTest::addColumn<int>("lens");
    QTest::addColumn<int>("blur");
    QTest::newRow("start") << 435 << -22 << 11;
    QTest::newRow("+objnear") << 185 << 6 << 14;
    QTest::newRow("+objnear1") << 185 << -10 << 215;
    QTest::newRow("lens pulled right in") << 435 << -25 << 85;
    QTest::newRow("lens far out") << 435 << 25 << 255;
}

void TestLenses::cameraOptics() {
    QFETCH(int, object);
    QFETCH(int, lens);
    QFETCH(int, blur);
    QCOMPARE(TCameraOptics::Of(object, lens).Blur, blur);
}

void TestLenses::darkness_data() {
    QTest::addColumn<int>("aperture");
    QTest::addColumn<int>("alpha");
    QTest::newRow("wide open") << 25 << 27;
    QTest::newRow("closed") << 0 << 255;
    QTest::newRow("half") << 12 << 146;
}

void TestLenses::darkness() {
    QFETCH(int, aperture);
    QFETCH(int, alpha);
    QCOMPARE(DarknessAlpha(aperture), alpha);
}

void TestLenses::lightConeIsSimple_data() {
    QTest::addColumn<int>("object");
    QTest::addColumn<int>("lens");
    QTest::addColumn<int>("aperture");
    QTest::addColumn<int>("pieces");
    QTest::newRow("start") << 435 << -22 << 25 << 1;
    QTest::newRow("small aperture") << 435 << -22 << 3 << 1;
    QTest::newRow("image behind the film") << 185 << -10 << 25 << 1;
    QTest::newRow("lens 13") << 435 << 13 << 25 << 1;
    QTest::newRow("lens 15, image past the diaphragm") << 435 << 15 << 25 << 2;
    QTest::newRow("lens 25") << 435 << 25 << 10 << 2;
    QTest::newRow("near object, lens 25") << 185 << 25 << 25 << 1;
}

void TestLenses::lightConeIsSimple() {
    QFETCH(int, object);
    QFETCH(int, lens);
    QFETCH(int, aperture);
    QFETCH(int, pieces);
    const TCameraOptics o = TCameraOptics::Of(object, lens);
    const auto cone = LightCone(o, aperture, 1.5, 180);
    QCOMPARE(int(cone.size()), pieces);
    for (const QPolygon& piece : cone)
        QVERIFY(IsSimple(piece));
    // Every piece touches the image point.
    for (const QPolygon& piece : cone)
        QVERIFY(piece.contains(QPoint(int(std::lround(1.5 * o.I)), 180)) ||
                piece.contains(QPoint(int(std::nearbyint(1.5 * o.I)), 180)));
}

void TestLenses::cameraPanel() {
    TCameraFrm f;
    f.resize(700, 600);
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    // The photograph's layers show the start's blur and darkness from the first.
    QCOMPARE(f.Blur, 11);
    QCOMPARE(f.BlurAlpha, 11);
    QCOMPARE(f.DarkAlpha, 27);
    QCOMPARE(f.Pic->size(), QSize(700, 350));
    QCOMPARE(f.Scale, float(700 / 480.0));
    const QRgb centreBefore = f.Photograph().pixel(100, 105);
    f.ApertureHsb->setValue(0);
    QCOMPARE(f.DarkAlpha, 255);
    QCOMPARE(f.BlurAlpha, 11); // the aperture leaves the blur alone
    QVERIFY(Near(f.Photograph().pixel(100, 105), 0, 0, 0, 1));
    f.ApertureHsb->setValue(25);
    QCOMPARE(f.Photograph().pixel(100, 105), centreBefore);
    QVERIFY(f.RunOperation(QStringLiteral("CameraExample"), {185, -10}));
    QCOMPARE(f.CamObjHsb->value(), 185);
    QCOMPARE(f.CamLensHsb->value(), -10);
    QCOMPARE(f.BlurAlpha, 215);
    QVERIFY(f.RunOperation(QStringLiteral("CameraExample"), {185, 6}));
    QCOMPARE(f.BlurAlpha, 14);
    // The diagram: the film is red, the frame grey.
    const QImage d = f.Diagram();
    QCOMPARE(d.pixel(int(std::lround(20 * f.Scale)), 175), 0xFFFF0000u);
    QCOMPARE(d.pixel(0, 100), 0xFF7F7F7Fu);
    f.SetLargeButtons(true);
    QCOMPARE(f.Labels[0]->font().pointSize(), 12);
    f.SetLargeButtons(false);
    QCOMPARE(f.Labels[0]->font().pointSize(), 10);
    // Too short for the full width: the diagram is twice as wide as the free height.
    f.resize(700, 400);
    QCOMPARE(f.Pic->height() * 2, f.Pic->width());
    QVERIFY(f.Pic->geometry().bottom() < 400);
}

void TestLenses::panelsFromTheirPages() {
    TFrameFrm f(QStringLiteral(QUARVEL_CONTENT_DIR));
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    f.Topics->SelectTopic(2007);
    auto* lens = qobject_cast<TLensFrm*>(f.Topics->HostedPanel());
    QVERIFY(lens);
    QVERIFY(f.RunPageCommand(QStringLiteral("+lensmag")));
    QCOMPARE(lens->Bench.LensX, 165);
    QCOMPARE(lens->Bench.ScreenX, 475);
    f.Topics->SelectTopic(2009);
    QTRY_VERIFY(qobject_cast<TEyeFrm*>(f.Topics->HostedPanel()));
    auto* eye = qobject_cast<TEyeFrm*>(f.Topics->HostedPanel());
    QVERIFY(eye->Toolbar()->isVisible());
    QVERIFY(f.RunPageCommand(QStringLiteral("+ls_lens")));
    QCOMPARE(eye->Sight, 2);
    QVERIFY(eye->Glasses);
    QVERIFY(!eye->Picture().isNull());
    f.Topics->SelectTopic(2014);
    QTRY_VERIFY(qobject_cast<TCameraFrm*>(f.Topics->HostedPanel()));
    auto* camera = qobject_cast<TCameraFrm*>(f.Topics->HostedPanel());
    QVERIFY(f.RunPageCommand(QStringLiteral("+objnear1")));
    QCOMPARE(camera->BlurAlpha, 215);
}

QUARVEL_GUI_TEST_MAIN(TestLenses)
#include "tst_lenses.moc"
