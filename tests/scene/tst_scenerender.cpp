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

using namespace quarvel;

class TestSceneRender : public QObject {
    Q_OBJECT
private slots:
    void redSphereOnBackground();
    void frameTimerReportsElapsedTime();
    void mirrorShowsTheReflectionInsideItsShape();
    void viewWithoutContextRaisesOpenGLError();

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

int main(int argc, char** argv) {
    SetDefaultSceneFormat();
    QApplication app(argc, argv);
    TestSceneRender t;
    return QTest::qExec(&t, argc, argv);
}
#include "tst_scenerender.moc"
