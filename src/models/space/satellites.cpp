#include "models/space/satellites.h"

#include "common/rounding.h"
#include "host/host.h"
#include "scene/primitives.h"
#include "scene/solids.h"
#include "scene/viewer.h"

#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QPainter>
#include <QPalette>
#include <cmath>
#include <functional>

namespace quarvel {

namespace {
constexpr double kPi = 3.14159265358979;
constexpr float kDeg = float(kPi / 180);

// Wraps an angle in degrees into -180..180.
float Wrap180(float a) {
    a = std::fmod(a + 180.f, 360.f);
    if (a < 0)
        a += 360;
    return a - 180;
}

// Redraws a strip whenever it changes size.
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

void SunkenEdge(QPainter& p, const QRect& r) {
    const int l = r.left(), t = r.top(), ri = r.right(), b = r.bottom();
    p.setPen(QColor(128, 128, 128));
    p.drawLine(l, t, ri, t);
    p.drawLine(l, t, l, b);
    p.setPen(QColor(64, 64, 64));
    p.drawLine(l + 1, t + 1, ri - 1, t + 1);
    p.drawLine(l + 1, t + 1, l + 1, b - 1);
    p.setPen(Qt::white);
    p.drawLine(l, b, ri, b);
    p.drawLine(ri, t, ri, b);
    p.setPen(QColor(212, 208, 200));
    p.drawLine(l + 1, b - 1, ri - 1, b - 1);
    p.drawLine(ri - 1, t + 1, ri - 1, b - 1);
}
} // namespace

// --- Satellites ---

float GlobeLongitude(const QVector3D& local) {
    // The sphere's texture column runs with atan2(x, z); the picture's left
    // edge (180 W) sits a quarter turn on.
    const float a = std::atan2(local.x(), local.z()) / kDeg;
    return Wrap180(a + 90);
}

QVector3D PolarSatellitePosition(float x) {
    const float a = 6 * x * kDeg;
    return {0, kPolarRadius * std::sin(a), kPolarRadius * std::cos(a)};
}

QVector3D GeostationaryPosition(float x) {
    const float a = x * kDeg;
    return {kGeostationaryRadius * std::cos(a), 0, -kGeostationaryRadius * std::sin(a)};
}

TGroundPoint GroundPoint(float x) {
    // The orbit lies in the y-z plane: in front (+z) until the first pole at
    // x = 15, behind until the next at 45, and so on; the Earth has turned x
    // degrees eastwards beneath it, so the track drifts west.
    const std::int64_t poles = Trunc((double(x) + 15) / 30);
    const float longitude = Wrap180(90 - x + 180 * float(Mod(poles, 2)));
    return {longitude, std::sin(6 * x * kDeg)};
}

QPoint GroundTrackDot(float x, int w, int h) {
    const TGroundPoint g = GroundPoint(x);
    const int cy = int(Div(h, 2));
    const int px = int(RoundHalfEven((double(g.Longitude) + 180) * w / 360));
    const int py = cy - int(RoundHalfEven(double(g.SinLatitude) * cy));
    return {px, py};
}

QImage GroundTrackDotPicture() {
    QImage dot(11, 11, QImage::Format_ARGB32_Premultiplied);
    dot.fill(Qt::transparent);
    QPainter p(&dot);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(96, 0, 0), 1.5));
    p.setBrush(QColor(255, 24, 24));
    p.drawEllipse(QPointF(5.5, 5.5), 4.6, 4.6);
    return dot;
}

void DrawGroundTrack(QImage& strip, const QImage& map, float x, const QColor& background) {
    if (strip.isNull())
        return;
    strip.fill(background);
    if (map.isNull())
        return;
    QPainter p(&strip);
    const int w = map.width(), h = map.height();
    const int left = std::max(0, (strip.width() - w) / 2);
    p.drawImage(left, 0, map);
    const QPoint c = GroundTrackDot(x, w, h);
    static const QImage dot = GroundTrackDotPicture();
    // Near the map's edge the dot shows on both sides, as the track wraps round.
    p.setClipRect(QRect(left, 0, w, h));
    for (int shift : {-w, 0, w})
        p.drawImage(left + c.x() + shift - 5, c.y() - 5, dot);
    p.setClipping(false);
    SunkenEdge(p, QRect(left, 0, w, h));
}

void BuildSatellitesScene(TSceneObject* base) {
    auto* earth = base->AddNew<TSphere>();
    earth->SetRadius(1);
    earth->SetSlices(32);
    earth->SetStacks(32);
    earth->MaterialName = QStringLiteral("txEarth");
    earth->Name = QStringLiteral("Earth");
    auto* axis = earth->AddNew<TLines>();
    axis->SetNodes({{0, 1.5f, 0}, {0, -1.5f, 0}});
    auto* geo = earth->AddNew<TSphere>();
    geo->SetRadius(0.15f);
    geo->MaterialName = QStringLiteral("Green");
    geo->SetPosition(kGeostationaryRadius, 0, 0);
    geo->Name = QStringLiteral("geostationary");

    auto* node = base->AddNew<TDummyCube>();
    node->SetTurnAngle(-90);
    auto* polar = node->AddNew<TSphere>();
    polar->SetRadius(0.15f);
    polar->MaterialName = QStringLiteral("Red");
    polar->SetPosition(kPolarRadius, 0, 0);
    polar->Name = QStringLiteral("polar");

    std::vector<QVector3D> circle;
    for (int k = 0; k <= 40; ++k) {
        const float t = float(k) * float(2 * kPi / 40);
        circle.emplace_back(kGeostationaryRadius * std::cos(t), 0, -kGeostationaryRadius * std::sin(t));
    }
    auto* orbit = base->AddNew<TLines>();
    orbit->SetNodes(std::move(circle));
    orbit->Antialiased = true;
    auto* polarOrbit = base->AddNew<TProxy>();
    polarOrbit->Master = orbit;
    polarOrbit->ObjectsOnly = true;
    polarOrbit->SetRollAngle(90);
    polarOrbit->SetScale(0.3f);
}

void UpdateSatellitesScene(TSceneObject* base, float x) {
    if (base->Count() < 4)
        return;
    base->Child(0)->SetTurnAngle(x); // west to east, once a day
    base->Child(1)->SetRollAngle(6 * x);
}

TSatellitesModel::TSatellitesModel(THost& host, std::int32_t id) : TSatellitesTopic(host, id) {}

TSatellitesModel::~TSatellitesModel() = default;

void TSatellitesModel::Build() {
    BuildSatellitesScene(Host.SceneBase);
    if (QLabel* strip = Host.C.Moonpic) {
        strip->setMinimumWidth(1);
        m_resizeWatch = std::make_unique<TStripWatch>([this] { DrawStrip(float(Host.BarValue())); });
        strip->installEventFilter(m_resizeWatch.get());
    }
}

void TSatellitesModel::Update(float position) {
    UpdateSatellitesScene(Host.SceneBase, position);
    Host.GLViewer->update();
}

void TSatellitesModel::DrawStrip(float position) {
    QLabel* label = Host.C.Moonpic;
    if (!label)
        return;
    const int width = std::max(292, label->width());
    const QImage& map = Host.BitmapList[0];
    const QPoint dot = map.isNull() ? QPoint() : GroundTrackDot(position, map.width(), map.height());
    if (dot == m_dot && width == m_width && label->pixmap().width() == width)
        return; // the same picture
    m_dot = dot;
    m_width = width;
    QImage strip(width, 130, QImage::Format_RGB32);
    DrawGroundTrack(strip, map, position, QApplication::palette().color(QPalette::Button));
    label->setPixmap(QPixmap::fromImage(strip));
}

// --- Gravity ---

TLaunchState& GravityState() {
    static TLaunchState state;
    return state;
}

void SetLaunch(TLaunchState& s, float x, float y, float vx) {
    s.X = x;
    s.Y = y;
    s.VX = vx;
    s.VY = 0;
}

bool StepGravity(TLaunchState& s) {
    const float dt = 0.001f;
    for (int i = 0; i < 50; ++i) {
        const float x = s.X + s.VX * dt, y = s.Y + s.VY * dt;
        const float d = std::sqrt(x * x + y * y);
        if (d < 1.0f)
            return false; // the satellite's surface would touch the Earth's
        const float g = 1 / (d * d * d);
        s.VX -= x * g * dt;
        s.VY -= y * g * dt;
        s.X = x;
        s.Y = y;
    }
    return true;
}

float SatelliteRoll(const TLaunchState& s) {
    // Local -y is (sin r, -cos r) after a roll r; it must point along (-X, -Y).
    return std::atan2(-s.X, s.Y) / kDeg;
}

void BuildGravityScene(TSceneObject* base, float vx) {
    auto* earth = base->AddNew<TSphere>();
    earth->SetRadius(0.9f);
    earth->SetSlices(32);
    earth->SetStacks(32);
    earth->SetTurnAngle(180);
    earth->MaterialName = QStringLiteral("txEarth");
    earth->Name = QStringLiteral("Earth");
    auto* satellite = base->AddNew<TSphere>();
    satellite->SetRadius(0.1f);
    satellite->SetPosition(0, 2, 0);
    satellite->MaterialName = QStringLiteral("Red");
    satellite->Name = QStringLiteral("satellite");
    auto arrow = [satellite](float length, const char* material) {
        auto* a = satellite->AddNew<TArrowLine>();
        a->SetLength(length);
        a->SetRadii(0.01f, 0.04f);
        a->SetHeadLength(0.08f);
        a->SetSlices(8);
        a->MaterialName = QLatin1String(material);
        return a;
    };
    TArrowLine* pull = arrow(0.5f, "Green");
    pull->SetPitchAngle(-90);
    pull->SetPosition(0, -0.25f, 0);
    TArrowLine* velocity = arrow(vx, "Blue");
    velocity->SetTurnAngle(90);
    velocity->SetPosition(vx / 2, 0, 0);
}

void PlaceSatellite(TSceneObject* base, const TLaunchState& s) {
    if (base->Count() < 2)
        return;
    TSceneObject* satellite = base->Child(1);
    satellite->SetPosition(s.X, s.Y, 0);
    satellite->SetRollAngle(SatelliteRoll(s));
}

void SetVelocityArrow(TSceneObject* base, float length) {
    if (base->Count() < 2 || base->Child(1)->Count() < 2)
        return;
    auto* arrow = static_cast<TArrowLine*>(base->Child(1)->Child(1));
    arrow->SetLength(length);
    arrow->SetPosition(length / 2, 0, 0);
    arrow->Visible = true;
}

void ShowVelocityArrow(TSceneObject* base, bool visible) {
    if (base->Count() < 2 || base->Child(1)->Count() < 2)
        return;
    base->Child(1)->Child(1)->Visible = visible;
}

void TGravityModel::Build() { BuildGravityScene(Host.SceneBase, GravityState().VX); }

void TGravityModel::SetLaunch(float speed) { quarvel::SetLaunch(GravityState(), 0, 2, speed); }

void TGravityModel::SetPosition(float length) {
    SetVelocityArrow(Host.SceneBase, length);
    if (length <= 0)
        ShowVelocityArrow(Host.SceneBase, false);
}

void TGravityModel::Redraw() {
    PlaceSatellite(Host.SceneBase, GravityState());
    Host.GLViewer->update();
}

bool TGravityModel::Step() { return StepGravity(GravityState()); }

void RegisterSatelliteModels() {
    RegisterTopicModel(6, [](THost& h, std::int32_t id) { return std::make_unique<TSatellitesModel>(h, id); });
    RegisterTopicModel(7, [](THost& h, std::int32_t id) { return std::make_unique<TGravityModel>(h, id); });
}

} // namespace quarvel
