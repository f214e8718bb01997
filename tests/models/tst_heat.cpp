#include "../testmain.h"
#include "common/random.h"
#include "host/cadencer.h"
#include "widgets/picturebox.h"
#include "models/heat/kinetic.h"
#include "models/heat/ktfrm.h"
#include "models/heat/tempscalefrm.h"
#include "models/heat/thermometer.h"
#include "models/heat/thermometerfrm.h"
#include "widgets/dialogs.h"
#include "widgets/dock.h"
#include "shell/courseareas.h"
#include "shell/framefrm.h"

#include <QAction>
#include <QDir>
#include <QScrollBar>
#include <QSpinBox>
#include <QTimer>
#include <QSettings>
#include <cmath>

using namespace quarvel;

Q_DECLARE_METATYPE(quarvel::TEdgeRect)

namespace {
bool Finite(const TParticle& p) {
    return std::isfinite(p.X) && std::isfinite(p.Y) && std::isfinite(p.VX) && std::isfinite(p.VY);
}

bool SameParticles(const std::vector<TParticle>& a, const std::vector<TParticle>& b) {
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i].X != b[i].X || a[i].Y != b[i].Y || a[i].VX != b[i].VX || a[i].VY != b[i].VY ||
            a[i].Kind != b[i].Kind)
            return false;
    return true;
}

// Saves a panel's picture when a folder for pictures is given, for the docs.
void Keep(const QImage& image, const char* name) {
    const QString dir = qEnvironmentVariable("QUARVEL_PANEL_PICTURES");
    if (!dir.isEmpty())
        image.save(QDir(dir).filePath(QLatin1String(name)));
}

// A kinetic panel of a known size in `mode`, its timer driven by the test.
struct TKTFixture {
    explicit TKTFixture(int mode, QSize size = QSize(640, 480)) {
        f.resize(size);
        f.Pic->resize(size);
        f.FrameTimer->SetMode(TNGLCadencer::TMode::Manual);
        f.FrameTimer->Clock = [this] { return clock; };
        f.SetKTMode(mode);
    }
    double clock = 0;
    TKTFrm f;
};
} // namespace

class TestHeat : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    // kinetic theory
    void containerRect_data();
    void containerRect();
    void liquidNarrowerThanAPitch();
    void particlesOnOnePoint();
    void pressureBar_data();
    void pressureBar();
    void diffusionCommands_data();
    void diffusionCommands();
    void modeButtons();
    void stallIsOneShortStep();
    void frameDistance_data();
    void frameDistance();
    void smallScreenBalls_data();
    void smallScreenBalls();
    // liquid thermometer
    void flaskAt20IsEmpty_data();
    void flaskAt20IsEmpty();
    void thickTubeRisesAQuarter();
    void columnStaysInTheTube_data();
    void columnStaysInTheTube();
    void thermometerPanel();
    // temperature scale
    void boilingMark_data();
    void boilingMark();
    void unknownTemperature();
    void measureTwice();
    void commandOfDisabledButton();
    void rulerDrag();
    // from the pages
    void panelsFromTheirPages();
};

void TestHeat::initTestCase() {
    RegisterCourseAreas();
    QSettings(QStringLiteral("Brantock"), QStringLiteral("Quarvel")).clear();
    SetBoxAnswerer([](const TBoxRequest&) { return true; });
}

void TestHeat::containerRect_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<TEdgeRect>("box");
    // Radius 12, pitch 26.
    const QSize s(640, 480);
    QTest::newRow("solid") << 0 << s << TEdgeRect{190, 217, 450, 477};
    QTest::newRow("liquid") << 1 << s << TEdgeRect{0, 347, 640, 477};  // 24 columns, 5 rows
    QTest::newRow("liquid one pitch") << 1 << QSize(26, 480) << TEdgeRect{0, 477 - 26 * 101, 26, 477};
    QTest::newRow("liquid narrower than a pitch") << 1 << QSize(20, 480) << TEdgeRect{0, 477 - 26 * 101, 20, 477};
    QTest::newRow("gas") << 2 << s << TEdgeRect{0, 0, 640, 480};
    QTest::newRow("large volume") << 3 << s << TEdgeRect{35, 10, 635, 470};
    QTest::newRow("small volume") << 4 << s << TEdgeRect{150, 70, 490, 410};
    QTest::newRow("small volume in a small drawing") << 4 << QSize(300, 200) << TEdgeRect{-20, -70, 320, 270};
    QTest::newRow("diffusion") << 5 << s << TEdgeRect{0, 0, 640, 480};
}

void TestHeat::containerRect() {
    QFETCH(int, mode);
    QFETCH(QSize, size);
    QFETCH(TEdgeRect, box);
    TKineticModel m(12);
    m.SetDrawingSize(size);
    const TEdgeRect got = m.ContainerRect(mode);
    QVERIFY2(got == box, qPrintable(QStringLiteral("%1 %2 %3 %4").arg(got.Left).arg(got.Top).arg(got.Right).arg(got.Bottom)));
}

void TestHeat::liquidNarrowerThanAPitch() {
    // One column: the particles stand in a single pile instead of a division by zero.
    TKTFixture k(TKineticModel::kGas, QSize(20, 300));
    k.f.ModeBtnClick(TKineticModel::kLiquid);
    QCOMPARE(k.f.Model.LiquidColumns(), 1);
    for (int i = 0; i < 100; ++i) {
        QVERIFY(Finite(k.f.Model.Particles[i]));
        QVERIFY(k.f.Model.Particles[i].X >= 0 && k.f.Model.Particles[i].X <= 20);
    }
}

void TestHeat::particlesOnOnePoint() {
    TKineticModel m(12);
    m.SetDrawingSize(QSize(640, 480));
    m.Mode = TKineticModel::kGas;
    m.Box = m.ContainerRect(m.Mode);
    m.PlaceParticles();
    m.Particles[1].X = m.Particles[0].X;
    m.Particles[1].Y = m.Particles[0].Y;
    m.Particles[0].VX = m.Particles[0].VY = 0; // particle 0 stays on particle 1's spot
    m.StepParticles(1.0f);
    for (const TParticle& p : m.Particles)
        QVERIFY(Finite(p));
    for (int i = 0; i < 10; ++i)
        m.StepParticles(5.0f);
    for (const TParticle& p : m.Particles)
        QVERIFY(Finite(p));
}

void TestHeat::pressureBar_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("temperature");
    QTest::addColumn<double>("fraction");
    QTest::addColumn<int>("top"); // drawing 490 tall: the bar runs from 5 to 480
    QTest::newRow("small volume at 200") << 4 << 200 << 0.8 << 96;
    QTest::newRow("large volume at 200") << 3 << 200 << 200.0 / 450 << 267; // about 44 %
    QTest::newRow("small volume at 50") << 4 << 50 << 0.2 << 384;
    QTest::newRow("large volume at 50") << 3 << 50 << 50.0 / 450 << 427;
}

void TestHeat::pressureBar() {
    QFETCH(int, mode);
    QFETCH(int, temperature);
    QFETCH(double, fraction);
    QFETCH(int, top);
    TKTFixture k(mode, QSize(640, 490));
    k.f.SpeedHsb->setValue(temperature);
    QCOMPARE(k.f.Model.Temperature, temperature);
    QCOMPARE(k.f.Model.PressureFraction(), fraction);
    QCOMPARE(k.f.Model.PressureTop(490), top);
    // Drawn at once while stopped: orange from the top down, white above.
    const QImage& img = k.f.Pic->Picture();
    QCOMPARE(img.pixelColor(23, top + 1), QColor(255, 128, 0));
    QCOMPARE(img.pixelColor(23, 470), QColor(255, 128, 0));
    QCOMPARE(img.pixelColor(23, top - 1), QColor(Qt::white));
}

void TestHeat::diffusionCommands_data() {
    QTest::addColumn<bool>("barrierFirst");
    QTest::newRow("barrier on") << true;
    QTest::newRow("barrier off") << false;
}

void TestHeat::diffusionCommands() {
    QFETCH(bool, barrierFirst);
    TKTFixture k(TKineticModel::kDiffusion);
    TKineticModel& m = k.f.Model;
    QVERIFY(m.Barrier);
    QVERIFY(!k.f.StopBtn->isEnabled());
    if (!barrierFirst) {
        k.f.RunOperation(QStringLiteral("KineticCommand"), {QStringLiteral("+barrier")});
        QVERIFY(!m.Barrier);
        for (int i = 0; i < 200; ++i) // mix the colours
            m.StepMixed(10.0f);
        int crossed = 0;
        for (const TParticle& p : m.Particles)
            crossed += (p.Kind == 0) != (p.Y < 240);
        QVERIFY(crossed > 0);
    }
    const auto before = m.Particles;
    QVERIFY(k.f.RunOperation(QStringLiteral("KineticCommand"), {QStringLiteral("+dt")}));
    QVERIFY(!m.Barrier);
    QCOMPARE(k.f.BarrierBtn->text(), QStringLiteral("Reset"));
    QCOMPARE(m.Temperature, 200);
    QCOMPARE(k.f.SpeedHsb->value(), 200);
    QVERIFY(k.f.Running());
    QVERIFY(!k.f.StartBtn->isEnabled());
    QVERIFY(k.f.StopBtn->isEnabled());
    if (barrierFirst) {
        QVERIFY(SameParticles(before, m.Particles)); // removing the barrier keeps them where they were
    } else {
        for (const TParticle& p : m.Particles) // apart again, in their own halves
            QVERIFY(p.Kind == 0 ? p.Y <= 240 - m.Radius : p.Y >= 240 + m.Radius);
    }
    // Running: the next frame mixes them without a barrier.
    k.clock = 0.05;
    k.f.FrameTimer->Progress();
    QVERIFY(!m.Barrier);
    // "+go" while running does nothing more; an unknown word is ignored.
    const auto now = m.Particles;
    QVERIFY(k.f.RunOperation(QStringLiteral("KineticCommand"), {QStringLiteral("+go")}));
    QVERIFY(k.f.RunOperation(QStringLiteral("KineticCommand"), {QStringLiteral("+nothing")}));
    QVERIFY(SameParticles(now, m.Particles));
    QVERIFY(k.f.Running());
    Keep(k.f.Pic->Picture(), barrierFirst ? "kinetic-dt.png" : "kinetic-dt-again.png");
}

void TestHeat::modeButtons() {
    TKTFixture k(TKineticModel::kSolid);
    TKineticModel& m = k.f.Model;
    QVERIFY(k.f.SolidBtn->isVisible() || !k.f.isVisible());
    k.f.ModeBtnClick(TKineticModel::kGas);
    QCOMPARE(int(m.Mode), int(TKineticModel::kGas));
    QVERIFY(k.f.GasBtn->isChecked());
    // Gas to Gas: nothing, not even a draw of the generator.
    const auto placed = m.Particles;
    const std::uint32_t seed = SharedRandom().Seed();
    k.f.ModeBtnClick(TKineticModel::kGas);
    QVERIFY(SameParticles(placed, m.Particles));
    QCOMPARE(SharedRandom().Seed(), seed);
    // Gas to Liquid while running: placed afresh, without pre-steps.
    k.f.StartBtnClick(true);
    k.f.ModeBtnClick(TKineticModel::kLiquid);
    const int c = m.LiquidColumns(), p = m.Pitch();
    for (int i = 0; i < 100; ++i) {
        QCOMPARE(m.Particles[i].X, float(p * (i % c) + m.Box.Left + m.Radius));
        QCOMPARE(m.Particles[i].Y, float(p * (i / c) + m.Box.Top + m.Radius));
    }
    // Stopped, Solid: placed and stepped 16 times, each ball within a pixel of its lattice place.
    k.f.StartBtnClick(false);
    k.f.ModeBtnClick(TKineticModel::kSolid);
    for (int i = 0; i < 100; ++i) {
        const float x = float(p * (i % 10) + m.Box.Left + m.Radius), y = float(p * (i / 10) + m.Box.Top + m.Radius);
        QVERIFY(std::hypot(m.Particles[i].X - x, m.Particles[i].Y - y) <= 1.0001f);
    }
}

void TestHeat::stallIsOneShortStep() {
    // A five-second stall moves a gas particle no further than a tenth of a
    // second of flight, plus at most the jump of one collision.
    TKTFixture k(TKineticModel::kGas);
    TKineticModel& m = k.f.Model;
    k.f.SpeedHsb->setValue(200);
    k.f.StartBtnClick(true);
    k.clock = 0.02;
    k.f.FrameTimer->Progress();
    const auto before = m.Particles;
    double reported = 0;
    connect(k.f.FrameTimer, &TNGLCadencer::OnProgress, &k.f,
            [&](TNGLCadencer*, double delta, double) { reported = delta; });
    k.clock = 5.02;
    k.f.FrameTimer->Progress();
    QCOMPARE(reported, 0.1);
    float furthest = 0;
    for (int i = 0; i < 100; ++i)
        furthest = std::max(furthest, std::hypot(m.Particles[i].X - before[i].X, m.Particles[i].Y - before[i].Y));
    QVERIFY2(furthest <= 200 * 0.1f + 4 * m.Radius, qPrintable(QString::number(furthest)));
}

void TestHeat::frameDistance_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<double>("seconds");
    QTest::addColumn<float>("distance"); // at temperature 100
    // The pressure topic keeps its hidden Solid button checked: a fixed distance a frame.
    QTest::newRow("large volume, long frame") << 3 << 0.5 << 2.0f;
    QTest::newRow("small volume, short frame") << 4 << 0.01 << 2.0f;
    QTest::newRow("solid vibrates by a fixed amount") << 0 << 0.3 << 2.0f;
    QTest::newRow("diffusion by real time") << 5 << 0.05 << 5.0f;
}

void TestHeat::frameDistance() {
    QFETCH(int, mode);
    QFETCH(double, seconds);
    QFETCH(float, distance);
    TKTFixture k(mode);
    k.f.SpeedHsb->setValue(100);
    TKineticModel expected = k.f.Model;
    const std::uint32_t seed = SharedRandom().Seed();
    k.f.FrameStep(seconds);
    SharedRandom().SetSeed(seed);
    expected.StepParticles(distance);
    QVERIFY(SameParticles(expected.Particles, k.f.Model.Particles));
    // Gas and liquid (Solid unchecked) move by real time.
    if (mode == 0) {
        k.f.ModeBtnClick(TKineticModel::kGas);
        TKineticModel gas = k.f.Model;
        k.f.FrameStep(0.05);
        gas.StepParticles(5.0f);
        QVERIFY(SameParticles(gas.Particles, k.f.Model.Particles));
    }
}

void TestHeat::smallScreenBalls_data() {
    QTest::addColumn<int>("screenWidth");
    QTest::addColumn<int>("radius");
    QTest::newRow("640") << 640 << 8;
    QTest::newRow("800") << 800 << 8;
    QTest::newRow("801") << 801 << 12;
    QTest::newRow("1280") << 1280 << 12;
}

void TestHeat::smallScreenBalls() {
    QFETCH(int, screenWidth);
    QFETCH(int, radius);
    QCOMPARE(KineticRadius(screenWidth), radius);
    TKineticModel m(radius);
    m.SetDrawingSize(QSize(400, 300));
    m.Mode = TKineticModel::kSolid;
    m.Box = m.ContainerRect(m.Mode);
    QCOMPARE(m.Box.Width(), 10 * (2 * radius + 2));
    const QImage ball = ParticlePicture(2 * radius, false);
    QCOMPARE(ball.size(), QSize(2 * radius, 2 * radius));
    QCOMPARE(ball.pixelColor(0, 0).alpha(), 0); // round, not square
    QCOMPARE(ball.pixelColor(radius, radius).alpha(), 255);
}

void TestHeat::flaskAt20IsEmpty_data() {
    QTest::addColumn<bool>("compare");
    QTest::addColumn<int>("tube");
    QTest::addColumn<int>("flask");
    QTest::addColumn<int>("height");
    QTest::newRow("single, start") << false << 3 << 25 << 480;
    QTest::newRow("single, thin tube, big flask") << false << 2 << 50 << 731;
    QTest::newRow("single, wide tube, small flask") << false << 5 << 10 << 333;
    QTest::newRow("four flasks") << true << 3 << 25 << 600;
}

void TestHeat::flaskAt20IsEmpty() {
    QFETCH(bool, compare);
    QFETCH(int, tube);
    QFETCH(int, flask);
    QFETCH(int, height);
    TThermometerModel m;
    m.CompareMode = compare;
    m.TubeRadius = tube;
    m.FlaskSize = flask;
    m.Grid = false;
    const double s = TThermometerModel::Scale(height);
    const QImage img = m.Draw(QSize(height * 13 / 16, height));
    const int surface = TThermometerModel::SurfaceY(s);
    for (const TFlask& f : m.Flasks()) {
        QCOMPARE(TThermometerModel::ColumnPixels(f, 20, s), 0);
        const int x = int(std::lround(f.CentreX * s));
        QCOMPARE(img.pixelColor(x, surface), QColor(Qt::black));   // the top of the liquid on the surface line
        QCOMPARE(img.pixelColor(x, surface + 2), QColor(192, 255, 192));
        QCOMPARE(img.pixelColor(x, surface - 2), QColor(Qt::white)); // the tube above is empty
    }
}

void TestHeat::thickTubeRisesAQuarter() {
    TThermometerModel m;
    m.CompareMode = true;
    const auto flasks = m.Flasks();
    QCOMPARE(flasks.size(), size_t(4));
    const TFlask& b = flasks[1];
    const TFlask& c = flasks[2];
    QCOMPARE(b.Volume, c.Volume);
    for (int t : {30, 55, 80}) {
        QCOMPARE(TThermometerModel::RiseUnits(b, t), 4 * TThermometerModel::RiseUnits(c, t));
        const double s = TThermometerModel::Scale(800);
        QVERIFY(std::abs(TThermometerModel::ColumnPixels(b, t, s) - 4 * TThermometerModel::ColumnPixels(c, t, s)) <= 2);
    }
    QCOMPARE(TThermometerModel::RiseUnits(b, 80), 500 * 0.00021 * 60 / (4 * 0.0314159265));
}

void TestHeat::columnStaysInTheTube_data() {
    QTest::addColumn<int>("temperature");
    QTest::addColumn<int>("height");
    QTest::addColumn<bool>("overflows");
    // Thinnest tube, biggest flask: 1.67 units a degree, 54 units of tube.
    QTest::newRow("50") << 50 << 480 << false;
    QTest::newRow("52") << 52 << 800 << false;
    QTest::newRow("53") << 53 << 800 << true;
    QTest::newRow("80") << 80 << 480 << true;
    QTest::newRow("80, tall") << 80 << 1000 << true;
}

void TestHeat::columnStaysInTheTube() {
    QFETCH(int, temperature);
    QFETCH(int, height);
    QFETCH(bool, overflows);
    TThermometerModel m;
    m.TubeRadius = 2;
    m.FlaskSize = 50;
    m.Temperature = temperature;
    m.Grid = false;
    const double s = TThermometerModel::Scale(height);
    const TFlask f = m.Flasks().front();
    const int top = TThermometerModel::SurfaceY(s) - TThermometerModel::ColumnPixels(f, temperature, s);
    QVERIFY(top >= TThermometerModel::TubeTopY(s));
    QCOMPARE(TThermometerModel::Overflows(f, temperature, s), overflows);
    if (overflows)
        QCOMPARE(top, TThermometerModel::TubeTopY(s));
    // Nothing green above the open top of the tube.
    const QImage img = m.Draw(QSize(height * 3 / 4, height));
    if (temperature == 80 && height == 480)
        Keep(img, "thermometer-overflow.png");
    const int x = int(std::lround(f.CentreX * s));
    for (int y = 1; y < TThermometerModel::TubeTopY(s) - 4; ++y)
        QVERIFY2(img.pixelColor(x, y) == QColor(Qt::white), qPrintable(QString::number(y)));
}

void TestHeat::thermometerPanel() {
    TThermometerFrm f;
    f.resize(520, 480);
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    QVERIFY(f.Toolbar());
    QCOMPARE(f.TempSE->minimum(), 20);
    QCOMPARE(f.TempSE->maximum(), 80);
    f.TempSE->setValue(60);
    QCOMPARE(f.Model.Temperature, 60);
    f.CompFlask->trigger();
    QVERIFY(f.Model.CompareMode);
    QVERIFY(!f.RadiusSE->isVisible());
    QVERIFY(!f.VolumeSE->isVisible());
    QCOMPARE(f.Pic->Picture().size(), f.Pic->size());
    f.SingleFlask->trigger();
    QVERIFY(!f.Model.CompareMode);
    f.Grid1->trigger();
    QVERIFY(!f.Model.Grid);
    f.SetLargeButtons(true);
    QVERIFY(f.TempSE->font().pointSizeF() > f.TempLabel->font().pointSizeF());
}

void TestHeat::boilingMark_data() {
    QTest::addColumn<int>("formHeight");
    QTest::addColumn<int>("unit");
    QTest::newRow("422") << 422 << 10;
    QTest::newRow("shorter than 422") << 300 << 10;
    QTest::newRow("622") << 622 << 15;
    QTest::newRow("1022") << 1022 << 25;
}

void TestHeat::boilingMark() {
    QFETCH(int, formHeight);
    QFETCH(int, unit);
    TTempScaleModel m;
    m.Resize(formHeight);
    QCOMPARE(m.ScaleUnit, unit);
    QVERIFY(m.ChooseLiquid(TTempScaleModel::kSteam));
    QCOMPARE(m.ShownTemperature, 100.0);
    m.Mark();
    QVERIFY(m.ChooseLiquid(TTempScaleModel::kIce));
    m.Mark();
    QVERIFY(m.SetMeasuring(true));
    QCOMPARE(m.ZeroY(), m.RulerZeroY()); // the liquid's zero on the ruler's 0
    QCOMPARE(m.MarkReadingCm(TTempScaleModel::kIce), 0.0);
    const double reading = m.MarkReadingCm(TTempScaleModel::kSteam);
    QVERIFY2(std::abs(reading - 22.3) <= 0.5 / unit + 1e-9, qPrintable(QString::number(reading)));
    if (unit == 10)
        QCOMPARE(reading, 22.3);
}

void TestHeat::unknownTemperature() {
    for (std::uint32_t seed = 0; seed < 300; ++seed) {
        SharedRandom().SetSeed(seed * 7919u);
        TTempScaleModel m;
        const double t = m.UnknownTemperature;
        QVERIFY2(t >= 38.8 - 1e-9 && t <= 48.7 + 1e-9, qPrintable(QString::number(t)));
        QVERIFY(std::abs(t * 10 - std::round(t * 10)) < 1e-6); // tenths of a degree
        m.Resize(422);
        m.ChooseLiquid(TTempScaleModel::kUnknown);
        QCOMPARE(m.ShownTemperature, t);
        m.Mark();
        m.SetMeasuring(true);
        const double cm = TTempScaleModel::kCmPerDegree * t;
        QVERIFY(cm >= 8.65 - 1e-9 && cm < 10.865);
        QVERIFY(std::abs(m.MarkReadingCm(TTempScaleModel::kUnknown) - cm) <= 0.05 + 1e-9);
    }
}

void TestHeat::measureTwice() {
    TTempScaleFrm f;
    f.resize(600, 500);
    f.SteamBtn->trigger();
    QVERIFY(f.Timer1->isActive());
    f.MarkBtn->trigger();
    QVERIFY(f.ClearBtn->isEnabled());
    f.MeasureBtn->trigger();
    QVERIFY(f.Model.Measuring);
    QVERIFY(!f.MarkBtn->isEnabled());
    QVERIFY(!f.Timer1->isActive());
    QCOMPARE(f.Model.ShownTemperature, 20.0);
    const QPoint onRuler(40, f.Model.RulerZeroY() - 100);
    f.PicMouseDown(onRuler);
    QVERIFY(f.Model.Dragging);
    f.MeasureBtn->trigger(); // again: nothing more
    QVERIFY(f.Model.Measuring);
    QVERIFY(f.Model.Dragging);
    QCOMPARE(f.Model.ThermoX, 0.5);
    QCOMPARE(f.Model.ShownTemperature, 20.0);
    QVERIFY(f.MeasureBtn->isChecked());
    f.PicMouseUp();
    f.XBtn->trigger(); // beside the ruler the thermometer stays at 20
    QCOMPARE(f.Model.ShownTemperature, 20.0);
    QVERIFY(!f.Timer1->isActive());
    f.SteamBtn->trigger();
    f.UnMeasureBtn->trigger();
    QVERIFY(!f.Model.Measuring);
    QCOMPARE(f.Model.ShownTemperature, 100.0);
    QVERIFY(f.Timer1->isActive());
    QVERIFY(f.MarkBtn->isEnabled());
    f.ClearBtn->trigger();
    QCOMPARE(f.Model.Marks, 0u);
    QVERIFY(!f.ClearBtn->isEnabled());
}

void TestHeat::commandOfDisabledButton() {
    TTempScaleFrm f;
    f.resize(600, 500);
    auto run = [&](const char* caption) {
        QVERIFY(f.RunOperation(QStringLiteral("TempScaleButton"), {QString::fromUtf8(caption)}));
    };
    run("Measure");
    QVERIFY(f.Model.Measuring);
    run("Mark"); // "Mark" is disabled beside the ruler
    QCOMPARE(f.Model.Marks, 0u);
    QVERIFY(!f.ClearBtn->isEnabled());
    run("Put the thermometer in the beaker");
    QVERIFY(!f.Model.Measuring);
    run("100 \u00BAC");
    run("Mark");
    QCOMPARE(f.Model.Marks, 1u << TTempScaleModel::kSteam);
    QVERIFY(!f.RunOperation(QStringLiteral("KineticCommand"), {QStringLiteral("+go")}));
}

void TestHeat::rulerDrag() {
    TTempScaleFrm f;
    f.resize(600, 422);
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    const TTempScaleModel& m = f.Model;
    QCOMPARE(m.ScaleUnit, 10);
    const QPoint onRuler(40, 200);
    f.PicMouseDown(onRuler); // in the beaker view: no magnifier
    QVERIFY(!m.Dragging);
    f.IceBtnClick(TTempScaleModel::kSteam);
    f.MarkBtnClick();
    f.IceBtnClick(TTempScaleModel::kIce);
    f.MarkBtnClick();
    f.MeasureBtnClick(true);
    f.PicMouseDown(QPoint(200, 200)); // beside the ruler
    QVERIFY(!m.Dragging);
    f.PicMouseDown(onRuler);
    QVERIFY(m.Dragging);
    QCOMPARE(m.MagnifierReading(), (311 - 200) / 10.0);
    // Dragged past either end, the reading stays on the ruler.
    f.PicMouseMove(QPoint(40, 5000));
    QCOMPARE(m.MouseY, m.RulerRect.Bottom - 1);
    QCOMPARE(m.MagnifierReading(), 0.1);
    f.PicMouseMove(QPoint(300, -200));
    QCOMPARE(m.MouseY, m.RulerRect.Top);
    QCOMPARE(m.MagnifierReading(), 30.1);
    f.PicMouseMove(QPoint(40, 88)); // 22.3 cm: the boiling mark in the middle of the lens
    const QImage& shown = f.Pic->Picture();
    QCOMPARE(shown.pixelColor(68 + 75, 88), QColor(255, 128, 0));
    QCOMPARE(shown.pixelColor(68 + 75, 88 - 5), QColor(Qt::white)); // the bore above it
    Keep(shown, "tempscale-magnifier.png");
    f.PicMouseUp();
    QVERIFY(!m.Dragging);
    QVERIFY(QWidget::mouseGrabber() == nullptr);
    f.PicMouseMove(QPoint(40, 5000)); // not dragging: the pointer is free
    QCOMPARE(m.MouseY, 5000);
}

void TestHeat::panelsFromTheirPages() {
    TFrameFrm f(QStringLiteral(QUARVEL_CONTENT_DIR));
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    const int modes[] = {TKineticModel::kSolid, TKineticModel::kLargeVolume, TKineticModel::kDiffusion};
    for (int i = 0; i < 3; ++i) {
        f.Topics->SelectTopic(2026 + i);
        QTRY_VERIFY(qobject_cast<TKTFrm*>(f.Topics->HostedPanel()));
        auto* kt = qobject_cast<TKTFrm*>(f.Topics->HostedPanel());
        QCOMPARE(int(kt->Model.Mode), modes[i]);
        QCOMPARE(kt->Toolbar()->Dock(), f.TopDock); // docked by the panel's own set-up
        QVERIFY(!kt->StopBtn->isEnabled());
        QVERIFY(kt->Model.DrawingSize().width() > 100);
    }
    auto* kt = qobject_cast<TKTFrm*>(f.Topics->HostedPanel());
    QVERIFY(kt->BarrierBtn->isVisible());
    QVERIFY(!kt->SolidBtn->isVisible());
    QVERIFY(f.RunPageCommand(QStringLiteral("+barrier")));
    QVERIFY(!kt->Model.Barrier);
    QVERIFY(f.RunPageCommand(QStringLiteral("+barrier")));
    QVERIFY(kt->Model.Barrier);
    QVERIFY(f.RunPageCommand(QStringLiteral("+go")));
    QVERIFY(kt->Running());
    QVERIFY(f.RunPageCommand(QStringLiteral("+dt")));
    QCOMPARE(kt->SpeedHsb->value(), 200);
    QVERIFY(!kt->Model.Barrier);
    QTest::qWait(100); // a few frames on the panel's own timer
    f.UseLargeButtonsItem->trigger();
    QCOMPARE(kt->SpeedHsb->height(), 20);
    f.UseLargeButtonsItem->trigger();

    f.Topics->SelectTopic(2022);
    QTRY_VERIFY(qobject_cast<TThermometerFrm*>(f.Topics->HostedPanel()));
    QCOMPARE(f.Topics->HostedPanel()->Toolbar()->Dock(), f.TopDock);

    f.Topics->SelectTopic(2023);
    QTRY_VERIFY(qobject_cast<TTempScaleFrm*>(f.Topics->HostedPanel()));
    auto* ts = qobject_cast<TTempScaleFrm*>(f.Topics->HostedPanel());
    QVERIFY(!ts->Ice.isNull()); // the ice picture from the course's textures
    // The page's links, top to bottom.
    for (const char* word : {"+1", "+2", "+3", "+4", "+3", "+5", "+3", "+6"})
        QVERIFY2(f.RunPageCommand(QLatin1String(word)), word);
    QCOMPARE(ts->Model.Marks, 7u);
    QVERIFY(ts->Model.Measuring);
    QVERIFY(f.RunPageCommand(QStringLiteral("+3"))); // beside the ruler: nothing
    QCOMPARE(ts->Model.Marks, 7u);
    f.Topics->SelectTopic(2026);
    QTRY_VERIFY(qobject_cast<TKTFrm*>(f.Topics->HostedPanel()));
}

QUARVEL_GUI_TEST_MAIN(TestHeat)
#include "tst_heat.moc"
