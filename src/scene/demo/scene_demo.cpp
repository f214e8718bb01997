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

struct TDemo {
    TDummyCube Root;
    TCamera* Camera = nullptr;
    TDummyCube* Base = nullptr;
    TMaterialLibrary Library;

    TDemo() {
        AddCourseMaterials(Library);
        Library.Add("Chequer").SetTexture(Chequer());
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
        auto* title = Root.AddNew<TScreenText>();
        title->Text = QStringLiteral("Quarvel scene demo");
        title->FontSize = 14;
        title->Bold = true;
        title->PixelPosition = {8, 6};
    }
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
            viewer.grabFramebuffer().save(parser.value(shot));
        }
        if (parser.isSet(quit))
            app.quit();
    });
    return app.exec();
}
