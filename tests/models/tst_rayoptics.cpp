// The ray optics of the ray-box topics, without a display.
#include "models/light/rayoptics.h"

#include <QTest>
#include <cmath>

using namespace quarvel;

// A point as a table cell: QVector3D's own type is registered only with a GUI application.
struct TPoint3 {
    QVector3D V;
    TPoint3(const QVector3D& v = {}) : V(v) {}
    operator QVector3D() const { return V; }
};
Q_DECLARE_METATYPE(TPoint3)

namespace {
constexpr double kPi = 3.14159265358979323846;
QVector3D BoxAt(float thetaDeg, float dist) {
    const double t = thetaDeg * kPi / 180;
    return QVector3D(float(dist * std::cos(t)), 0, float(-dist * std::sin(t)));
}
bool Finite(const QVector3D& v) { return std::isfinite(v.x()) && std::isfinite(v.y()) && std::isfinite(v.z()); }
QVector3D Unit(const QVector3D& a, const QVector3D& b) { return (b - a).normalized(); }
} // namespace

class TestRayOptics : public QObject {
    Q_OBJECT
private slots:
    void heading_data();
    void heading();
    void rectBlock_data();
    void rectBlock();
    void dBlock_data();
    void dBlock();
    void prismEntryFace_data();
    void prismEntryFace();
    void prismCommands_data();
    void prismCommands();
    void prismNeverLeavesThroughAWall_data();
    void prismNeverLeavesThroughAWall();
    void mirror_data();
    void mirror();
    void mirrorLawOfReflection();
};

void TestRayOptics::heading_data() {
    QTest::addColumn<float>("x");
    QTest::addColumn<float>("z");
    QTest::addColumn<float>("theta"); // negative: no heading
    QTest::newRow("box (5,0,-3)") << 5.f << -3.f << 30.9638f;
    QTest::newRow("on +x") << 5.f << 0.f << 360.f;
    QTest::newRow("on -x") << -7.f << 0.f << 180.f;
    QTest::newRow("in front, +z") << 0.f << 10.f << 270.f;
    QTest::newRow("behind, -z") << 0.f << -10.f << 90.f;
    QTest::newRow("at the origin") << 0.f << 0.f << -1.f;
    QTest::newRow("a hair from the origin") << 1e-5f << -1e-5f << -1.f;
}

void TestRayOptics::heading() {
    QFETCH(float, x);
    QFETCH(float, z);
    QFETCH(float, theta);
    const auto h = RayboxHeading(x, z);
    if (theta < 0) {
        QVERIFY(!h);
        return;
    }
    QVERIFY(h);
    QVERIFY2(std::abs(*h - theta) < 1e-3f, qPrintable(QString::number(*h)));
    // The box lies in the direction (cos, 0, -sin) of its heading.
    QVERIFY((BoxAt(*h, std::hypot(x, z)) - QVector3D(x, 0, z)).length() < 1e-3f);
}

void TestRayOptics::rectBlock_data() {
    QTest::addColumn<TPoint3>("boxCell");
    QTest::addColumn<float>("incidence");
    QTest::addColumn<float>("refraction");
    QTest::addColumn<float>("shift");
    QTest::newRow("(5,0,-3)") << TPoint3(QVector3D(5, 0, -3)) << 30.96f << 20.06f << 1.096f;
    QTest::newRow("+i=90: normal incidence") << TPoint3(QVector3D(5, 0, 0)) << 360.f << 0.f << 0.f;
    QTest::newRow("from the other side") << TPoint3(QVector3D(5, 0, 3)) << 329.04f << -20.06f << -1.096f;
}

void TestRayOptics::rectBlock() {
    QFETCH(TPoint3, boxCell);
    const QVector3D box = boxCell;
    QFETCH(float, incidence);
    QFETCH(float, refraction);
    QFETCH(float, shift);
    const auto r = RectBlockRays(box);
    QVERIFY(r);
    QVERIFY(std::abs(r->Theta - incidence) < 0.01f);
    QVERIFY(std::abs(r->Refraction - refraction) < 0.01f);
    QVERIFY(std::abs(r->Shift - shift) < 0.001f);
    QVERIFY((r->Exit - QVector3D(-3, 0, shift)).length() < 0.001f);
    QVERIFY(std::abs(r->Path - std::hypot(3.f, r->Shift)) < 1e-4f);
    // Snell at the entry face, whose normal is x.
    const double i = r->Theta * kPi / 180, rr = r->Refraction * kPi / 180;
    QVERIFY(std::abs(std::sin(i) - 1.5 * std::sin(rr)) < 1e-5);
    // The emergent ray (turn theta + 180 from the exit) is parallel to the incident one.
    const QVector3D incident = Unit(box, QVector3D());
    const QVector3D emergent = BoxAt(r->Theta + 180, 1);
    QVERIFY((incident - emergent).length() < 1e-5f);
    QVERIFY(!RectBlockRays(QVector3D(0, 0, 0)));
}

void TestRayOptics::dBlock_data() {
    QTest::addColumn<TPoint3>("boxCell");
    QTest::addColumn<bool>("total");
    QTest::addColumn<float>("outgoing");
    QTest::newRow("curved side, 41 degrees") << TPoint3(BoxAt(41, 8)) << false << float(180 + std::asin(1.5 * std::sin(41 * kPi / 180)) * 180 / kPi);
    QTest::newRow("curved side, 42 degrees") << TPoint3(BoxAt(42, 8)) << true << -42.f;
    QTest::newRow("+critical (5,0,-5)") << TPoint3(QVector3D(5, 0, -5)) << true << -45.f;
    QTest::newRow("curved side, -42 degrees") << TPoint3(BoxAt(318, 8)) << true << -318.f;
    QTest::newRow("flat side, 150 degrees") << TPoint3(BoxAt(150, 8)) << false << float(-std::asin(0.5 / 1.5) * 180 / kPi);
    QTest::newRow("flat side, head on") << TPoint3(QVector3D(-8, 0, 0)) << false << 0.f;
}

void TestRayOptics::dBlock() {
    QFETCH(TPoint3, boxCell);
    const QVector3D box = boxCell;
    QFETCH(bool, total);
    QFETCH(float, outgoing);
    const auto r = DBlockRays(box);
    QVERIFY(r);
    QCOMPARE(r->TotallyReflected, total);
    QVERIFY2(std::abs(r->OutgoingTurn - outgoing) < 0.01f, qPrintable(QString::number(r->OutgoingTurn)));
    QVERIFY(std::abs(r->ReflectedTurn + r->Theta) < 1e-4f);
    QVERIFY(std::abs(CriticalAngle(1.5f) - 41.81f) < 0.01f);
    QVERIFY(!DBlockRays(QVector3D(0, 0, 0)));
}

void TestRayOptics::prismEntryFace_data() {
    QTest::addColumn<float>("theta");
    QTest::addColumn<int>("face"); // 0 hypotenuse, 1 AC, 2 AB
    QTest::newRow("30") << 30.f << 0;
    QTest::newRow("134") << 134.f << 0;
    QTest::newRow("134.5: still the hypotenuse (C is at 135)") << 134.5f << 0;
    QTest::newRow("136") << 136.f << 1;
    QTest::newRow("200") << 200.f << 1;
    QTest::newRow("210") << 210.f << 2;
    QTest::newRow("300") << 300.f << 2;
    QTest::newRow("330") << 330.f << 0;
}

void TestRayOptics::prismEntryFace() {
    QFETCH(float, theta);
    QFETCH(int, face);
    QCOMPARE(PrismEntryFace(BoxAt(theta, 9)), face);
}

void TestRayOptics::prismCommands_data() {
    QTest::addColumn<TPoint3>("boxCell");
    QTest::addColumn<int>("reflections");
    QTest::newRow("+p180") << TPoint3(QVector3D(5, 0, -5)) << 2;
    QTest::newRow("+p90") << TPoint3(QVector3D(-7, 0, 0)) << 1;
    QTest::newRow("+dispersion") << TPoint3(QVector3D(3.79f, 0, -4.58f)) << 0;
}

void TestRayOptics::prismCommands() {
    QFETCH(TPoint3, boxCell);
    const QVector3D box = boxCell;
    QFETCH(int, reflections);
    const auto blue = TracePrism(box, kBlueIndex), red = TracePrism(box, kRedIndex);
    QVERIFY(blue && red);
    QCOMPARE(blue->Reflections, reflections);
    QCOMPARE(red->Reflections, reflections);
    QVERIFY(blue->Leaves && red->Leaves);
    const QVector3D incident = Unit(box, QVector3D());
    // The emergent ray runs from the exit point to the last node.
    const QVector3D blueOut = Unit(blue->Nodes[std::size_t(blue->Count - 2)], blue->Nodes[std::size_t(blue->Count - 1)]);
    const QVector3D redOut = Unit(red->Nodes[std::size_t(red->Count - 2)], red->Nodes[std::size_t(red->Count - 1)]);
    if (reflections == 2) {
        // Sent back parallel to the incident beam, in both colours.
        QVERIFY((blueOut + incident).length() < 1e-4f);
        QVERIFY((redOut + incident).length() < 1e-4f);
        QVERIFY((blue->Nodes[1] - QVector3D(-1, 0, 1)).length() < 1e-4f);
        QVERIFY((blue->Nodes[2] - QVector3D(-2, 0, 0)).length() < 1e-4f);
    } else if (reflections == 1) {
        QVERIFY(QVector3D::dotProduct(blueOut, incident) > -1e-4f && QVector3D::dotProduct(blueOut, incident) < 1e-4f);
    } else {
        // Dispersion: red is bent less than blue, and the two part.
        const float blueBend = std::acos(std::clamp(QVector3D::dotProduct(blueOut, incident), -1.f, 1.f));
        const float redBend = std::acos(std::clamp(QVector3D::dotProduct(redOut, incident), -1.f, 1.f));
        QVERIFY(redBend < blueBend);
        QVERIFY(redBend > 0.1f);
        QVERIFY((blue->Nodes[4] - red->Nodes[4]).length() > 0.3f);
        QCOMPARE(blue->Count, 3);
        QVERIFY((blue->Nodes[0] - red->Nodes[0]).length() < 1e-5f); // they share the entry point
    }
}

void TestRayOptics::prismNeverLeavesThroughAWall_data() {
    QTest::addColumn<TPoint3>("boxCell");
    QTest::newRow("at the origin") << TPoint3(QVector3D(0, 0, 0));
    QTest::newRow("134.5 degrees") << TPoint3(BoxAt(134.5f, 8));
    QTest::newRow("135 degrees: along the hypotenuse to C") << TPoint3(BoxAt(135, 8));
    QTest::newRow("315 degrees: along AB's corner B") << TPoint3(BoxAt(315, 8));
    QTest::newRow("330 degrees") << TPoint3(BoxAt(330, 8));
    QTest::newRow("340 degrees") << TPoint3(BoxAt(340, 8));
    QTest::newRow("10 degrees") << TPoint3(BoxAt(10, 8));
    QTest::newRow("inside the glass") << TPoint3(QVector3D(-1, 0, 0.5f));
    for (int d = 0; d < 360; d += 7)
        QTest::newRow(qPrintable(QStringLiteral("sweep %1").arg(d))) << TPoint3(BoxAt(float(d) + 0.5f, 9.5f));
}

void TestRayOptics::prismNeverLeavesThroughAWall() {
    QFETCH(TPoint3, boxCell);
    const QVector3D box = boxCell;
    for (float n : {kBlueIndex, kRedIndex}) {
        const auto path = TracePrism(box, n);
        if (box.length() < kRayboxMinDistance) {
            QVERIFY(!path); // nothing to trace: the model leaves the rays as they were
            continue;
        }
        QVERIFY(path);
        QVERIFY(path->Count >= 3 && path->Count <= 5);
        QVERIFY(path->Reflections <= 2);
        for (const QVector3D& p : path->Nodes)
            QVERIFY(Finite(p));
        // Every node up to the exit point lies on the glass or in it, and
        // each piece inside runs through the glass (its middle is inside).
        const int inside = path->Count - 1;
        for (int i = 0; i < inside; ++i) {
            QVERIFY2(InsidePrism(path->Nodes[i].x(), path->Nodes[i].z(), 1e-3f), qPrintable(QString::number(i)));
            if (i > 0) {
                const QVector3D m = (path->Nodes[i - 1] + path->Nodes[i]) / 2;
                QVERIFY(InsidePrism(m.x(), m.z(), 1e-3f));
            }
        }
        // The emergent ray heads away from the glass.
        const QVector3D beyond = path->Nodes[std::size_t(path->Count - 1)];
        QVERIFY(!InsidePrism(beyond.x(), beyond.z(), 1e-3f) || !path->Leaves);
    }
}

void TestRayOptics::mirror_data() {
    QTest::addColumn<TPoint3>("boxCell");
    QTest::addColumn<float>("angle");
    QTest::newRow("on the normal (0,0,10)") << TPoint3(QVector3D(0, 0, 10)) << 90.f;
    QTest::newRow("start (5,0,10)") << TPoint3(QVector3D(5, 0, 10)) << float(std::atan2(10.0, 5.0) * 180 / kPi);
    QTest::newRow("behind (3,0,-4)") << TPoint3(QVector3D(3, 0, -4)) << -1.f;
    QTest::newRow("on the mirror line") << TPoint3(QVector3D(4, 0, 0)) << 0.f;
}

void TestRayOptics::mirror() {
    QFETCH(TPoint3, boxCell);
    const QVector3D box = boxCell;
    QFETCH(float, angle);
    const auto r = MirrorRays(box);
    QVERIFY(r);
    QVERIFY(std::abs(r->MirrorAngle - angle) < 1e-3f);
    const auto& central = r->Rays[0];
    QVERIFY(central.Shown);
    QCOMPARE(central.Nodes[0], box);
    QVERIFY(central.Nodes[1].length() < 1e-5f);
    if (angle < 0) {
        // Behind: every ray stops at the mirror line.
        for (const auto& ray : r->Rays) {
            if (!ray.Shown)
                continue;
            QCOMPARE(ray.Count, 2);
            QCOMPARE(ray.Nodes[1].z(), 0.f);
            QCOMPARE(ray.Nodes[2], ray.Nodes[1]);
        }
    } else {
        QCOMPARE(central.Count, 3);
        QVERIFY((central.Nodes[2] - QVector3D(-box.x(), 0, box.z())).length() < 1e-4f);
    }
    QVERIFY(!MirrorRays(QVector3D(0, 0, 0)));
}

void TestRayOptics::mirrorLawOfReflection() {
    // At every heading in front: each shown side ray hits the mirror, leaves
    // the slit 7.59 degrees either side of the central ray and obeys the law of reflection.
    for (int d = 181; d < 360; d += 3) {
        const QVector3D box = BoxAt(float(d), 9);
        const auto r = MirrorRays(box);
        QVERIFY(r);
        const QVector3D central = Unit(box, QVector3D());
        for (int k = 1; k < 3; ++k) {
            const auto& ray = r->Rays[std::size_t(k)];
            if (!ray.Shown)
                continue;
            QVERIFY(std::abs(ray.Nodes[1].x()) <= kMirrorHalfLength + 1e-4f);
            const QVector3D in = Unit(ray.Nodes[0], ray.Nodes[1]);
            const QVector3D out = Unit(ray.Nodes[1], ray.Nodes[2]);
            QVERIFY(std::abs(out.x() - in.x()) < 1e-4f && std::abs(out.z() + in.z()) < 1e-4f);
            const float spread = std::acos(std::clamp(QVector3D::dotProduct(in, central), -1.f, 1.f)) * 180 / float(kPi);
            QVERIFY2(std::abs(spread - kSlitAngle) < 1e-2f, qPrintable(QString::number(d)));
        }
    }
    // Low over the mirror's end the outer side ray passes the end and is dropped.
    auto r = MirrorRays(QVector3D(10, 0, 3));
    QVERIFY(r && !r->Rays[1].Shown && r->Rays[2].Shown);
    // Lower still it heads away from the mirror line altogether.
    r = MirrorRays(QVector3D(10, 0, 1));
    QVERIFY(r && !r->Rays[1].Shown && r->Rays[2].Shown);
}

QTEST_GUILESS_MAIN(TestRayOptics)
#include "tst_rayoptics.moc"
