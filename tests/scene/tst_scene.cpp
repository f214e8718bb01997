#include "scene/camera.h"
#include "scene/material.h"
#include "scene/picking.h"
#include "scene/primitives.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>

using namespace quarvel;

namespace {
bool Near(const QVector3D& a, const QVector3D& b, float eps = 1e-3f) { return (a - b).length() < eps; }
#define QVERIFY_NEAR(a, b)                                                                                   \
    QVERIFY2(Near((a), (b)), qPrintable(QStringLiteral("(%1, %2, %3) vs (%4, %5, %6)")                        \
                                            .arg((a).x()).arg((a).y()).arg((a).z())                          \
                                            .arg((b).x()).arg((b).y()).arg((b).z())))
float Rad(float d) { return d * 3.14159265f / 180; }

// Every triangle's normal (from its winding) points away from `centre`,
// and so do the vertex normals.
bool FacesOutward(const TMesh& m, const QVector3D& centre) {
    for (std::size_t i = 0; i + 2 < m.Indices.size(); i += 3) {
        const QVector3D a = m.Positions[m.Indices[i]], b = m.Positions[m.Indices[i + 1]],
                        c = m.Positions[m.Indices[i + 2]];
        const QVector3D n = QVector3D::crossProduct(b - a, c - a);
        if (n.lengthSquared() < 1e-12f)
            continue; // degenerate triangles at poles
        const QVector3D mid = (a + b + c) / 3;
        if (QVector3D::dotProduct(n, mid - centre) < 0)
            return false;
        if (QVector3D::dotProduct(m.Normals[m.Indices[i]], n) < 0)
            return false;
    }
    return true;
}
} // namespace

class TestScene : public QObject {
    Q_OBJECT
private slots:
    void rotations();
    void anglesReadBackAndCompose();
    void childrenInTheParentsFrame();
    void scaleInTheObjectsOwnFrame();
    void treeOperations();
    void sphereGeometry();
    void boxWithFacesLeftOut();
    void cylinderConeAndInwardNormals();
    void otherPrimitives();
    void geometryRebuiltOnlyAfterAChange();
    void materialsByName();
    void texturesFromFiles();
    void pickingNearestSharedNamesTransparentAndMiss();
    void projectionAndPlane();
    void cameraOrbitAndDistance();
};

void TestScene::rotations() {
    TDummyCube roll;
    roll.SetRollAngle(-23);
    QVERIFY_NEAR(roll.Up(), QVector3D(std::sin(Rad(23)), std::cos(Rad(23)), 0));

    TDummyCube turn;
    turn.SetTurnAngle(-90);
    QVERIFY_NEAR(turn.Direction(), QVector3D(-1, 0, 0));
    QVERIFY_NEAR(turn.AbsoluteMatrix().mapVector(QVector3D(1, 0, 0)), QVector3D(0, 0, 1)); // local x to +z

    TDummyCube pitchDown;
    pitchDown.SetPitchAngle(-90);
    QVERIFY_NEAR(pitchDown.Direction(), QVector3D(0, -1, 0));

    TDummyCube pitchUp;
    pitchUp.SetPitchAngle(90);
    QVERIFY_NEAR(pitchUp.AbsoluteMatrix().mapVector(QVector3D(0, 1, 0)), QVector3D(0, 0, -1));

    for (float a : {30.f, 90.f, 217.f}) {
        TDummyCube parent;
        TDummyCube* child = parent.AddNew<TDummyCube>();
        child->SetPosition(50, 0, 0);
        parent.SetTurnAngle(a);
        QVERIFY_NEAR(child->AbsolutePosition(), QVector3D(50 * std::cos(Rad(a)), 0, -50 * std::sin(Rad(a))));
    }
}

void TestScene::anglesReadBackAndCompose() {
    TDummyCube o;
    o.SetTurnAngle(30);
    o.SetTurnAngle(50); // rotates by the difference only
    QCOMPARE(o.TurnAngle(), 50.f);
    QVERIFY_NEAR(o.Direction(), QVector3D(std::sin(Rad(50)), 0, std::cos(Rad(50))));
    // Compose in the order made: turn then pitch differs from pitch then turn.
    TDummyCube a, b;
    a.SetTurnAngle(90);
    a.SetPitchAngle(45);
    b.SetPitchAngle(45);
    b.SetTurnAngle(90);
    QVERIFY(!Near(a.Direction(), b.Direction()));
    QCOMPARE(a.PitchAngle(), 45.f);
    a.ResetRotations();
    QCOMPARE(a.TurnAngle(), 0.f);
    QCOMPARE(a.PitchAngle(), 0.f);
    QVERIFY_NEAR(a.Direction(), QVector3D(0, 0, 1));
    QVERIFY_NEAR(a.Up(), QVector3D(0, 1, 0));
}

void TestScene::childrenInTheParentsFrame() {
    TDummyCube root;
    auto* parent = root.AddNew<TDummyCube>();
    parent->SetPosition(1, 2, 3);
    parent->SetRollAngle(90); // local x now points along +y
    auto* child = parent->AddNew<TDummyCube>();
    child->SetPosition(2, 0, 0);
    QVERIFY_NEAR(child->AbsolutePosition(), QVector3D(1, 4, 3));
    child->SetAbsolutePosition(QVector3D(0, 0, 0));
    QVERIFY_NEAR(child->AbsolutePosition(), QVector3D(0, 0, 0));
}

void TestScene::scaleInTheObjectsOwnFrame() {
    TDummyCube o;
    o.SetTurnAngle(90); // local z along world +x
    o.SetScale(QVector3D(1, 1, 3));
    QVERIFY_NEAR(o.AbsoluteMatrix().map(QVector3D(0, 0, 1)), QVector3D(3, 0, 0));
}

void TestScene::treeOperations() {
    TDummyCube root;
    for (const char* n : {"a", "switch", "c"})
        root.AddNew<TDummyCube>()->Name = QLatin1String(n);
    QCOMPARE(root.Count(), 3);
    QCOMPARE(root.Child(1)->Name, QStringLiteral("switch"));
    QCOMPARE(root.Child(3), nullptr);
    QCOMPARE(root.FindByName("c"), root.Child(2));
    QCOMPARE(root.Child(2)->IndexInParent(), 2);
    root.DeleteChildren();
    QCOMPARE(root.Count(), 0);
}

void TestScene::sphereGeometry() {
    TSphere s;
    s.SetRadius(2);
    s.SetSlices(16);
    s.SetStacks(8);
    const TMesh& m = s.Geometry();
    QCOMPARE(m.Positions.size(), std::size_t(17 * 9));
    QCOMPARE(m.TriangleCount(), std::size_t(16 * 8 * 2));
    const auto [lo, hi] = m.Bounds();
    QVERIFY_NEAR(lo, QVector3D(-2, -2, -2));
    QVERIFY_NEAR(hi, QVector3D(2, 2, 2));
    QVERIFY(FacesOutward(m, {}));
    for (std::size_t i = 0; i < m.Positions.size(); ++i)
        QVERIFY(Near(m.Normals[i] * 2, m.Positions[i]));
}

void TestScene::boxWithFacesLeftOut() {
    TCube c;
    c.SetSize(2, 4, 6);
    QCOMPARE(c.Geometry().TriangleCount(), std::size_t(12));
    QVERIFY(FacesOutward(c.Geometry(), {}));
    QVERIFY_NEAR(c.Geometry().Bounds().second, QVector3D(1, 2, 3));
    c.SetParts(TCube::All & ~TCube::Top & ~TCube::Front);
    QCOMPARE(c.Geometry().TriangleCount(), std::size_t(8));
    for (const QVector3D& n : c.Geometry().Normals) {
        QVERIFY(!Near(n, QVector3D(0, 1, 0)));
        QVERIFY(!Near(n, QVector3D(0, 0, 1)));
    }
}

void TestScene::cylinderConeAndInwardNormals() {
    TCylinder c;
    c.SetRadius(1);
    c.SetHeight(2);
    c.SetSlices(12);
    c.SetStacks(3);
    const TMesh& m = c.Geometry();
    QCOMPARE(m.TriangleCount(), std::size_t(12 * 3 * 2 + 2 * 12 * 2));
    QVERIFY(FacesOutward(m, {}));
    QVERIFY_NEAR(m.Bounds().first, QVector3D(-1, -1, -1));
    c.SetNormalsInward(true);
    QVERIFY(!FacesOutward(c.Geometry(), {}));

    TCone cone;
    cone.SetBottomRadius(1);
    cone.SetHeight(2);
    const TMesh& cm = cone.Geometry();
    QVERIFY_NEAR(cm.Bounds().second, QVector3D(1, 1, 1)); // apex at +height/2
    QVERIFY(FacesOutward(cm, {}));
    // Side normals lean up on a cone.
    QVERIFY(cm.Normals.front().y() > 0.3f);
}

void TestScene::otherPrimitives() {
    TDisk disk;
    disk.SetRadii(0.5f, 1);
    for (const QVector3D& n : disk.Geometry().Normals)
        QVERIFY_NEAR(n, QVector3D(0, 0, 1));
    QVERIFY(FacesOutward(disk.Geometry(), QVector3D(0, 0, -1)));

    TTorus torus;
    torus.SetRadii(2, 0.5f);
    const auto [lo, hi] = torus.Geometry().Bounds();
    QVERIFY_NEAR(hi, QVector3D(2.5f, 2.5f, 0.5f));
    QVERIFY_NEAR(lo, QVector3D(-2.5f, -2.5f, -0.5f));

    TAnnulus ring;
    ring.SetRadii(0.5f, 1, 0.5f, 1);
    ring.SetHeight(1);
    ring.SetSlices(10);
    QCOMPARE(ring.Geometry().TriangleCount(), std::size_t(4 * 10 * 2));

    TPlane plane;
    plane.SetSize(4, 2);
    plane.SetTiles(3, 2);
    QCOMPARE(plane.Geometry().TriangleCount(), std::size_t(2));
    QCOMPARE(plane.Geometry().TexCoords[2], QVector2D(3, 2));

    TLines line;
    line.SetNodes({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}});
    QCOMPARE(line.Geometry().Kind, TMesh::TKind::LineStrip);
    QCOMPARE(line.Geometry().Indices.size(), std::size_t(3));

    TPoints pts;
    pts.SetPoints({{0, 0, 0}, {1, 1, 1}}, {Qt::red});
    QCOMPARE(pts.Geometry().Colors.size(), std::size_t(2));
    QCOMPARE(pts.Geometry().Colors[1], QVector4D(1, 0, 0, 1));
}

void TestScene::geometryRebuiltOnlyAfterAChange() {
    TSphere s;
    const TMesh* first = &s.Geometry();
    const auto* data = first->Positions.data();
    QCOMPARE(s.Geometry().Positions.data(), data); // same arrays, not regenerated
    s.SetRadius(3);
    QVERIFY_NEAR(s.Geometry().Bounds().second, QVector3D(3, 3, 3));
}

void TestScene::materialsByName() {
    TMaterialLibrary lib;
    AddCourseMaterials(lib);
    QCOMPARE(lib.Count(), 27);
    QVERIFY(lib.Find("Copper"));
    QVERIFY(!lib.Find("copper")); // names are case-sensitive
    QCOMPARE(lib.Find("Gold")->Shininess, 20.f);
    QVERIFY(lib.Find("Glass")->IsTransparent());
    QVERIFY(lib.Find("Chrome")->SphereMapped && lib.Find("Chrome")->HasTexture());

    TSphere s;
    s.MaterialName = "Red";
    QCOMPARE(ResolveMaterial(s, &lib).Diffuse, QVector4D(0.706f, 0, 0, 1));
    s.MaterialName = "NoSuch";
    QCOMPARE(ResolveMaterial(s, &lib).Diffuse, TMaterialLibrary::Default().Diffuse);
    s.MaterialName.clear();
    s.Material().Diffuse = {0, 1, 0, 1};
    QCOMPARE(ResolveMaterial(s, &lib).Diffuse, QVector4D(0, 1, 0, 1));

    const quint64 before = lib.Find("Red")->TextureVersion();
    QImage img(4, 4, QImage::Format_RGB32);
    lib.Find("Red")->SetTexture(img);
    QVERIFY(lib.Find("Red")->TextureVersion() > before); // changes reach the renderer
}

void TestScene::texturesFromFiles() {
    QTemporaryDir dir;
    QImage img(8, 4, QImage::Format_RGB32);
    img.fill(Qt::yellow);
    for (const char* ext : {"png", "jpg", "bmp"}) {
        const QString path = dir.path() + "/t." + ext;
        QVERIFY(img.save(path));
        TMaterial m;
        QVERIFY2(m.LoadTexture(path), ext);
        QCOMPARE(m.Texture.size(), QSize(8, 4));
    }
    TMaterial missing;
    QVERIFY(!missing.LoadTexture(dir.path() + "/none.png"));
    QVERIFY(!missing.HasTexture());
    QFile junk(dir.path() + "/junk.jpg");
    QVERIFY(junk.open(QIODevice::WriteOnly));
    junk.write("not a picture");
    junk.close();
    QVERIFY(!missing.LoadTexture(junk.fileName()));
}

void TestScene::pickingNearestSharedNamesTransparentAndMiss() {
    TDummyCube root;
    auto* camera = root.AddNew<TCamera>();
    camera->SetPosition(0, 0, 10);
    camera->TargetObject = &root;
    auto* front = root.AddNew<TSphere>();
    front->Name = "switch";
    front->SetPosition(0, 0, 2);
    auto* back = root.AddNew<TSphere>();
    back->Name = "switch"; // names may repeat: the object hit is returned
    back->SetPosition(0, 0, -2);
    auto* glass = root.AddNew<TCube>();
    glass->Name = "glass";
    glass->MaterialName = "Glass";
    glass->SetPosition(3, 0, 0);
    TMaterialLibrary lib;
    AddCourseMaterials(lib);
    const TViewport view{camera, QSize(400, 300), 76.26f};

    const auto centre = view.Project(QVector3D(0, 0, 0));
    QVERIFY(centre);
    QCOMPARE(*centre, QPointF(200, 150));
    TPickResult hit = Pick(&root, &lib, view, *centre);
    QCOMPARE(hit.Object, front);
    QVERIFY(std::abs(hit.Distance - 7.5f) < 0.05f);

    front->Visible = false;
    QCOMPARE(Pick(&root, &lib, view, *centre).Object, back);

    hit = Pick(&root, &lib, view, *view.Project(QVector3D(3, 0, 0)));
    QCOMPARE(hit.Object, glass);

    QCOMPARE(Pick(&root, &lib, view, QPointF(5, 5)).Object, nullptr);
    // The 3 x 3 square: a pixel just off the sphere's edge still hits it.
    front->Visible = true;
    back->Visible = false;
    QPointF off = *centre;
    while (Pick(&root, &lib, view, off, 1).Object == front)
        off += QPointF(0.25, 0);
    QVERIFY(off.x() < 300);
    QCOMPARE(Pick(&root, &lib, view, off, 1).Object, nullptr);
    QCOMPARE(Pick(&root, &lib, view, off).Object, front);
    QCOMPARE(Pick(&root, &lib, view, off + QPointF(3, 0)).Object, nullptr);
}

void TestScene::projectionAndPlane() {
    TDummyCube root;
    auto* camera = root.AddNew<TCamera>();
    camera->SetPosition(0, 10, 10);
    camera->TargetObject = &root;
    const TViewport view{camera, QSize(640, 480), 76.26f};
    for (const QVector3D p : {QVector3D(1, 0, 2), QVector3D(-3, 0, -1), QVector3D(2, 0, 0.5f)}) {
        const auto px = view.Project(p);
        QVERIFY(px);
        const auto back = IntersectHorizontalPlane(view.ScreenRay(*px - QPointF(0.5, 0.5)), 0);
        QVERIFY(back);
        QVERIFY_NEAR(*back, p);
    }
    // A ray pointing away from the plane meets nothing.
    QVERIFY(!IntersectHorizontalPlane({QVector3D(0, 1, 0), QVector3D(0, 1, 0)}, 0));
    // The field of view spans the narrower side: the point at 38.13 degrees
    // off the axis sits on the top edge.
    TDummyCube r2;
    auto* cam2 = r2.AddNew<TCamera>();
    cam2->SetPosition(0, 0, 10);
    cam2->TargetObject = &r2;
    const float edgeY = 10 * std::tan(Rad(76.26f / 2));
    QVERIFY(std::abs(TViewport{cam2, QSize(800, 400), 76.26f}.Project({0, edgeY, 0})->y()) < 0.5);
    QVERIFY(std::abs(TViewport{cam2, QSize(400, 800), 76.26f}.Project({edgeY, 0, 0})->x() - 400) < 0.5);
}

void TestScene::cameraOrbitAndDistance() {
    TDummyCube root;
    auto* camera = root.AddNew<TCamera>();
    camera->SetPosition(0, 0, 10);
    camera->TargetObject = &root;
    camera->AdjustDistanceToTarget(1.05f);
    QVERIFY(std::abs(camera->DistanceToTarget() - 10.5f) < 1e-4f);
    camera->MoveAroundTarget(0, 90);
    QVERIFY(std::abs(camera->DistanceToTarget() - 10.5f) < 1e-3f);
    QVERIFY(std::abs(camera->AbsolutePosition().y()) < 1e-3f);
    QVERIFY(std::abs(std::abs(camera->AbsolutePosition().x()) - 10.5f) < 1e-3f);
    camera->MoveAroundTarget(30, 0);
    QVERIFY(std::abs(camera->AbsolutePosition().y()) > 5); // pitched up or down by 30 degrees
    QVERIFY(std::abs(camera->DistanceToTarget() - 10.5f) < 1e-3f);
}

QTEST_GUILESS_MAIN(TestScene)
#include "tst_scene.moc"
