#include "../testmain.h"
#include "common/random.h"
#include "host/cadencer.h"
#include "models/heat/heatpic.h"
#include "models/heat/kinetic.h"
#include "models/heat/ktfrm.h"
#include "widgets/dialogs.h"
#include "widgets/dock.h"
#include "shell/courseareas.h"
#include "shell/framefrm.h"

#include <QAction>
#include <QDir>
#include <QScrollBar>
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
};

void TestHeat::initTestCase() {
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

QUARVEL_GUI_TEST_MAIN(TestHeat)
#include "tst_heat.moc"
