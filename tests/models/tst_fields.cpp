#include "../testmain.h"
#include "common/random.h"
#include "host/host.h"
#include "host/topichost.h"
#include "models/electromagnetism/domains.h"
#include "models/electromagnetism/earthfield.h"
#include "models/electromagnetism/stwire.h"
#include "scene/picking.h"
#include "scene/primitives.h"
#include "scene/viewer.h"
#include "scene/solids.h"
#include "shell/courseareas.h"
#include "shell/framefrm.h"
#include "widgets/dialogs.h"

#include <QAction>
#include <QScrollBar>
#include <QSettings>
#include <cmath>

using namespace quarvel;

namespace {
bool NearVec(const QVector3D& a, const QVector3D& b, float tol = 1e-4f) { return (a - b).length() <= tol; }

// Where the red tip of the compass points, in the scene.
QVector3D RedTip(TSceneObject* compass) {
    const float n = static_cast<TCompass*>(compass)->NeedleAngle() * 3.14159265f / 180;
    const QVector3D local(-std::sin(n), 0, -std::cos(n));
    return compass->AbsoluteMatrix().mapVector(local).normalized();
}

// The drawn direction (local +z) of arrow j of the domains: the master, or a
// proxy with the master's own placement applied on top.
QVector3D ArrowDirection(TSceneObject* base, int j) {
    TSceneObject* domains = base->Child(0);
    TSceneObject* master = domains->Child(0);
    const QMatrix4x4 m =
        j == 0 ? master->AbsoluteMatrix() : domains->Child(j)->AbsoluteMatrix() * master->LocalMatrix();
    return m.mapVector({0, 0, 1}).normalized();
}
} // namespace

class TestFields : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    // straight wire
    void compassTipAlongTheField_data();
    void compassTipAlongTheField();
    void compassOnTheWireKeepsItsTurn();
    void compassStaysOnTheCard_data();
    void compassStaysOnTheCard();
    void compassHeight_data();
    void compassHeight();
    void reverseTwiceRestoresTheBuiltLook();
    void fieldDisplay();
    // domains
    void domainLattice();
    void domainsAtSpreadZeroAlongX();
    void domainsAtSpread360Repeat();
    // Earth's field
    void earthFieldAt_data();
    void earthFieldAt();
    void earthLines_data();
    void earthLines();
    void earthScene();
    // from the pages
    void straightWireFromItsPage();
    void domainsAndEarthFromTheirPages();
};

void TestFields::initTestCase() {
    RegisterCourseAreas();
    QSettings(QStringLiteral("Brantock"), QStringLiteral("Quarvel")).clear();
    SetBoxAnswerer([](const TBoxRequest&) { return true; });
}

void TestFields::init() { WireState() = TWireState{}; }

void TestFields::compassTipAlongTheField_data() {
    QTest::addColumn<float>("x");
    QTest::addColumn<float>("z");
    QTest::addColumn<float>("turn");
    QTest::newRow("(1, 0)") << 1.f << 0.f << 0.f;
    QTest::newRow("(0, 1)") << 0.f << 1.f << 270.f;
    QTest::newRow("(0, -1)") << 0.f << -1.f << 90.f;
    QTest::newRow("(-1, 0)") << -1.f << 0.f << 180.f;
    QTest::newRow("near the wire (0.2, 0.05)") << 0.2f << 0.05f << 360.f - 14.0362435f;
    QTest::newRow("corner (2.25, -2.25)") << 2.25f << -2.25f << 45.f;
}

void TestFields::compassTipAlongTheField() {
    QFETCH(float, x);
    QFETCH(float, z);
    QFETCH(float, turn);
    TDummyCube base;
    BuildStraightWire(&base, nullptr);
    TSceneObject* compass = base.Child(0);
    compass->SetPosition(x, 0.08f, z);
    AlignCompass(&base);
    QVERIFY2(std::abs(compass->TurnAngle() - turn) < 1e-3f, qPrintable(QString::number(compass->TurnAngle())));
    const QVector3D field = QVector3D(z, 0, -x).normalized();
    QVERIFY(NearVec(RedTip(compass), field));
    // Reversed, the needle turns round.
    ReverseWireCurrent(&base);
    QVERIFY(NearVec(RedTip(compass), -field));
}

void TestFields::compassOnTheWireKeepsItsTurn() {
    TDummyCube base;
    BuildStraightWire(&base, nullptr);
    TSceneObject* compass = base.Child(0);
    compass->SetPosition(0, 0.08f, -1);
    AlignCompass(&base);
    compass->SetPosition(0, 0.08f, 0);
    AlignCompass(&base);
    QCOMPARE(compass->TurnAngle(), 90.f);
}

void TestFields::compassStaysOnTheCard_data() {
    QTest::addColumn<QVector3D>("dragged");
    QTest::addColumn<QVector3D>("kept");
    QTest::newRow("inside") << QVector3D(1.5f, 0.08f, -2) << QVector3D(1.5f, 0.08f, -2);
    QTest::newRow("past the right edge") << QVector3D(2.6f, 0.08f, 0.5f) << QVector3D(2.25f, 0.08f, 0.5f);
    QTest::newRow("past a corner") << QVector3D(-3, 0.08f, 2.4f) << QVector3D(-2.25f, 0.08f, 2.25f);
}

void TestFields::compassStaysOnTheCard() {
    QFETCH(QVector3D, dragged);
    QFETCH(QVector3D, kept);
    TDummyCube base;
    BuildStraightWire(&base, nullptr);
    base.Child(0)->SetPosition(dragged);
    AlignCompass(&base);
    QVERIFY(NearVec(base.Child(0)->Position(), kept, 1e-6f));
}

void TestFields::compassHeight_data() {
    QTest::addColumn<int>("bar");
    QTest::addColumn<float>("card");
    QTest::addColumn<float>("compass");
    QTest::newRow("15") << 15 << 1.5f << 1.581f;
    QTest::newRow("0") << 0 << 0.f << 0.081f;
    QTest::newRow("-15") << -15 << -1.5f << -1.419f;
}

void TestFields::compassHeight() {
    QFETCH(int, bar);
    QFETCH(float, card);
    QFETCH(float, compass);
    TDummyCube base;
    BuildStraightWire(&base, nullptr);
    base.Child(0)->SetPosition(1.2f, 0.08f, -0.7f);
    SetCompassHeight(&base, bar);
    QVERIFY(std::abs(base.Child(3)->Position().y() - card) < 1e-6f);
    QVERIFY(std::abs(base.Child(0)->Position().y() - compass) < 1e-6f);
    QCOMPARE(base.Child(0)->Position().x(), 1.2f); // only the height changes
}

void TestFields::reverseTwiceRestoresTheBuiltLook() {
    TDummyCube base;
    BuildStraightWire(&base, nullptr);
    auto* compass = static_cast<TCompass*>(base.Child(0));
    TSceneObject* cone = base.Child(1);
    TSceneObject* head = base.Child(3)->Child(0);
    const QVector3D coneUp = cone->AbsoluteUp(), headUp = head->AbsoluteUp();
    QVERIFY(NearVec(coneUp, {0, 1, 0}));           // apex up
    QVERIFY(NearVec(headUp, {0, 0, -1}));          // arrowhead tip along -z at x = 2
    QVERIFY(WireState().WireCurrentUp);
    ReverseWireCurrent(&base);
    QVERIFY(!WireState().WireCurrentUp);
    QCOMPARE(compass->NeedleAngle(), 180.f);
    QVERIFY(NearVec(cone->AbsoluteUp(), {0, -1, 0}));
    QVERIFY(NearVec(head->AbsoluteUp(), {0, 0, 1}));
    ReverseWireCurrent(&base);
    QVERIFY(WireState().WireCurrentUp);
    QCOMPARE(compass->NeedleAngle(), 0.f);
    QVERIFY(NearVec(cone->AbsoluteUp(), coneUp));
    QVERIFY(NearVec(head->AbsoluteUp(), headUp));
    // A new build shows the current flowing up again.
    ReverseWireCurrent(&base);
    TDummyCube again;
    BuildStraightWire(&again, nullptr);
    QVERIFY(WireState().WireCurrentUp);
}

void TestFields::fieldDisplay() {
    TDummyCube base;
    BuildStraightWire(&base, nullptr);
    QCOMPARE(base.Count(), 4);
    QCOMPARE(base.Child(0)->Name, QStringLiteral("target"));
    TSceneObject* card = base.Child(3);
    QCOMPARE(card->Count(), 17); // arrowhead, 6 copies, circle, 9 copies
    for (int i = 0; i < card->Count(); ++i)
        QVERIFY(!card->Child(i)->Visible);
    // The arrowheads sit at x = 2, 1, 2/3, 1/2, 2/5, 1/3.
    for (int i = 1; i <= 6; ++i) {
        auto* proxy = dynamic_cast<TProxy*>(card->Child(i));
        QVERIFY(proxy && proxy->Master == card->Child(0));
        QVERIFY(std::abs(proxy->Position().x() + card->Child(0)->Position().x() - 2.f / float(i)) < 1e-6f);
    }
    auto* circle = dynamic_cast<TLines*>(card->Child(7));
    QVERIFY(circle);
    QCOMPARE(int(circle->Nodes.size()), 41);
    QVERIFY(NearVec(circle->Nodes.front(), circle->Nodes.back(), 1e-6f));
    QVERIFY(std::abs(circle->Nodes[10].length() - 2) < 1e-5f);
    for (int d = 2; d <= 10; ++d)
        QCOMPARE(card->Child(6 + d)->Scale().x(), 1.f / float(d));
    ToggleWireField(&base);
    for (int i = 0; i < card->Count(); ++i)
        QVERIFY(card->Child(i)->Visible);
    // A new build shows the display as it was left.
    TDummyCube again;
    BuildStraightWire(&again, nullptr);
    QVERIFY(again.Child(3)->Child(16)->Visible);
}

void TestFields::domainLattice() {
    TDummyCube base;
    BuildDomains(&base, nullptr);
    QCOMPARE(base.Count(), 2);
    TSceneObject* domains = base.Child(0);
    QCOMPARE(domains->Count(), 200);
    QVERIFY(NearVec(domains->Child(199)->Position(), {1.8f, 0.48f, 0.36f}, 1e-6f));
    QVERIFY(NearVec(domains->Child(57)->Position(), {1.4f, 0.0f, 0.12f}, 1e-6f));
    QCOMPARE(base.Child(1)->MaterialName, QStringLiteral("mtTransparent"));
}

void TestFields::domainsAtSpreadZeroAlongX() {
    TDummyCube base;
    BuildDomains(&base, nullptr);
    SetDomainSpread(&base, 360);
    int along = 0;
    for (int j = 0; j < 200; ++j)
        along += NearVec(ArrowDirection(&base, j), {1, 0, 0});
    QVERIFY(along < 10); // random directions first
    SetDomainSpread(&base, 0);
    for (int j = 0; j < 200; ++j)
        QVERIFY2(NearVec(ArrowDirection(&base, j), {1, 0, 0}), qPrintable(QString::number(j)));
}

void TestFields::domainsAtSpread360Repeat() {
    TDummyCube base;
    BuildDomains(&base, nullptr);
    SharedRandom().SetSeed(99);
    SetDomainSpread(&base, 360);
    std::vector<QVector3D> first;
    for (int j = 0; j < 200; ++j)
        first.push_back(ArrowDirection(&base, j));
    SetDomainSpread(&base, 120);
    SharedRandom().SetSeed(4242); // whatever drew in between
    SetDomainSpread(&base, 360);
    for (int j = 0; j < 200; ++j)
        QCOMPARE(ArrowDirection(&base, j), first[std::size_t(j)]);
}

void TestFields::earthFieldAt_data() {
    QTest::addColumn<float>("x");
    QTest::addColumn<float>("y");
    QTest::addColumn<float>("bx");
    QTest::addColumn<float>("by");
    QTest::addColumn<float>("magnitude");
    const float r3 = std::pow(1.64f, 1.5f);
    QTest::newRow("above the pole") << 0.f << 2.f << 0.f << 1 / 1.44f - 1 / 7.84f << 1 / 1.44f - 1 / 7.84f;
    QTest::newRow("at the equator") << 1.f << 0.f << 0.f << -1.6f / r3 << 1.6f / r3;
    QTest::newRow("far away: floor") << 10000.f << 0.f << 0.f << -1.6e-12f << 1e-8f;
}

void TestFields::earthFieldAt() {
    QFETCH(float, x);
    QFETCH(float, y);
    QFETCH(float, bx);
    QFETCH(float, by);
    QFETCH(float, magnitude);
    const TEarthField b = EarthFieldAt(x, y);
    QVERIFY(std::abs(b.Bx - bx) <= 1e-5f * std::max(1.f, std::abs(bx)));
    QVERIFY(std::abs(b.By - by) <= 1e-5f * std::max(1.f, std::abs(by)) + 1e-15f);
    QVERIFY(std::abs(b.Magnitude - magnitude) <= 1e-5f * magnitude);
}

void TestFields::earthLines_data() {
    QTest::addColumn<float>("x0");
    QTest::addColumn<float>("y0");
    QTest::addColumn<float>("h");
    QTest::addColumn<int>("n");
    QTest::newRow("outer") << 0.01f * std::cos(0.6981317f) << 0.8f + 0.01f * std::sin(0.6981317f) << 0.3f << 51;
    QTest::newRow("inner") << 0.01f << 0.8f << 0.2f << 21;
}

void TestFields::earthLines() {
    QFETCH(float, x0);
    QFETCH(float, y0);
    QFETCH(float, h);
    QFETCH(int, n);
    const TEarthLine line = TraceEarthLine(x0, y0, h, n);
    QVERIFY(line.Nodes.size() >= 3);
    QVERIFY(int(line.Nodes.size()) <= n + 1);
    QCOMPARE(line.Nodes.front(), QVector3D(x0, y0, 0));
    float xmax = 0;
    for (std::size_t i = 1; i < line.Nodes.size(); ++i) {
        xmax = std::max(xmax, line.Nodes[i].x());
        QVERIFY(line.Nodes[i].x() >= x0);
        QVERIFY(std::abs((line.Nodes[i] - line.Nodes[i - 1]).length() - h) < 1e-4f);
    }
    QCOMPARE(line.XMax, xmax);
    // The line leaves the north pole outwards and comes back below the equator.
    QVERIFY(line.Nodes.back().y() < 0);
}

void TestFields::earthScene() {
    TDummyCube base;
    BuildEarthField(&base, nullptr);
    QCOMPARE(base.Count(), 12);
    QVERIFY(dynamic_cast<TSphere*>(base.Child(0)));
    QVERIFY(NearVec(base.Child(2)->AbsoluteUp(), {0, -1, 0})); // apex down
    TSceneObject* plane = base.Child(4);
    QCOMPARE(plane->Count(), 4);
    for (int l : {0, 2}) {
        auto* line = dynamic_cast<TLines*>(plane->Child(l));
        QVERIFY(line);
        float xmax = 0;
        for (const QVector3D& p : line->Nodes)
            xmax = std::max(xmax, p.x());
        QCOMPARE(plane->Child(l + 1)->Position(), QVector3D(xmax, -0.01f, 0));
    }
    QVERIFY(static_cast<TLines*>(plane->Child(0))->Nodes.size() <= 52);
    QVERIFY(static_cast<TLines*>(plane->Child(2))->Nodes.size() <= 22);
    for (int i = 1; i <= 7; ++i) {
        auto* proxy = dynamic_cast<TProxy*>(base.Child(4 + i));
        QVERIFY(proxy && proxy->Master == plane);
        QCOMPARE(proxy->TurnAngle(), 45.f * float(i));
    }
}

void TestFields::straightWireFromItsPage() {
    TFrameFrm f(QStringLiteral(QUARVEL_CONTENT_DIR));
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    f.Topics->SelectTopic(20);
    TSceneObject* base = f.Host->SceneBase;
    QCOMPARE(base->Count(), 4);
    // Dragged round the wire with the left button, the compass turns with the field.
    {
        TSceneObject* target = base->Child(0);
        const TViewport view = f.Host->GLViewer->Viewport();
        QVERIFY(view.Size.width() > 100);
        const auto from = view.Project(target->AbsolutePosition());
        QVERIFY(from);
        f.Host->MousePressed(*from, Qt::LeftButton);
        QCOMPARE(f.PickedObject, target);
        for (float a = 0; a <= 90; a += 15) {
            const float r = a * 3.14159265f / 180;
            f.Host->MouseMoved(*view.Project(QVector3D(std::cos(r), target->AbsolutePosition().y(), std::sin(r))),
                               Qt::LeftButton);
        }
        const QVector3D p = target->Position();
        QVERIFY2(std::abs(p.x()) < 0.1f && std::abs(p.z() - 1) < 0.1f, qPrintable(QStringLiteral("%1 %2").arg(p.x()).arg(p.z())));
        QVERIFY(NearVec(RedTip(target), QVector3D(p.z(), 0, -p.x()).normalized()));
        // Far off the card, the compass stays on it.
        f.Host->MouseMoved(*view.Project(QVector3D(-6, target->AbsolutePosition().y(), 1)), Qt::LeftButton);
        QVERIFY(target->Position().x() >= -2.25f);
    }
    QVERIFY(!base->Child(3)->Child(0)->Visible);
    QVERIFY(f.RunPageCommand(QStringLiteral("+SF")));
    QVERIFY(base->Child(3)->Child(0)->Visible);
    // Kept across a topic change.
    f.Topics->SelectTopic(21);
    f.Topics->SelectTopic(20);
    base = f.Host->SceneBase;
    for (int i = 0; i < base->Child(3)->Count(); ++i)
        QVERIFY(base->Child(3)->Child(i)->Visible);
    // "Current" twice restores the built look; "+reverse" is the same step.
    auto* compass = static_cast<TCompass*>(base->Child(0));
    f.Host->FieldOrCurrentClicked(false);
    QCOMPARE(compass->NeedleAngle(), 180.f);
    QCOMPARE(base->Child(1)->PitchAngle(), 180.f);
    f.Host->FieldOrCurrentClicked(false);
    QCOMPARE(compass->NeedleAngle(), 0.f);
    QCOMPARE(base->Child(1)->PitchAngle(), 0.f);
    QVERIFY(f.RunPageCommand(QStringLiteral("+reverse")));
    QCOMPARE(compass->NeedleAngle(), 180.f);
    // The scroll bar lifts card and compass.
    f.Host->ScrollMoved(15);
    QVERIFY(std::abs(base->Child(3)->Position().y() - 1.5f) < 1e-6f);
    QVERIFY(f.RunPageCommand(QStringLiteral("+SF")));
    QVERIFY(!base->Child(3)->Child(0)->Visible);
}

void TestFields::domainsAndEarthFromTheirPages() {
    TFrameFrm f(QStringLiteral(QUARVEL_CONTENT_DIR));
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    f.Topics->SelectTopic(21);
    TSceneObject* base = f.Host->SceneBase;
    QCOMPARE(base->Count(), 2);
    QVERIFY(!NearVec(ArrowDirection(base, 5), {1, 0, 0}));
    QVERIFY(f.RunPageCommand(QStringLiteral("+mag")));
    QCOMPARE(f.Host->BarValue(), 360);
    for (int j = 0; j < 200; ++j)
        QVERIFY(NearVec(ArrowDirection(base, j), {1, 0, 0}));
    f.Topics->SelectTopic(17);
    base = f.Host->SceneBase;
    QCOMPARE(base->Count(), 12);
    // The globe's own material carries the map; the planets' is left alone.
    QVERIFY(base->Child(0)->Material().HasTexture());
    QVERIFY(base->Child(0)->MaterialName.isEmpty());
}

QUARVEL_GUI_TEST_MAIN(TestFields)
#include "tst_fields.moc"
