#include "models/space/sunearthmoon.h"

#include "common/rounding.h"
#include "host/host.h"
#include "scene/camera.h"
#include "scene/solids.h"
#include "scene/viewer.h"

#include <QAction>
#include <QEvent>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <cmath>
#include <functional>

namespace quarvel {

namespace {
constexpr float kPi = 3.14159265f;
constexpr float kDeg = kPi / 180;

TLines* AddLine(TSceneObject* parent, std::vector<QVector3D> nodes, QColor colour, bool antialiased = false) {
    auto* line = parent->AddNew<TLines>();
    line->SetNodes(std::move(nodes));
    line->LineColor = colour;
    line->Antialiased = antialiased;
    return line;
}

// The lit side of a body facing a light; its own colours, no texture.
void SetColours(TSceneObject* o, QVector4D ambient, QVector4D diffuse, QVector4D emission = {0, 0, 0, 1}) {
    TMaterial& m = o->Material();
    m.Ambient = ambient;
    m.Diffuse = diffuse;
    m.Emission = emission;
}

void PointLights(TLight* light1, TLight* light2, const QVector3D& direction) {
    for (TLight* l : {light1, light2})
        if (l)
            l->SpotDirection = direction.normalized();
}

// An Earth whose axis leans towards the Sun on +x: (sin 23, cos 23, 0).
void Tilt(TSceneObject* o) { o->SetRollAngle(-23); }
} // namespace

QVector3D SphericalPoint(float longitude, float latitude, float radius) {
    const float lon = longitude * kDeg, lat = latitude * kDeg;
    return {radius * std::cos(lat) * std::cos(lon), radius * std::sin(lat), radius * std::cos(lat) * std::sin(lon)};
}

std::vector<QVector3D> CircleNodes(float radius) {
    std::vector<QVector3D> nodes;
    for (int i = 0; i <= 50; ++i) {
        const float t = float(i) * 0.12566371f;
        nodes.emplace_back(radius * std::cos(t), 0, radius * std::sin(t));
    }
    return nodes;
}

void TGlobe::BuildGeometry(TMesh& mesh) {
    if (m_shown)
        TSphere::BuildGeometry(mesh);
}

// --- Moon phases ---

QVector3D MoonPhaseMoonPosition(float x) {
    const float f = x * kDeg / 28;
    return {4 * std::cos(f), 0, -4 * std::sin(f)};
}

int MoonPhaseEdge(float x) { return int(RoundHalfEven(60 * std::cos(double(x) * 0.00062333))); }

std::vector<QPoint> MoonPhasePolygon(float x, int cx, int cy) {
    const int m = MoonPhaseEdge(x);
    // Waxing: the lit part grows from the right; waning: it shrinks to the left.
    const int side = x <= 5040 ? 1 : -1;
    std::vector<QPoint> p;
    for (int i = 0; i <= 90; ++i) {
        const double a = (i * 2 - 90) * 3.14159265358979 / 180;
        p.emplace_back(cx + side * int(RoundHalfEven(m * std::cos(a))), cy - int(RoundHalfEven(60 * std::sin(a))));
    }
    p.emplace_back(cx + side * 60, cy - 60);
    p.emplace_back(cx + side * 60, cy + 60);
    return p;
}

QString MoonDayText(float x) { return QStringLiteral("Day %1").arg(Div(Trunc(x), 360)); }

void DrawMoonPhase(QImage& strip, const QImage& fullMoon, float x) {
    if (strip.isNull())
        return;
    strip.fill(Qt::black);
    QPainter p(&strip);
    const int w = strip.width(), h = strip.height();
    if (!fullMoon.isNull()) {
        const int cx = w / 2, cy = h / 2;
        QPainterPath disc;
        disc.addEllipse(QPointF(cx, cy), 60, 60);
        QPolygonF polygon;
        for (const QPoint& q : MoonPhasePolygon(x, cx, cy))
            polygon << QPointF(q);
        QPainterPath edge;
        edge.setFillRule(Qt::WindingFill);
        edge.addPolygon(polygon);
        edge.closeSubpath();
        const QPainterPath lit = disc.intersected(edge);
        // The picture's own disc lies in its middle, whatever the picture's size.
        QBrush moon(fullMoon);
        moon.setTransform(QTransform::fromTranslate(cx - fullMoon.width() / 2, cy - fullMoon.height() / 2));
        p.setRenderHint(QPainter::Antialiasing);
        p.fillPath(lit, moon);
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setPen(Qt::white);
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPixelSize(12);
        p.setFont(font);
        p.drawText(QRect(5, 5, w - 10, 20), Qt::AlignLeft | Qt::AlignTop, MoonDayText(x));
    }
    // A sunken edge: dark above and left, light below and right.
    p.setPen(QColor(128, 128, 128));
    p.drawLine(0, 0, w - 1, 0);
    p.drawLine(0, 0, 0, h - 1);
    p.setPen(QColor(64, 64, 64));
    p.drawLine(1, 1, w - 2, 1);
    p.drawLine(1, 1, 1, h - 2);
    p.setPen(QColor(255, 255, 255));
    p.drawLine(0, h - 1, w - 1, h - 1);
    p.drawLine(w - 1, 0, w - 1, h - 1);
    p.setPen(QColor(212, 208, 200));
    p.drawLine(1, h - 2, w - 2, h - 2);
    p.drawLine(w - 2, 1, w - 2, h - 2);
}

void BuildMoonPhaseScene(TSceneObject* base) {
    auto* group = base->AddNew<TDummyCube>();
    Tilt(group);
    group->SetTurnAngle(150);
    auto* earth = group->AddNew<TSphere>();
    earth->SetRadius(1);
    earth->MaterialName = QStringLiteral("txEarth");
    earth->Name = QStringLiteral("Earth");
    AddLine(group, {{0, 2, 0}, {0, -2, 0}}, Qt::white);
    auto* moon = base->AddNew<TSphere>();
    moon->SetRadius(0.5f);
    moon->SetPosition(4, 0, 0);
    SetColours(moon, {0, 0, 0, 1}, {0.6f, 0.6f, 0.6f, 1});
    moon->Name = QStringLiteral("Moon");
    AddLine(base, CircleNodes(4), Qt::white);
}

void UpdateMoonPhaseScene(TSceneObject* base, float x) {
    if (base->Count() < 3)
        return;
    base->Child(0)->SetTurnAngle(x + 150);
    base->Child(1)->SetPosition(MoonPhaseMoonPosition(x));
}

namespace {
// Redraws the strip for the bar's position whenever the strip changes size.
class TStripWatch : public QObject {
public:
    explicit TStripWatch(std::function<void()> redraw) : m_redraw(std::move(redraw)) {}
    bool eventFilter(QObject* o, QEvent* e) override {
        if (e->type() == QEvent::Resize)
            m_redraw();
        return QObject::eventFilter(o, e);
    }

private:
    std::function<void()> m_redraw;
};
} // namespace

TMoonPhaseModel::TMoonPhaseModel(THost& host, std::int32_t id) : TMoonPhaseTopic(host, id) {}

TMoonPhaseModel::~TMoonPhaseModel() = default;

void TMoonPhaseModel::Build() {
    BuildMoonPhaseScene(Host.SceneBase);
    if (QLabel* strip = Host.C.Moonpic) {
        // The strip follows the pane's width, also when the pane narrows.
        strip->setMinimumWidth(1);
        m_resizeWatch = std::make_unique<TStripWatch>([this] { DrawStrip(float(Host.BarValue())); });
        strip->installEventFilter(m_resizeWatch.get());
    }
}

void TMoonPhaseModel::Update(float position) {
    UpdateMoonPhaseScene(Host.SceneBase, position);
    Host.GLViewer->update();
}

void TMoonPhaseModel::DrawStrip(float position) {
    QLabel* label = Host.C.Moonpic;
    if (!label)
        return;
    const int width = std::max(1, label->width());
    // The picture changes a few times a second while the animation runs.
    const QString shown = QStringLiteral("%1 %2 %3 %4")
                              .arg(width)
                              .arg(MoonPhaseEdge(position))
                              .arg(position <= 5040)
                              .arg(MoonDayText(position));
    if (shown == m_shown && label->pixmap().width() == width)
        return;
    m_shown = shown;
    QImage strip(width, 130, QImage::Format_RGB32);
    DrawMoonPhase(strip, Host.BitmapList[0], position);
    label->setPixmap(QPixmap::fromImage(strip));
}

// --- Eclipses ---

QVector3D EclipseEarthPosition(float x) {
    const float b = 0.1f * x * kDeg;
    return {50 * std::cos(b), 0, -50 * std::sin(b)};
}

QVector3D EclipseMoonLocalPosition(float x) {
    const float a = 0.1f * x * 12 * kDeg;
    return {-20 * std::sin(a), 0, 20 * std::cos(a)};
}

QVector3D EclipseLightDirection(float x) {
    const float b = 0.1f * x * kDeg;
    return {-std::cos(b), 0, std::sin(b)};
}

void BuildEclipseScene(TSceneObject* base) {
    auto* sun = base->AddNew<TSphere>();
    sun->SetRadius(3);
    SetColours(sun, {0, 0, 0, 1}, {0, 0, 0, 1}, {1, 1, 0, 1});
    sun->Name = QStringLiteral("Sun");
    auto* earth = sun->AddNew<TGlobe>();
    earth->SetRadius(5);
    earth->SetPosition(50, 0, 0);
    earth->SetRollAngle(23);
    earth->MaterialName = QStringLiteral("txEarth");
    earth->Name = QStringLiteral("Earth");
    auto* moon = earth->AddNew<TSphere>();
    moon->SetRadius(1.35f);
    moon->SetPosition(0, 0, 20);
    SetColours(moon, {0.9176f, 0.9176f, 0.6784f, 1}, {0.9176f, 0.9176f, 0.6784f, 1});
    moon->Name = QStringLiteral("Moon");
    AddLine(earth, CircleNodes(20), QColor::fromRgbF(0.196f, 0.8f, 0.196f));
    TLines* sunEarth = AddLine(base, {{0, 0, 0}, {50, 0, 0}}, Qt::white);
    sunEarth->StipplePattern = 0xCCCC;
    AddLine(base, CircleNodes(50), Qt::white);
}

void UpdateEclipseScene(TSceneObject* base, TLight* light1, TLight* light2, float x) {
    if (base->Count() < 3)
        return;
    TSceneObject* earth = base->Child(0)->Child(0);
    earth->SetPosition(EclipseEarthPosition(x));
    earth->Child(0)->SetPosition(EclipseMoonLocalPosition(x));
    base->Child(1)->SetTurnAngle(0.1f * x);
    PointLights(light1, light2, EclipseLightDirection(x));
}

void ShowEclipseEarthFrom(TSceneObject* base, const QVector3D& eye) {
    if (base->Count() < 3)
        return;
    auto* earth = dynamic_cast<TGlobe*>(base->Child(0)->Child(0));
    if (!earth)
        return;
    // Within two radii of the centre the globe would fill the view, and
    // the lines through the Earth would cross the Sun and the Moon.
    const bool away = (eye - earth->AbsolutePosition()).length() > 2 * earth->Radius();
    earth->ShowSurface(away);
    earth->Child(1)->Visible = away; // the Moon's orbit
    base->Child(1)->Visible = away;  // the Sun-Earth line
    base->Child(2)->Visible = away;  // the Earth's orbit
}

void TEclipseModel::Build() { BuildEclipseScene(Host.SceneBase); }

void TEclipseModel::Update(float position) {
    UpdateEclipseScene(Host.SceneBase, Host.SpaceLight1, Host.SpaceLight2, position);
    ShowEclipseEarthFrom(Host.SceneBase, Host.GLCamera->AbsolutePosition());
    Host.GLViewer->update();
}

// --- Day and night ---

void BuildDayNightScene(TSceneObject* base) {
    auto* earth = base->AddNew<TSphere>();
    earth->SetRadius(1);
    earth->SetSlices(32);
    earth->SetStacks(32);
    earth->MaterialName = QStringLiteral("txEarth");
    earth->Name = QStringLiteral("Earth");
    Tilt(earth);
    auto* markers = earth->AddNew<TPoints>();
    markers->SetPoints({SphericalPoint(65, 50, 1.01f), SphericalPoint(90, 0, 1.01f), SphericalPoint(115, -50, 1.01f)},
                       {QColor(255, 0, 0), QColor(0, 255, 0), QColor(255, 255, 0)});
    markers->Round = true;
    markers->Size = 5;
    markers->Visible = false;
    AddLine(earth, {{0, 2, 0}, {0, -2, 0}}, Qt::white, true);
    TLines* arrow = AddLine(base,
                            {{100, 0, 0}, {0.1f, 0, 0}, {0.1f, 0.05f, 0}, {0, 0, 0}, {0.1f, -0.05f, 0}, {0.1f, 0, 0}},
                            Qt::yellow, true);
    arrow->SetPosition(1.7f, -1, 0);
    for (int i = 1; i <= 10; ++i) {
        auto* copy = base->AddNew<TProxy>();
        copy->Master = arrow;
        copy->SetPosition(0, 0.2f * float(i), 0);
    }
}

void UpdateDayNightScene(TSceneObject* base, float x) {
    if (base->Count() < 1)
        return;
    base->Child(0)->SetTurnAngle(x);
}

void ShowDayNightMarkers(TSceneObject* base, bool visible) {
    if (base->Count() < 1 || base->Child(0)->Count() < 1)
        return;
    base->Child(0)->Child(0)->Visible = visible;
}

void TDayNightModel::Build() {
    BuildDayNightScene(Host.SceneBase);
    // The markers show what the "D" button says, also after a return to the topic.
    ShowDayNightMarkers(Host.SceneBase, Host.C.Markers && Host.C.Markers->isChecked());
}

void TDayNightModel::Update(float position) {
    UpdateDayNightScene(Host.SceneBase, position);
    Host.GLViewer->update();
}

void TDayNightModel::SetMarkers(bool on) {
    ShowDayNightMarkers(Host.SceneBase, on);
    Host.GLViewer->update();
}

// --- Seasons ---

QVector3D SeasonsEarthPosition(float x) {
    const float a = -x * kDeg;
    return {5 * std::cos(a), 0, 5 * std::sin(a)};
}

void BuildSeasonsScene(TSceneObject* base) {
    auto* group = base->AddNew<TDummyCube>();
    group->SetPosition(5, 0, 0);
    Tilt(group);
    group->SetTurnAngle(150);
    auto* earth = group->AddNew<TSphere>();
    earth->SetRadius(1);
    earth->SetSlices(32);
    earth->SetStacks(32);
    earth->MaterialName = QStringLiteral("txEarth");
    earth->Name = QStringLiteral("Earth");
    auto* place = earth->AddNew<TPoints>();
    place->SetPoints({SphericalPoint(180, 52, 1.01f)}, {QColor(255, 0, 0)});
    place->Round = true;
    place->Size = 5;
    AddLine(group, {{0, 2, 0}, {0, -2, 0}}, Qt::white);
    auto* sun = base->AddNew<TSphere>();
    SetColours(sun, {0, 0, 0, 1}, {0, 0, 0, 1}, {1, 1, 0, 1});
    sun->Name = QStringLiteral("Sun");
    AddLine(base, CircleNodes(5), Qt::white);
}

void UpdateSeasonsScene(TSceneObject* base, TLight* light1, TLight* light2, float x) {
    if (base->Count() < 3)
        return;
    const QVector3D p = SeasonsEarthPosition(x);
    base->Child(0)->SetPosition(p);
    PointLights(light1, light2, -p);
}

void TSeasonsModel::Build() { BuildSeasonsScene(Host.SceneBase); }

void TSeasonsModel::Update(float position) {
    UpdateSeasonsScene(Host.SceneBase, Host.SpaceLight1, Host.SpaceLight2, position);
    Host.GLViewer->update();
}

void RegisterSunEarthMoonModels() {
    RegisterTopicModel(1, [](THost& h, std::int32_t id) { return std::make_unique<TMoonPhaseModel>(h, id); });
    RegisterTopicModel(2, [](THost& h, std::int32_t id) { return std::make_unique<TEclipseModel>(h, id); });
    RegisterTopicModel(3, [](THost& h, std::int32_t id) { return std::make_unique<TDayNightModel>(h, id); });
    RegisterTopicModel(4, [](THost& h, std::int32_t id) { return std::make_unique<TSeasonsModel>(h, id); });
}

} // namespace quarvel
