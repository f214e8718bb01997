#include "../testmain.h"
#include "common/random.h"
#include "host/globals.h"
#include "host/host.h"
#include "models/heat/heatmodels.h"
#include "scene/material.h"
#include "scene/primitives.h"
#include "scene/solids.h"
#include "shell/courseareas.h"
#include "shell/framefrm.h"
#include "widgets/dialogs.h"

#include <QComboBox>
#include <QSettings>
#include <cmath>

using namespace quarvel;

namespace {
bool Near(const QVector3D& a, const QVector3D& b, float eps = 1e-4f) { return (a - b).length() < eps; }
bool Near(const QVector4D& a, const QVector4D& b, float eps = 1e-3f) { return (a - b).length() < eps; }

bool OnLattice(TSceneObject* base, int layer) {
    for (int k = 0; k < 25; ++k) {
        const int ball = 25 * layer + k;
        if (Ball(base, ball)->Position() != LatticePoint(ball))
            return false;
    }
    return true;
}

// A ball jiggles alike in x, y and z, by less than 0.1.
bool Jiggled(TSceneObject* base, int layer) {
    for (int k = 0; k < 25; ++k) {
        const int ball = 25 * layer + k;
        const QVector3D d = Ball(base, ball)->Position() - LatticePoint(ball);
        if (std::abs(d.x()) > 0.1001f || std::abs(d.x() - d.y()) > 1e-5f || std::abs(d.y() - d.z()) > 1e-5f)
            return false;
    }
    return !OnLattice(base, layer);
}
} // namespace

class TestHeatModels : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init() { HeatingPass() = true; }
    void pinsDropped_data();
    void pinsDropped();
    void conductionScene();
    void radiation_data();
    void radiation();
    void radiationScrollsBack();
    void heaterCoil();
    void particlesHeating();
    void particlesAfterWrap();
    void particlesReset();
    void waxMesh();
    void modelsFromTheirPages();
    void particleModelEnteredAgainAfterAWrap();
    void rodTakesTheListsMetal();

private:
    TMaterialLibrary m_lib;
};

void TestHeatModels::initTestCase() {
    RegisterCourseAreas();
    QSettings(QStringLiteral("Brantock"), QStringLiteral("Quarvel")).clear();
    SetBoxAnswerer([](const TBoxRequest&) { return true; });
    AddCourseMaterials(m_lib);
}

void TestHeatModels::pinsDropped_data() {
    QTest::addColumn<int>("metal");
    QTest::addColumn<float>("position");
    QTest::addColumn<int>("dropped");
    QTest::newRow("aluminium at 100: none") << 0 << 100.0f << 0;
    QTest::newRow("aluminium at 100.01: pin 0") << 0 << 100.01f << 1;
    QTest::newRow("aluminium at 1000") << 0 << 1000.0f << 11;
    QTest::newRow("copper at 100: none") << 1 << 100.0f << 0;
    QTest::newRow("copper at 100.01: pin 0") << 1 << 100.01f << 1;
    QTest::newRow("copper at 1000") << 1 << 1000.0f << 15;
    QTest::newRow("copper at 952: pin 14 hangs") << 1 << 952.0f << 14;
    QTest::newRow("iron at 100: none") << 2 << 100.0f << 0;
    QTest::newRow("iron at 100.01: pin 0") << 2 << 100.01f << 1;
    QTest::newRow("iron at 1000") << 2 << 1000.0f << 4;
    QTest::newRow("iron at 739: pin 3 hangs") << 2 << 739.0f << 3;
}

void TestHeatModels::pinsDropped() {
    QFETCH(int, metal);
    QFETCH(float, position);
    QFETCH(int, dropped);
    TDummyCube base;
    BuildConductionModel(&base, m_lib);
    UpdateConductionModel(&base, metal, 1000); // scrolling back hangs them again
    UpdateConductionModel(&base, metal, position);
    for (int i = 0; i < kPinCount; ++i) {
        TSceneObject* pin = base.Child(i + 3);
        QCOMPARE(PinDropped(metal, i, position), i < dropped);
        QCOMPARE(pin->Position().x(), float(i - 5));
        QCOMPARE(pin->Position().y(), i < dropped ? -7.5f : kPinHangY);
        QCOMPARE(pin->PitchAngle(), i < dropped ? -85.0f : 0.0f);
    }
}

void TestHeatModels::conductionScene() {
    TDummyCube base;
    BuildConductionModel(&base, m_lib);
    QCOMPARE(base.Count(), 39);
    QVERIFY(!base.Child(0)->Visible && !base.Child(1)->Visible);
    QCOMPARE(base.Child(0)->MaterialName, QStringLiteral("Bunsen"));
    QCOMPARE(base.Child(2)->MaterialName, QStringLiteral("Metal"));
    QCOMPARE(base.Child(2)->RollAngle(), 90.0f);
    auto* pinProxy = dynamic_cast<TProxy*>(base.Child(4));
    QVERIFY(pinProxy && pinProxy->ObjectsOnly && pinProxy->Master == base.Child(3));
    // Disc proxies add the master's place: disc 14 hangs under x = 9.
    auto* disc = dynamic_cast<TProxy*>(base.Child(32));
    QVERIFY(disc && !disc->ObjectsOnly && disc->Master == base.Child(18));
    QVERIFY(Near((disc->AbsoluteMatrix() * base.Child(18)->LocalMatrix()).map(QVector3D()), {9, -0.25f, 0}));
    QCOMPARE(base.Child(38)->MaterialName, QStringLiteral("Brown"));
    QCOMPARE(base.Child(38)->Count(), 1);
    ShowBunsenFlame(&base, true);
    QVERIFY(base.Child(0)->Visible && base.Child(1)->Visible);
    SetConductionMetal(&base, m_lib, 1);
    QCOMPARE(base.Child(2)->MaterialName, QStringLiteral("Copper"));
    SetConductionMetal(&base, m_lib, 2);
    QCOMPARE(base.Child(2)->MaterialName, QStringLiteral("DarkGray"));
    SetConductionMetal(&base, m_lib, 0);
    QCOMPARE(base.Child(2)->MaterialName, QStringLiteral("Metal"));
}

void TestHeatModels::radiation_data() {
    QTest::addColumn<float>("position");
    QTest::addColumn<QVector3D>("pin");
    QTest::addColumn<float>("roll");
    QTest::addColumn<float>("alpha");
    QTest::newRow("start") << 0.0f << QVector3D(-5.025f, 1.5f, 0) << 90.0f << 1.0f;
    QTest::newRow("99.9: wax nearly clear, pin still") << 99.9f << QVector3D(-5.025f, 1.5f, 0) << 90.0f << 0.1009f;
    QTest::newRow("100: wax soft") << 100.0f << QVector3D(-5.025f, 1.5f, 0) << 90.0f << 0.1f;
    QTest::newRow("120: sliding") << 120.0f << QVector3D(-5.025f, 1.5f - 2.06f, 0) << 90.0f << 0.1f;
    QTest::newRow("140: tipping")
        << 140.0f << QVector3D(-5.025f - std::sin(34 * 3.14159265f / 180), 1.5f - 4.12f, 0) << 124.0f << 0.1f;
    QTest::newRow("300: at rest") << 300.0f << QVector3D(-5.952f, -3.65f, 0) << 158.0f << 0.1f;
}

void TestHeatModels::radiation() {
    QFETCH(float, position);
    QFETCH(QVector3D, pin);
    QFETCH(float, roll);
    QFETCH(float, alpha);
    TDummyCube base;
    BuildRadiationModel(&base, m_lib);
    QCOMPARE(base.Count(), 12);
    UpdateRadiationModel(&base, position);
    QVERIFY(Near(base.Child(0)->Position(), pin));
    QVERIFY(std::abs(base.Child(0)->RollAngle() - roll) < 1e-3f);
    QVERIFY(std::abs(base.Child(3)->Material().Diffuse.w() - alpha) < 1e-5f);
    // The right pin and wax never change.
    QVERIFY(Near(base.Child(1)->Position(), {5.025f, 1.5f, 0}));
    QCOMPARE(base.Child(4)->Material().Diffuse.w(), 1.0f);
}

void TestHeatModels::radiationScrollsBack() {
    TDummyCube fresh, scrolled;
    BuildRadiationModel(&fresh, m_lib);
    BuildRadiationModel(&scrolled, m_lib);
    UpdateRadiationModel(&fresh, 50);
    UpdateRadiationModel(&scrolled, 300);
    UpdateRadiationModel(&scrolled, 50);
    QVERIFY(Near(scrolled.Child(0)->Position(), fresh.Child(0)->Position()));
    QCOMPARE(scrolled.Child(0)->RollAngle(), fresh.Child(0)->RollAngle());
    QVERIFY(Near(scrolled.Child(0)->Up(), fresh.Child(0)->Up()));
    QCOMPARE(scrolled.Child(3)->Material().Diffuse, fresh.Child(3)->Material().Diffuse);
}

void TestHeatModels::heaterCoil() {
    TDummyCube base;
    BuildRadiationModel(&base, m_lib);
    TSceneObject* heater = base.Child(2);
    QCOMPARE(heater->Count(), 22);
    TSceneObject* coil = heater->Child(0);
    QCOMPARE(coil->Material().Emission, QVector4D(0.2f, 0.2f, 0.2f, 1));
    // The top turn: proxy 20 adds its place to the coil's.
    QVERIFY(Near((heater->Child(20)->LocalMatrix() * coil->LocalMatrix()).map(QVector3D()), {0, 2.1f, 0}));
    SetHeaterGlow(&base, {1, 0, 0, 1});
    QCOMPARE(coil->Material().Emission, QVector4D(1, 0, 0, 1));
    auto* proxy = dynamic_cast<TProxy*>(heater->Child(20));
    QVERIFY(proxy && proxy->Master == coil && proxy->UseMasterMaterial);
}

void TestHeatModels::particlesHeating() {
    TDummyCube base;
    BuildParticleConductionModel(&base);
    QCOMPARE(base.Count(), 7);
    QCOMPARE(base.Child(0)->Count(), 525);
    QVERIFY(Near(Ball(&base, 25 * 3 + 5 * 2 + 4)->Position(), {-7, 4, 2}));
    UpdateParticleConductionModel(&base, 525);
    for (int layer = 0; layer < kLayers; ++layer) {
        const QVector4D expected = layer < 10    ? kHotBall
                                   : layer == 10 ? QVector4D(0.79f, 0.405f, 0.37f, 1)
                                                 : kColdBall;
        QVERIFY2(Near(LayerAmbient(&base, layer), expected), qPrintable(QString::number(layer)));
        QVERIFY2(layer <= 10 ? Jiggled(&base, layer) : OnLattice(&base, layer), qPrintable(QString::number(layer)));
    }
    // At 0 only layer 0 jiggles, cold.
    ResetParticleConductionModel(&base);
    UpdateParticleConductionModel(&base, 0);
    QVERIFY(Jiggled(&base, 0));
    QVERIFY(Near(LayerAmbient(&base, 0), kColdBall, 0.02f));
    for (int layer = 1; layer < kLayers; ++layer)
        QVERIFY(OnLattice(&base, layer));
}

void TestHeatModels::particlesAfterWrap() {
    TDummyCube base;
    BuildParticleConductionModel(&base);
    UpdateParticleConductionModel(&base, 1049);
    EndHeatingPass(&base, false);
    QVERIFY(!HeatingPass());
    for (float position : {10.0f, 300.0f}) { // scrolling back does not recolour
        UpdateParticleConductionModel(&base, position);
        for (int layer = 0; layer < kLayers; ++layer) {
            QCOMPARE(LayerAmbient(&base, layer), kHotBall);
            QVERIFY(Jiggled(&base, layer));
        }
    }
    EndHeatingPass(&base, false); // already hot: nothing
    QVERIFY(!HeatingPass());
}

void TestHeatModels::particlesReset() {
    TDummyCube base;
    BuildParticleConductionModel(&base);
    UpdateParticleConductionModel(&base, 700);
    EndHeatingPass(&base, false);
    UpdateParticleConductionModel(&base, 20);
    ResetParticleConductionModel(&base);
    QVERIFY(HeatingPass());
    for (int layer = 0; layer < kLayers; ++layer) {
        QVERIFY(OnLattice(&base, layer));
        QCOMPARE(LayerAmbient(&base, layer), kColdBall);
    }
}

void TestHeatModels::waxMesh() {
    TFreeForm wax;
    QVERIFY(wax.LoadFromFile(QStringLiteral(QUARVEL_CONTENT_DIR "/3DS/Wax.3ds")));
    QVERIFY(wax.LoadedTriangles() > 100);
    // A lump on its flat foot, rising along -y, wider than the pin's head.
    const auto [low, high] = wax.GeometryBounds();
    const QString bounds = QStringLiteral("%1 %2 %3 / %4 %5 %6")
                               .arg(low.x()).arg(low.y()).arg(low.z()).arg(high.x()).arg(high.y()).arg(high.z());
    QVERIFY2(std::abs(high.y()) < 1e-3f, qPrintable(bounds));
    QVERIFY(low.y() < -0.6f && low.y() > -0.9f);
    QVERIFY(high.x() > 1.1f && high.z() > 1.1f);

    // In the radiation model each lump sits on the outside of its plate,
    // over its pin's head.
    const QString oldFolder = MeshFolder;
    MeshFolder = QStringLiteral(QUARVEL_CONTENT_DIR "/3DS/");
    TDummyCube base;
    BuildRadiationModel(&base, m_lib);
    MeshFolder = oldFolder;
    for (int i : {3, 4}) {
        TSceneObject* lump = base.Child(i);
        QVERIFY(lump->Geometry().TriangleCount() > 0);
        float minX = 1e9f, maxX = -1e9f;
        const QMatrix4x4 m = lump->AbsoluteMatrix();
        for (const QVector3D& p : lump->Geometry().Positions) {
            minX = std::min(minX, m.map(p).x());
            maxX = std::max(maxX, m.map(p).x());
        }
        const QString range = QStringLiteral("%1 .. %2").arg(minX).arg(maxX);
        if (i == 3)
            QVERIFY2(maxX < -5.0f && minX < -5.6f, qPrintable(range));
        else
            QVERIFY2(minX > 5.0f && maxX > 5.6f, qPrintable(range));
    }
}

void TestHeatModels::modelsFromTheirPages() {
    TFrameFrm f(QStringLiteral(QUARVEL_CONTENT_DIR));
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    THost& host = *f.Host;
    f.Topics->SelectTopic(13);
    QCOMPARE(host.SceneBase->Count(), 39);
    QVERIFY(f.RunPageCommand("+run"));
    QVERIFY(host.TimerRunning());
    QVERIFY(host.SceneBase->Child(0)->Visible); // the flame burns while the clock runs
    host.Stop();
    QVERIFY(!host.SceneBase->Child(0)->Visible);

    f.Topics->SelectTopic(14);
    QCOMPARE(host.SceneBase->Count(), 12);
    QVERIFY(host.SceneBase->Child(3)->Geometry().TriangleCount() > 0); // the course's wax
    QVERIFY(f.RunPageCommand("+run"));
    QCOMPARE(host.SceneBase->Child(2)->Child(0)->Material().Emission, QVector4D(1, 0, 0, 1));
    host.Stop();
    QCOMPARE(host.SceneBase->Child(2)->Child(0)->Material().Emission, QVector4D(0.2f, 0.2f, 0.2f, 1));

    f.Topics->SelectTopic(15);
    QCOMPARE(host.SceneBase->Count(), 7);
    QVERIFY(f.RunPageCommand("+run"));
    QVERIFY(host.TimerRunning());
    host.Stop();
}

// Leaving the particle model after the wrap and coming back: Start runs a
// heat front along a cold bar again.
void TestHeatModels::particleModelEnteredAgainAfterAWrap() {
    TFrameFrm f(QStringLiteral(QUARVEL_CONTENT_DIR));
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    THost& host = *f.Host;
    f.Topics->SelectTopic(15);
    static_cast<THCModelTopic*>(host.Model())->WrapNotice();
    QVERIFY(!HeatingPass());
    f.Topics->SelectTopic(14);
    f.Topics->SelectTopic(15);
    QVERIFY(HeatingPass());
    host.Model()->Update(60);
    QVERIFY(Jiggled(host.SceneBase, 0));
    QVERIFY(Jiggled(host.SceneBase, 1));
    for (int layer = 2; layer < kLayers; ++layer) {
        QVERIFY(OnLattice(host.SceneBase, layer));
        QCOMPARE(LayerAmbient(host.SceneBase, layer), kColdBall);
    }
}

// The metal list keeps its choice when the topic is shown again; the rod
// shows that metal, as the pins drop for it.
void TestHeatModels::rodTakesTheListsMetal() {
    TFrameFrm f(QStringLiteral(QUARVEL_CONTENT_DIR));
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    THost& host = *f.Host;
    f.Topics->SelectTopic(13);
    QVERIFY(host.C.Metal);
    host.C.Metal->setCurrentIndex(2);
    host.MetalChosen(2);
    QCOMPARE(host.SceneBase->Child(2)->MaterialName, QStringLiteral("DarkGray"));
    f.Topics->SelectTopic(14);
    f.Topics->SelectTopic(13);
    QCOMPARE(host.C.Metal->currentIndex(), 2);
    QCOMPARE(host.SceneBase->Child(2)->MaterialName, QStringLiteral("DarkGray"));
    host.C.Metal->setCurrentIndex(0);
}

QUARVEL_GUI_TEST_MAIN(TestHeatModels)
#include "tst_heatmodels.moc"
