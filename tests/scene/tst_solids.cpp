#include "scene/material.h"
#include "scene/primitives.h"
#include "scene/solids.h"
#include "scene/traversal.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>

using namespace quarvel;

namespace {
bool Near(const QVector3D& a, const QVector3D& b, float eps = 1e-3f) { return (a - b).length() < eps; }

// An L-shaped (concave) outline with a square hole in its long arm.
std::vector<TContour> LWithHole() {
    return {{{0, 0}, {4, 0}, {4, 1}, {1, 1}, {1, 3}, {0, 3}}, {{2.2f, 0.3f}, {2.2f, 0.7f}, {2.8f, 0.7f}, {2.8f, 0.3f}}};
}

// Writes a 3DS file with one box of 12 triangles through the mesh library.
bool WriteBox3ds(const QString& path) {
    TCube box;
    box.SetSize(2, 2, 2);
    return SaveMeshAs3ds(box.Geometry(), path);
}
} // namespace

class TestSolids : public QObject {
    Q_OBJECT
private slots:
    void extrusionOfAConcaveProfileWithAHole();
    void extrusionCreases();
    void flatPolygon();
    void revolution();
    void splinePipePassesThroughItsNodes();
    void arrowLengthAndCentring();
    void proxies();
    void meshesFrom3dsFiles();
    void mirrorReflection();
};

void TestSolids::extrusionOfAConcaveProfileWithAHole() {
    const std::vector<TContour> profile = LWithHole();
    TExtrusionSolid solid;
    solid.SetContours(profile);
    solid.SetDepth(2);
    solid.SetParts(TExtrusionSolid::Stop);
    const TMesh& cap = solid.Geometry();
    // A polygon of 6 + 4 corners with one hole: 6 + 4 + 2 - 2 = 10 triangles.
    QCOMPARE(cap.TriangleCount(), std::size_t(10));
    float area = 0;
    for (std::size_t i = 0; i < cap.Indices.size(); i += 3) {
        const QVector3D a = cap.Positions[cap.Indices[i]], b = cap.Positions[cap.Indices[i + 1]],
                        c = cap.Positions[cap.Indices[i + 2]];
        QVERIFY(InsideContours(profile, ((a + b + c) / 3).toVector2D())); // nothing outside the profile
        const QVector3D n = QVector3D::crossProduct(b - a, c - a);
        QVERIFY(n.z() > 0); // the stop cap faces +z
        area += n.length() / 2;
        QCOMPARE(a.z(), 2.f);
    }
    QVERIFY(std::abs(area - (4 + 2 - 0.24f)) < 1e-3f); // L of area 6 less the hole

    solid.SetParts(TExtrusionSolid::Outside);
    const TMesh& walls = solid.Geometry();
    QCOMPARE(walls.TriangleCount(), std::size_t((6 + 4) * 2));
    for (std::size_t i = 0; i < walls.Indices.size(); i += 3) {
        const QVector3D a = walls.Positions[walls.Indices[i]], b = walls.Positions[walls.Indices[i + 1]],
                        c = walls.Positions[walls.Indices[i + 2]];
        const QVector3D n = QVector3D::crossProduct(b - a, c - a).normalized();
        const QVector2D out = ((a + b + c) / 3).toVector2D() + n.toVector2D() * 0.01f;
        QVERIFY(!InsideContours(profile, out)); // walls face away from the solid, holes included
    }
    solid.SetParts(TExtrusionSolid::AllParts);
    QCOMPARE(solid.Geometry().TriangleCount(), std::size_t(10 + 10 + 20));
}

void TestSolids::extrusionCreases() {
    // A 12-sided disc: corners of 30 degrees are smoothed under a 45 degree
    // crease angle, but a square's 90 degree corners stay sharp.
    TContour round;
    for (int i = 0; i < 12; ++i)
        round.emplace_back(std::cos(i * 0.5236f), std::sin(i * 0.5236f));
    TExtrusionSolid disc;
    disc.SetContours({round});
    disc.SetParts(TExtrusionSolid::Outside);
    const TMesh& m = disc.Geometry();
    for (std::size_t i = 0; i < m.Positions.size(); ++i)
        QVERIFY(Near(m.Normals[i], QVector3D(m.Positions[i].toVector2D().normalized(), 0), 0.01f));
    TExtrusionSolid box;
    box.SetContours({{{0, 0}, {1, 0}, {1, 1}, {0, 1}}});
    box.SetParts(TExtrusionSolid::Outside);
    for (const QVector3D& n : box.Geometry().Normals)
        QVERIFY(std::abs(std::abs(n.x()) + std::abs(n.y()) - 1) < 1e-5f); // axis-aligned
}

void TestSolids::flatPolygon() {
    TPolygonFace face;
    face.SetContours(LWithHole());
    QCOMPARE(face.Geometry().TriangleCount(), std::size_t(10));
    for (const QVector3D& n : face.Geometry().Normals)
        QCOMPARE(n, QVector3D(0, 0, 1));
}

void TestSolids::revolution() {
    TRevolutionSolid vase;
    vase.SetProfile({{1, 0}, {1.5f, 1}, {1, 2}});
    vase.SetSlices(24);
    const TMesh& m = vase.Geometry();
    QCOMPARE(m.TriangleCount(), std::size_t(2 * 24 * 2));
    // The seam closes: the last column meets the first, with the same normals.
    for (int j = 0; j < 3; ++j) {
        QVERIFY(Near(m.Positions[std::size_t(j * 25)], m.Positions[std::size_t(j * 25 + 24)]));
        QVERIFY(Near(m.Normals[std::size_t(j * 25)], m.Normals[std::size_t(j * 25 + 24)]));
    }
    // Smooth: the normal at the bulge points straight out.
    QVERIFY(Near(m.Normals[25], QVector3D(0, 0, 1), 0.01f));
    vase.SetParts(TRevolutionSolid::Outer | TRevolutionSolid::InnerFaces);
    QCOMPARE(vase.Geometry().TriangleCount(), std::size_t(4 * 24 * 2));

    TRevolutionSolid coil;
    coil.SetProfile({{1, 0}, {1.2f, 0.1f}});
    coil.SetSlices(36);
    coil.SetSweep(0, 720);
    coil.SetHelix(0.5f);
    const TMesh& h = coil.Geometry();
    // After two turns the profile has risen by twice the pitch.
    QVERIFY(Near(h.Positions[36], h.Positions[0] + QVector3D(0, 1, 0)));
}

void TestSolids::splinePipePassesThroughItsNodes() {
    TPipe pipe;
    const std::vector<QVector3D> nodes = {{0, 0, 0}, {1, 1, 0}, {2, 0, 1}, {3, 2, 2}};
    pipe.SetNodes(nodes);
    pipe.SetSpline(true, 10);
    pipe.SetRadius(0.1f);
    pipe.SetSlices(8);
    const std::vector<QVector3D> path = pipe.Path();
    QCOMPARE(path.size(), std::size_t(3 * 10 + 1));
    for (std::size_t i = 0; i < nodes.size(); ++i)
        QVERIFY(Near(path[i * 10], nodes[i]));
    const TMesh& m = pipe.Geometry();
    QCOMPARE(m.TriangleCount(), std::size_t(30 * 8 * 2));
    // Every tube vertex lies one radius from the centre line.
    for (std::size_t i = 0; i < path.size(); ++i)
        QVERIFY(std::abs((m.Positions[i * 9] - path[i]).length() - 0.1f) < 1e-4f);
    pipe.SetCapped(true);
    QCOMPARE(pipe.Geometry().TriangleCount(), std::size_t(30 * 8 * 2 + 2 * 8));
}

void TestSolids::arrowLengthAndCentring() {
    TArrowLine arrow;
    arrow.SetLength(0.5f);
    arrow.SetRadii(0.01f, 0.04f);
    arrow.SetHeadLength(0.08f);
    const auto [lo, hi] = arrow.Geometry().Bounds();
    QVERIFY(std::abs(lo.z() + 0.25f) < 1e-5f);
    QVERIFY(std::abs(hi.z() - 0.25f) < 1e-5f);
    QVERIFY(std::abs(hi.x() - 0.04f) < 1e-4f);
    arrow.SetLength(0.05f); // shorter than its head
    QCOMPARE(arrow.Geometry().Positions.size(), std::size_t(0));
}

void TestSolids::proxies() {
    TDummyCube root;
    auto* master = root.AddNew<TSphere>();
    master->SetPosition(1, 0, 0);
    master->Visible = false; // masters are often hidden; their proxies still show them
    auto* child = master->AddNew<TCube>();
    child->SetPosition(0, 1, 0);
    auto* proxy = root.AddNew<TProxy>();
    proxy->Master = master;
    proxy->SetPosition(0, 0, 5);
    std::vector<TDrawItem> items;
    CollectDrawItems(&root, nullptr, items);
    QCOMPARE(items.size(), std::size_t(2));
    QVERIFY(Near(items[0].Matrix.map(QVector3D()), QVector3D(1, 0, 5))); // master placement on top
    QVERIFY(Near(items[1].Matrix.map(QVector3D()), QVector3D(1, 1, 5)));
    QCOMPARE(items[0].PickTarget, proxy);
    QCOMPARE(items[0].Object, master); // shared geometry

    proxy->ObjectsOnly = true;
    items.clear();
    CollectDrawItems(&root, nullptr, items);
    QVERIFY(Near(items[0].Matrix.map(QVector3D()), QVector3D(0, 0, 5)));

    // A proxy of a proxy.
    auto* second = root.AddNew<TProxy>();
    second->Master = proxy;
    second->SetPosition(10, 0, 0);
    items.clear();
    CollectDrawItems(&root, nullptr, items);
    QCOMPARE(items.size(), std::size_t(4));
    QVERIFY(Near(items[2].Matrix.map(QVector3D()), QVector3D(10, 0, 5)));
    QCOMPARE(items[2].PickTarget, second);

    // The proxy's own material when asked.
    TMaterialLibrary lib;
    AddCourseMaterials(lib);
    master->MaterialName = "Red";
    proxy->MaterialName = "Blue";
    proxy->UseMasterMaterial = false;
    items.clear();
    CollectDrawItems(&root, &lib, items);
    QCOMPARE(items[0].Material, lib.Find("Blue"));
    QCOMPARE(items[2].Material, lib.Find("Blue")); // a proxy of it draws it as it looks
}

void TestSolids::meshesFrom3dsFiles() {
    QTemporaryDir dir;
    const QString path = dir.path() + "/box.3ds";
    QVERIFY(WriteBox3ds(path));
    TFreeForm mesh;
    QVERIFY(mesh.LoadFromFile(path));
    QCOMPARE(mesh.Geometry().TriangleCount(), std::size_t(12));
    mesh.SetMeshScale(2);
    const auto [lo, hi] = mesh.Geometry().Bounds();
    QVERIFY(std::abs((hi - lo).length() - std::sqrt(3.f) * 4) < 0.01f);

    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    f.close();
    QFile cut(dir.path() + "/cut.3ds");
    QVERIFY(cut.open(QIODevice::WriteOnly));
    cut.write(bytes.left(bytes.size() / 2));
    cut.close();
    TFreeForm broken;
    QVERIFY(!broken.LoadFromFile(cut.fileName()));
    QCOMPARE(broken.Geometry().TriangleCount(), std::size_t(0));
    QVERIFY(!broken.LoadFromFile(dir.path() + "/missing.3ds"));
}

void TestSolids::mirrorReflection() {
    TDummyCube root;
    auto* mirror = root.AddNew<TMirror>();
    mirror->SetTurnAngle(90); // facing +x
    mirror->SetPosition(2, 0, 0);
    const QMatrix4x4 r = mirror->ReflectionMatrix();
    QVERIFY(Near(r.map(QVector3D(3, 1, 1)), QVector3D(1, 1, 1)));
    QVERIFY(Near(r.map(QVector3D(2, 5, -3)), QVector3D(2, 5, -3))); // points on the plane stay
}

QTEST_GUILESS_MAIN(TestSolids)
#include "tst_solids.moc"
