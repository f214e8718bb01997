#include "../testmain.h"
#include "common/random.h"
#include "host/panel.h"
#include "host/topichost.h"
#include "models/electromagnetism/emagnet.h"
#include "models/electromagnetism/emagnetfrm.h"
#include "models/electromagnetism/layeredpic.h"
#include "models/electromagnetism/solenoid.h"
#include "models/electromagnetism/solenoidfrm.h"
#include "shell/courseareas.h"
#include "shell/framefrm.h"
#include "widgets/dialogs.h"
#include "widgets/dock.h"

#include <QAction>
#include <QDir>
#include <QRegularExpression>
#include <QSettings>
#include <QSpinBox>
#include <cmath>

using namespace quarvel;

namespace {
constexpr double kPi = 3.14159265358979323846;

// Saves a picture for the docs when QUARVEL_PANEL_PICTURES names a folder.
void Keep(const QImage& image, const char* name) {
    const QString dir = qEnvironmentVariable("QUARVEL_PANEL_PICTURES");
    if (!dir.isEmpty())
        image.save(QDir(dir).filePath(QLatin1String(name)));
}

bool Near(double a, double b, double tol = 1e-9) { return std::abs(a - b) <= tol * std::max(1.0, std::abs(b)); }

// Angles compared on the circle.
bool SameAngle(double a, double b) {
    const double d = std::remainder(a - b, 2 * kPi);
    return std::abs(d) < 1e-9;
}
} // namespace

class TestElectromagnets : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    // solenoid science
    void coilFieldAtTheCentreOfOneTurn_data();
    void coilFieldAtTheCentreOfOneTurn();
    void coilFieldMirrorSymmetries_data();
    void coilFieldMirrorSymmetries();
    void turnsCentredOnTheMiddlePlane();
    void needleAngle_data();
    void needleAngle();
    void probeMirrorsThePointer();
    void lineArrowAngle_data();
    void lineArrowAngle();
    void lineStartsWithinTheCoil();
    void tracerStopsOnAWire();
    void tracerStepCap();
    void tracedLinesEndOnTheQuadrantEdge();
    void arrowheadsPointAlongTheField_data();
    void arrowheadsPointAlongTheField();
    void turnColoursFollowTheCurrent();
    // electromagnet science
    void ammeterText_data();
    void ammeterText();
    void stageTransitions_data();
    void stageTransitions();
    void nailCount();
    void countedNailsStayInThePicture();
    void emptyPictureDrawsNothing();
    // panels
    void solenoidPanel();
    void solenoidPressSetsTheProbePoint();
    void solenoidPointerMoveRepaintsOnlyLayers();
    void emagnetPanel();
    void panelsFromTheirPages();
};

void TestElectromagnets::initTestCase() {
    RegisterCourseAreas();
    QSettings(QStringLiteral("Brantock"), QStringLiteral("Quarvel")).clear();
    SetBoxAnswerer([](const TBoxRequest&) { return true; });
}

void TestElectromagnets::coilFieldAtTheCentreOfOneTurn_data() {
    QTest::addColumn<int>("radius");
    QTest::addColumn<int>("segments");
    QTest::newRow("R 20") << 20 << 16;
    QTest::newRow("R 10") << 10 << 16;
    QTest::newRow("R 50") << 50 << 16;
    QTest::newRow("R 20, 40 elements") << 20 << 40;
}

void TestElectromagnets::coilFieldAtTheCentreOfOneTurn() {
    QFETCH(int, radius);
    QFETCH(int, segments);
    TSolenoid s;
    s.Turns = 1;
    s.Radius = float(radius);
    s.Segments = segments;
    s.BuildCoil();
    const TCoilFieldValue b = s.CoilField(0, 0, TSolenoid::kNoFloor);
    QVERIFY2(Near(b.Ba, 2 * kPi * kPi / radius, 1e-5), qPrintable(QString::number(b.Ba)));
    QVERIFY(std::abs(b.Br) < 1e-6);
    QVERIFY(b.Ba > 0); // an unreversed current drives the field towards +a inside
}

void TestElectromagnets::coilFieldMirrorSymmetries_data() {
    QTest::addColumn<int>("turns");
    QTest::addColumn<double>("a");
    QTest::addColumn<double>("r");
    QTest::newRow("inside, 5 turns") << 5 << 7.0 << 5.0;
    QTest::newRow("outside, 5 turns") << 5 << 31.0 << 27.0;
    QTest::newRow("near a wire, 4 turns") << 4 << 14.0 << 18.5;
    QTest::newRow("far, 1 turn") << 1 << 60.0 << 45.0;
}

void TestElectromagnets::coilFieldMirrorSymmetries() {
    QFETCH(int, turns);
    QFETCH(double, a);
    QFETCH(double, r);
    TSolenoid s;
    s.Turns = turns;
    const TCoilFieldValue b = s.CoilField(a, r, 1e-6);
    const TCoilFieldValue inMiddle = s.CoilField(-a, r, 1e-6);
    const TCoilFieldValue inAxis = s.CoilField(a, -r, 1e-6);
    QVERIFY(std::abs(b.Br) > 1e-6); // the cases test something
    QVERIFY(Near(inMiddle.Ba, b.Ba, 1e-6));
    QVERIFY(Near(inMiddle.Br, -b.Br, 1e-6));
    QVERIFY(Near(inAxis.Ba, b.Ba, 1e-6));
    QVERIFY(Near(inAxis.Br, -b.Br, 1e-6));
    QVERIFY(Near(inAxis.Magnitude, b.Magnitude, 1e-6));
    // The field is the sum over every element of every turn.
    double ba = 0, br = 0;
    for (int k = 0; k < s.Turns; ++k)
        for (const TCoilInfo& c : s.Coil) {
            const double da = a - s.TurnPosition(k), dr = r - c.X, dv = -c.Y;
            const double q = std::max(std::pow(da * da + dr * dr + dv * dv, 1.5), 1e-6);
            ba += (-dv * c.WeightSin - dr * c.WeightCos) / q;
            br += da * c.WeightCos / q;
        }
    QVERIFY(Near(b.Ba, ba, 1e-9));
    QVERIFY(Near(b.Br, br, 1e-9));
}

void TestElectromagnets::turnsCentredOnTheMiddlePlane() {
    TSolenoid s;
    s.Turns = 1;
    QCOMPARE(s.TurnPosition(0), 0.0);
    s.Turns = 2;
    s.Spacing = 12;
    QCOMPARE(s.TurnPosition(0), -6.0);
    QCOMPARE(s.TurnPosition(1), 6.0);
    s.Turns = 5;
    s.Spacing = 10;
    QCOMPARE(s.TurnPosition(0), -20.0);
    QCOMPARE(s.TurnPosition(4), 20.0);
}

void TestElectromagnets::needleAngle_data() {
    QTest::addColumn<double>("right");
    QTest::addColumn<double>("down");
    QTest::addColumn<int>("dir");
    QTest::addColumn<double>("angle");
    QTest::newRow("right, tiny down") << 1.0 << 5e-9 << 1 << 0.0;
    QTest::newRow("right, tiny up") << 1.0 << -5e-9 << 1 << 0.0;
    QTest::newRow("left, tiny up") << -1.0 << -5e-9 << 1 << kPi;
    QTest::newRow("down, tiny left") << -5e-9 << 1.0 << 1 << kPi / 2;
    QTest::newRow("up, tiny right") << 5e-9 << -1.0 << 1 << -kPi / 2;
    QTest::newRow("diagonal") << 1.0 << 1.0 << 1 << kPi / 4;
    QTest::newRow("right, reversed") << 1.0 << 5e-9 << -1 << kPi;
    QTest::newRow("down, reversed") << -5e-9 << 1.0 << -1 << 3 * kPi / 2;
    QTest::newRow("diagonal, reversed") << 1.0 << 1.0 << -1 << 5 * kPi / 4;
}

void TestElectromagnets::needleAngle() {
    QFETCH(double, right);
    QFETCH(double, down);
    QFETCH(int, dir);
    QFETCH(double, angle);
    const double got = TSolenoid::NeedleAngle(right, down, dir);
    QVERIFY2(SameAngle(got, angle), qPrintable(QString::number(got)));
    // Along a screen axis the needle is exactly on it, not a hair off.
    if (std::abs(right) < 1e-8 || std::abs(down) < 1e-8)
        QCOMPARE(std::remainder(got, kPi / 2), 0.0);
}

void TestElectromagnets::probeMirrorsThePointer() {
    TSolenoid s;
    const QSize size(800, 600);
    const double scale = 1.5;
    // The centre: field along the axis, needle to the right; reversed, to the left.
    TProbeValue v = s.ProbeField(400, 300, size, scale);
    QCOMPARE(v.Angle, 0.0);
    QCOMPARE(v.X, 0.0);
    s.CurrentDir = -1;
    QVERIFY(SameAngle(s.ProbeField(400, 300, size, scale).Angle, kPi));
    s.CurrentDir = 1;
    // 30 units left of the centre and 12 below: x counts to the left, y down, in 2.5s.
    v = s.ProbeField(400 - 30 * scale, 300 + 12 * scale, size, scale);
    QVERIFY(Near(v.X, 12));
    QVERIFY(Near(v.Y, 4.8));
    const TCoilFieldValue b = s.CoilField(30, 12, 1e-6);
    QVERIFY(Near(v.Strength, 10 * b.Magnitude));
    // At the pointer (a = -30) the field is the mirror image of the probe's.
    const TCoilFieldValue at = s.CoilField(-30, 12, 1e-6);
    QVERIFY(SameAngle(v.Angle, std::atan2(at.Br, at.Ba)));
}

void TestElectromagnets::lineArrowAngle_data() {
    QTest::addColumn<QPointF>("p");
    QTest::addColumn<QPointF>("q");
    QTest::addColumn<double>("beta");
    QTest::newRow("right") << QPointF(0, 0) << QPointF(5, 0.005) << 0.0;
    QTest::newRow("left") << QPointF(5, 0) << QPointF(0, 0) << kPi;
    QTest::newRow("down") << QPointF(0, 0) << QPointF(0.005, 5) << kPi / 2;
    QTest::newRow("up") << QPointF(0, 5) << QPointF(0, 0) << -kPi / 2;
    QTest::newRow("down right") << QPointF(0, 0) << QPointF(2, 2) << kPi / 4;
    QTest::newRow("up left") << QPointF(2, 2) << QPointF(0, 0) << 5 * kPi / 4;
}

void TestElectromagnets::lineArrowAngle() {
    QFETCH(QPointF, p);
    QFETCH(QPointF, q);
    QFETCH(double, beta);
    QVERIFY(Near(TSolenoid::LineArrowAngle(p, q), beta));
    // The arrowhead's tip lies beyond q, on the way from p.
    const auto head = TSolenoid::ArrowHead(q, beta, 2.5, 2);
    const QPointF along = q - p, tip = head[0] - q;
    QVERIFY(along.x() * tip.x() + along.y() * tip.y() > 0);
}

void TestElectromagnets::lineStartsWithinTheCoil() {
    TSolenoid s;
    const std::vector<double> starts = s.LineStarts();
    QVERIFY(starts.size() >= 2);
    QCOMPARE(starts.front(), s.LineGap(0));
    for (std::size_t i = 1; i < starts.size(); ++i) {
        QVERIFY(starts[i] <= s.Radius - 2.5);
        QVERIFY(starts[i] - starts[i - 1] >= 2);
    }
}

void TestElectromagnets::tracerStopsOnAWire() {
    // One turn: the start (0, R) is exactly on the element at angle 0, where
    // the field has no direction.
    TSolenoid s;
    s.Turns = 1;
    const std::vector<QPointF> line = s.TraceLine(s.Radius, 300, 300, 1);
    for (const QPointF& p : line)
        QVERIFY(std::isfinite(p.x()) && std::isfinite(p.y()));
    QCOMPARE(int(line.size()), 1);
}

void TestElectromagnets::tracerStepCap() {
    TSolenoid s;
    s.MaxTraceSteps = 10;
    QCOMPARE(int(s.TraceLine(3, 1e6, 1e6, 1).size()), 11);
    s.MaxTraceSteps = 20000;
    const auto full = s.TraceLine(3, 1e6, 1e6, 1);
    QVERIFY(full.size() > 11);
    QVERIFY(full.size() < 20001); // the line comes back to the middle plane long before the cap
}

void TestElectromagnets::tracedLinesEndOnTheQuadrantEdge() {
    TSolenoid s;
    const double scale = 2, m = 200, n = 150;
    for (double u : s.LineStarts()) {
        const auto line = s.TraceLine(u, m, n, scale);
        QCOMPARE(line.front(), QPointF(0, u * scale));
        const QPointF last = line.back();
        QVERIFY(last.x() == 0 || last.x() == m * scale || last.y() == 0 || last.y() == n * scale);
        for (const QPointF& p : line)
            QVERIFY(p.x() >= 0 && p.x() <= m * scale && p.y() >= 0 && p.y() <= n * scale);
    }
}

void TestElectromagnets::arrowheadsPointAlongTheField_data() {
    QTest::addColumn<int>("dir");
    QTest::addColumn<int>("turns");
    QTest::addColumn<int>("radius");
    QTest::newRow("5 turns") << 1 << 5 << 20;
    QTest::newRow("5 turns reversed") << -1 << 5 << 20;
    QTest::newRow("1 turn, radius 50") << 1 << 1 << 50;
    QTest::newRow("12 turns, radius 40, reversed") << -1 << 12 << 40;
}

void TestElectromagnets::arrowheadsPointAlongTheField() {
    QFETCH(int, dir);
    QFETCH(int, turns);
    QFETCH(int, radius);
    TSolenoid s;
    s.CurrentDir = dir;
    s.Turns = turns;
    s.Radius = float(radius);
    s.BuildCoil();
    const double scale = 1.5;
    const auto lines = s.FieldLines(QSize(800, 600), scale);
    QCOMPARE(lines.Lines.size(), 4 * s.LineStarts().size());
    QCOMPARE(lines.Heads.size(), 2 + lines.Lines.size());
    for (const auto& head : lines.Heads) {
        const QPointF base = (head[1] + head[2]) / 2, along = head[0] - base;
        const TCoilFieldValue b = s.CoilField(base.x() / scale, base.y() / scale, 1e-6);
        // The field's screen components; the current's direction turns it round.
        const double right = dir * b.Ba, down = dir * b.Br;
        QVERIFY2(along.x() * right + along.y() * down > 0,
                 qPrintable(QStringLiteral("head at %1, %2").arg(base.x()).arg(base.y())));
    }
}

void TestElectromagnets::turnColoursFollowTheCurrent() {
    TSolenoid s;
    const QSize size(800, 600);
    const double scale = 1.5;
    auto colourAt = [&](int k, int side) {
        const QImage img = s.Draw(size, scale);
        return img.pixelColor(int(400 + s.TurnPosition(k) * scale), int(300 + side * s.Radius * scale));
    };
    QCOMPARE(colourAt(0, -1), QColor(255, 0, 0));
    QCOMPARE(colourAt(4, 1), QColor(0, 0, 255));
    s.CurrentDir = -1;
    QCOMPARE(colourAt(0, -1), QColor(0, 0, 255));
    QCOMPARE(colourAt(4, 1), QColor(255, 0, 0));
}

void TestElectromagnets::ammeterText_data() {
    QTest::addColumn<int>("volts");
    QTest::addColumn<QString>("text");
    QTest::newRow("0 V") << 0 << "0.0 A";
    QTest::newRow("2 V") << 2 << "0.8 A";
    QTest::newRow("6 V") << 6 << "2.5 A";
    QTest::newRow("12 V") << 12 << "5.0 A";
}

void TestElectromagnets::ammeterText() {
    QFETCH(int, volts);
    QFETCH(QString, text);
    TEMagnet m;
    m.SetVoltage(volts);
    QCOMPARE(m.AmmeterText(), text);
}

void TestElectromagnets::stageTransitions_data() {
    QTest::addColumn<QString>("presses");
    QTest::addColumn<int>("stage");
    QTest::addColumn<QString>("enabled"); // add count reset coils current
    QTest::newRow("created") << "" << 0 << "10011";
    QTest::newRow("Add") << "a" << 1 << "01100";
    QTest::newRow("Add Count") << "ac" << 2 << "00100";
    QTest::newRow("Add Count Reset") << "acr" << 0 << "10011";
    QTest::newRow("Add Reset") << "ar" << 0 << "10011";
    QTest::newRow("Count while ready does nothing") << "c" << 0 << "10011";
    QTest::newRow("second Add while hanging does nothing") << "aa" << 1 << "01100";
}

void TestElectromagnets::stageTransitions() {
    QFETCH(QString, presses);
    QFETCH(int, stage);
    QFETCH(QString, enabled);
    TEMagnetFrm f;
    f.resize(640, 480);
    for (QChar c : presses)
        (c == 'a' ? f.AddBtn : c == 'c' ? f.CountBtn : f.ResetBtn)->trigger();
    QCOMPARE(f.Magnet.Stage, stage);
    const QString got = QString("%1%2%3%4%5")
                            .arg(int(f.AddBtn->isEnabled()))
                            .arg(int(f.CountBtn->isEnabled()))
                            .arg(int(f.ResetBtn->isEnabled()))
                            .arg(int(f.Coils->isEnabled()))
                            .arg(int(f.Current->isEnabled()));
    QCOMPARE(got, enabled);
}

void TestElectromagnets::nailCount() {
    TEMagnet m;
    m.SetVoltage(0);
    QCOMPARE(m.NailCount, 0);
    QVERIFY(m.Nails.empty());
    m.SetTurns(100);
    double sum = 0;
    SharedRandom().SetSeed(12345);
    for (int i = 0; i < 200; ++i) {
        m.SetVoltage(12);
        QCOMPARE(int(m.Nails.size()), m.NailCount);
        sum += m.NailCount;
    }
    QVERIFY(std::abs(sum / 200 - 100) < 2); // mean 100, deviation 5
    // Every hanging nail hangs from its head within the core's face.
    for (const TNail& nail : m.Nails) {
        QVERIFY(nail[0].x() >= -1.21 && nail[0].x() <= 8 + 1.21);
        QVERIFY(std::abs(nail[2].y()) <= 4.001);
    }
}

void TestElectromagnets::countedNailsStayInThePicture() {
    QCOMPARE(TEMagnet::CountedNailPosition(0), QPointF(25, 30));
    QCOMPARE(TEMagnet::CountedNailPosition(1), QPointF(28, 30));
    QCOMPARE(TEMagnet::CountedNailPosition(9), QPointF(52, 30));
    QCOMPARE(TEMagnet::CountedNailPosition(10), QPointF(25, 35));
    QCOMPARE(TEMagnet::CountedNailPosition(99), QPointF(52, 75));
    TEMagnet m;
    // Far more than 100 turns x 12 V ever gives.
    for (int k = 0; k < 200; ++k) {
        const QPointF at = TEMagnet::CountedNailPosition(k);
        for (const QPointF& q : m.NailShape) {
            const QPointF p = at + q;
            QVERIFY2(p.y() >= 0 && p.y() <= 80 && p.x() >= 0 && p.x() <= 87, qPrintable(QString::number(k)));
        }
    }
    // A pane narrower than the picture's width narrows the picture instead of cutting it off.
    m.Stage = 2;
    m.NailCount = 130;
    const int w = 612, h = 900;
    const double scale = m.ScaleFor(w, h);
    QVERIFY((TEMagnet::CountedNailPosition(129).x() + 1.2) * scale <= w);
    m.NailCount = 60;
    QVERIFY(56 * m.ScaleFor(w, h) <= w); // the supply's right edge
    QCOMPARE(m.ScaleFor(1200, h), h * 0.0125);
    // Nails never lie on one another.
    for (int i = 0; i < 200; ++i)
        for (int j = i + 1; j < 200; ++j) {
            const QPointF d = TEMagnet::CountedNailPosition(i) - TEMagnet::CountedNailPosition(j);
            QVERIFY(std::abs(d.x()) >= 2.9 || std::abs(d.y()) >= 4.9);
        }
}

void TestElectromagnets::emptyPictureDrawsNothing() {
    QTest::failOnWarning(QRegularExpression(QStringLiteral(".+")));
    TEMagnet m;
    QVERIFY(m.Draw(0, 0).isNull());
    QVERIFY(m.Draw(300, 0).isNull());
    QVERIFY(m.Draw(0, 300).isNull());
    TSolenoid s;
    QVERIFY(s.Draw(QSize(0, 0), 0).isNull());
    // A panel whose picture has no size yet draws nothing and keeps quiet.
    TEMagnetFrm f;
    f.Pic->resize(0, 0);
    f.Redraw();
    QVERIFY(f.Pic->Picture().isNull());
}

void TestElectromagnets::solenoidPanel() {
    TSolenoidFrm f;
    f.resize(800, 600);
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    QCOMPARE(f.Scale, 1.5);
    QCOMPARE(f.Pic->Picture().size(), QSize(800, 600));
    QCOMPARE(f.Pic->Layers[TSolenoidFrm::ReadoutLayer].Rect, QRectF(15, 15, 165, 45));
    QCOMPARE(f.Pic->Layers[TSolenoidFrm::CompassLayer].Rect.size(), QSizeF(37.5, 37.5));
    QVERIFY(!f.Pic->Layers[TSolenoidFrm::ReadoutLayer].Visible);
    QVERIFY(!f.Pic->Layers[TSolenoidFrm::CompassLayer].Visible);
    const int before = f.Redraws;
    f.RevCurrentBtn->trigger();
    QCOMPARE(f.Solenoid.CurrentDir, -1);
    f.RevCurrentBtn->trigger();
    QCOMPARE(f.Solenoid.CurrentDir, 1);
    QCOMPARE(f.Redraws, before + 2);
    f.RadiusSE->setValue(35);
    QCOMPARE(f.Solenoid.Radius, 35.f);
    QCOMPARE(f.Solenoid.Coil[0].X, 35.f);
    f.TurnsSE->setValue(1);
    f.SpacingSE->setValue(30);
    QCOMPARE(f.Solenoid.Turns, 1);
    QCOMPARE(f.Solenoid.Spacing, 30.f);
    QCOMPARE(f.Redraws, before + 5);
    // A form narrower than it is high takes its scale from the width.
    f.resize(400, 700);
    QCoreApplication::processEvents();
    QCOMPARE(f.Scale, 1.0);
    // "+field" and its host entry.
    QVERIFY(f.RunOperation(QStringLiteral("SolenoidField"), {true}));
    QVERIFY(f.Measure1->isChecked());
    QVERIFY(f.Pic->Layers[TSolenoidFrm::ReadoutLayer].Visible);
    f.SetMeasure(false);
    QVERIFY(!f.Pic->Layers[TSolenoidFrm::ReadoutLayer].Visible);
    f.SetLargeButtons(true);
    QCOMPARE(f.TurnsSE->width(), 100);
    QCOMPARE(f.RadiusSE->width(), 140);
    QCOMPARE(f.SpacingSE->width(), 150);
    f.SetLargeButtons(false);
    QCOMPARE(f.SpacingSE->width(), 100);
    // Nothing is drawn once the form is closing.
    f.Closing = true;
    const int closed = f.Redraws;
    f.GridBtn->trigger();
    QCOMPARE(f.Redraws, closed);
}

void TestElectromagnets::solenoidPressSetsTheProbePoint() {
    TSolenoidFrm f;
    f.resize(800, 600);
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    // A press with no move before it: the needle is for the point pressed.
    const QPoint at(250, 420);
    QTest::mousePress(f.Pic, Qt::LeftButton, {}, at);
    QCOMPARE(QPointF(f.MouseX, f.MouseY), QPointF(at));
    const TProbeValue expected = f.Solenoid.ProbeField(at.x(), at.y(), f.Pic->size(), f.Scale);
    QCOMPARE(f.Probe().Angle, expected.Angle);
    const auto& compass = f.Pic->Layers[TSolenoidFrm::CompassLayer];
    QVERIFY(compass.Visible);
    QCOMPARE(compass.Rect.center(), QPointF(at));
    QTest::mouseRelease(f.Pic, Qt::LeftButton, {}, at);
    QVERIFY(!f.Pic->Layers[TSolenoidFrm::CompassLayer].Visible);
}

void TestElectromagnets::solenoidPointerMoveRepaintsOnlyLayers() {
    TSolenoidFrm f;
    f.resize(800, 600);
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    f.SetMeasure(true);
    const QImage picture = f.Pic->Picture();
    const int redraws = f.Redraws;
    QTest::mousePress(f.Pic, Qt::LeftButton, {}, QPoint(100, 100));
    for (int x = 100; x < 300; x += 20) {
        QMouseEvent move(QEvent::MouseMove, QPointF(x, 200), f.Pic->mapToGlobal(QPointF(x, 200)), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(f.Pic, &move);
    }
    QCOMPARE(f.Redraws, redraws);
    QCOMPARE(f.Pic->Picture(), picture);
    QCOMPARE(f.Pic->Layers[TSolenoidFrm::CompassLayer].Rect.center(), QPointF(280, 200));
    // The layers are on the screen's picture, the picture under them untouched.
    const QImage shown = f.Pic->Composed();
    Keep(shown, "solenoid-compass-readout.png");
    QCOMPARE(shown.pixelColor(16 * 1, 40), QColor(255, 255, 224)); // readout box
    QVERIFY(shown != picture);
}

void TestElectromagnets::emagnetPanel() {
    TEMagnetFrm f;
    f.resize(800, 600);
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    QCOMPARE(f.Magnet.Turns, 50);
    QCOMPARE(f.Magnet.Voltage, 2);
    QCOMPARE(f.Coils->minimum(), 3);
    QCOMPARE(f.Coils->maximum(), 100);
    QCOMPARE(f.Current->maximum(), 12);
    QVERIFY(!f.Pic->Picture().isNull());
    QCOMPARE(f.Magnet.Scale, std::min(f.Pic->height() * 0.0125, f.Pic->width() / 57.0));
    f.Current->setValue(0);
    QCOMPARE(f.Magnet.NailCount, 0);
    f.AddBtn->trigger();
    QCOMPARE(f.LiftFrames, 32);
    QCOMPARE(f.Magnet.DishTop, 69.0);
    QVERIFY(f.Magnet.Nails.empty());
    // Settings are locked while the nails hang.
    QVERIFY(!f.Coils->isEnabled());
    f.ResetBtn->trigger();
    f.Coils->setValue(100);
    f.Current->setValue(12);
    // A draw past the hundredth nail, which needs the second block to count.
    SharedRandom().SetSeed(1);
    for (int i = 0; i < 50 && f.Magnet.NailCount <= 100; ++i) {
        f.Current->setValue(11);
        f.Current->setValue(12);
    }
    QVERIFY(f.Magnet.NailCount > 100);
    const int count = f.Magnet.NailCount;
    f.AddBtn->trigger();
    QCOMPARE(f.Magnet.NailCount, count); // drawn before Add, never on it
    Keep(f.Pic->Picture(), "electromagnet-100-turns-12V-hanging.png");
    f.CountBtn->trigger();
    Keep(f.Pic->Picture(), "electromagnet-100-turns-12V-counted.png");
    f.SetLargeButtons(true);
    QCOMPARE(f.Coils->font().pointSizeF(), f.font().pointSizeF() * 1.5);
    f.SetLargeButtons(false);
    QCOMPARE(f.Coils->font().pointSizeF(), f.font().pointSizeF());
}

void TestElectromagnets::panelsFromTheirPages() {
    TFrameFrm f(QStringLiteral(QUARVEL_CONTENT_DIR));
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    f.Topics->SelectTopic(2003);
    auto* solenoid = qobject_cast<TSolenoidFrm*>(f.Topics->HostedPanel());
    QVERIFY(solenoid);
    QCOMPARE(solenoid->Toolbar()->Dock(), f.TopDock);
    QVERIFY(f.RunPageCommand(QStringLiteral("+field")));
    QVERIFY(solenoid->Measure1->isChecked());
    f.Topics->SelectTopic(2004);
    auto* magnet = qobject_cast<TEMagnetFrm*>(f.Topics->HostedPanel());
    QVERIFY(magnet);
    QCOMPARE(magnet->Toolbar()->Dock(), f.TopDock);
    QCoreApplication::processEvents();
    QVERIFY(!magnet->Pic->Picture().isNull());
}

QUARVEL_GUI_TEST_MAIN(TestElectromagnets)
#include "tst_electromagnets.moc"
