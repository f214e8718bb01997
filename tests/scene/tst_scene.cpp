#include "scene/camera.h"
#include "scene/material.h"
#include "scene/picking.h"
#include "scene/primitives.h"
#include "scene/solids.h"

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

// A unit box like the circuit switch: front and back faces (+z, -z) in the
// object's material, the sides and a top with a square hole in face
// material 0, and the floor of the recess under the hole in face material 1.
class TTwoToneBox : public TCustomSceneObject {
protected:
    void BuildGeometry(TMesh& mesh) override {
        auto quad = [&](QVector3D a, QVector3D b, QVector3D c, QVector3D d) {
            const QVector3D n = QVector3D::crossProduct(b - a, c - a).normalized();
            const auto i = mesh.Add(a, n, {0, 0}), j = mesh.Add(b, n, {1, 0}), k = mesh.Add(c, n, {1, 1}),
                       l = mesh.Add(d, n, {0, 1});
            mesh.Triangle(i, j, k);
            mesh.Triangle(i, k, l);
        };
        const float h = 0.5f;
        mesh.BeginGroup(-1);
        quad({-h, -h, h}, {h, -h, h}, {h, h, h}, {-h, h, h});
        quad({h, -h, -h}, {-h, -h, -h}, {-h, h, -h}, {h, h, -h});
        mesh.BeginGroup(0);
        quad({h, -h, h}, {h, -h, -h}, {h, h, -h}, {h, h, h});
        quad({-h, -h, -h}, {-h, -h, h}, {-h, h, h}, {-h, h, -h});
        quad({-h, -h, -h}, {h, -h, -h}, {h, -h, h}, {-h, -h, h});
        const float r = 0.25f, y = h - 0.1f;
        quad({-h, h, h}, {h, h, h}, {h, h, r}, {-h, h, r});
        quad({-h, h, -r}, {h, h, -r}, {h, h, -h}, {-h, h, -h});
        quad({-h, h, r}, {-r, h, r}, {-r, h, -r}, {-h, h, -r});
        quad({r, h, r}, {h, h, r}, {h, h, -r}, {r, h, -r});
        mesh.BeginGroup(1);
        quad({-r, y, r}, {r, y, r}, {r, y, -r}, {-r, y, -r});
    }
};

// The pick as it was done before bounding volumes and the candidate cap:
// every ray of the square against every triangle of every object.
TPickResult ExhaustivePick(TSceneObject* root, const TMaterialLibrary* lib, const TViewport& view, QPointF pixel) {
    std::vector<TDrawItem> items;
    CollectDrawItems(root, lib, items);
    TPickResult result;
    float best = std::numeric_limits<float>::max();
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) {
            const TRay ray = view.ScreenRay(pixel + QPointF(dx, dy));
            for (const TDrawItem& item : items)
                if (const auto t = RayHitsItem(ray, item); t && *t < best) {
                    best = *t;
                    result.Object = item.PickTarget;
                    result.Distance = *t;
                }
        }
    return result;
}

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
    void faceGroupsDrawnInTheirOwnMaterials();
    void pickingAnyFaceGroupGivesTheNamedObject_data();
    void pickingAnyFaceGroupGivesTheNamedObject();
    void ownCopyOfAMaterialLeavesTheSharedOneAlone();
    void pickingFindsTheSameNearestHitAsTestingEverything_data();
    void pickingFindsTheSameNearestHitAsTestingEverything();
    void pickingTestsAtMost64Objects();
    void pickingFollowsChangedGeometry();
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

void TestScene::faceGroupsDrawnInTheirOwnMaterials() {
    TMaterialLibrary lib;
    AddCourseMaterials(lib);
    QImage picture(8, 8, QImage::Format_RGB32);
    picture.fill(Qt::yellow);
    lib.Add("Pictured").SetTexture(picture);
    TDummyCube root;
    auto* box = root.AddNew<TTwoToneBox>();
    box->MaterialName = "Pictured";
    box->FaceMaterial(0).SetColor({0.8471f, 0.8471f, 0.749f, 1}).Textured = false;
    box->FaceMaterial(1).SetColor({0.6f, 0.6f, 0.6f, 1});
    box->FaceMaterial(1).Specular = QVector4D(0.6f, 0.6f, 0.6f, 1);
    box->FaceMaterial(1).Shininess = 128;
    box->FaceMaterial(1).Textured = false;

    std::vector<TDrawItem> items;
    CollectDrawItems(&root, &lib, items);
    QCOMPARE(items.size(), std::size_t(3));
    const TMesh& mesh = box->Geometry();
    std::uint32_t covered = 0;
    for (const TDrawItem& item : items) {
        QCOMPARE(item.Object, box);
        QCOMPARE(item.PickTarget, box);
        QCOMPARE(item.FirstIndex, covered); // the groups follow each other and cover the mesh
        covered += item.Range(mesh).second;
    }
    QCOMPARE(covered, std::uint32_t(mesh.Indices.size()));
    QCOMPARE(items[0].Material, lib.Find("Pictured"));
    QVERIFY(!items[1].Material->HasTexture());
    QCOMPARE(items[1].Material->Ambient, QVector4D(0.8471f, 0.8471f, 0.749f, 1));
    QCOMPARE(items[2].Material->Specular, QVector4D(0.6f, 0.6f, 0.6f, 1));
    QCOMPARE(items[2].Material->Shininess, 128.f);
    QVERIFY(lib.Find("Pictured")->HasTexture()); // the shared material keeps its picture

    // What a group does not replace follows the object's material.
    box->MaterialName = "Glass";
    items.clear();
    CollectDrawItems(&root, &lib, items);
    QVERIFY(items[1].Material->IsTransparent());
    QCOMPARE(items[2].Material->Diffuse, QVector4D(0.6f, 0.6f, 0.6f, 1));

    // A proxy drawing the box in its own material: the box's groups go over
    // the proxy's material there, while the box itself keeps its own.
    auto* proxy = root.AddNew<TProxy>();
    proxy->Master = box;
    proxy->UseMasterMaterial = false;
    proxy->MaterialName = "Red";
    proxy->SetPosition(3, 0, 0);
    items.clear();
    CollectDrawItems(&root, &lib, items);
    QCOMPARE(items.size(), std::size_t(6));
    QCOMPARE(items[0].Material, lib.Find("Glass"));
    QVERIFY(items[1].Material->IsTransparent());
    QCOMPARE(items[3].Material, lib.Find("Red"));
    QCOMPARE(items[4].Material->Diffuse, QVector4D(0.8471f, 0.8471f, 0.749f, 1));
    QVERIFY(!items[4].Material->IsTransparent());
    QCOMPARE(items[5].Material->Emission, lib.Find("Red")->Emission);
    QCOMPARE(items[4].PickTarget, proxy);
}

void TestScene::pickingAnyFaceGroupGivesTheNamedObject_data() {
    QTest::addColumn<QVector3D>("eye");
    QTest::addColumn<QVector3D>("point");
    QTest::addColumn<int>("axis"); // the face's plane: this coordinate of the hit is the point's
    QTest::newRow("front face, object's material") << QVector3D(0.3f, 0.2f, 6) << QVector3D(0, 0, 0.5f) << 2;
    QTest::newRow("side, face material 0") << QVector3D(6, 0.2f, 0.3f) << QVector3D(0.5f, 0, 0) << 0;
    QTest::newRow("top rim, face material 0") << QVector3D(0.01f, 6, 0.3f) << QVector3D(0.4f, 0.5f, 0.4f) << 1;
    QTest::newRow("recess, face material 1") << QVector3D(0.01f, 6, 0.3f) << QVector3D(0, 0.4f, 0) << 1;
}

void TestScene::pickingAnyFaceGroupGivesTheNamedObject() {
    QFETCH(QVector3D, eye);
    QFETCH(QVector3D, point);
    QFETCH(int, axis);
    TMaterialLibrary lib;
    AddCourseMaterials(lib);
    TDummyCube root;
    auto* camera = root.AddNew<TCamera>();
    camera->SetPosition(eye);
    camera->TargetObject = &root;
    auto* base = root.AddNew<TDummyCube>();
    base->SetPosition(0.1f, -0.2f, 0);
    auto* box = base->AddNew<TTwoToneBox>();
    box->Name = "switch";
    box->MaterialName = "Metal";
    box->FaceMaterial(0).SetColor({0.8f, 0.8f, 0.7f, 1});
    box->FaceMaterial(1).Emission = QVector4D(1, 0, 0, 1);
    // An unnamed part inside the box, as a model might add.
    auto* lever = box->AddNew<TCube>();
    lever->SetSize(0.1f, 0.1f, 0.1f);
    const TViewport view{camera, QSize(400, 300), 76.26f};
    const QVector3D world = base->AbsoluteMatrix().map(point);
    const TPickResult hit = Pick(&root, &lib, view, *view.Project(world));
    QVERIFY(hit.Object);
    QCOMPARE(hit.Object, box);
    QCOMPARE(hit.Object->Name, QStringLiteral("switch"));
    // On the face aimed at, within the pick square of it.
    QVERIFY2(std::abs(hit.Point[axis] - world[axis]) < 1e-3f, qPrintable(QString::number(hit.Point[axis])));
    QVERIFY((hit.Point - world).length() < 0.08f);
}

void TestScene::ownCopyOfAMaterialLeavesTheSharedOneAlone() {
    TMaterialLibrary lib;
    AddCourseMaterials(lib);
    const TMaterial red = *lib.Find("Red");
    TDummyCube root;
    auto* arm = root.AddNew<TTwoToneBox>();
    arm->MaterialName = "Red";
    auto* wire = root.AddNew<TCube>();
    wire->MaterialName = "Red";
    TMaterial& own = arm->OwnCopyOfMaterial(&lib);
    own.Specular = {0.6f, 0.6f, 0.6f, 1};
    own.Shininess = 128;

    const TMaterial* shared = lib.Find("Red");
    QCOMPARE(shared->Specular, red.Specular);
    QCOMPARE(shared->Shininess, red.Shininess);
    QCOMPARE(&ResolveMaterial(*wire, &lib), shared);
    const TMaterial& armDrawn = ResolveMaterial(*arm, &lib);
    QCOMPARE(&armDrawn, &own);
    QCOMPARE(armDrawn.Ambient, red.Ambient); // still red
    QCOMPARE(armDrawn.Diffuse, red.Diffuse);
    QCOMPARE(armDrawn.Specular, QVector4D(0.6f, 0.6f, 0.6f, 1));
    // Changing the library later reaches the wire, not the arm's copy.
    lib.Find("Red")->Diffuse = {1, 0, 0, 1};
    QCOMPARE(ResolveMaterial(*wire, &lib).Diffuse, QVector4D(1, 0, 0, 1));
    QCOMPARE(ResolveMaterial(*arm, &lib).Diffuse, red.Diffuse);

    // Two objects that shared one own material part when one takes a copy.
    auto* a = root.AddNew<TCube>();
    auto* b = root.AddNew<TCube>();
    a->Material().Diffuse = {0, 0, 1, 1};
    b->OwnMaterial = a->OwnMaterial;
    b->OwnCopyOfMaterial(&lib).Diffuse = {0, 1, 0, 1};
    QCOMPARE(ResolveMaterial(*a, &lib).Diffuse, QVector4D(0, 0, 1, 1));
    QCOMPARE(ResolveMaterial(*b, &lib).Diffuse, QVector4D(0, 1, 0, 1));
    // A name the library lacks gives a copy of the default.
    auto* c = root.AddNew<TCube>();
    c->MaterialName = "NoSuch";
    QCOMPARE(c->OwnCopyOfMaterial(&lib).Diffuse, TMaterialLibrary::Default().Diffuse);
}

namespace {
// Scenes for comparing picks; each returns the root and sets the camera.
struct TPickScene {
    TDummyCube Root;
    TCamera* Camera = nullptr;
    TMaterialLibrary Library;
    TPickScene() {
        AddCourseMaterials(Library);
        Camera = Root.AddNew<TCamera>();
        Camera->SetPosition(2, 3, 12);
        Camera->TargetObject = &Root;
    }
    template <class T> T* Add(QVector3D at, const QString& name) {
        T* o = Root.AddNew<T>();
        o->SetPosition(at);
        o->Name = name;
        return o;
    }
    void Build(const QString& kind) {
        if (kind == "row") {
            for (int i = 0; i < 6; ++i)
                Add<TSphere>({0, 0, -2.0f * i}, QString("ball%1").arg(i))->SetRadius(0.6f + 0.2f * i);
        } else if (kind == "proxies") {
            auto* master = Add<TSphere>({}, "master");
            master->SetRadius(0.2f);
            master->SetSlices(10);
            master->SetStacks(10);
            master->Visible = false;
            for (int i = 0; i < 500; ++i) {
                auto* p = Add<TProxy>({-6 + (i % 25) * 0.5f, -1 + (i / 25 % 4) * 0.6f, -3 + (i / 100) * 1.5f},
                                      QString("p%1").arg(i));
                p->Master = master;
                p->ObjectsOnly = true;
            }
        } else if (kind == "queue") {
            // One behind another along the line of sight: over a hundred
            // boxes on every ray, the nearest ball among the first.
            auto* master = Add<TSphere>({}, "master");
            master->SetRadius(0.3f);
            master->Visible = false;
            const QVector3D eye = Camera->Position();
            for (int i = 0; i < 120; ++i) {
                auto* p = Add<TProxy>(eye * (0.6f - 0.01f * i), QString("q%1").arg(i));
                p->Master = master;
                p->ObjectsOnly = true;
            }
        } else if (kind == "turned and stretched") {
            auto* cube = Add<TCube>({1, 0, 0}, "cube");
            cube->SetScale(QVector3D(3, 0.3f, 1));
            cube->SetTurnAngle(35);
            cube->SetRollAngle(20);
            auto* group = Add<TDummyCube>({-2, 1, 0}, "group");
            group->SetScale(QVector3D(1, 2, 1));
            auto* torus = group->AddNew<TTorus>();
            torus->Name = "torus";
            torus->SetPitchAngle(70);
        } else if (kind == "flat and glass") {
            auto* floor = Add<TPlane>({0, -1, 0}, "floor");
            floor->SetSize(10, 10);
            floor->SetPitchAngle(-90);
            auto* glass = Add<TSphere>({0, 0, 2}, "glass");
            glass->MaterialName = "Glass";
            auto* disk = Add<TDisk>({2, 0.5f, 1}, "disk");
            disk->SetRadii(0.3f, 0.8f);
        } else if (kind == "face groups") {
            auto* a = Add<TTwoToneBox>({0, 0, 0}, "switch");
            a->SetTurnAngle(30);
            a->SetScale(2);
            auto* b = Add<TTwoToneBox>({0.5f, 0.3f, -1.5f}, "behind");
            b->SetScale(3);
        } else if (kind == "ball and bead") {
            // The big ball's box begins in front of the bead, its surface
            // lies behind it.
            Add<TSphere>({0, 0, 0}, "ball")->SetRadius(3);
            Add<TSphere>({2.4f, 0, 2.3f}, "bead")->SetRadius(0.2f);
        } else if (kind == "dense coil") {
            auto* coil = Add<TRevolutionSolid>({0.5f, 0, 1}, "coil");
            std::vector<QVector2D> wire;
            for (int i = 0; i <= 8; ++i)
                wire.emplace_back(1.2f + 0.1f * std::cos(i * 0.785f), 0.1f * std::sin(i * 0.785f) - 1.5f);
            coil->SetProfile(wire);
            coil->SetSlices(300);
            coil->SetSweep(0, 360 * 8);
            coil->SetHelix(0.3f);
            coil->SetPitchAngle(30);
        } else if (kind == "inside a ball") {
            auto* ball = Add<TSphere>(Camera->Position() * 0.9f, "around");
            ball->SetRadius(4);
            Add<TCube>({0, 0, 0}, "far");
        }
    }
};
} // namespace

void TestScene::pickingFindsTheSameNearestHitAsTestingEverything_data() {
    QTest::addColumn<QString>("scene");
    QTest::addColumn<QPointF>("pixel");
    QTest::addColumn<QVector3D>("aim"); // when set, the pixel is where this point shows
    const QList<QPointF> pixels{{200, 150}, {210, 160}, {140, 120}, {260, 170}, {5, 5}, {320, 200}, {120, 190}};
    for (const char* scene : {"row", "proxies", "queue", "turned and stretched", "flat and glass", "face groups",
                              "ball and bead", "dense coil", "inside a ball"})
        for (const QPointF& px : pixels)
            QTest::addRow("%s at %d,%d", scene, int(px.x()), int(px.y())) << QString(scene) << px << QVector3D();
    QTest::newRow("ball and bead, on the bead") << QString("ball and bead") << QPointF() << QVector3D(2.4f, 0, 2.3f);
    QTest::newRow("ball and bead, beside the bead") << QString("ball and bead") << QPointF() << QVector3D(2.4f, 0.25f, 2.3f);
}

void TestScene::pickingFindsTheSameNearestHitAsTestingEverything() {
    QFETCH(QString, scene);
    QFETCH(QPointF, pixel);
    QFETCH(QVector3D, aim);
    TPickScene s;
    s.Build(scene);
    const TViewport view{s.Camera, QSize(400, 300), 76.26f};
    if (!aim.isNull())
        pixel = *view.Project(aim);
    const TPickResult expected = ExhaustivePick(&s.Root, &s.Library, view, pixel);
    const TPickResult got = Pick(&s.Root, &s.Library, view, pixel);
    QCOMPARE(got.Object, expected.Object);
    if (expected.Object)
        QVERIFY2(std::abs(got.Distance - expected.Distance) < 1e-4f * expected.Distance,
                 qPrintable(QString("%1 vs %2").arg(got.Distance).arg(expected.Distance)));
    QVERIFY(got.Examined <= kMaxPickCandidates);
    QVERIFY(got.Examined <= got.Candidates);
}

void TestScene::pickingTestsAtMost64Objects() {
    // 100 rings round the line of sight and a ball behind them: every
    // ring's box lies on the rays, no ring is hit.
    TPickScene s;
    s.Camera->SetPosition(0, 0, 10);
    for (int i = 0; i < 100; ++i) {
        auto* ring = s.Root.AddNew<TTorus>();
        ring->SetRadii(0.6f, 0.05f);
        ring->SetPosition(0, 0, 5 - 0.05f * i);
    }
    auto* ball = s.Root.AddNew<TSphere>();
    ball->Name = "ball";
    ball->SetPosition(0, 0, -5);
    const TViewport view{s.Camera, QSize(400, 300), 76.26f};
    const QPointF centre(200, 150);
    QCOMPARE(ExhaustivePick(&s.Root, &s.Library, view, centre).Object, ball);
    TPickResult got = Pick(&s.Root, &s.Library, view, centre);
    QCOMPARE(got.Candidates, 101);
    QCOMPARE(got.Examined, kMaxPickCandidates);
    QCOMPARE(got.Object, nullptr); // the ball lies beyond the 64 nearest rings
    // With fewer rings in the way the ball is reached, and the boxes of
    // everything else keep the rest from being examined at all.
    for (int i = 0; i < 40; ++i)
        s.Root.Child(1 + i)->Visible = false;
    got = Pick(&s.Root, &s.Library, view, centre);
    QCOMPARE(got.Object, ball);
    QCOMPARE(got.Examined, 61);
    got = Pick(&s.Root, &s.Library, view, *view.Project({0, 0.62f, 3.0f}));
    QCOMPARE(got.Object, s.Root.Child(41)); // the nearest ring still shown
    QVERIFY(got.Candidates >= 10);
    QVERIFY(got.Examined < got.Candidates);
}

void TestScene::pickingFollowsChangedGeometry() {
    TPickScene s;
    s.Camera->SetPosition(0, 0, 10);
    auto* ball = s.Root.AddNew<TSphere>();
    ball->SetSlices(40);
    ball->SetStacks(30);
    const TViewport view{s.Camera, QSize(400, 300), 76.26f};
    const QPointF centre(200, 150), beside = *view.Project({1.5f, 0, 0});
    QVERIFY(std::abs(Pick(&s.Root, &s.Library, view, centre).Distance - 9.5f) < 0.08f);
    QCOMPARE(Pick(&s.Root, &s.Library, view, beside).Object, nullptr);
    ball->SetRadius(2);
    QVERIFY(std::abs(Pick(&s.Root, &s.Library, view, centre).Distance - 8) < 0.08f);
    QCOMPARE(Pick(&s.Root, &s.Library, view, beside).Object, ball);
    ball->SetRadius(1);
    QCOMPARE(Pick(&s.Root, &s.Library, view, beside).Object, nullptr);
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
