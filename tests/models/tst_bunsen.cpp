#include "../testmain.h"
#include "common/random.h"
#include "models/heat/bunsen.h"
#include "models/heat/bunsenfrm.h"
#include "widgets/picturebox.h"
#include "shell/courseareas.h"
#include "shell/framefrm.h"
#include "widgets/dialogs.h"
#include "widgets/dock.h"

#include <QAction>
#include <QDir>
#include <QScrollBar>
#include <QSettings>
#include <QTimer>
#include <cmath>

using namespace quarvel;

namespace {
// Saves a panel's picture when a folder for pictures is given, for the docs.
void Keep(const QImage& image, const char* name) {
    const QString dir = qEnvironmentVariable("QUARVEL_PANEL_PICTURES");
    if (!dir.isEmpty())
        image.save(QDir(dir).filePath(QLatin1String(name)));
}

QImage Drawn(const TBunsenModel& m) {
    QImage image(QSize(720, 640), QImage::Format_ARGB32_Premultiplied);
    m.Draw(image);
    return image;
}

bool Reddish(QRgb c) { return qRed(c) > 200 && qGreen(c) < 80 && qBlue(c) < 80; }
} // namespace

class TestBunsen : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void waterTemperature_data();
    void waterTemperature();
    void unlitBurner();
    void thermometerLiquidLevel_data();
    void thermometerLiquidLevel();
    void bunsenTimerRunsWhileSomethingMoves();
    void bunsenSlidersFollowTheBurner();
    void coolingTemperature_data();
    void coolingTemperature();
    void coolingTubeFreezes();
    void coolingStopsAtTheEnd();
    void coolingPaceChangesWhileRunning();
    void panelsFromTheirPages();
};

void TestBunsen::initTestCase() {
    RegisterCourseAreas();
    QSettings(QStringLiteral("Brantock"), QStringLiteral("Quarvel")).clear();
    SetBoxAnswerer([](const TBoxRequest&) { return true; });
}

void TestBunsen::waterTemperature_data() {
    QTest::addColumn<int>("volume");
    QTest::addColumn<bool>("open");
    QTest::addColumn<int>("seconds");
    QTest::addColumn<double>("temperature");
    QTest::addColumn<bool>("boiling");
    QTest::newRow("150 ml open, 400 s") << 150 << true << 400 << 100.0 << true;
    QTest::newRow("150 ml open, 399 s") << 150 << true << 399 << 99.8 << false;
    QTest::newRow("150 ml closed, 600 s") << 150 << false << 600 << 76.0 << false;
    QTest::newRow("300 ml closed, 600 s") << 300 << false << 600 << 48.0 << false;
    QTest::newRow("50 ml open, 133 s") << 50 << true << 133 << 99.8 << false;
    QTest::newRow("50 ml open, 134 s") << 50 << true << 134 << 100.0 << true;
    QTest::newRow("50 ml open, 600 s: stays at 100") << 50 << true << 600 << 100.0 << true;
    QTest::newRow("lit, no time yet") << 200 << false << 0 << 20.0 << false;
}

void TestBunsen::waterTemperature() {
    QFETCH(int, volume);
    QFETCH(bool, open);
    QFETCH(int, seconds);
    QFETCH(double, temperature);
    QFETCH(bool, boiling);
    TBunsenModel m;
    m.Volume = volume;
    m.AirHoleOpen = open;
    m.SetLit(true);
    QVERIFY(m.SetTime(seconds));
    QVERIFY2(std::abs(m.Temperature() - temperature) < 1e-9, qPrintable(QString::number(m.Temperature())));
    QCOMPARE(m.Boiling(), boiling);
    if (volume == 50 && open)
        QVERIFY(std::abs(m.BoilingTime() - 133.333) < 0.001);
}

void TestBunsen::unlitBurner() {
    TBunsenModel m;
    QVERIFY(!m.SetTime(300));
    QCOMPARE(m.HeatingTime, 0);
    QCOMPARE(m.Temperature(), 20.0);
    m.SetLit(true);
    QVERIFY(m.SetTime(300));
    QCOMPARE(m.Temperature(), 80.0);
    m.SetLit(false);
    QCOMPARE(m.HeatingTime, 0);
    QCOMPARE(m.Temperature(), 20.0);
    m.SetLit(true);
    QCOMPARE(m.Temperature(), 20.0); // lit again, heating starts afresh
}

void TestBunsen::thermometerLiquidLevel_data() {
    QTest::addColumn<int>("seconds");
    QTest::addColumn<double>("temperature");
    QTest::newRow("20 degrees") << 0 << 20.0;
    QTest::newRow("60 degrees") << 200 << 60.0;
    QTest::newRow("100 degrees") << 400 << 100.0;
}

// The red column stops at the tick of the reading (2 degrees a tick, 100 at
// the top), read from the drawing.
void TestBunsen::thermometerLiquidLevel() {
    QFETCH(int, seconds);
    QFETCH(double, temperature);
    TBunsenModel m;
    m.SetLit(true);
    m.SetTime(seconds);
    QCOMPARE(m.Temperature(), temperature);
    QImage image(QSize(640, 800), QImage::Format_ARGB32_Premultiplied);
    m.Draw(image);
    const double s = 800 * 0.0125;
    const int x = int(std::lround(17 * s)) + 4, y0 = int(std::lround(2.8 * s));
    const int top = y0 + 10 + int(std::lround((50 - temperature / 2) * 0.8 * s));
    QVERIFY(Reddish(image.pixel(x, top + 2)));
    QVERIFY(!Reddish(image.pixel(x, top - 3)));
}

// The flicker of the yellow flame and the bubbles of boiling water move
// while the timer runs, whichever change brought them about.
void TestBunsen::bunsenTimerRunsWhileSomethingMoves() {
    TBunsenFrm f;
    f.resize(640, 480);
    QVERIFY(!f.Timer1->isActive());
    f.LightBtn->trigger(); // lit, blue flame, cold water: nothing moves
    QVERIFY(f.Model.Lit);
    QVERIFY(!f.Timer1->isActive());
    f.WaterHsb->setValue(50);
    f.TimeHsb->setValue(134); // boils under a blue flame
    QVERIFY(f.Model.Boiling());
    QVERIFY(f.Timer1->isActive());
    Keep(Drawn(f.Model), "bunsen-boiling.png");
    f.WaterHsb->setValue(300); // no longer boiling
    QVERIFY(!f.Timer1->isActive());
    f.WaterHsb->setValue(50);
    QVERIFY(f.Timer1->isActive());
    f.TimeHsb->setValue(100);
    QVERIFY(!f.Timer1->isActive());
    f.LowBtn->trigger(); // yellow flame flickers
    QVERIFY(f.Timer1->isActive());
    f.HighBtn->trigger();
    QVERIFY(!f.Timer1->isActive());
    f.LowBtn->trigger();
    f.LightBtn->trigger(); // out
    QVERIFY(!f.Timer1->isActive());
    f.LightBtn->trigger(); // lit again, yellow
    QVERIFY(f.Timer1->isActive());
}

void TestBunsen::bunsenSlidersFollowTheBurner() {
    TBunsenFrm f;
    f.resize(640, 480);
    f.TimeHsb->setValue(120); // refused while unlit
    QCOMPARE(f.TimeHsb->value(), 0);
    QCOMPARE(f.Model.Temperature(), 20.0);
    f.LightBtn->trigger();
    f.TimeHsb->setValue(300);
    QCOMPARE(f.Model.HeatingTime, 300);
    QCOMPARE(f.Model.Temperature(), 80.0);
    Keep(Drawn(f.Model), "bunsen-open-300s.png");
    f.LowBtn->trigger();
    f.Redraw();
    Keep(Drawn(f.Model), "bunsen-closed-300s.png");
    f.LightBtn->trigger(); // put out: the time goes back to 0
    QCOMPARE(f.TimeHsb->value(), 0);
    QCOMPARE(f.Model.HeatingTime, 0);
    QCOMPARE(f.Model.Temperature(), 20.0);
    f.WaterHsb->setValue(200);
    QCOMPARE(f.Model.WaterHeight(), 12.0);
}

void TestBunsen::coolingTemperature_data() {
    QTest::addColumn<int>("t");
    QTest::addColumn<double>("temperature");
    QTest::addColumn<int>("alpha");
    QTest::newRow("start") << 0 << 20.0 << 255;
    QTest::newRow("100 s") << 100 << 30 / std::sqrt(3.0) - 10 << 255;
    QTest::newRow("146 s, turning to ice") << 146 << 30 * std::exp(-0.005493062 * 146) - 10 << 254;
    QTest::newRow("200 s, freezing") << 200 << 0.0 << 200;
    QTest::newRow("300 s, freezing") << 300 << 0.0 << 100;
    QTest::newRow("400 s, frozen") << 400 << 0.0 << 0;
    QTest::newRow("600 s") << 600 << 30 * std::exp(-0.005493062 * 400) - 10 << 0;
    QTest::newRow("900 s") << 900 << -9.3585 << 0;
}

void TestBunsen::coolingTemperature() {
    QFETCH(int, t);
    QFETCH(double, temperature);
    QFETCH(int, alpha);
    QVERIFY2(std::abs(TCoolModel::Temperature(t) - temperature) < 1e-4,
             qPrintable(QString::number(TCoolModel::Temperature(t))));
    QCOMPARE(TCoolModel::WaterAlpha(t), alpha);
}

// The water in the tube is light blue, and the ice shows through as it freezes.
void TestBunsen::coolingTubeFreezes() {
    const QImage ice = IcePicture();
    QCOMPARE(ice.size(), QSize(64, 64));
    TCoolModel m;
    QImage image(QSize(640, 800), QImage::Format_ARGB32_Premultiplied);
    const QPoint inTube(175, 66 * 10); // beside the thermometer standing in the tube
    m.Time = 0;
    m.Draw(image, ice, QImage());
    QCOMPARE(QColor(image.pixel(inTube)), QColor(192, 225, 255));
    m.Time = 500;
    m.Draw(image, ice, QImage());
    const QColor frozen(image.pixel(inTube));
    QVERIFY(frozen != QColor(192, 225, 255));
    QVERIFY(frozen.blue() > 200); // pale ice, not a blank tube
}

void TestBunsen::coolingStopsAtTheEnd() {
    TCoolFrm f;
    f.resize(640, 480);
    QVERIFY(f.StartBtn->isEnabled());
    QVERIFY(!f.StopBtn->isEnabled());
    f.StartBtn->trigger();
    QVERIFY(f.StepTimer->isActive());
    QCOMPARE(f.StepTimer->interval(), 1000);
    QVERIFY(!f.StartBtn->isEnabled());
    QVERIFY(f.StopBtn->isEnabled());
    f.TimeStep();
    QCOMPARE(f.TimeHsb->value(), 1);
    QCOMPARE(f.Model.Time, 1);
    f.TimeHsb->setValue(899);
    f.TimeStep();
    QCOMPARE(f.TimeHsb->value(), 900);
    QVERIFY(f.StepTimer->isActive());
    f.TimeStep();
    QCOMPARE(f.TimeHsb->value(), 900);
    QVERIFY(!f.StepTimer->isActive());
    QVERIFY(f.StartBtn->isEnabled());
    QVERIFY(!f.StopBtn->isEnabled());
    Keep(f.Pic->Picture(), "cooling-900s.png");
}

void TestBunsen::coolingPaceChangesWhileRunning() {
    TCoolFrm f;
    f.FastTime1->trigger();
    f.StartBtn->trigger();
    QCOMPARE(f.StepTimer->interval(), 100);
    f.RealTime1->trigger();
    QVERIFY(f.StepTimer->isActive());
    QCOMPARE(f.StepTimer->interval(), 1000);
    f.StopBtn->trigger();
    QVERIFY(!f.StepTimer->isActive());
    QVERIFY(f.StartBtn->isEnabled());
}

void TestBunsen::panelsFromTheirPages() {
    TFrameFrm f(QStringLiteral(QUARVEL_CONTENT_DIR));
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    f.Topics->SelectTopic(2024);
    auto* bunsen = qobject_cast<TBunsenFrm*>(f.Topics->HostedPanel());
    QVERIFY(bunsen);
    QCOMPARE(bunsen->Toolbar()->Dock(), f.TopDock);
    f.Topics->SelectTopic(2025);
    auto* cool = qobject_cast<TCoolFrm*>(f.Topics->HostedPanel());
    QVERIFY(cool);
    QVERIFY(!cool->IceSalt.isNull()); // the ice and salt from the course's textures
    cool->TimeHsb->setValue(250);
    QCoreApplication::processEvents();
    Keep(cool->grab().toImage(), "cooling-250s.png");
}

QUARVEL_GUI_TEST_MAIN(TestBunsen)
#include "tst_bunsen.moc"
