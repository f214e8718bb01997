#include "models/light/raybox.h"

#include "scene/material.h"

namespace quarvel {

TGLRaybox::TGLRaybox() {
    // The floor is lit from inside by the bulb: plain white.
    FaceMaterial(0).SetColor(QVector4D(1, 1, 1, 1)).Emission = QVector4D(1, 1, 1, 1);
}

const TContour& TGLRaybox::WallOutline() {
    static const TContour outline = {{0.6f, -0.6f}, {0.6f, 1.7f},   {0.5f, 1.7f},   {0.5f, 0.5f},
                                     {0.3f, 0.5f},  {0.3f, 0.4f},   {0.5f, 0.4f},   {0.5f, -0.5f},
                                     {-0.5f, -0.5f}, {-0.5f, 0.4f}, {-0.3f, 0.4f},  {-0.3f, 0.5f},
                                     {-0.5f, 0.5f}, {-0.5f, 1.7f},  {-0.6f, 1.7f},  {-0.6f, -0.6f}};
    return outline;
}

void TGLRaybox::BuildGeometry(TMesh& mesh) {
    TExtrusionSolid walls;
    walls.SetContours({WallOutline()});
    walls.SetDepth(1);
    walls.SetCreaseAngle(30); // square corners
    mesh.Append(walls.Geometry());
    mesh.BeginGroup(0);
    const QVector3D n(0, 0, 1);
    const std::uint32_t a = mesh.Add({-0.5f, -0.5f, 0}, n, {0, 0}), b = mesh.Add({0.5f, -0.5f, 0}, n, {1, 0});
    const std::uint32_t c = mesh.Add({0.5f, 1.5f, 0}, n, {1, 1}), d = mesh.Add({-0.5f, 1.5f, 0}, n, {0, 1});
    mesh.Triangle(a, b, c);
    mesh.Triangle(a, c, d);
}

std::unique_ptr<TExtrusionSolid> CreateSlitPlate(bool threeSlits) {
    auto plate = std::make_unique<TExtrusionSolid>();
    TContour outline = {{0.5f, 0}, {0.5f, 1.1f}, {-0.5f, 1.1f}, {-0.5f, 0}};
    // Slots cut up from the bottom edge, 0.1 wide and 0.8 high, from left to right.
    const std::vector<float> centres = threeSlits ? std::vector<float>{-0.2f, 0, 0.2f} : std::vector<float>{0};
    for (float cx : centres) {
        outline.push_back({cx - 0.05f, 0});
        outline.push_back({cx - 0.05f, 0.8f});
        outline.push_back({cx + 0.05f, 0.8f});
        outline.push_back({cx + 0.05f, 0});
    }
    plate->SetContours({outline});
    plate->SetDepth(0.05f);
    plate->SetCreaseAngle(30);
    plate->MaterialName = QStringLiteral("Metal");
    plate->SetPitchAngle(-90);
    plate->SetPosition(0, 1.5f, 0);
    return plate;
}

std::unique_ptr<TRevolutionSolid> CreateRayboxKnob() {
    auto knob = std::make_unique<TRevolutionSolid>();
    knob->SetProfile({{0, 0.3f}, {0.1f, 0.3f}, {0.16f, 0.28f}, {0.18f, 0.26f}, {0.2f, 0.1f}, {0.2f, 0}});
    knob->SetSlices(16);
    knob->MaterialName = QStringLiteral("Brass");
    knob->SetPitchAngle(-90);
    knob->SetPosition(0, 0, 1);
    return knob;
}

std::unique_ptr<TSphere> CreateRayboxBulb() {
    auto bulb = std::make_unique<TSphere>();
    bulb->SetRadius(0.35f);
    bulb->SetPosition(0, 0, 0.5f);
    TMaterial& m = bulb->Material();
    m.Blending = TBlending::Transparency;
    m.Emission = QVector4D(1, 1, 1, 1);
    m.Diffuse.setW(0.7f);
    return bulb;
}

std::unique_ptr<TGLRaybox> CreateRaybox(const TMaterialLibrary&) {
    auto box = std::make_unique<TGLRaybox>();
    box->Name = QStringLiteral("raybox");
    box->MaterialName = QStringLiteral("DarkGray");
    box->SetPitchAngle(90);
    box->SetRollAngle(90);
    box->AddChild(CreateSlitPlate(false));
    box->AddChild(CreateRayboxKnob());
    box->AddChild(CreateRayboxBulb());
    return box;
}

std::unique_ptr<TPipe> CreatePipeRay(const QVector3D& from, const QVector3D& to) {
    auto pipe = std::make_unique<TPipe>();
    pipe->SetNodes({from, to});
    pipe->SetRadius(0.04f);
    pipe->SetSlices(5);
    TMaterial& m = pipe->Material();
    m.Emission = QVector4D(1, 1, 1, 1);
    m.Diffuse = QVector4D(1, 1, 1, 1);
    return pipe;
}

std::unique_ptr<TProxy> CreatePipeCopy(TPipe* master, float scaleX, float turn, const QVector3D& at) {
    auto copy = std::make_unique<TProxy>();
    copy->Master = master;
    copy->ObjectsOnly = true;
    copy->SetScale(QVector3D(scaleX, 1, 1));
    copy->SetTurnAngle(turn);
    copy->SetPosition(at);
    return copy;
}

std::unique_ptr<TLines> CreateLineRay(std::vector<QVector3D> nodes, const QColor& colour) {
    auto line = std::make_unique<TLines>();
    line->LineColor = colour;
    line->Antialiased = true;
    line->ShowNodes = false;
    line->SetNodes(std::move(nodes));
    return line;
}

TSpectrum::TSpectrum() {
    TMaterial& m = Material();
    m.VertexColors = TVertexColors::Unlit;
}

void TSpectrum::SetPoints(const QVector3D& p1, const QVector3D& p2, const QVector3D& p3, const QVector3D& p4) {
    m_points = {p1, p2, p3, p4};
    GeometryChanged();
}

const std::array<QVector4D, 5>& TSpectrum::BandColours() {
    static const std::array<QVector4D, 5> colours = {QVector4D(1, 0, 0, 1), QVector4D(1, 1, 0, 1),
                                                     QVector4D(0, 0.5f, 0, 1), QVector4D(0, 0, 1, 1),
                                                     QVector4D(0.31f, 0.184f, 0.31f, 1)};
    return colours;
}

void TSpectrum::BuildGeometry(TMesh& mesh) {
    const auto& [p1, p2, p3, p4] = m_points;
    // A strip of five vertex pairs from the red ray (k = 0) to the blue one (k = 4).
    for (int k = 0; k < 5; ++k) {
        const QVector3D a = p3 + float(k) * (p1 - p3) / 4, b = p4 + float(k) * (p2 - p4) / 4;
        mesh.Add(a, {0, 1, 0});
        mesh.Add(b, {0, 1, 0});
        mesh.Colors.push_back(BandColours()[std::size_t(k)]);
        mesh.Colors.push_back(BandColours()[std::size_t(k)]);
    }
    for (std::uint32_t k = 0; k < 4; ++k) {
        const std::uint32_t a = 2 * k, b = a + 1, c = a + 2, d = a + 3;
        mesh.Triangle(a, b, c), mesh.Triangle(c, b, d); // one winding
        mesh.Triangle(a, c, b), mesh.Triangle(c, d, b); // and the other, so both sides show
    }
}

} // namespace quarvel
