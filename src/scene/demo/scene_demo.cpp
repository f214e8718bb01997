// quarvel-scene-demo: a sample of every scene object and course material,
// for looking at and for timing the renderer.
//
//   quarvel-scene-demo [--screenshot FILE] [--quit] [--benchmark]

#include "scene/camera.h"
#include "scene/material.h"
#include "scene/primitives.h"
#include "scene/viewer.h"

#include <QApplication>
#include <QCommandLineParser>
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
        auto* glass = At<TSphere>(0, 2.5f, "Glass");
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
    viewer.setWindowTitle("Quarvel scene demo");
    viewer.show();

    QTimer::singleShot(300, [&] {
        if (parser.isSet(bench)) {
            const double empty = viewer.MeasureFrameTime(60);
            demo.BuildAll();
            const double full = viewer.MeasureFrameTime(60);
            std::printf("empty_scene_frame_ms: %.2f\ndemo_scene_frame_ms: %.2f\n", empty, full);
        } else {
            demo.BuildAll();
        }
        if (parser.isSet(shot)) {
            viewer.repaint();
            viewer.grabFramebuffer().save(parser.value(shot));
        }
        if (parser.isSet(quit))
            app.quit();
    });
    return app.exec();
}
