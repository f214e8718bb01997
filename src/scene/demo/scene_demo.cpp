// quarvel-scene-demo: a sample of every scene object and course material,
// for looking at and for timing the renderer.
//
//   quarvel-scene-demo [--screenshot FILE] [--quit] [--benchmark]

#include "scene/camera.h"
#include "scene/material.h"
#include "scene/primitives.h"
#include "scene/solids.h"
#include "scene/viewer.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QPainter>
#include <QTimer>
#include <cmath>
#include <cstdio>

using namespace quarvel;

namespace {

QImage Chequer() {
    QImage img(64, 64, QImage::Format_RGB32);
    QPainter p(&img);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            p.fillRect(x * 8, y * 8, 8, 8, (x + y) % 2 ? QColor(240, 240, 240) : QColor(40, 90, 160));
    return img;
}

// A switch box: the picture on its front and back in the object's own
// material, plain cream sides and a top with a recess, the recess floor
// grey. One object, three face groups.
class TDemoSwitch : public TCustomSceneObject {
public:
    TDemoSwitch() {
        FaceMaterial(0).SetColor({0.8471f, 0.8471f, 0.749f, 1}).Textured = false;
        FaceMaterial(1).SetColor({0.6f, 0.6f, 0.6f, 1}).Textured = false;
    }

protected:
    void BuildGeometry(TMesh& mesh) override {
        const float w = 0.45f, h = 0.15f, d = 0.2f, rw = w * 2 / 3, rd = d / 2, ry = h / 3;
        auto quad = [&](QVector3D a, QVector3D b, QVector3D c, QVector3D e, QVector2D ta = {0, 0},
                        QVector2D tc = {1, 1}) {
            const QVector3D n = QVector3D::crossProduct(b - a, c - a).normalized();
            const auto i = mesh.Add(a, n, ta), j = mesh.Add(b, n, {tc.x(), ta.y()}), k = mesh.Add(c, n, tc),
                       l = mesh.Add(e, n, {ta.x(), tc.y()});
            mesh.Triangle(i, j, k);
            mesh.Triangle(i, k, l);
        };
        quad({-w, -h, d}, {w, -h, d}, {w, h, d}, {-w, h, d});     // front, pictured
        quad({w, -h, -d}, {-w, -h, -d}, {-w, h, -d}, {w, h, -d}); // back, pictured
        mesh.BeginGroup(0);
        quad({w, -h, d}, {w, -h, -d}, {w, h, -d}, {w, h, d});
        quad({-w, -h, -d}, {-w, -h, d}, {-w, h, d}, {-w, h, -d});
        quad({-w, h, d}, {w, h, d}, {w, h, rd}, {-w, h, rd});
        quad({-w, h, -rd}, {w, h, -rd}, {w, h, -d}, {-w, h, -d});
        quad({-w, h, rd}, {-rw, h, rd}, {-rw, h, -rd}, {-w, h, -rd});
        quad({rw, h, rd}, {w, h, rd}, {w, h, -rd}, {rw, h, -rd});
        // The recess walls, facing into it.
        quad({-rw, ry, -rd}, {rw, ry, -rd}, {rw, h, -rd}, {-rw, h, -rd});
        quad({rw, ry, rd}, {-rw, ry, rd}, {-rw, h, rd}, {rw, h, rd});
        quad({-rw, ry, rd}, {-rw, ry, -rd}, {-rw, h, -rd}, {-rw, h, rd});
        quad({rw, ry, -rd}, {rw, ry, rd}, {rw, h, rd}, {rw, h, -rd});
        mesh.BeginGroup(1);
        quad({-rw, ry, rd}, {rw, ry, rd}, {rw, ry, -rd}, {-rw, ry, -rd});
    }
};

// A compass: case in the object's material, a navy dial, and a needle
// whose north half glows red and south half white.
class TDemoCompass : public TCustomSceneObject {
public:
    TDemoCompass() {
        TFaceMaterial& dial = FaceMaterial(0);
        dial.Ambient = QVector4D(0.137255f, 0.137255f, 0.556863f, 1);
        dial.Diffuse = QVector4D(0.6f, 0.6f, 0.6f, 1);
        dial.Specular = dial.Emission = QVector4D(0, 0, 0, 1);
        dial.Shininess = 0;
        for (int slot : {1, 2}) {
            TFaceMaterial& half = FaceMaterial(slot);
            half.SetColor({0, 0, 0, 1});
            half.Emission = slot == 1 ? QVector4D(1, 0, 0, 1) : QVector4D(1, 1, 1, 1);
        }
    }

protected:
    void BuildGeometry(TMesh& mesh) override {
        const float outer = 0.6f, inner = 0.54f, top = 0.15f, bottom = -0.15f;
        const int n = 40;
        auto at = [](float r, int i, float y) {
            const float a = float(i) / n * 6.2831853f;
            return QVector3D(r * std::cos(a), y, -r * std::sin(a));
        };
        for (int i = 0; i < n; ++i) {
            const QVector3D up(0, 1, 0);
            auto a = mesh.Add(at(inner, i, top), up), b = mesh.Add(at(outer, i, top), up),
                 c = mesh.Add(at(outer, i + 1, top), up), e = mesh.Add(at(inner, i + 1, top), up);
            mesh.Triangle(a, b, c);
            mesh.Triangle(a, c, e);
            const QVector3D o0 = at(1, i, 0), o1 = at(1, i + 1, 0);
            a = mesh.Add(at(outer, i, bottom), o0), b = mesh.Add(at(outer, i + 1, bottom), o1);
            c = mesh.Add(at(outer, i + 1, top), o1), e = mesh.Add(at(outer, i, top), o0);
            mesh.Triangle(a, b, c);
            mesh.Triangle(a, c, e);
            a = mesh.Add(at(inner, i + 1, bottom), -o1), b = mesh.Add(at(inner, i, bottom), -o0);
            c = mesh.Add(at(inner, i, top), -o0), e = mesh.Add(at(inner, i + 1, top), -o1);
            mesh.Triangle(a, b, c);
            mesh.Triangle(a, c, e);
        }
        mesh.BeginGroup(0);
        const auto centre = mesh.Add({0, bottom, 0}, {0, 1, 0});
        for (int i = 0; i < n; ++i)
            mesh.Triangle(centre, mesh.Add(at(inner, i, bottom), {0, 1, 0}), mesh.Add(at(inner, i + 1, bottom), {0, 1, 0}));
        const float y = 0, w = inner / 4;
        mesh.BeginGroup(1);
        mesh.Triangle(mesh.Add({0, y, -inner}, {0, 1, 0}), mesh.Add({-w, y, 0}, {0, 1, 0}), mesh.Add({w, y, 0}, {0, 1, 0}));
        mesh.BeginGroup(2);
        mesh.Triangle(mesh.Add({0, y, inner}, {0, 1, 0}), mesh.Add({w, y, 0}, {0, 1, 0}), mesh.Add({-w, y, 0}, {0, 1, 0}));
    }
};

// A fan of the spectrum's colours: five vertex pairs, red to violet, in a
// vertex-colour material, drawn in both windings.
class TDemoSpectrum : public TCustomSceneObject {
protected:
    void BuildGeometry(TMesh& mesh) override {
        const QVector4D colours[5] = {
            {1, 0, 0, 1}, {1, 1, 0, 1}, {0, 0.5f, 0, 1}, {0, 0, 1, 1}, {0.31f, 0.184f, 0.31f, 1}};
        for (int k = 0; k < 5; ++k) {
            const float a = (k - 2) * 0.12f;
            mesh.Add({0.15f * std::sin(a), 0, -0.15f * std::cos(a)});
            mesh.Add({1.5f * std::sin(a), 0, -1.5f * std::cos(a)});
            mesh.Colors.insert(mesh.Colors.end(), {colours[k], colours[k]});
        }
        for (std::uint32_t k = 0; k + 1 < 5; ++k) {
            const std::uint32_t a = 2 * k, b = a + 1, c = a + 2, e = a + 3;
            mesh.Triangle(a, e, c);
            mesh.Triangle(a, b, e);
            mesh.Triangle(a, c, e); // seen from below too
            mesh.Triangle(a, e, b);
        }
    }
};

QImage SwitchPicture() {
    QImage img(128, 48, QImage::Format_RGB32);
    img.fill(QColor(216, 216, 191));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(60, 60, 60), 3));
    p.drawRect(6, 6, 116, 36);
    p.setBrush(QColor(200, 30, 30));
    p.drawEllipse(QPointF(30, 24), 9, 9);
    p.setBrush(QColor(40, 40, 40));
    p.drawEllipse(QPointF(98, 24), 9, 9);
    p.setPen(QPen(QColor(40, 40, 40), 4));
    p.drawLine(45, 24, 83, 24);
    return img;
}

struct TDemo {
    TDummyCube Root;
    TCamera* Camera = nullptr;
    TDummyCube* Base = nullptr;
    TMaterialLibrary Library;

    TDemo() {
        AddCourseMaterials(Library);
        Library.Add("Chequer").SetTexture(Chequer());
        TMaterial& pictured = Library.Add("SwitchPicture");
        pictured.SetTexture(SwitchPicture());
        pictured.Ambient = pictured.Diffuse = {0.8471f, 0.8471f, 0.749f, 1};
        Camera = Root.AddNew<TCamera>();
        Camera->SetPosition(0, 4.2f, 8.2f);
        Camera->TargetObject = &Root;
        auto* key = Camera->AddNew<TLight>();
        key->SpotDirection = {5, 4, 7};
        key->Ambient = key->Diffuse = key->Specular = {0.5f, 0.5f, 0.5f, 1};
        auto* fill = Camera->AddNew<TLight>();
        fill->SpotDirection = {-8, -3, -10};
        fill->Diffuse = {0.5f, 0.5f, 0.5f, 1};
        fill->Specular = {0.4f, 0.4f, 0.4f, 1};
        Base = Root.AddNew<TDummyCube>();
    }

    template <class T> T* At(float x, float z, const char* material) {
        T* o = Base->AddNew<T>();
        o->SetPosition(x, 0, z);
        o->MaterialName = QLatin1String(material);
        return o;
    }

    void BuildSolids() {
        // An extruded letter P with its hole.
        auto* letter = At<TExtrusionSolid>(-5.5f, 3.2f, "Copper");
        letter->SetContours({{{0, 0}, {0.35f, 0}, {0.35f, 0.5f}, {0.8f, 0.5f}, {1, 0.75f}, {1, 1.05f}, {0.8f, 1.3f}, {0, 1.3f}},
                             {{0.35f, 0.75f}, {0.35f, 1.05f}, {0.65f, 1.05f}, {0.7f, 0.9f}, {0.65f, 0.75f}}});
        letter->SetDepth(0.3f);
        letter->SetPosition(-5.9f, -0.6f, 3.2f);
        // A vase turned on its axis and a coil wound as a helix.
        auto* vase = At<TRevolutionSolid>(-3.5f, 3.2f, "Blue");
        vase->SetProfile({{0.01f, -0.7f}, {0.45f, -0.7f}, {0.6f, -0.3f}, {0.35f, 0.3f}, {0.45f, 0.7f}});
        vase->SetSlices(40);
        vase->SetParts(TRevolutionSolid::Outer | TRevolutionSolid::InnerFaces);
        auto* coil = At<TRevolutionSolid>(-1.8f, 3.2f, "Copper");
        std::vector<QVector2D> wire;
        for (int i = 0; i <= 8; ++i)
            wire.emplace_back(0.45f + 0.06f * std::cos(i * 0.785f), 0.06f * std::sin(i * 0.785f) - 0.6f);
        coil->SetProfile(wire);
        coil->SetSlices(160);
        coil->SetSweep(0, 360 * 6);
        coil->SetHelix(0.2f);
        // A curved pipe through four nodes.
        auto* pipe = At<TPipe>(0, 3.2f, "Chrome");
        pipe->SetNodes({{-0.8f, -0.6f, 0}, {-0.3f, 0.5f, 0.3f}, {0.3f, -0.2f, -0.3f}, {0.8f, 0.6f, 0}});
        pipe->SetSpline(true, 12);
        pipe->SetRadius(0.1f);
        pipe->SetSlices(16);
        pipe->SetCapped(true);
        // Arrows, one proxy each of a master arrow.
        auto* arrow = At<TArrowLine>(2, 3.2f, "Green");
        arrow->SetLength(1.4f);
        arrow->SetRadii(0.05f, 0.15f);
        arrow->SetHeadLength(0.35f);
        arrow->SetSlices(16);
        arrow->SetPitchAngle(90); // pointing up
        for (int i = 1; i <= 3; ++i) {
            auto* p = Base->AddNew<TProxy>();
            p->Master = arrow;
            p->ObjectsOnly = true;
            p->SetPosition(2 + 0.45f * i, 0, 3.2f);
            p->SetRollAngle(25.0f * i);
            p->SetPitchAngle(90);
        }
        // A flat star.
        auto* star = At<TPolygonFace>(5, 3.2f, "Gold");
        TContour points;
        for (int i = 0; i < 10; ++i) {
            const float a = i * 0.628f + 1.5708f, r = i % 2 ? 0.3f : 0.75f;
            points.emplace_back(r * std::cos(a), r * std::sin(a));
        }
        star->SetContours({points});
        // A mesh read back from a 3DS file written from the vase.
        const QString meshFile = QDir::temp().filePath(QStringLiteral("quarvel-demo-vase.3ds"));
        if (SaveMeshAs3ds(vase->Geometry(), meshFile)) {
            auto* mesh = At<TFreeForm>(6.5f, 1.5f, "Metal");
            mesh->LoadFromFile(meshFile);
            mesh->SetMeshScale(0.8f);
            QFile::remove(meshFile);
        }
        // A mirror at the back shows the whole scene.
        auto* mirror = Base->AddNew<TMirror>();
        mirror->SetSize(12, 3.2f);
        mirror->SetPosition(0, 0.6f, -5);
        mirror->Material().Ambient = {0.05f, 0.05f, 0.08f, 1};
        mirror->Material().Diffuse = {0.1f, 0.1f, 0.12f, 1};
        mirror->Opaque = true;
    }

    // Objects in several materials at once, and colours by vertex.
    void BuildModelParts() {
        // In front of the solids, along the floor's near edge.
        auto* sw = At<TDemoSwitch>(-3.4f, 4.4f, "SwitchPicture");
        sw->Name = QStringLiteral("switch");
        sw->SetPosition(-3.4f, -0.75f, 4.4f);
        sw->SetScale(1.6f);
        sw->SetTurnAngle(15);
        auto* compass = At<TDemoCompass>(-1.3f, 4.4f, "Metal");
        compass->Name = QStringLiteral("target");
        compass->SetPosition(-1.3f, -0.6f, 4.4f);
        compass->SetTurnAngle(-35);
        compass->SetPitchAngle(35);
        auto* fan = At<TDemoSpectrum>(0.9f, 4.4f, "");
        fan->Name = QStringLiteral("spectrum");
        fan->SetPosition(0.4f, -0.9f, 4.6f);
        fan->SetTurnAngle(-70);
        fan->SetRollAngle(-25);
        fan->Material().VertexColors = TVertexColors::Unlit;
        // The arm has its own copy of "Red", made shiny; the shared "Red"
        // (the dull red sphere at the back) is left as it was.
        auto* arm = At<TCube>(3.0f, 4.4f, "Red");
        arm->Name = QStringLiteral("arm");
        arm->SetSize(0.25f, 1.1f, 0.25f);
        arm->SetPosition(3.0f, -0.45f, 4.4f);
        arm->SetRollAngle(-25);
        TMaterial& own = arm->OwnCopyOfMaterial(&Library);
        own.Specular = {0.9f, 0.9f, 0.9f, 1};
        own.Shininess = 40;
    }

    // 500 copies of one small sphere, for timing.
    void BuildProxies() {
        auto* master = Base->AddNew<TSphere>();
        master->SetRadius(0.12f);
        master->SetSlices(10);
        master->SetStacks(10);
        master->MaterialName = "Copper";
        master->Visible = false;
        for (int i = 0; i < 500; ++i) {
            auto* p = Base->AddNew<TProxy>();
            p->Master = master;
            p->ObjectsOnly = true;
            p->SetPosition(-6 + (i % 25) * 0.5f, -0.5f + (i / 25 % 4) * 0.5f, -3 + (i / 100) * 1.5f);
        }
    }

    void BuildAll() {
        const char* sphereMaterials[] = {"Copper", "Chrome", "Gold", "Red", "Blue", "Metal2"};
        for (int i = 0; i < 6; ++i) {
            auto* s = At<TSphere>(-5 + i * 2.0f, -3, sphereMaterials[i]);
            s->SetRadius(0.8f);
            s->SetSlices(32);
            s->SetStacks(24);
            s->Name = QLatin1String(sphereMaterials[i]);
        }
        auto* cube = At<TCube>(-5, 0, "Brass");
        cube->SetSize(1.4f, 1.4f, 1.4f);
        cube->SetParts(TCube::All & ~TCube::Front); // open at the front
        cube->SetTurnAngle(30);
        auto* cyl = At<TCylinder>(-3, 0, "Teal");
        cyl->SetRadius(0.6f);
        cyl->SetHeight(1.6f);
        cyl->SetSlices(32);
        auto* cone = At<TCone>(-1, 0, "Yellow");
        cone->SetBottomRadius(0.7f);
        cone->SetHeight(1.6f);
        cone->SetSlices(32);
        auto* annulus = At<TAnnulus>(1, 0, "Bronze");
        annulus->SetRadii(0.4f, 0.75f, 0.4f, 0.75f);
        annulus->SetHeight(0.6f);
        annulus->SetSlices(32);
        auto* torus = At<TTorus>(3, 0, "Pink");
        torus->SetRadii(0.6f, 0.2f);
        torus->SetRings(40);
        torus->SetSides(20);
        torus->SetPitchAngle(-25);
        auto* disk = At<TDisk>(5, 0, "Navy");
        disk->SetRadii(0.2f, 0.8f);
        disk->SetSlices(32);
        disk->SetPitchAngle(-25);
        auto* glass = At<TSphere>(0, 1.2f, "Glass");
        glass->SetPosition(0, 1.3f, 1.2f);
        glass->SetRadius(1.0f);
        glass->SetSlices(32);
        glass->SetStacks(24);
        auto* floor = At<TPlane>(0, 0, "Chequer");
        floor->SetSize(14, 9);
        floor->SetTiles(7, 4.5f);
        floor->SetPitchAngle(-90);
        floor->SetPosition(0, -1, 0);
        auto* lines = Base->AddNew<TLines>();
        for (int i = 0; i <= 40; ++i) {
            const float a = float(i) / 40 * 6.2832f;
            lines->AddNode({-4 + 8.0f * i / 40, 2.2f + 0.5f * std::sin(a * 2), 2.5f});
        }
        lines->LineColor = QColor(255, 220, 60);
        lines->LineWidth = 2;
        lines->Antialiased = true;
        lines->ShowNodes = true;
        lines->NodeSize = 4;
        auto* dashed = Base->AddNew<TLines>();
        dashed->SetNodes({{-6, -0.99f, 4}, {6, -0.99f, 4}});
        dashed->LineColor = Qt::white;
        dashed->StipplePattern = 0x0F0F;
        dashed->LineWidth = 2;
        auto* points = Base->AddNew<TPoints>();
        std::vector<QVector3D> ps;
        std::vector<QColor> cs;
        for (int i = 0; i < 60; ++i) {
            const float a = i * 0.35f;
            ps.emplace_back(4.5f + 0.8f * std::cos(a), 2.0f + i * 0.02f, 2 + 0.8f * std::sin(a));
            cs.push_back(QColor::fromHsv((i * 6) % 360, 220, 255));
        }
        points->SetPoints(ps, cs);
        points->Size = 6;
        points->Round = true;
        BuildSolids();
        BuildModelParts();
        auto* title = Root.AddNew<TScreenText>();
        title->Text = QStringLiteral("Quarvel scene demo");
        title->FontSize = 14;
        title->Bold = true;
        title->PixelPosition = {8, 6};
        Status = Root.AddNew<TScreenText>();
        Status->FontSize = 11;
        Status->PixelPosition = {8, 32};
    }
    TScreenText* Status = nullptr;
};

} // namespace

int main(int argc, char** argv) {
    SetDefaultSceneFormat();
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    const QCommandLineOption shot("screenshot", "Save a picture of the scene.", "file");
    const QCommandLineOption quit("quit", "Exit after the screenshot or benchmark.");
    const QCommandLineOption bench("benchmark", "Print frame times at 1024 x 768.");
    parser.addOptions({shot, quit, bench});
    parser.process(app);

    TDemo demo;
    TSceneViewer viewer;
    viewer.Root = &demo.Root;
    viewer.Camera = demo.Camera;
    viewer.Library = &demo.Library;
    viewer.Background = QColor(24, 28, 40);
    viewer.resize(1024, 768);
    viewer.setTitle("Quarvel scene demo");
    viewer.show();
    // Hovering names the object under the pointer, whichever face it is on.
    QObject::connect(&viewer, &TSceneViewer::MouseMoved, [&](QMouseEvent* e) {
        if (!demo.Status)
            return;
        const TPickResult hit = viewer.PickAt(e->position());
        demo.Status->Text = hit.Object ? (hit.Object->Name.isEmpty() ? QStringLiteral("(unnamed)") : hit.Object->Name)
                                       : QString();
        viewer.update();
    });

    QTimer::singleShot(300, [&] {
        if (parser.isSet(bench)) {
            const double empty = viewer.MeasureFrameTime(60);
            demo.BuildProxies();
            const double proxies = viewer.MeasureFrameTime(60);
            demo.Base->DeleteChildren();
            demo.BuildAll();
            const double full = viewer.MeasureFrameTime(60);
            std::printf("empty_scene_frame_ms: %.2f\nproxies_500_frame_ms: %.2f\nproxies_500_fps: %.0f\n"
                        "demo_scene_frame_ms: %.2f\n",
                        empty, proxies, 1000 / proxies, full);
        } else {
            demo.BuildAll();
        }
        if (parser.isSet(shot)) {
            viewer.Snapshot().save(parser.value(shot));
        }
        if (parser.isSet(quit))
            app.quit();
    });
    return app.exec();
}
