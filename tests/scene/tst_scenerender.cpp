// Renders small scenes under Xvfb with software OpenGL and reads pixels back.

#include "scene/camera.h"
#include "scene/material.h"
#include "scene/primitives.h"
#include "scene/solids.h"
#include "scene/viewer.h"
#include "common/errors.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QOpenGLContext>
#include <QTest>
#include <cmath>

using namespace quarvel;

namespace {
// A fan of colour like the prism's spectrum: a triangle strip of five
// vertex pairs from the lower edge (y = -1) to the upper (y = 1), drawn a
// second time in the other winding, with a colour per pair; beside it two
// line segments with a colour at each end.
class TColourFan : public TCustomSceneObject {
public:
    static inline const QVector4D Colours[5] = {
        {1, 0, 0, 1}, {1, 1, 0, 1}, {0, 0.5f, 0, 1}, {0, 0, 1, 1}, {0.31f, 0.184f, 0.31f, 1}};
    static QVector3D Pair(int k, bool upper) { return {-2 + k * 0.8f, upper ? 1.0f : -1.0f, 0}; }

protected:
    void BuildGeometry(TMesh& mesh) override {
        for (int k = 0; k < 5; ++k)
            for (bool upper : {false, true}) {
                mesh.Add(Pair(k, upper), {0, 0, 1});
                mesh.Colors.push_back(Colours[k]);
            }
        for (std::uint32_t k = 0; k + 1 < 5; ++k) {
            const std::uint32_t a = 2 * k, b = a + 1, c = a + 2, d = a + 3;
            mesh.Triangle(a, c, d);
            mesh.Triangle(a, d, b);
            mesh.Triangle(a, d, c); // the other side
            mesh.Triangle(a, b, d);
        }
    }
};

class TColourLines : public TCustomSceneObject {
protected:
    void BuildGeometry(TMesh& mesh) override {
        mesh.Kind = TMesh::TKind::Lines;
        const QVector3D ends[4] = {{-2, -1.5f, 0}, {2, -1.5f, 0}, {-2, 1.5f, 0}, {2, 1.5f, 0}};
        const QVector4D colours[4] = {{0, 1, 1, 1}, {0, 1, 1, 1}, {1, 0, 1, 1}, {1, 0, 1, 1}};
        for (int i = 0; i < 4; ++i) {
            mesh.Indices.push_back(mesh.Add(ends[i]));
            mesh.Colors.push_back(colours[i]);
        }
    }
};

// A compass-like needle: a grey disc in the object's material, then the
// north half in face material 0 (red glow) and the south half in face
// material 1 (white glow).
class TNeedle : public TCustomSceneObject {
protected:
    void BuildGeometry(TMesh& mesh) override {
        const QVector3D n(0, 0, 1);
        const auto centre = mesh.Add({0, 0, 0}, n);
        for (int i = 0; i < 32; ++i) {
            const float a = float(i) / 32 * 6.2831853f, b = float(i + 1) / 32 * 6.2831853f;
            mesh.Triangle(centre, mesh.Add({std::cos(a), std::sin(a), 0}, n), mesh.Add({std::cos(b), std::sin(b), 0}, n));
        }
        const float w = 0.2f, z = 0.05f;
        mesh.BeginGroup(0);
        mesh.Triangle(mesh.Add({0, 0.9f, z}, n), mesh.Add({-w, 0, z}, n), mesh.Add({w, 0, z}, n));
        mesh.BeginGroup(1);
        mesh.Triangle(mesh.Add({0, -0.9f, z}, n), mesh.Add({w, 0, z}, n), mesh.Add({-w, 0, z}, n));
    }
};

float ColourDistance(const QColor& c, const QVector4D& v) {
    return std::max({std::abs(c.redF() - v.x()), std::abs(c.greenF() - v.y()), std::abs(c.blueF() - v.z())});
}
} // namespace

class TestSceneRender : public QObject {
    Q_OBJECT
private slots:
    void redSphereOnBackground();
    void frameTimerReportsElapsedTime();
    void mirrorShowsTheReflectionInsideItsShape();
    void viewWithoutContextRaisesOpenGLError();
    void vertexColouredStripShowsItsColours_data();
    void vertexColouredStripShowsItsColours();
    void faceGroupsDrawInTheirOwnMaterials();

private:
    static QColor At(const QImage& img, QPointF p) { return img.pixelColor(p.toPoint()); }
};

void TestSceneRender::redSphereOnBackground() {
    TDummyCube root;
    auto* camera = root.AddNew<TCamera>();
    camera->SetPosition(0, 0, 6);
    camera->TargetObject = &root;
    auto* light = camera->AddNew<TLight>();
    light->SpotDirection = {0, 0, 1};
    auto* sphere = root.AddNew<TSphere>();
    sphere->Material().Ambient = {0.2f, 0, 0, 1};
    sphere->Material().Diffuse = {1, 0, 0, 1};
    sphere->SetSlices(32);
    sphere->SetStacks(32);
    auto* glass = root.AddNew<TCube>();
    glass->SetPosition(1.6f, 0, 1);
    glass->SetSize(1, 1, 1);
    glass->Material().Ambient = {0, 0, 0, 1};
    glass->Material().Diffuse = {0, 0, 0, 0.5f};
    glass->Material().Emission = {1, 1, 1, 1};
    glass->Material().Blending = TBlending::Transparency;
    auto* label = root.AddNew<TScreenText>();
    label->Text = "MMMM";
    label->FontSize = 30;
    label->Color = Qt::green;
    label->PixelPosition = {4, 4};

    TSceneViewer viewer;
    viewer.Root = &root;
    viewer.Camera = camera;
    viewer.Background = QColor(0, 0, 255);
    viewer.resize(320, 240);
    viewer.show();
    QVERIFY(QTest::qWaitForWindowExposed(&viewer));
    const QImage img = viewer.grabFramebuffer();
    const TViewport view = viewer.Viewport();

    const QColor centre = At(img, *view.Project({0, 0, 0}));
    QVERIFY2(centre.red() > 180 && centre.green() < 40 && centre.blue() < 40, qPrintable(centre.name()));
    QCOMPARE(At(img, QPointF(300, 230)), QColor(0, 0, 255)); // background
    // The half-transparent white box over the blue background: a blend of
    // both (its front and back faces each let half the light through).
    const QColor blend = At(img, *view.Project({1.9f, 0.3f, 1.5f}));
    QVERIFY2(blend.red() > 60 && blend.red() < 235 && blend.blue() > 200, qPrintable(blend.name()));
    // Screen text drawn on top, near the top-left.
    bool green = false;
    for (int x = 4; x < 120 && !green; ++x)
        for (int y = 4; y < 40 && !green; ++y)
            green = img.pixelColor(x, y).green() > 200 && img.pixelColor(x, y).red() < 80;
    QVERIFY(green);
}

void TestSceneRender::frameTimerReportsElapsedTime() {
    TDummyCube root;
    auto* camera = root.AddNew<TCamera>();
    camera->SetPosition(0, 0, 5);
    camera->TargetObject = &root;
    TSceneViewer viewer;
    viewer.Root = &root;
    viewer.Camera = camera;
    viewer.resize(200, 150);
    viewer.show();
    QVERIFY(QTest::qWaitForWindowExposed(&viewer));
    QList<double> steps;
    connect(viewer.Cadencer(), &TSceneCadencer::Progress, this, [&](double dt) { steps << dt; });
    QElapsedTimer clock;
    clock.start();
    viewer.Cadencer()->SetEnabled(true);
    QTRY_VERIFY(steps.size() >= 5);
    viewer.Cadencer()->SetEnabled(false);
    const qint64 elapsed = clock.elapsed();
    double sum = 0;
    for (double dt : steps) {
        QVERIFY(dt > 0 && dt < 2);
        sum += dt;
    }
    QVERIFY(sum * 1000 <= elapsed + 50); // the steps add up to no more than the time that passed
    const int count = int(steps.size());
    QTest::qWait(200);
    QCOMPARE(int(steps.size()), count); // stopped means stopped
}

void TestSceneRender::mirrorShowsTheReflectionInsideItsShape() {
    TDummyCube root;
    auto* camera = root.AddNew<TCamera>();
    camera->SetPosition(3, 0, 6);
    camera->TargetObject = &root;
    auto* light = camera->AddNew<TLight>();
    light->SpotDirection = {0, 0, 1};
    auto* mirror = root.AddNew<TMirror>(); // at the origin, facing +z
    mirror->SetSize(2, 2);
    mirror->Material().Diffuse = {0.1f, 0.1f, 0.1f, 1};
    mirror->Material().Ambient = {0, 0, 0, 1};
    mirror->Opaque = true;
    for (float x : {0.f, 4.f}) {
        auto* ball = root.AddNew<TSphere>();
        ball->SetPosition(x, 0, 2);
        ball->SetRadius(0.4f);
        ball->Material().Ambient = {1, 0, 0, 1};
        ball->Material().Diffuse = {1, 0, 0, 1};
    }
    TSceneViewer viewer;
    viewer.Root = &root;
    viewer.Camera = camera;
    viewer.Background = QColor(0, 0, 255);
    viewer.resize(400, 300);
    viewer.show();
    QVERIFY(QTest::qWaitForWindowExposed(&viewer));
    const QImage img = viewer.grabFramebuffer();
    const TViewport view = viewer.Viewport();
    // The first ball's reflection shows in the mirror.
    const QColor reflected = At(img, *view.Project({0, 0, -2}));
    QVERIFY2(reflected.red() > 150 && reflected.blue() < 80, qPrintable(reflected.name()));
    // The second ball's reflection would fall outside the mirror: background there.
    QCOMPARE(At(img, *view.Project({4, 0, -2})), QColor(0, 0, 255));
    // The mirror's own dark surface round the reflection.
    const QColor surface = At(img, *view.Project({-0.8f, 0.8f, 0}));
    QVERIFY2(surface.blue() < 100 && surface.red() < 100, qPrintable(surface.name()));
}

void TestSceneRender::viewWithoutContextRaisesOpenGLError() {
    // No context at all, and one that was never made: the view must say so.
    QVERIFY_THROWS_EXCEPTION(EOpenGLError, CheckSceneContext(nullptr));
    QOpenGLContext unmade;
    QVERIFY_THROWS_EXCEPTION(EOpenGLError, CheckSceneContext(&unmade));
    QOpenGLContext made;
    QVERIFY(made.create());
    CheckSceneContext(&made); // Mesa's compatibility profile passes
}

void TestSceneRender::vertexColouredStripShowsItsColours_data() {
    QTest::addColumn<float>("eyeZ");
    QTest::addColumn<bool>("lit");
    QTest::newRow("unlit, front") << 6.f << false;
    QTest::newRow("unlit, back") << -6.f << false;
    QTest::newRow("lit, front") << 6.f << true;
}

void TestSceneRender::vertexColouredStripShowsItsColours() {
    QFETCH(float, eyeZ);
    QFETCH(bool, lit);
    TDummyCube root;
    auto* camera = root.AddNew<TCamera>();
    camera->SetPosition(0, 0, eyeZ);
    camera->TargetObject = &root;
    // A dim light from one side: unlit colours must not care, lit ones
    // come out darker but keep their hue.
    auto* light = camera->AddNew<TLight>();
    light->SpotDirection = {1, 0, 1};
    light->Diffuse = {0.7f, 0.7f, 0.7f, 1};
    light->Specular = {0, 0, 0, 1};
    auto* fan = root.AddNew<TColourFan>();
    fan->Material().VertexColors = lit ? TVertexColors::Lit : TVertexColors::Unlit;
    fan->Material().Diffuse = {0.2f, 0.8f, 0.2f, 1}; // what vertex colours replace
    auto* lines = root.AddNew<TColourLines>();
    lines->Material().VertexColors = TVertexColors::Unlit;

    TSceneViewer viewer;
    viewer.Root = &root;
    viewer.Camera = camera;
    viewer.Antialiasing = false;
    viewer.AmbientLevel = 0;
    viewer.resize(400, 300);
    viewer.show();
    QVERIFY(QTest::qWaitForWindowExposed(&viewer));
    const QImage img = viewer.grabFramebuffer();
    const TViewport view = viewer.Viewport();
    for (int k = 0; k < 5; ++k) {
        const QVector4D want = TColourFan::Colours[k];
        const QPointF at = *view.Project((TColourFan::Pair(k, false) + TColourFan::Pair(k, true)) / 2);
        // Pairs at the fan's ends lie on its edge: look just inside.
        const QPointF inside = at + QPointF(k == 0 ? (eyeZ > 0 ? 1 : -1) : k == 4 ? (eyeZ > 0 ? -1 : 1) : 0, 0);
        const QColor got = img.pixelColor(inside.toPoint());
        if (lit) {
            // Darker, but the same colour: no green from the material's diffuse.
            const float bright = std::max({got.redF(), got.greenF(), got.blueF()});
            const float wantBright = std::max({want.x(), want.y(), want.z()});
            QVERIFY2(bright > 0.1f && bright < wantBright, qPrintable(got.name()));
            QVERIFY2(ColourDistance(got, want * (bright / wantBright)) < 0.12f, qPrintable(got.name()));
        } else {
            QVERIFY2(ColourDistance(got, want) < 0.06f, qPrintable(QString("%1: %2").arg(k).arg(got.name())));
        }
    }
    // The lines in their ends' colours, somewhere within a pixel of them.
    for (const auto& [y, want] : {std::pair{-1.5f, QColor(0, 255, 255)}, std::pair{1.5f, QColor(255, 0, 255)}}) {
        const QPoint at = view.Project({0.5f, y, 0})->toPoint();
        bool found = false;
        for (int dy = -1; dy <= 1 && !found; ++dy)
            found = img.pixelColor(at + QPoint(0, dy)) == want;
        QVERIFY2(found, qPrintable(img.pixelColor(at).name()));
    }
}

void TestSceneRender::faceGroupsDrawInTheirOwnMaterials() {
    TMaterialLibrary lib;
    AddCourseMaterials(lib);
    TDummyCube root;
    auto* camera = root.AddNew<TCamera>();
    camera->SetPosition(0, 0, 5);
    camera->TargetObject = &root;
    auto* light = camera->AddNew<TLight>();
    light->SpotDirection = {0, 0, 1};
    auto* needle = root.AddNew<TNeedle>();
    needle->MaterialName = "Blue";
    for (int slot : {0, 1}) {
        TFaceMaterial& half = needle->FaceMaterial(slot);
        half.SetColor({0, 0, 0, 1});
        half.Specular = QVector4D(0, 0, 0, 1);
        half.Emission = slot == 0 ? QVector4D(1, 0, 0, 1) : QVector4D(1, 1, 1, 1);
    }
    TSceneViewer viewer;
    viewer.Root = &root;
    viewer.Camera = camera;
    viewer.Library = &lib;
    viewer.Antialiasing = false;
    viewer.resize(300, 300);
    viewer.show();
    QVERIFY(QTest::qWaitForWindowExposed(&viewer));
    const QImage img = viewer.grabFramebuffer();
    const TViewport view = viewer.Viewport();
    const QColor north = At(img, *view.Project({0, 0.4f, 0.05f}));
    const QColor south = At(img, *view.Project({0, -0.4f, 0.05f}));
    const QColor dial = At(img, *view.Project({0.6f, 0.3f, 0}));
    QVERIFY2(north.red() > 240 && north.green() < 20 && north.blue() < 20, qPrintable(north.name()));
    QVERIFY2(south.red() > 240 && south.green() > 240 && south.blue() > 240, qPrintable(south.name()));
    QVERIFY2(dial.blue() > dial.red() + 40, qPrintable(dial.name())); // the object's own "Blue"
    QVERIFY(lib.Find("Blue")->Emission == QVector4D(0, 0, 0, 1));
}

int main(int argc, char** argv) {
    SetDefaultSceneFormat();
    QApplication app(argc, argv);
    TestSceneRender t;
    return QTest::qExec(&t, argc, argv);
}
#include "tst_scenerender.moc"
