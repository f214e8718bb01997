#include "host/host.h"

#include "common/contentpath.h"
#include "common/rounding.h"
#include "host/protractor.h"
#include "host/speedfrm.h"
#include "scene/picking.h"
#include "scene/viewer.h"
#include "host/globals.h"
#include "host/panel.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QMouseEvent>
#include <QWheelEvent>
#include <QLayout>
#include <QMenu>
#include <QScrollBar>
#include <QSpinBox>
#include <QTimer>
#include <cmath>

namespace quarvel {

namespace {
const QString kBarHint = QStringLiteral("Scroll through the animation");
const QString kViewHint = QStringLiteral("Use the left mouse button to rotate and the right mouse button to move");

struct TDragLimits {
    float X, Z;
};
std::optional<TDragLimits> DragLimits(std::int32_t id) {
    switch (id) {
    case 18: return TDragLimits{10, 20};
    case 19: return TDragLimits{10, 10};
    case 20: return TDragLimits{2.25f, 2.25f};
    case 22: return TDragLimits{3, 6};
    default: return std::nullopt;
    }
}
QString DragName(std::int32_t id) {
    return id == 18 || id == 19 ? QStringLiteral("raybox") : QStringLiteral("target");
}
} // namespace

// A turn animation in progress: one angle per step, driven by a timer so
// that nothing is freed under it; a topic change or Stop ends it.
struct THost::TTurn {
    bool Field = true;
    std::int32_t Topic = 0;
    TModel* Model = nullptr;
    std::vector<float> Angles;
    std::size_t Next = 0;
    bool TimerWasOn = false;
};

THost::THost(TFrameState& state, THostControls controls, QObject* parent)
    : QObject(parent), S(state), C(std::move(controls)) {
    m_root = std::make_unique<TDummyCube>();
    RootDC = m_root->AddNew<TDummyCube>();
    RootDC->Name = QStringLiteral("RootDC");
    SpaceLight2 = RootDC->AddNew<TLight>();
    SpaceLight1 = RootDC->AddNew<TLight>();
    for (TLight* l : {SpaceLight1, SpaceLight2}) {
        l->On = false;
        l->ConstantAttenuation = 1;
        // Plain white sunlight: no highlight, which would wash the Earth's
        // texture (shiny by its material) out to white over its day side.
        l->Specular = {0, 0, 0, 1};
    }
    SpaceLight1->Name = QStringLiteral("SpaceLight1");
    SpaceLight2->Name = QStringLiteral("SpaceLight2");
    SceneBase = RootDC->AddNew<TDummyCube>();
    SceneBase->Name = QStringLiteral("SceneBase");
    FontDC = RootDC->AddNew<TDummyCube>();
    FontDC->Name = QStringLiteral("FontDC");

    GLCamera = m_root->AddNew<TCamera>();
    GLCamera->Name = QStringLiteral("GLCamera");
    GLCamera->TargetObject = RootDC;
    GLCamera->DepthOfView = 1000;
    GLCamera->FocalLength = 100;
    GLCamera->SetPosition(0, 0, 10);
    GLLightSource1 = GLCamera->AddNew<TLight>();
    GLLightSource1->SetPosition(100, 100, 100);
    GLLightSource1->Ambient = GLLightSource1->Diffuse = GLLightSource1->Specular = {0.5f, 0.5f, 0.5f, 1};
    GLLightSource1->SpotDirection = {5, 4, 7};
    GLLightSource2 = GLCamera->AddNew<TLight>();
    GLLightSource2->SetPosition(-100, 0, 100);
    GLLightSource2->Diffuse = {0.5f, 0.5f, 0.5f, 1};
    GLLightSource2->Specular = {0.4f, 0.4f, 0.4f, 1};
    GLLightSource2->SpotDirection = {-8, -3, -10};

    AddCourseMaterials(MatLib);
    ModelFactory = [](THost& host, std::int32_t id) { return CreateTopicModel(host, id); };

    GLViewer = new TSceneViewer();
    GLViewer->setObjectName(QStringLiteral("GLViewer"));
    GLViewer->Root = m_root.get();
    GLViewer->Camera = GLCamera;
    GLViewer->Library = &MatLib;
    m_viewer = GLViewer;
    QWidget* container = GLViewer->Container(C.ViewParent);
    m_viewContainer = container;
    container->setObjectName(QStringLiteral("GLViewerContainer"));
    GLViewer->SetHint(QStringLiteral("Use the left mouse button to rotate and the right button to pan."));
    if (C.ViewPlaceholder && C.ViewParent && C.ViewParent->layout()) {
        delete C.ViewParent->layout()->replaceWidget(C.ViewPlaceholder, container);
        C.ViewPlaceholder->hide();
        C.ViewPlaceholder->deleteLater();
    }
    connect(GLViewer->Cadencer(), &TSceneCadencer::Progress, this, &THost::Tick);
    connect(GLViewer, &TSceneViewer::AfterRender, this, &THost::AfterRender);
    connect(GLViewer, &TSceneViewer::MousePressed, this,
            [this](QMouseEvent* e) { MousePressed(e->position(), e->buttons()); });
    connect(GLViewer, &TSceneViewer::MouseMoved, this,
            [this](QMouseEvent* e) { MouseMoved(e->position(), e->buttons()); });
    connect(GLViewer, &TSceneViewer::WheelTurned, this, [this](QWheelEvent* e) { WheelTurned(e->angleDelta().y()); });
    if (C.Bar)
        connect(C.Bar, &QScrollBar::valueChanged, this, &THost::ScrollMoved);

    if (C.Names)
        connect(C.Names, &QAction::toggled, this, [this](bool on) {
            if (auto* solar = dynamic_cast<TSolarSystemTopic*>(m_model.get()))
                solar->ShowNames(on);
        });
    if (C.Orbits && C.Planets) {
        connect(C.Orbits, &QAction::triggered, this, [this] {
            if (auto* solar = dynamic_cast<TSolarSystemTopic*>(m_model.get()))
                solar->ChooseView(false);
        });
        connect(C.Planets, &QAction::triggered, this, [this] {
            if (auto* solar = dynamic_cast<TSolarSystemTopic*>(m_model.get()))
                solar->ChooseView(true);
        });
        if (C.Scale && C.Scale->menu())
            connect(C.Scale->menu(), &QMenu::aboutToShow, this, [this] {
                C.Orbits->setChecked(!S.PlanetsToScale);
                C.Planets->setChecked(S.PlanetsToScale);
            });
    }

    // Topic 16's spins reach the trolley model; the strip follows the gate.
    auto speed = [this] { return dynamic_cast<TSpeedTopic*>(m_model.get()); };
    if (C.LightGate)
        connect(C.LightGate, &QSpinBox::valueChanged, this, [this, speed](int gate) {
            if (auto* trolley = speed()) {
                trolley->SetGatePosition(gate);
                trolley->DrawGateStrip(gate);
                GLViewer->update();
            }
        });
    if (C.RampAngle)
        connect(C.RampAngle, &QSpinBox::valueChanged, this, [this, speed](int degrees) {
            if (auto* trolley = speed()) {
                trolley->SetRampAngle(degrees);
                GLViewer->update();
            }
        });
    if (C.TrolleyMass)
        connect(C.TrolleyMass, &QSpinBox::valueChanged, this, [this, speed](int count) {
            if (auto* trolley = speed()) {
                trolley->ShowTrolleyMasses(count);
                GLViewer->update();
            }
        });

    m_turnTimer = new QTimer(this);
    m_turnTimer->setInterval(15);
    connect(m_turnTimer, &QTimer::timeout, this, [this] {
        if (!m_turn)
            return;
        TTurn& t = *m_turn;
        if (S.CurrentTopicId != t.Topic || m_model.get() != t.Model) {
            EndTurn(false); // the topic that asked for it is gone: nothing more to do
            return;
        }
        if (AbortLoops || t.Next >= t.Angles.size()) {
            EndTurn(true); // Stop ends it after the step it was on
            return;
        }
        auto* model = static_cast<TTurningTopic*>(t.Model);
        const float angle = t.Angles[t.Next++];
        if (t.Field)
            model->TurnField(angle);
        else
            model->TurnCurrent(angle);
        GLViewer->update();
    });

    m_protractor = new TProtractor(C.ViewParent ? C.ViewParent->window() : nullptr);
    m_protractor->hide();
    m_protractor->ReflectionAngle = [this] {
        auto* mirror = dynamic_cast<TPlaneMirrorTopic*>(m_model.get());
        return mirror ? mirror->ReflectionAngle() : -1.f;
    };
}

THost::~THost() {
    // The host owns the 3D view (through its container): it goes before the
    // scene it draws, and the owner of the host makes sure the host goes
    // before the panes the view sits in.
    if (m_viewer)
        m_viewer->Root = nullptr;
    delete m_viewContainer.data();
    delete m_viewer.data(); // a view that never got a container
    GLViewer = nullptr;
}

void THost::LoadPlanetMaterials(const QString& texturesFolder) {
    MatLib.TextureFolder = texturesFolder;
    const std::pair<const char*, const char*> planets[] = {
        {"txMercury", "Mercury.jpg"}, {"txVenus", "venus.jpg"},     {"txEarth", "EarthMap.jpg"},
        {"txMars", "Mars.jpg"},       {"txJupiter", "Jupiter.jpg"}, {"txSaturn", "Saturn.jpg"},
        {"txSatRings", "SaturnRings.jpg"}, {"txNeptune", "Neptune.jpg"}, {"txUranus", "Uranus.jpg"},
        {"txPluto", "Pluto.jpg"}};
    for (auto [name, file] : planets) {
        const QString path = ResolveContentPath(texturesFolder, QLatin1String(file));
        if (path.isEmpty())
            continue; // a missing picture leaves its material out
        TMaterial m;
        if (!m.LoadTexture(path))
            continue;
        TMaterial& added = MatLib.Add(QLatin1String(name));
        added.SetTexture(m.Texture);
        added.Ambient = added.Diffuse = added.Specular = {1, 1, 1, 1};
        added.Shininess = 5;
        if (QLatin1String(name) == QLatin1String("txEarth"))
            added.TextureOffset = {-0.25f, 0};
        if (QLatin1String(name) == QLatin1String("txSatRings")) {
            added.Blending = TBlending::Transparency;
            added.AlphaFromIntensity = true;
            added.TextureMode = TTextureMode::Replace;
        }
    }
}

// --- topics ---

void THost::TearDown() {
    SetTimer(false);
    EndTurn(false);
    S.PickedObject = nullptr;
    m_model.reset();
    SceneBase->DeleteChildren();
    FontDC->DeleteChildren();
    m_status = nullptr;
    FontDC->Visible = false; // shown again by a status text or the planet names
    if (m_protractor)
        m_protractor->hide();
    for (QAction* a : {C.Field, C.Current})
        if (a)
            a->setEnabled(true);
    if (C.Bar)
        C.Bar->setEnabled(true);
}

void THost::BuildTopic(std::int32_t id) {
    TearDown();
    const TTopicInfo* info = TopicInfo(id);
    if (!info) {
        PlaceViewForTopic(id);
        return;
    }
    // The picture strip's source picture: the full Moon, or the world map.
    BitmapList[0] = QImage();
    const char* strip = id == 1 ? "FullMoon.bmp" : id == 6 ? "GndTrack.bmp" : nullptr;
    if (strip)
        if (const QString path = ResolveContentPath(MatLib.TextureFolder, QLatin1String(strip)); !path.isEmpty())
            BitmapList[0].load(path);
    m_model = ModelFactory(*this, id);
    m_block = 0;
    if (C.Start) {
        C.Start->setVisible(info->StartStop);
        C.Stop->setVisible(info->StartStop);
        C.Start->setEnabled(true);
        C.Stop->setEnabled(false);
    }
    PlaceViewForTopic(id);
    if (C.Bar) {
        C.Bar->setVisible(info->Bar.has_value());
        if (info->Bar)
            SetBar(info->Bar->Min, info->Bar->Max, info->Bar->LargeStep, info->Bar->Initial);
    }
    S.AnimPosition = info->Bar ? float(info->Bar->Initial) : 0;
    SetHints(kBarHint, kViewHint);
    m_model->BuildSequence();
    GLViewer->update();
}

float THost::ScaleFactor() const {
    const int w = C.ScreenWidth ? C.ScreenWidth() : 1152;
    return 1152.0f / float(std::max(1, w));
}

void THost::PlaceViewForTopic(std::int32_t id) {
    SceneBase->DeleteChildren();
    const TTopicInfo* info = TopicInfo(id);
    if (!info)
        return;
    const TViewRow& v = info->View;
    const float s = ScaleFactor();
    GLLightSource1->On = v.CameraLight1;
    GLLightSource2->On = v.CameraLight2;
    SpaceLight1->On = SpaceLight2->On = v.SpaceLights;
    if (id >= 1 && id <= 4)
        for (TLight* l : {SpaceLight1, SpaceLight2}) {
            l->Directional = true;
            l->SpotDirection = v.SpaceDirection;
        }
    GLCamera->ResetRotations();
    GLCamera->SetPosition(v.Camera * s);
    SceneBase->ResetRotations();
    SceneBase->SetPosition(v.SceneBase * s);
    GLViewer->AmbientLevel = v.Ambient;
}

void THost::CreateStatusText() {
    FontDC->DeleteChildren();
    FontDC->Visible = true;
    m_status = FontDC->AddNew<TScreenText>();
    m_status->FontFamily = QStringLiteral("DejaVu Sans");
    m_status->FontSize = 14;
    m_status->Bold = true;
    m_status->Color = Qt::white;
    m_status->PixelPosition = {5, 5};
}

void THost::SetStatusText(const QString& text) {
    if (FontDC->Count() == 0)
        return;
    if (auto* t = dynamic_cast<TScreenText*>(FontDC->Child(0))) {
        t->Text = text;
        GLViewer->update();
    }
}

QString THost::StatusText() const {
    auto* t = FontDC->Count() ? dynamic_cast<TScreenText*>(FontDC->Child(0)) : nullptr;
    return t ? t->Text : QString();
}

void THost::SetHints(const QString& bar, const QString& viewer) {
    if (C.Bar) {
        C.Bar->setToolTip(bar);
        C.Bar->setStatusTip(bar);
    }
    GLViewer->SetHint(viewer);
}

void THost::SetBar(int min, int max, int largeStep, int value) {
    if (!C.Bar)
        return;
    const QSignalBlocker quiet(C.Bar);
    C.Bar->setRange(min, max);
    C.Bar->setPageStep(largeStep);
    C.Bar->setSingleStep(1);
    C.Bar->setValue(value);
    m_barValue = m_previousBar = C.Bar->value();
}

void THost::NoteBarValue(int v) {
    m_previousBar = m_barValue;
    m_barValue = v;
}

int THost::GatePosition() const { return C.LightGate ? C.LightGate->value() : 100; }

int THost::BarValue() const { return C.Bar ? C.Bar->value() : 0; }
int THost::BarMaximum() const { return C.Bar ? C.Bar->maximum() : 360; }

void THost::SetBarValue(int v) {
    if (!C.Bar)
        return;
    const QSignalBlocker quiet(C.Bar); // the model already shows this position
    C.Bar->setValue(v);
    NoteBarValue(C.Bar->value());
}

// --- time ---

void THost::SetTimer(bool on) {
    m_timerOn = on;
    GLViewer->Cadencer()->SetEnabled(on);
}

void THost::Tick(double seconds) {
    if (!m_model || !m_timerOn)
        return;
    const std::int32_t id = S.CurrentTopicId;
    if (id < 0 || id >= kTopicRateCount)
        return;
    S.AnimPosition += float(S.TopicRates[std::size_t(id)]) * float(seconds);
    m_model->Tick();
}

void THost::ScrollMoved(int v) {
    if (S.Busy || !m_model)
        return;
    NoteBarValue(v);
    m_model->Scroll(v);
    GLViewer->update();
}

void THost::Start() {
    if (!m_model || !TopicHasFrameTimer(S.CurrentTopicId))
        return; // topics without a frame timer never run one
    S.AnimPosition = float(BarValue());
    C.Start->setEnabled(false);
    C.Stop->setEnabled(true);
    if (C.Scale)
        C.Scale->setEnabled(false);
    m_model->OnStart();
    SetTimer(true);
}

void THost::Stop() {
    AbortLoops = true;
    SetTimer(false);
    C.Start->setEnabled(true);
    C.Stop->setEnabled(false);
    if (C.Scale)
        C.Scale->setEnabled(true);
    if (m_model)
        m_model->OnStop();
}

void THost::ResetClicked() {
    const std::int32_t id = S.CurrentTopicId;
    if (!m_model || (id != 15 && id != 16))
        return;
    m_model->OnReset();
    if (id == 15)
        SetBarValue(0);
    Stop();
    C.Reset->setEnabled(false);
}

void THost::AfterRender() {
    if (!S.LabelRefreshPending)
        return;
    S.LabelRefreshPending = false;
    if (auto* solar = dynamic_cast<TSolarSystemTopic*>(m_model.get()); solar && S.CurrentTopicId == 5)
        solar->PlaceLabels();
}

// --- topic buttons ---

void THost::SwitchClicked() {
    if (auto* relay = dynamic_cast<TRelayTopic*>(m_model.get())) {
        relay->SwitchAnimation();
    } else if (auto* hand = dynamic_cast<TLeftHandTopic*>(m_model.get())) {
        hand->SetSwitch(true);
        hand->Update(0);
        S.AnimPosition = 0;
        SetTimer(true);
    }
}

void THost::FieldOrCurrentClicked(bool field) {
    if (m_turn)
        return; // one turn at a time
    if (auto* wire = dynamic_cast<TStWireTopic*>(m_model.get())) {
        if (!field)
            wire->ReverseCurrent();
        return;
    }
    if (dynamic_cast<TTurningTopic*>(m_model.get()))
        RunTurn(field);
}

void THost::EndTurn(bool finish) {
    m_turnTimer->stop();
    if (!m_turn)
        return;
    const TTurn t = *m_turn;
    m_turn.reset();
    if (!finish)
        return;
    auto* model = static_cast<TTurningTopic*>(t.Model);
    const bool stopped = AbortLoops;
    if (t.Topic == 8)
        SetTimer(t.TimerWasOn && !stopped); // Stop leaves the frame timer off
    else if (C.Start)
        C.Start->setEnabled(true);
    model->FinishTurn(t.Field);
    for (QAction* a : {C.Field, C.Current})
        if (a)
            a->setEnabled(true);
    if (C.Bar)
        C.Bar->setEnabled(true);
    GLViewer->update();
}

void THost::RunTurn(bool field) {
    auto* model = static_cast<TTurningTopic*>(m_model.get());
    const std::int32_t id = S.CurrentTopicId;
    auto t = std::make_unique<TTurn>();
    t->Field = field;
    t->Topic = id;
    t->Model = model;
    const float start = field ? model->FieldAngle() : model->CurrentAngle();
    auto range = [&t](int from, int to, float factor) {
        for (int i = from;; i += from <= to ? 1 : -1) {
            t->Angles.push_back(factor * float(i));
            if (i == to)
                break;
        }
    };
    if (id == 8) {
        if (start >= 0)
            range(0, 60, -3);
        else
            range(60, 0, -3);
        t->TimerWasOn = m_timerOn;
        SetTimer(false);
    } else {
        if (field)
            start >= 0 ? range(0, 90, -2) : range(90, 0, -2);
        else
            start >= 0 ? range(45, -45, 2) : range(-45, 45, 2);
        C.Start->setEnabled(false);
        model->Update(0);
    }
    for (QAction* a : {C.Field, C.Current})
        if (a)
            a->setEnabled(false);
    if (C.Bar)
        C.Bar->setEnabled(false);
    AbortLoops = false;
    m_turn = std::move(t);
    m_turnTimer->start();
}

void THost::MetalChosen(int index) {
    auto* metal = dynamic_cast<TConductionTopic*>(m_model.get());
    if (!metal)
        return;
    SetTimer(false);
    SetBarValue(0);
    C.Stop->setEnabled(false);
    C.Start->setEnabled(true);
    metal->ChooseMetal(index);
    metal->UpdateMetal(index, 0);
    metal->StartHook(false);
    SetStatusText(TConductionTopic::ScrollClock(0));
}

void THost::MarkersClicked(bool on) {
    if (auto* day = dynamic_cast<TNightDayTopic*>(m_model.get()))
        day->SetMarkers(on);
}

void THost::SlitChosen(bool single) {
    (single ? C.Slit1 : C.Slit3)->setChecked(true);
    if (auto* mirror = dynamic_cast<TPlaneMirrorTopic*>(m_model.get()))
        mirror->SetSlit(single);
}

bool THost::BlockChosen(int block) {
    auto* refraction = dynamic_cast<TRefractionTopic*>(m_model.get());
    if (!refraction || block == m_block || block < 0 || block > 2)
        return false;
    m_block = block;
    QAction* buttons[] = {C.RectBlock, C.DBlock, C.Prism};
    if (buttons[block])
        buttons[block]->setChecked(true);
    S.PickedObject = nullptr;
    SceneBase->DeleteChildren();
    refraction->BuildBlock(block);
    GLViewer->update();
    return true;
}

// --- Animation menu ---

void THost::SetBackground(std::uint32_t colorRef) {
    S.GLColor = colorRef & 0x00FFFFFFu;
    GLViewer->Background = QColor(int(S.GLColor & 0xFF), int((S.GLColor >> 8) & 0xFF), int((S.GLColor >> 16) & 0xFF));
    GLViewer->update();
}

void THost::SetAntialiasing(bool on) {
    GLViewer->Antialiasing = on;
    GLViewer->update();
}

bool THost::ShowSpeedDialog() {
    const std::int32_t id = S.CurrentTopicId;
    if (id < 0 || id >= kTopicRateCount)
        return false;
    const int current = S.TopicRates[std::size_t(id)];
    std::optional<int> chosen;
    if (SpeedDialog) {
        chosen = SpeedDialog(current);
    } else {
        TSpeedFrm dialog(current, C.ViewParent ? C.ViewParent->window() : nullptr);
        if (dialog.exec() == QDialog::Accepted)
            chosen = dialog.Value();
    }
    if (!chosen)
        return false;
    S.TopicRates[std::size_t(id)] = std::clamp(*chosen, 1, 500);
    return true;
}

// --- pointer ---

QVector3D THost::ScreenPointToPlane(QPointF pos) const {
    if (!S.PickedObject)
        return {};
    const float planeY = S.PickedObject->Position().y() + SceneBase->Position().y();
    const auto p = IntersectHorizontalPlane(GLViewer->Viewport().ScreenRay(pos), planeY);
    return p ? *p : QVector3D();
}

QVector3D THost::PanVector(QPointF pos) const {
    const float k = GLCamera->DistanceToTarget() * 0.12f / GLCamera->FocalLength;
    const float dx = float(pos.x() - S.LastMouseX) * k;
    const float dy = float(S.LastMouseY - pos.y()) * k;
    const QVector3D p = GLCamera->AbsolutePosition();
    const QVector3D right = QVector3D::crossProduct(QVector3D(0, 1, 0), p).normalized();
    const QVector3D up = QVector3D::crossProduct(p, right).normalized();
    return right * dx + up * dy;
}

void THost::Orbit(QPointF pos) {
    GLCamera->MoveAroundTarget(S.LastMouseY - float(pos.y()), S.LastMouseX - float(pos.x()));
}

void THost::Pan(QPointF pos) { SceneBase->Translate(PanVector(pos)); }

void THost::DragStep(QPointF pos) {
    const auto limits = DragLimits(S.CurrentTopicId);
    QVector3D p = ScreenPointToPlane(pos);
    p.setX(std::clamp(p.x(), -limits->X, limits->X));
    p.setZ(std::clamp(p.z(), -limits->Z, limits->Z));
    const QVector3D anchor(S.DragAnchor[0], S.DragAnchor[1], S.DragAnchor[2]);
    QVector3D moved = S.PickedObject->Position() + (p - anchor);
    if (S.CurrentTopicId == 19 && m_block == 0) {
        // The rectangular block stands to the right: the ray box keeps clear of it.
        moved.setX(std::clamp(moved.x(), 1.8f, 10.f));
        moved.setZ(std::clamp(moved.z(), -10.f, 10.f));
    }
    S.PickedObject->SetPosition(moved);
    if (m_model && S.CurrentTopicId != 22)
        m_model->Drag(m_block);
    if (S.CurrentTopicId == 18 && m_protractor->isVisible())
        m_protractor->update();
    S.DragAnchor[0] = p.x(), S.DragAnchor[1] = p.y(), S.DragAnchor[2] = p.z(), S.DragAnchor[3] = 0;
}

void THost::Hover(QPointF pos) {
    const std::int32_t id = S.CurrentTopicId;
    const TPickResult hit = GLViewer->PickAt(pos);
    const QString name = hit.Object ? hit.Object->Name : QString();
    if (id == 9) {
        static const QHash<QString, QString> parts = {
            {"striker", "Striker"}, {"core", "Electromagnet"}, {"gong", "Gong"},
            {"iron", "Soft iron"},  {"spring", "Spring"},      {"mb", "Make and break contact"}};
        if (!hit.Object)
            return; // nothing under the pointer: no change
        if (name == QLatin1String("switch")) {
            GLViewer->SetPointer(Qt::PointingHandCursor);
        } else if (parts.contains(name)) {
            GLViewer->SetPointer(Qt::ArrowCursor); // only the switch takes clicks
            SetStatusText(parts.value(name));
        } else {
            GLViewer->SetPointer(Qt::ArrowCursor);
            SetStatusText(QString());
        }
        return;
    }
    QString handFor;
    if (id == 10)
        handFor = QStringLiteral("switch");
    else if (id == 18 || id == 19)
        handFor = QStringLiteral("raybox");
    else if (id == 20 || id == 22)
        handFor = QStringLiteral("target");
    if (!handFor.isEmpty()) {
        bool draggable = false;
        for (TSceneObject* o = hit.Object; o && o != SceneBase && !draggable; o = o->Parent())
            draggable = o->Name == handFor && (id != 10 || o == hit.Object);
        GLViewer->SetPointer(draggable ? Qt::PointingHandCursor : Qt::ArrowCursor);
    }
}

void THost::MousePressed(QPointF pos, Qt::MouseButtons buttons) {
    if (S.Busy)
        return;
    const std::int32_t id = S.CurrentTopicId;
    if (buttons & Qt::LeftButton) {
        if (id == 9 || id == 10) {
            const TPickResult hit = GLViewer->PickAt(pos);
            S.PickedObject = hit.Object && hit.Object->Name == QLatin1String("switch") ? hit.Object : nullptr;
            if (S.PickedObject && id == 9) {
                auto* bell = dynamic_cast<TBellTopic*>(m_model.get());
                if (bell && bell->SwitchIsOn())
                    Stop();
                else
                    Start();
            } else if (S.PickedObject && id == 10) {
                C.Switch->setChecked(!C.Switch->isChecked());
                if (auto* relay = dynamic_cast<TRelayTopic*>(m_model.get()))
                    relay->SwitchAnimation();
            }
        } else if (DragLimits(id)) {
            // A part of a draggable object (the ray box's bulb, knob or slit
            // plate) drags the object it belongs to.
            TSceneObject* o = GLViewer->PickAt(pos).Object;
            while (o && o != SceneBase && o->Name != DragName(id))
                o = o->Parent();
            S.PickedObject = o && o != SceneBase ? o : nullptr;
            const QVector3D a = ScreenPointToPlane(pos);
            S.DragAnchor[0] = a.x(), S.DragAnchor[1] = a.y(), S.DragAnchor[2] = a.z(), S.DragAnchor[3] = 0;
        }
    }
    S.LastMouseX = float(pos.x());
    S.LastMouseY = float(pos.y());
}

void THost::MouseMoved(QPointF pos, Qt::MouseButtons buttons) {
    if (S.Busy)
        return;
    const std::int32_t id = S.CurrentTopicId;
    const bool left = buttons & Qt::LeftButton, right = (buttons & Qt::RightButton) && !left;
    const bool dragging = S.PickedObject && DragLimits(id) &&
                          (S.DragAnchor[0] != 0 || S.DragAnchor[1] != 0 || S.DragAnchor[2] != 0);
    if (left) {
        if (DragLimits(id) && dragging)
            DragStep(pos);
        else
            Orbit(pos);
        if (id == 5)
            if (auto* solar = dynamic_cast<TSolarSystemTopic*>(m_model.get()))
                solar->PlaceLabels();
    } else if (right && id != 20) {
        Pan(pos);
        if (id == 5)
            if (auto* solar = dynamic_cast<TSolarSystemTopic*>(m_model.get()))
                solar->PlaceLabels();
    } else if (!left) {
        Hover(pos);
    }
    if (left || (right && id != 20))
        GLViewer->update();
    S.LastMouseX = float(pos.x());
    S.LastMouseY = float(pos.y());
}

void THost::WheelTurned(int delta) {
    if (S.Busy)
        return; // no pointer input while a topic is being switched
    GLCamera->AdjustDistanceToTarget(std::pow(1.05f, float(delta) / 120));
    if (S.CurrentTopicId == 5)
        if (auto* solar = dynamic_cast<TSolarSystemTopic*>(m_model.get()))
            solar->PlaceLabels();
    GLViewer->update();
}

void THost::Zoom(bool in) {
    GLCamera->AdjustDistanceToTarget(std::pow(1.05f, in ? -3.f : 3.f));
    GLViewer->update();
}

void THost::ShowProtractor() {
    if (m_protractor->isVisible())
        return;
    if (C.ProtractorPlace)
        m_protractor->move(C.ProtractorPlace());
    m_protractor->update();
    m_protractor->show();
}

// --- page commands ---

void THost::RegisterOperations(TOperationRegistry& ops) {
    // The course areas' own steps first, so the host's own keep their names.
    ForEachPageStep([this, &ops](const QString& name, const TPageStep& step) {
        ops.Register(name, [this, step](const QVariantList& a) { step(C.ViewParent ? C.ViewParent->window() : nullptr, a); });
    });
    auto f = [](const QVariantList& a, int i) { return a.value(i).toFloat(); };
    ops.Register("Start", [this](const QVariantList&) { Start(); });
    ops.Register("Stop", [this](const QVariantList&) { Stop(); });
    ops.Register("ScrollBar", [this](const QVariantList& a) { SetBarValue(a.value(0).toInt()); });
    ops.Register("Update", [this, f](const QVariantList& a) {
        if (m_model)
            m_model->Update(f(a, 0));
        GLViewer->update();
    });
    auto place = [this, f](TSceneObject* o, const QVariantList& a) {
        const float s = a.value(3).toInt() ? ScaleFactor() : 1.f;
        o->SetPosition(QVector3D(f(a, 0), f(a, 1), f(a, 2)) * s);
        GLViewer->update();
    };
    ops.Register("Camera", [this, place](const QVariantList& a) { place(GLCamera, a); });
    ops.Register("SceneBase", [this, place](const QVariantList& a) { place(SceneBase, a); });
    ops.Register("MoonPosition", [this, f](const QVariantList& a) {
        auto* moon = dynamic_cast<TMoonPhaseTopic*>(m_model.get());
        if (!moon)
            return;
        Stop(); // fully: Start continues from the commanded position
        moon->Update(f(a, 0));
        moon->DrawStrip(f(a, 0));
        SetBarValue(a.value(0).toInt());
        GLViewer->update();
    });
    ops.Register("DayNightMarkers", [this](const QVariantList& a) {
        if (C.Markers)
            C.Markers->setChecked(a.value(0).toBool());
        MarkersClicked(a.value(0).toBool());
    });
    ops.Register("StatusClock", [this](const QVariantList& a) {
        SetStatusText(QString::asprintf("GMT %2.2d hrs: %2.2d min", a.value(0).toInt(), a.value(1).toInt()));
    });
    ops.Register("ScaleMenu", [this](const QVariantList&) {
        // The scale menu opens with the animation stopped, so Start can run it again.
        Stop();
        if (C.Scale && C.Scale->menu()) {
            QWidget* button = nullptr;
            for (QObject* o : C.Scale->associatedObjects())
                if (auto* w = qobject_cast<QWidget*>(o); w && w->isVisible() && !qobject_cast<QMenu*>(w))
                    button = w;
            C.Scale->menu()->popup(button ? button->mapToGlobal(QPoint(0, button->height())) : QCursor::pos());
        }
    });
    ops.Register("GravityLaunch", [this, f](const QVariantList& a) {
        if (auto* gravity = dynamic_cast<TGravityTopic*>(m_model.get()))
            gravity->Launch(BarValue(), f(a, 0));
    });
    ops.Register("CurrentButton", [this](const QVariantList&) { FieldOrCurrentClicked(false); });
    ops.Register("FieldButton", [this](const QVariantList&) { FieldOrCurrentClicked(true); });
    ops.Register("RelaySwitch", [this](const QVariantList&) {
        if (C.Switch)
            C.Switch->setChecked(!C.Switch->isChecked());
        if (auto* relay = dynamic_cast<TRelayTopic*>(m_model.get()))
            relay->SwitchAnimation();
    });
    ops.Register("Reset", [this](const QVariantList&) { ResetClicked(); });
    ops.Register("Protractor", [this](const QVariantList&) { ShowProtractor(); });
    ops.Register("RayBox", [this, f](const QVariantList& a) {
        // The course reaches a block's page by an ordinary link, which leaves
        // the previous block shown: the command brings its own block first
        // (its page is open already).
        if (!m_model)
            return;
        BlockChosen(a.value(2).toInt());
        if (a.value(2).toInt() != m_block)
            return;
        if (TSceneObject* box = SceneBase->FindByName(QStringLiteral("raybox"))) {
            box->SetPosition(f(a, 0), box->Position().y(), f(a, 1));
            m_model->Drag(m_block);
            GLViewer->update();
        }
    });
    ops.Register("WireReverse", [this](const QVariantList&) {
        if (auto* wire = dynamic_cast<TStWireTopic*>(m_model.get()))
            wire->ReverseCurrent();
    });
    ops.Register("WireField", [this](const QVariantList&) {
        if (auto* wire = dynamic_cast<TStWireTopic*>(m_model.get()))
            wire->ToggleField();
    });
    // Back or Forward onto a block's page brings its block back; the page is already shown.
    ops.Register("ChooseBlock", [this](const QVariantList& a) { BlockChosen(a.value(0).toInt()); });
}

} // namespace quarvel
