// The ray-box scenes: the ray box, the three blocks, the plane mirror and
// the mirror objects, built under a bare node; then the pages' commands in
// the window.
#include "../testmain.h"
#include "host/host.h"
#include "host/protractor.h"
#include "models/light/planemirror.h"
#include "models/light/raybox.h"
#include "models/light/rayoptics.h"
#include "models/light/refraction.h"
#include "scene/material.h"
#include "scene/primitives.h"
#include "shell/courseareas.h"
#include "shell/framefrm.h"
#include "widgets/dialogs.h"

#include <QAction>
#include <QSettings>
#include <cmath>

using namespace quarvel;

namespace {
bool Near(const QVector3D& a, const QVector3D& b, float eps = 1e-3f) { return (a - b).length() < eps; }
bool Finite(const QVector3D& v) { return std::isfinite(v.x()) && std::isfinite(v.y()) && std::isfinite(v.z()); }
// Where a beam piece drawn from master geometry (5, 0, 0) -> origin puts
// its far end and its start, in its parent's frame.
QVector3D FarEnd(TSceneObject* o, float length = 5) { return o->LocalMatrix().map(QVector3D(length, 0, 0)); }
QVector3D Start(TSceneObject* o) { return o->LocalMatrix().map(QVector3D(0, 0, 0)); }
// The ray box's beam axis (its local +y) in its parent's frame.
QVector3D Beam(TSceneObject* box) { return box->Up(); }
} // namespace

class TestRaybox : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void rayboxAssembly();
    void spectrumBands();
    void rectBlockScene();
    void dBlockScene();
    void prismScene();
    void boxOnTheOriginKeepsItsRays_data();
    void boxOnTheOriginKeepsItsRays();
    void mirrorScene();
    void mirrorObjects();
    void inTheWindow();

private:
    TMaterialLibrary m_lib;
};

void TestRaybox::initTestCase() {
    RegisterCourseAreas();
    QSettings(QStringLiteral("Brantock"), QStringLiteral("Quarvel")).clear();
    SetBoxAnswerer([](const TBoxRequest&) { return true; });
    AddCourseMaterials(m_lib);
}

void TestRaybox::rayboxAssembly() {
    auto box = CreateRaybox(m_lib);
    QCOMPARE(box->Name, QStringLiteral("raybox"));
    QCOMPARE(box->Count(), 3);
    // Local z up, beam (local +y) along -x.
    QVERIFY(Near(box->Direction(), QVector3D(0, 1, 0)));
    QVERIFY(Near(Beam(box.get()), QVector3D(-1, 0, 0)));
    // The housing: walls plus the white floor as a second face group.
    QCOMPARE(box->Geometry().GroupCount(), std::size_t(2));
    const auto [lo, hi] = box->Geometry().Bounds();
    QVERIFY(Near(lo, QVector3D(-0.6f, -0.6f, 0)) && Near(hi, QVector3D(0.6f, 1.7f, 1)));
    QVERIFY(Near(box->Child(0)->Position(), QVector3D(0, 1.5f, 0)));
    QCOMPARE(box->Child(1)->MaterialName, QStringLiteral("Brass"));
    QCOMPARE(static_cast<TSphere*>(box->Child(2))->Radius(), 0.35f);
}

void TestRaybox::spectrumBands() {
    TSpectrum fan;
    fan.Material(); // keeps the vertex colours
    fan.SetPoints({0, 0, 0}, {0, 0, 4}, {1, 0, 0}, {1, 0, 4});
    const TMesh& m = fan.Geometry();
    QCOMPARE(m.Positions.size(), std::size_t(10));
    QCOMPARE(m.Colors.size(), std::size_t(10));
    QCOMPARE(m.TriangleCount(), std::size_t(16)); // both windings
    // Red along the red ray (P3, P4), violet along the blue one (P1, P2).
    QVERIFY(Near(m.Positions[0], {1, 0, 0}) && m.Colors[0] == QVector4D(1, 0, 0, 1));
    QVERIFY(Near(m.Positions[9], {0, 0, 4}) && m.Colors[9] == QVector4D(0.31f, 0.184f, 0.31f, 1));
    QCOMPARE(fan.Material().VertexColors, TVertexColors::Unlit);
}

void TestRaybox::rectBlockScene() {
    TDummyCube base;
    BuildRectBlock(base, m_lib);
    QCOMPARE(base.Count(), 1);
    TSceneObject* g = base.Child(0);
    QCOMPARE(g->Count(), 9);
    QVERIFY(Near(g->Position(), {1.5f, 0, 0}));
    TSceneObject* box = g->Child(1);
    QCOMPARE(box->Name, QStringLiteral("raybox"));
    // Box at (5, 0, -3): the incident ray joins the box to the origin, the
    // refracted ray ends at the exit point (-3, 0, 1.096), the emergent ray
    // leaves there parallel to the incident one.
    QVERIFY(Near(FarEnd(g->Child(2)), {5, 0, -3}));
    QVERIFY(Near(Beam(box), (QVector3D() - box->Position()).normalized()));
    QVERIFY(Near(FarEnd(g->Child(3)), {-3, 0, 1.096f}));
    QVERIFY(Near(Start(g->Child(4)), {-3, 0, 1.096f}));
    const QVector3D emergent = (FarEnd(g->Child(4)) - Start(g->Child(4))).normalized();
    QVERIFY(Near(emergent, QVector3D(-5, 0, 3).normalized()));
    // "+i=90": straight through, no shift.
    box->SetPosition(5, 0, 0);
    UpdateRectBlock(base);
    QVERIFY(Near(FarEnd(g->Child(3)), {-3, 0, 0}));
    QVERIFY(Near(Start(g->Child(4)), {-3, 0, 0}));
    QVERIFY(Near(Beam(box), {-1, 0, 0}));
}

void TestRaybox::dBlockScene() {
    TDummyCube base;
    BuildDBlock(base, m_lib);
    TSceneObject* g = base.Child(0);
    QCOMPARE(g->Count(), 7);
    TSceneObject* box = g->Child(1);
    const double k = 3.14159265358979323846 / 180;
    for (int degrees : {41, 42}) {
        box->SetPosition(float(8 * std::cos(degrees * k)), 0, float(-8 * std::sin(degrees * k)));
        UpdateDBlock(base);
        QVERIFY(Near(FarEnd(g->Child(2), 8), box->Position()));
        const QVector3D out = FarEnd(g->Child(3), 8).normalized();
        if (degrees == 41) {
            QVERIFY(out.x() < 0); // out through the flat face
        } else {
            // Totally reflected: back through the curved face, mirrored in x = 0.
            QVERIFY(Near(out, QVector3D(float(std::cos(42 * k)), 0, float(std::sin(42 * k)))));
        }
    }
}

void TestRaybox::prismScene() {
    TDummyCube base;
    BuildPrism(base, m_lib);
    QCOMPARE(base.Count(), 8);
    TSceneObject* box = base.Child(0);
    auto* blue = static_cast<TLines*>(base.Child(2));
    auto* red = static_cast<TLines*>(base.Child(3));
    auto* fan = static_cast<TSpectrum*>(base.Child(4));
    // "+p180": both reflected twice, white, fan shown.
    box->SetPosition(5, 0, -5);
    UpdatePrism(base);
    QCOMPARE(blue->LineColor, QColor(Qt::white));
    QCOMPARE(red->LineColor, QColor(Qt::white));
    QVERIFY(fan->Visible);
    QVERIFY(Near(blue->Nodes[1], {-1, 0, 1}) && Near(blue->Nodes[2], {-2, 0, 0}));
    // "+dispersion": neither reflected, own colours, fan between exit and beyond.
    box->SetPosition(3.79f, 0, -4.58f);
    UpdatePrism(base);
    QCOMPARE(blue->LineColor, QColor::fromRgbF(0, 0, 1, 1));
    QCOMPARE(red->LineColor, QColor::fromRgbF(1, 0, 0, 1));
    QVERIFY(fan->Visible);
    QCOMPARE(fan->Points()[0], blue->Nodes[1]);
    QCOMPARE(fan->Points()[3], red->Nodes[2]);
    QVERIFY(Near(Start(base.Child(1)), blue->Nodes[0]));
    QVERIFY(Near(FarEnd(base.Child(1), 10), QVector3D(3.79f, 0, -4.58f)));
}

void TestRaybox::boxOnTheOriginKeepsItsRays_data() {
    QTest::addColumn<int>("scene"); // 0 D shape, 1 prism, 2 mirror
    QTest::newRow("D shape") << 0;
    QTest::newRow("prism") << 1;
    QTest::newRow("mirror") << 2;
}

void TestRaybox::boxOnTheOriginKeepsItsRays() {
    QFETCH(int, scene);
    TDummyCube base;
    TSceneObject* box = nullptr;
    std::function<void()> update;
    if (scene == 0) {
        BuildDBlock(base, m_lib);
        box = base.Child(0)->Child(1);
        update = [&] { UpdateDBlock(base); };
    } else if (scene == 1) {
        BuildPrism(base, m_lib);
        box = base.Child(0);
        update = [&] { UpdatePrism(base); };
    } else {
        BuildMirrorBox(base, m_lib);
        box = base.Child(0)->Child(0);
        update = [&] { UpdateMirrorRays(base); };
        update();
    }
    const QVector3D beam = Beam(box);
    box->SetPosition(0, 0, 0);
    update();
    QVERIFY(Finite(box->Up()) && Finite(box->Direction()));
    QVERIFY(Near(Beam(box), beam));
    // Moved off again, it aims at the origin once more.
    box->SetPosition(-6, 0, 0.5f);
    update();
    QVERIFY(Near(Beam(box), QVector3D(6, 0, -0.5f).normalized()));
}

void TestRaybox::mirrorScene() {
    TDummyCube base;
    BuildMirrorBox(base, m_lib);
    QCOMPARE(base.Count(), 3);
    TSceneObject* g = base.Child(0);
    QCOMPARE(g->Count(), 27);
    TSceneObject* box = g->Child(0);
    QVERIFY(!box->Child(0)->Visible && box->Child(1)->Visible); // three slits
    box->SetPosition(0, 0, 10);
    UpdateMirrorRays(base);
    QCOMPARE(MirrorAngle, 90.f);
    QVERIFY(Near(Beam(box), {0, 0, -1}));
    // The normal tick runs from the mirror out to 2.
    QVERIFY(Near(g->Child(16)->LocalMatrix().map(QVector3D(2, 0, 0.01f)), {0, 0, 10.f}, 0.02f) ||
            Near(g->Child(16)->LocalMatrix().map(QVector3D(1.6f, 0, 0.01f)), {0, 0, 0}, 0.02f));
    box->SetPosition(3, 0, -4);
    UpdateMirrorRays(base);
    QCOMPARE(MirrorAngle, -1.f);
    for (int k = 1; k <= 3; ++k) {
        auto* ray = static_cast<TLines*>(g->Child(k));
        QCOMPARE(ray->Nodes[1].z(), 0.f);
        QCOMPARE(ray->Nodes[2], ray->Nodes[1]); // stops at the mirror
    }
    box->SetPosition(5, 0, 10);
    ShowSlits(base, true);
    QVERIFY(box->Child(0)->Visible && !box->Child(1)->Visible);
    QVERIFY(g->Child(1)->Visible && !g->Child(2)->Visible && !g->Child(3)->Visible);
    ShowSlits(base, false);
    QVERIFY(g->Child(2)->Visible && g->Child(3)->Visible);
}

void TestRaybox::mirrorObjects() {
    TDummyCube base;
    m_lib.TextureFolder = QStringLiteral(QUARVEL_CONTENT_DIR "/Textures/");
    BuildMirrorObjects(base, m_lib);
    QCOMPARE(base.Count(), 2);
    TSceneObject* g = base.Child(0);
    QCOMPARE(g->Child(0)->Name, QStringLiteral("target")); // pawn
    QCOMPARE(g->Child(1)->Name, QStringLiteral("target")); // A with B and C
    QCOMPARE(g->Child(1)->Count(), 2);
    QCOMPARE(base.Child(1)->Name, QStringLiteral("target")); // the mirror
    QCOMPARE(static_cast<TMirror*>(base.Child(1))->MirrorObject, g);
    QVERIFY(g->Child(0)->Material().HasTexture()); // wood.bmp
    for (int i = 0; i < 3; ++i) {
        TSceneObject* letter = i == 0 ? g->Child(1) : g->Child(1)->Child(i - 1);
        QVERIFY(letter->Geometry().TriangleCount() > 10);
    }
}

void TestRaybox::inTheWindow() {
    TFrameFrm f(QStringLiteral(QUARVEL_CONTENT_DIR));
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    THost& host = *f.Host;
    f.Topics->SelectTopic(19);
    QCOMPARE(host.Block(), 0);
    // Dragging the ray box by its knob, on top in the middle of the box:
    // the box moves and its rays follow.
    {
        TSceneObject* box = host.SceneBase->FindByName(QStringLiteral("raybox"));
        const QVector3D before = box->Position();
        const auto at = host.GLViewer->Viewport().Project(box->AbsoluteMatrix().map(QVector3D(0, 0, 1.29f)));
        QVERIFY(at);
        QCOMPARE(host.GLViewer->PickAt(*at).Object, box->Child(1));
        host.MousePressed(*at, Qt::LeftButton);
        host.MouseMoved(*at + QPointF(0, 25), Qt::LeftButton);
        host.MouseMoved(*at + QPointF(0, 50), Qt::LeftButton);
        QVERIFY((box->Position() - before).length() > 0.5f);
        QVERIFY(box->Position().x() >= 1.8f);
        QVERIFY(Near(Beam(box), (-box->Position()).normalized()));
        QVERIFY(Near(FarEnd(host.SceneBase->Child(0)->Child(2)), box->Position()));
    }
    QVERIFY(f.RunPageCommand(QStringLiteral("+i=90")));
    QVERIFY(Near(host.SceneBase->FindByName(QStringLiteral("raybox"))->Position(), {5, 0, 0}));
    // The D shape's command from the rectangular block's page brings the D shape.
    QVERIFY(f.RunPageCommand(QStringLiteral("+critical")));
    QCOMPARE(host.Block(), 1);
    QVERIFY(f.Item("DBlockBtn")->isChecked());
    QVERIFY(Near(host.SceneBase->FindByName(QStringLiteral("raybox"))->Position(), {5, 0, -5}));
    QVERIFY(f.RunPageCommand(QStringLiteral("+p180")));
    QCOMPARE(host.Block(), 2);
    QCOMPARE(static_cast<TLines*>(host.SceneBase->Child(2))->LineColor, QColor(Qt::white));
    f.Item("RectBlockBtn")->trigger();
    QCOMPARE(host.Block(), 0);

    f.Topics->SelectTopic(18);
    QCOMPARE(host.SceneBase->Count(), 3);
    QVERIFY(f.RunPageCommand(QStringLiteral("+protractor")));
    QVERIFY(host.Protractor()->isVisible());
    QVERIFY(std::abs(host.Protractor()->ReflectionAngle() - MirrorRays({5, 0, 10})->MirrorAngle) < 1e-4f);
    f.Item("slit1")->trigger();
    QVERIFY(!host.SceneBase->Child(0)->Child(2)->Visible);
    host.Protractor()->hide();

    f.Topics->SelectTopic(22);
    QCOMPARE(host.SceneBase->Count(), 2);
}

QUARVEL_GUI_TEST_MAIN(TestRaybox)
#include "tst_raybox.moc"
