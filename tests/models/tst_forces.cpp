#include "../testmain.h"
#include "common/random.h"
#include "host/panel.h"
#include "models/forces/friction.h"
#include "models/forces/frictionfrm.h"
#include "models/forces/moments.h"
#include "models/forces/momentsfrm.h"
#include "widgets/picturebox.h"
#include "models/forces/springfrm.h"
#include "models/forces/springs.h"
#include "widgets/dialogs.h"
#include "widgets/dock.h"
#include "shell/courseareas.h"
#include "shell/framefrm.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QScrollBar>
#include <QSettings>
#include <QSpinBox>
#include <QToolButton>
#include <QWheelEvent>
#include <cmath>

using namespace quarvel;

namespace {
// Seeds of the shared generator that give a first 100 g load within 0.03 g
// of 100 g, and a friction offset within 0.01 N of nothing.
constexpr std::uint32_t kEvenLoadSeed = 16;
constexpr std::uint32_t kSmallNoiseSeed = 111;

double Cm(float metres) { return std::round(double(metres) * 10000.0) / 100.0; }

// Pixels of the picture close to `colour`.
int CountNear(const QImage& image, QColor colour, int tolerance = 40) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (std::abs(c.red() - colour.red()) <= tolerance && std::abs(c.green() - colour.green()) <= tolerance &&
                std::abs(c.blue() - colour.blue()) <= tolerance)
                ++n;
        }
    return n;
}

int BluePixels(const QImage& image) { return CountNear(image, QColor(0, 0, 255), 60); }

// Saves a panel's picture when a folder for pictures is given, for the docs.
void Keep(const QImage& image, const char* name) {
    const QString dir = qEnvironmentVariable("QUARVEL_PANEL_PICTURES");
    if (!dir.isEmpty())
        image.save(QDir(dir).filePath(QLatin1String(name)));
}

// Whether the toolbar item that carries `w` is shown.
bool ItemShown(TDockToolbar* bar, QWidget* w) {
    for (QAction* a : bar->actions())
        if (bar->widgetForAction(a) == w)
            return a->isVisible();
    return false;
}

void SendMouse(QWidget* w, QEvent::Type type, QPoint at, Qt::MouseButtons buttons) {
    QMouseEvent e(type, QPointF(at), QPointF(w->mapToGlobal(at)), type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                  buttons, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}
} // namespace

class TestForces : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    // The spring.
    void springExtension_data();
    void springExtension();
    void springElevenMassesAndEmpty();
    void springKindKeepsLoads();
    void springLoadsScatter();
    void springPictures();
    // The friction model.
    void frictionStickAndSlip();
    void frictionJumps_data();
    void frictionJumps();
    void frictionLimitFloor();
    void frictionPicture();
    // Moments.
    void netMoment_data();
    void netMoment();
    void drags_data();
    void drags();
    void thirdHolderKeepsClear();
    void momentsPictures();
    // Panels.
    void springPanelTotalMass_data();
    void springPanelTotalMass();
    void springPanelResetAndScroll();
    void springPanelMarker();
    void frictionPanelBar();
    void momentsCheckBalanceReleasedOutside_data();
    void momentsCheckBalanceReleasedOutside();
    void momentsPanelDrag();
    void panelsFromTheirPages();
    void toolbarItemsReachable_data();
    void toolbarItemsReachable();
};

void TestForces::initTestCase() {
    RegisterCourseAreas();
    QSettings(QStringLiteral("Brantock"), QStringLiteral("Quarvel")).clear();
    SetBoxAnswerer([](const TBoxRequest&) { return true; });
}

void TestForces::springExtension_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<double>("cm");
    QTest::newRow("spring") << int(TSpring::kSpring) << 3.33;
    QTest::newRow("parallel springs") << int(TSpring::kParallel) << 1.67;
    QTest::newRow("elastic band") << int(TSpring::kElastic) << 1.75;
}

void TestForces::springExtension() {
    QFETCH(int, kind);
    QFETCH(double, cm);
    SharedRandom().SetSeed(kEvenLoadSeed);
    TSpring s(450, 250);
    QCOMPARE(s.Extension, 0.0f);
    s.SetKind(kind);
    QVERIFY(s.AddWeight(100));
    QCOMPARE(s.TotalMass(), 100);
    QCOMPARE(Cm(s.Extension), cm);
}

void TestForces::springElevenMassesAndEmpty() {
    SharedRandom().SetSeed(1);
    TSpring s(450, 250);
    QVERIFY(!s.RemoveWeight()); // nothing to take off
    QCOMPARE(s.Extension, 0.0f);
    for (int i = 1; i <= 9; ++i)
        QVERIFY2(s.AddWeight(100), qPrintable(QString::number(i)));
    QVERIFY(!s.AddWeight(100)); // the tenth makes 1000 g: no room for more
    QCOMPARE(s.TotalMass(), 1000);
    const float full = s.Extension;
    QVERIFY(!s.AddWeight(100)); // the eleventh is refused
    QCOMPARE(s.TotalMass(), 1000);
    QCOMPARE(int(s.Weights.size()), 10);
    QCOMPARE(s.Extension, full);
    QVERIFY(std::abs(full - 0.3333f) < 0.01f);
    QVERIFY(s.RemoveWeight());
    QCOMPARE(s.TotalMass(), 900);
    s.ScrollOffset = 500;
    s.Reset();
    QCOMPARE(s.TotalMass(), 0);
    QCOMPARE(s.ScrollOffset, 0);
    QCOMPARE(s.Extension, 0.0f);
    QVERIFY(!s.RemoveWeight());
}

void TestForces::springKindKeepsLoads() {
    SharedRandom().SetSeed(7);
    TSpring s(450, 250);
    for (int i = 0; i < 4; ++i)
        s.AddWeight(100);
    const float load = s.TotalLoad();
    const float one = s.Extension;
    s.SetKind(TSpring::kParallel);
    QCOMPARE(s.TotalLoad(), load);
    QCOMPARE(s.Extension, one / 2);
    s.SetKind(TSpring::kElastic);
    QCOMPARE(s.Extension, TSpring::ExtensionFor(TSpring::kElastic, load));
    QVERIFY(s.Extension < 0.3f);
    s.SetKind(TSpring::kSpring);
    QCOMPARE(s.Extension, one);
}

void TestForces::springLoadsScatter() {
    SharedRandom().SetSeed(12345);
    TSpring s(450, 250);
    double lo = 1e9, hi = 0;
    for (int i = 0; i < 10; ++i) {
        s.AddWeight(100);
        const float load = s.Weights.back().Load;
        lo = std::min(lo, double(load));
        hi = std::max(hi, double(load));
        QVERIFY(load > 95 && load < 105);
    }
    QVERIFY(hi > lo); // each mass has a load of its own
}

void TestForces::springPictures() {
    SharedRandom().SetSeed(kEvenLoadSeed);
    TSpring s(100, 100); // raised to the smallest size
    QCOMPARE(QSize(s.Width, s.Height), QSize(225, 450));
    s.SetSize(250, 600);
    QCOMPARE(s.Picture().size(), QSize(250, 600));

    // Whole picture: 5 pixels per centimetre, the floor below 100 cm.
    s.Zoomed = false;
    s.Draw();
    QCOMPARE(s.PixelsPerCm, 5);
    const QImage whole = s.Picture();
    QCOMPARE(whole.pixelColor(40, 20 + 50 * 5 + 2), QColor(255, 255, 128)); // ruler
    QCOMPARE(whole.pixelColor(120, 20 + 500 + 20), QColor(226, 226, 226));  // floor
    QCOMPARE(whole.pixelColor(120, 20 + 500 - 20), QColor(Qt::white));

    // Zoomed: 40 pixels a centimetre; a 100 g mass moves the foot by 4000 x extension.
    s.Zoomed = true;
    s.Draw();
    const int bare = s.FootY();
    QCOMPARE(bare, 20 + 60);
    s.AddWeight(100);
    s.Draw();
    QCOMPARE(s.FootY(), 20 + int(std::lround(4000.0 * s.Extension + 60)));
    const QImage zoomed = s.Picture();
    // The slotted mass hangs 150 + 7 pixels below the foot.
    QCOMPARE(zoomed.pixelColor(152 - 40, s.FootY() + 157 - 5), QColor(192, 192, 192));
    Keep(zoomed, "spring-zoomed-100g.png");
    s.ScrollOffset = 3600;
    s.Draw();
    // Scrolled to the end: the floor starts 4001 pixels below the ruler's top.
    QCOMPARE(s.Picture().pixelColor(120, 20 - 3600 + 4001 + 5), QColor(226, 226, 226));
}

void TestForces::frictionStickAndSlip() {
    SharedRandom().SetSeed(kSmallNoiseSeed);
    TFrictionModel m;
    QCOMPARE(m.AddedWeight, 3);
    QCOMPARE(m.Mu, 0.52f);
    const float limit = m.LimitingFriction();
    QVERIFY(limit > 2.04f && limit < 2.06f);
    int firstSlip = -1;
    float before = 0;
    for (int pos = 1; pos <= 30 && firstSlip < 0; ++pos) {
        before = m.Reading;
        QCOMPARE(m.Pull(pos), pos);
        if (m.Slip > 0)
            firstSlip = pos;
        else
            QCOMPARE(m.Reading, pos * 0.1f);
    }
    QCOMPARE(firstSlip, 21); // the reading would pass 2.05 N at 2.1 N
    QCOMPARE(before, 2.0f);
    QVERIFY(std::abs(m.Reading - (2.1f - 0.2f * limit)) < 1e-5f);
    QVERIFY(std::abs(m.Displacement - 0.2f * limit) < 1e-5f);
    // Pulling on after the jerk: the reading rises again from there.
    m.Pull(22);
    QVERIFY(std::abs(m.Reading - (2.2f - 0.2f * limit)) < 1e-5f);
    // Moving back does nothing: the bar returns to the current pull.
    const float reading = m.Reading, slip = m.Slip;
    QCOMPARE(m.Pull(5), 22);
    QCOMPARE(m.Reading, reading);
    QCOMPARE(m.Slip, slip);
    // The same position again changes nothing either.
    QCOMPARE(m.Pull(22), 22);
    QCOMPARE(m.Reading, reading);
}

void TestForces::frictionJumps_data() {
    QTest::addColumn<int>("surface");
    QTest::addColumn<int>("weight");
    QTest::addColumn<QList<int>>("positions");
    QTest::newRow("medium, 3 N, 0 to 100") << 1 << 3 << QList<int>{100};
    QTest::newRow("medium, 3 N, 0 to 50 to 100") << 1 << 3 << QList<int>{50, 100};
    QTest::newRow("smooth, 0 N, 0 to 100") << 0 << 0 << QList<int>{100};
    QTest::newRow("rough, 10 N, 0 to 100") << 2 << 10 << QList<int>{100};
    QTest::newRow("rough, 10 N, up in tens") << 2 << 10 << QList<int>{10, 20, 30, 40, 50, 60, 70, 80, 90, 100};
}

// However far the bar jumps, the reading never stays above the limit, and
// pull = reading + slip still holds.
void TestForces::frictionJumps() {
    QFETCH(int, surface);
    QFETCH(int, weight);
    QFETCH(QList<int>, positions);
    SharedRandom().SetSeed(kSmallNoiseSeed);
    TFrictionModel m;
    m.SetSurface(surface);
    m.SetAddedWeight(weight);
    const float limit = m.LimitingFriction();
    for (int pos : positions) {
        const float slipBefore = m.Slip;
        QCOMPARE(m.Pull(pos), pos);
        QVERIFY2(m.Reading <= limit, qPrintable(QStringLiteral("%1 N against %2 N").arg(m.Reading).arg(limit)));
        // After jerking forward the reading sits within one jerk of the limit.
        if (m.Slip > slipBefore)
            QVERIFY(m.Reading > 0.8f * limit - 1e-4f);
        QCOMPARE(m.CurrentPull(), pos);
    }
}

void TestForces::frictionLimitFloor() {
    TFrictionModel m;
    m.SetSurface(TFrictionModel::kSmooth);
    m.SetAddedWeight(0);
    m.Noise = -0.45f;
    QCOMPARE(m.LimitingFriction(), 0.2f);
    m.Noise = 0.1f;
    QCOMPARE(m.LimitingFriction(), 0.6f);
    m.SetAddedWeight(12.6);
    QCOMPARE(m.AddedWeight, 10);
    m.SetArea(100);
    QCOMPARE(m.BlockLength, 7.5f);
    m.SetArea(50);
    QCOMPARE(m.BlockLength, 5.0f);
    m.Pull(40);
    m.Reset();
    QCOMPARE(m.CurrentPull(), 0);
    QCOMPARE(m.Displacement, 0.0f);
    QCOMPARE(m.Pull(3), 3);
}

void TestForces::frictionPicture() {
    SharedRandom().SetSeed(kSmallNoiseSeed);
    TFrictionModel m;
    const QImage start = m.Draw(QSize(500, 400));
    QCOMPARE(start.size(), QSize(500, 400));
    const double u = 20; // 0.04 x 500
    // Block, surface band, weights and string in their places.
    QCOMPARE(start.pixelColor(int(4 * u), int(15.8 * u)), QColor(110, 71, 30));
    QCOMPARE(start.pixelColor(int(20 * u), int(17.8 * u)), QColor(243, 216, 157));
    QCOMPARE(start.pixelColor(int(4.5 * u), int(14.9 * u)), QColor(191, 191, 191));
    QVERIFY(CountNear(start, QColor(0, 0, 255), 10) > 20);
    Keep(start, "friction-start.png");
    m.Pull(21);
    const QImage slipped = m.Draw(QSize(500, 400));
    // The block moved a fifth of the limit to the right.
    const int shift = int(std::lround(m.Displacement * u));
    QVERIFY(shift > 5);
    QCOMPARE(slipped.pixelColor(int(4 * u) + shift + int(2.3 * u), int(15.8 * u)), QColor(110, 71, 30));
    QVERIFY(start != slipped);
    Keep(slipped, "friction-slipped.png");
    // A picture not yet sized is not drawn.
    QVERIFY(m.Draw(QSize(0, 0)).isNull());
}

void TestForces::netMoment_data() {
    QTest::addColumn<float>("a");
    QTest::addColumn<int>("na");
    QTest::addColumn<float>("b");
    QTest::addColumn<int>("nb");
    QTest::addColumn<bool>("cShown");
    QTest::addColumn<int>("nc");
    QTest::addColumn<int>("moment");
    QTest::addColumn<double>("tilt");
    QTest::newRow("start") << -5.f << 5 << 5.f << 5 << false << 5 << 0 << 0.0;
    QTest::newRow("B at 6") << -5.f << 5 << 6.f << 5 << false << 5 << 5 << 2.5;
    QTest::newRow("ten on A at -10") << -10.f << 10 << 5.f << 0 << false << 5 << -100 << -30.0;
    QTest::newRow("ten on B at 10") << -5.f << 0 << 10.f << 10 << false << 0 << 100 << 30.0;
    QTest::newRow("empty holder A") << -5.f << 0 << 5.f << 5 << false << 5 << 25 << 12.5;
    QTest::newRow("hidden C counts nothing") << -5.f << 5 << 6.f << 5 << false << 10 << 5 << 2.5;
    QTest::newRow("C shown at 8") << -5.f << 5 << 5.f << 5 << true << 5 << 40 << 20.0;
    QTest::newRow("C shown but empty") << -5.f << 5 << 5.f << 5 << true << 0 << 0 << 0.0;
    QTest::newRow("halves go to even") << -2.5f << 5 << 2.5f << 3 << false << 0 << -4 << -2.0;
}

void TestForces::netMoment() {
    QFETCH(float, a);
    QFETCH(int, na);
    QFETCH(float, b);
    QFETCH(int, nb);
    QFETCH(bool, cShown);
    QFETCH(int, nc);
    QFETCH(int, moment);
    QFETCH(double, tilt);
    TMomentsModel m;
    m.Holders[0].Position = a;
    m.Holders[0].Count = na;
    m.Holders[1].Position = b;
    m.Holders[1].Count = nb;
    m.Holders[2].Count = nc;
    m.SetThreeHolders(cShown);
    QCOMPARE(m.NetMoment(), moment);
    QCOMPARE(TMomentsModel::TiltDegrees(m.NetMoment()), tilt);
}

void TestForces::drags_data() {
    QTest::addColumn<int>("holder");
    QTest::addColumn<bool>("three");
    QTest::addColumn<float>("target");
    QTest::addColumn<float>("stops");
    QTest::newRow("A up to B") << 0 << false << 5.f << 4.f;
    QTest::newRow("B up to A") << 1 << false << -5.f << -4.f;
    QTest::newRow("A over B, once a unit clear") << 0 << false << 7.f << 7.f;
    QTest::newRow("A to the left end") << 0 << false << -14.f << -10.f;
    QTest::newRow("B to the right end") << 1 << false << 14.f << 10.f;
    QTest::newRow("B up to C") << 1 << true << 8.f << 7.f;
    QTest::newRow("C to the right end") << 2 << true << 13.f << 10.f;
    QTest::newRow("A a little") << 0 << false << -2.f << -2.f;
}

// Dragged a pixel at a time, a holder stops a unit short of another and at
// the ends of the beam, and lands on a whole unit when let go. The pointer
// carried on past the other holder takes it over to the far side.
void TestForces::drags() {
    QFETCH(int, holder);
    QFETCH(bool, three);
    QFETCH(float, target);
    QFETCH(float, stops);
    TMomentsModel m;
    m.SetThreeHolders(three);
    const double u = 20;
    const int width = 460; // 23 units
    const int startX = int((TMomentsModel::kPivotX + m.Holders[holder].Position) * u);
    QVERIFY(m.BeginDrag(startX + 3, 180, u));
    QCOMPARE(m.DragIndex, holder);
    const int endX = int((TMomentsModel::kPivotX + target) * u) + 3;
    const int step = endX > startX ? 1 : -1;
    for (int x = startX + 3; x != endX; x += step)
        m.DragTo(x, width, u);
    for (int i = 0; i < 3; ++i)
        if (i != holder && m.Holders[i].Shown)
            QVERIFY(std::abs(m.Holders[i].Position - m.Holders[holder].Position) >= 1.0f);
    m.EndDrag();
    QCOMPARE(m.DragIndex, int(TMomentsModel::kNone));
    QCOMPARE(m.Holders[holder].Position, stops);
}

void TestForces::thirdHolderKeepsClear() {
    TMomentsModel m;
    QVERIFY(!m.Holders[2].Shown);
    // B dragged onto C's hidden place, then C shown again.
    m.Holders[1].Position = 8;
    m.SetThreeHolders(true);
    QVERIFY(m.Holders[2].Shown);
    QVERIFY(std::abs(m.Holders[2].Position - 8.0f) >= 1.0f);
    QCOMPARE(m.Holders[2].Position, 9.0f);
    // At the end of the beam, C finds room on the other side.
    m.SetThreeHolders(false);
    m.Holders[1].Position = 10;
    m.Holders[2].Position = 10;
    m.SetThreeHolders(true);
    QCOMPARE(m.Holders[2].Position, 9.0f);
    // Hidden, C does not stand in the way.
    m.SetThreeHolders(false);
    QVERIFY(m.PlaceFree(1, 9));
    // Shown on a free place, C stays where it was.
    m.Holders[2].Position = 3;
    m.SetThreeHolders(true);
    QCOMPARE(m.Holders[2].Position, 3.0f);
}

void TestForces::momentsPictures() {
    TMomentsModel m;
    const QSize size(460, 300);
    const QImage level = m.Draw(size, 0);
    // Beam, pivot and the two stacks; no "balanced" without checking.
    QCOMPARE(level.pixelColor(55, 110), QColor(255, 255, 128));
    QCOMPARE(level.pixelColor(int(6.5 * 20), int(10.25 * 20) - 3), QColor(191, 191, 191));
    QCOMPARE(level.pixelColor(int(16.5 * 20), int(10.25 * 20) - 3), QColor(191, 191, 191));
    QCOMPARE(level.pixelColor(0, 150), QColor(127, 127, 127));
    QCOMPARE(BluePixels(level), 0);
    m.Checking = true;
    const QImage balanced = m.Draw(size);
    QVERIFY(BluePixels(balanced) > 50);
    Keep(balanced, "moments-balanced.png");
    // B at 6: tipped right side down, so the right end of the beam is lower.
    m.Holders[1].Position = 6;
    const QImage tipped = m.Draw(size);
    QCOMPARE(BluePixels(tipped), 0);
    auto beamRows = [](const QImage& im, int x) {
        int first = -1;
        for (int y = 0; y < im.height(); ++y)
            if (im.pixelColor(x, y) == QColor(255, 255, 128)) {
                first = y;
                break;
            }
        return first;
    };
    QVERIFY(beamRows(tipped, 420) > beamRows(tipped, 40));
    Keep(tipped, "moments-tipped.png");
    // Ten on A at -10 only: 30 degrees the other way.
    m.Holders[0] = {-10.f, 10, true};
    m.Holders[1].Count = 0;
    const QImage left = m.Draw(size);
    QVERIFY(beamRows(left, 80) > beamRows(left, 380));
    const double drop = beamRows(left, 80) - beamRows(left, 380);
    QVERIFY2(std::abs(drop - 300 * std::tan(30 * M_PI / 180)) < 6, qPrintable(QString::number(drop)));
    Keep(left, "moments-thirty.png");
}

void TestForces::springPanelTotalMass_data() {
    QTest::addColumn<QList<int>>("typed");
    QTest::addColumn<int>("masses");
    QTest::newRow("500 at once") << QList<int>{500} << 5;
    QTest::newRow("500 then 200") << QList<int>{500, 200} << 2;
    QTest::newRow("1000 then 0") << QList<int>{1000, 0} << 0;
    QTest::newRow("340 is three") << QList<int>{340} << 3;
    QTest::newRow("up to 1000 by arrows") << QList<int>{100, 200, 300, 400, 500, 600, 700, 800, 900, 1000} << 10;
}

// The box always shows the masses that hang.
void TestForces::springPanelTotalMass() {
    QFETCH(QList<int>, typed);
    QFETCH(int, masses);
    TSpringFrm f;
    f.resize(400, 600);
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    for (int grams : typed)
        f.WeightSpinEdit->setValue(grams);
    QCOMPARE(int(f.Spring->Weights.size()), masses);
    QCOMPARE(f.Spring->TotalMass(), masses * 100);
    QCOMPARE(f.WeightSpinEdit->value(), masses * 100);
    // Typed into the box and entered.
    f.WeightSpinEdit->findChild<QLineEdit*>()->selectAll();
    QTest::keyClicks(f.WeightSpinEdit->findChild<QLineEdit*>(), QStringLiteral("700"));
    QTest::keyClick(f.WeightSpinEdit->findChild<QLineEdit*>(), Qt::Key_Return);
    QCOMPARE(f.Spring->TotalMass(), 700);
    QCOMPARE(f.WeightSpinEdit->value(), 700);
}

void TestForces::springPanelResetAndScroll() {
    TSpringFrm f;
    f.resize(400, 600);
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    QVERIFY(f.ZoomBtn->isChecked());
    QVERIFY(f.SpScroll->isVisible());
    QCOMPARE(f.Pic->width(), 250);
    QCOMPARE(f.Spring->Height, f.Pic->height());
    f.WeightSpinEdit->setValue(300);
    f.SpScroll->setValue(900);
    QCOMPARE(f.Spring->ScrollOffset, 900);
    // The wheel: 10 a notch, towards the user goes down the ruler.
    f.Wheel(3);
    QCOMPARE(f.Spring->ScrollOffset, 930);
    QCOMPARE(f.SpScroll->value(), 930);
    // Over the picture and over the bar alike.
    for (QWidget* over : std::initializer_list<QWidget*>{f.Pic, f.SpScroll}) {
        const int before = f.Spring->ScrollOffset;
        QWheelEvent wheel(QPointF(5, 5), QPointF(over->mapToGlobal(QPoint(5, 5))), QPoint(), QPoint(0, -120),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(over, &wheel);
        QCOMPARE(f.Spring->ScrollOffset, before + 10);
    }
    f.Wheel(-1000);
    QCOMPARE(f.Spring->ScrollOffset, 0);
    f.SpScroll->setValue(3600);
    f.Wheel(5);
    QCOMPARE(f.SpScroll->value(), 3600);
    // Reset takes the masses off and puts picture and bar back at the top.
    f.ResetBtn->trigger();
    QCOMPARE(f.Spring->TotalMass(), 0);
    QCOMPARE(f.WeightSpinEdit->value(), 0);
    QCOMPARE(f.Spring->ScrollOffset, 0);
    QCOMPARE(f.SpScroll->value(), 0);
    // A later turn of the wheel starts from the top, not from where the bar was.
    f.Wheel(1);
    QCOMPARE(f.Spring->ScrollOffset, 10);
    // The whole picture: no scroll bar.
    f.ZoomBtn->trigger();
    QVERIFY(!f.Spring->Zoomed);
    QVERIFY(!f.SpScroll->isVisible());
    f.SpringCB->setCurrentIndex(2);
    QCOMPARE(int(f.Spring->Kind), int(TSpring::kElastic));
    f.WeightSpinEdit->setValue(500);
    Keep(f.grab().toImage(), "spring-panel-whole-band.png");
}

void TestForces::springPanelMarker() {
    TSpringFrm f;
    f.resize(400, 600);
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    const QColor green(0, 128, 0);
    QCOMPARE(CountNear(f.Pic->grab().toImage(), green, 0), 0);
    QTest::mousePress(f.Pic, Qt::LeftButton, {}, QPoint(200, 300));
    QVERIFY(f.Marking);
    QImage shown = f.Pic->grab().toImage();
    QCOMPARE(shown.pixelColor(100, 300), green);
    QCOMPARE(shown.pixelColor(100, 301) == green, false);
    SendMouse(f.Pic, QEvent::MouseMove, QPoint(180, 250), Qt::LeftButton);
    shown = f.Pic->grab().toImage();
    QCOMPARE(shown.pixelColor(100, 250), green);
    QVERIFY(shown.pixelColor(100, 300) != green);
    QCOMPARE(shown.pixelColor(190, 250) == green, false); // only up to the pointer
    QTest::mouseRelease(f.Pic, Qt::LeftButton, {}, QPoint(180, 250));
    QVERIFY(!f.Marking);
    QCOMPARE(CountNear(f.Pic->grab().toImage(), green, 0), 0);
}

void TestForces::frictionPanelBar() {
    SharedRandom().SetSeed(kSmallNoiseSeed);
    TFrictionFrm f;
    f.resize(500, 450);
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    QCOMPARE(f.WtsSpinEd->value(), 3);
    QCOMPARE(f.AreaSpinEd->value(), 50);
    QVERIFY(f.Surface2->isChecked());
    QCOMPARE(f.ForceHsb->pageStep(), 1);
    // A page step moves the pull by one tenth of a newton.
    f.ForceHsb->triggerAction(QAbstractSlider::SliderPageStepAdd);
    QCOMPARE(f.ForceHsb->value(), 1);
    QCOMPARE(f.Model.Reading, 0.1f);
    // A jump to the end never leaves the reading above the limit.
    f.ForceHsb->setValue(100);
    QVERIFY(f.Model.Reading <= f.Model.LimitingFriction());
    QCOMPARE(f.ForceHsb->value(), 100);
    // Back to the left: the bar returns.
    f.ForceHsb->setValue(40);
    QCOMPARE(f.ForceHsb->value(), 100);
    f.ResetBtn->trigger();
    QCOMPARE(f.ForceHsb->value(), 0);
    QCOMPARE(f.Model.Reading, 0.0f);
    // Surfaces, weights and area.
    f.Surface3->trigger();
    QCOMPARE(f.Model.Mu, 0.81f);
    QVERIFY(f.Surface3->isChecked() && !f.Surface2->isChecked());
    f.WtsSpinEd->setValue(10);
    QCOMPARE(f.Model.AddedWeight, 10);
    f.AreaSpinEd->stepUp();
    QCOMPARE(f.Model.BlockLength, 5.5f);
    QVERIFY(f.WtsSpinEd->findChild<QLineEdit*>()->isReadOnly());
    f.ForceHsb->setValue(60);
    Keep(f.grab().toImage(), "friction-panel-rough.png");
}

void TestForces::momentsCheckBalanceReleasedOutside_data() {
    QTest::addColumn<bool>("slideOff");
    QTest::newRow("released beside the button") << false;
    QTest::newRow("slid off, then released") << true;
}

// Whatever way the button is let go, checking ends; a beam that does not
// balance is never called "balanced" afterwards.
void TestForces::momentsCheckBalanceReleasedOutside() {
    QFETCH(bool, slideOff);
    TMomentsFrm f;
    f.resize(460, 320);
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    QToolButton* button = f.BalanceButton();
    QVERIFY(button);
    button->show();
    const QPoint inside = button->rect().center();
    const QPoint outside(button->width() + 40, inside.y());
    SendMouse(button, QEvent::MouseButtonPress, inside, Qt::LeftButton);
    QVERIFY(f.Model.Checking);
    QVERIFY(BluePixels(f.Pic->Picture()) > 50); // balanced at the start
    if (slideOff)
        SendMouse(button, QEvent::MouseMove, outside, Qt::LeftButton);
    SendMouse(button, QEvent::MouseButtonRelease, outside, Qt::NoButton);
    QVERIFY(!f.Model.Checking);
    QCOMPARE(BluePixels(f.Pic->Picture()), 0);
    // Unbalance it: the redraw is level and says nothing.
    f.WeightsB->setValue(7);
    QVERIFY(f.Model.NetMoment() != 0);
    QCOMPARE(BluePixels(f.Pic->Picture()), 0);
    // Pressed and released on the button: tipped while held, level after.
    SendMouse(button, QEvent::MouseButtonPress, inside, Qt::LeftButton);
    QVERIFY(f.Model.Checking);
    QCOMPARE(BluePixels(f.Pic->Picture()), 0);
    Keep(f.Pic->Picture(), "moments-panel-checking-tipped.png");
    SendMouse(button, QEvent::MouseButtonRelease, inside, Qt::NoButton);
    QVERIFY(!f.Model.Checking);
}

void TestForces::momentsPanelDrag() {
    TMomentsFrm f;
    f.resize(460, 320);
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    QTRY_COMPARE(f.Pic->width(), 460);
    QCOMPARE(f.Unit, 20.0);
    const QPoint a(int(6.5 * 20), 190);
    QTest::mousePress(f.Pic, Qt::LeftButton, {}, a);
    QCOMPARE(f.Model.DragIndex, 0);
    for (int x = a.x(); x <= a.x() + 200; x += 4) // up to B at 5
        SendMouse(f.Pic, QEvent::MouseMove, QPoint(x, 190), Qt::LeftButton);
    QCOMPARE(f.Model.Holders[0].Position, 4.0f);
    QTest::mouseRelease(f.Pic, Qt::LeftButton, {}, QPoint(a.x() + 200, 190));
    QCOMPARE(f.Model.Holders[0].Position, 4.0f);
    QCOMPARE(f.Model.DragIndex, int(TMomentsModel::kNone));
    // The third holder from the menu and its spin box in the toolbar.
    QVERIFY(!ItemShown(f.Toolbar(), f.WeightsC));
    f.Holders3->trigger();
    QVERIFY(f.Model.ThreeHolders());
    QVERIFY(ItemShown(f.Toolbar(), f.WeightsC));
    QVERIFY(ItemShown(f.Toolbar(), f.CLabel));
    f.WeightsC->setValue(2);
    QCOMPARE(f.Model.Holders[2].Count, 2);
    // The button itself shows the matching item.
    f.holders2->setChecked(true);
    f.WeightsBtn->trigger();
    QVERIFY(f.Holders3->isChecked());
    Keep(f.grab().toImage(), "moments-panel-three.png");
    f.holders2->trigger();
    QVERIFY(!f.Model.ThreeHolders());
    QVERIFY(!ItemShown(f.Toolbar(), f.WeightsC));
}

// The three pages' topics host their panels, and "+3wts" reaches the moments panel.
void TestForces::panelsFromTheirPages() {
    TFrameFrm f(QStringLiteral(QUARVEL_CONTENT_DIR));
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    f.Topics->SelectTopic(2021);
    auto* spring = qobject_cast<TSpringFrm*>(f.Topics->HostedPanel());
    QVERIFY(spring);
    QCOMPARE(spring->Toolbar()->Dock(), f.TopDock);
    QVERIFY(!spring->Spring->Hook.isNull()); // the hook picture from the course's textures
    spring->WeightSpinEdit->setValue(300);
    QCoreApplication::processEvents();
    Keep(spring->grab().toImage(), "spring-panel-zoomed-300g.png");
    spring->SpringCB->setCurrentIndex(1);
    Keep(spring->grab().toImage(), "spring-panel-parallel-300g.png");
    f.UseLargeButtonsItem->trigger();
    QVERIFY(spring->LargeButtons);
    QCOMPARE(spring->SpringCB->width(), 150);
    f.UseLargeButtonsItem->trigger();
    QCOMPARE(spring->SpringCB->width(), 100);
    f.Topics->SelectTopic(2020);
    QTRY_VERIFY(qobject_cast<TFrictionFrm*>(f.Topics->HostedPanel()));
    auto* friction = qobject_cast<TFrictionFrm*>(f.Topics->HostedPanel());
    friction->ForceHsb->setValue(100);
    QVERIFY(friction->Model.Reading <= friction->Model.LimitingFriction());
    Keep(friction->grab().toImage(), "friction-panel-after-jump.png");
    f.Topics->SelectTopic(2016);
    QTRY_VERIFY(qobject_cast<TMomentsFrm*>(f.Topics->HostedPanel()));
    auto* moments = qobject_cast<TMomentsFrm*>(f.Topics->HostedPanel());
    QVERIFY(!moments->Model.ThreeHolders());
    QVERIFY(f.RunPageCommand(QStringLiteral("+3wts")));
    QVERIFY(moments->Model.ThreeHolders());
    QVERIFY(moments->Holders3->isChecked());
    QVERIFY(ItemShown(moments->Toolbar(), moments->WeightsC));
}

void TestForces::toolbarItemsReachable_data() {
    QTest::addColumn<int>("topic");
    QTest::addColumn<bool>("large");
    for (int topic : {2016, 2020, 2021})
        for (bool large : {false, true})
            QTest::addRow("%d, %s", topic, large ? "large" : "normal") << topic << large;
}

// In a 1024 x 768 window every toolbar item of the panel can be reached, and
// large buttons enlarge the numbers typed into the spin boxes too.
void TestForces::toolbarItemsReachable() {
    QFETCH(int, topic);
    QFETCH(bool, large);
    QSettings(QStringLiteral("Brantock"), QStringLiteral("Quarvel")).clear(); // normal buttons at the start
    TFrameFrm f(QStringLiteral(QUARVEL_CONTENT_DIR));
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    QVERIFY(!f.UseLargeButtonsItem->isChecked());
    f.showNormal();
    f.resize(1024, 768);
    f.Topics->SelectTopic(topic);
    TPanel* panel = f.Topics->HostedPanel();
    QVERIFY(panel);
    QSpinBox* spin = panel->Toolbar()->findChild<QSpinBox*>();
    QVERIFY(spin);
    const double normalSize = spin->findChild<QLineEdit*>()->font().pointSizeF();
    if (large)
        f.UseLargeButtonsItem->trigger();
    QTRY_VERIFY(panel->Toolbar()->isVisible());
    QCoreApplication::processEvents();
    TDockToolbar* bar = panel->Toolbar();
    for (QAction* a : bar->actions()) {
        if (!a->isVisible() || a->isSeparator())
            continue;
        QWidget* w = bar->widgetForAction(a);
        QVERIFY2(w && w->isVisible(), qPrintable(a->objectName()));
        QVERIFY2(bar->rect().contains(w->geometry()), qPrintable(a->objectName()));
    }
    const double shown = spin->findChild<QLineEdit*>()->font().pointSizeF();
    QCOMPARE(shown, large ? normalSize * 1.5 : normalSize);
}

QUARVEL_GUI_TEST_MAIN(TestForces)
#include "tst_forces.moc"
