#include "models/electromagnetism/circuitobjects.h"

#include "common/contentpath.h"
#include "models/electromagnetism/emgeometry.h"

#include <QFileInfo>
#include <cmath>

namespace quarvel::CircuitObjects {

using namespace emgeom;

namespace {
const QVector4D Grey{0.6f, 0.6f, 0.6f, 1};

// Loads a texture file into the object's own material when the file exists.
void LoadObjectTexture(TSceneObject& o, const QString& folder, const QString& file, const QVector4D& colour) {
    const QString path = ResolveContentPath(folder, file);
    if (path.isEmpty() || !QFileInfo::exists(path))
        return;
    TMaterial& m = o.Material();
    if (!m.LoadTexture(path))
        return;
    m.Mipmapped = true;
    m.TextureMode = TTextureMode::Modulate;
    m.Ambient = m.Diffuse = colour;
}
} // namespace

// --- TSwitch ---

TSwitch::TSwitch() {
    FaceMaterial(0).SetColor(SwitchBodyColour).Textured = false;
    FaceMaterial(1).SetColor(Grey).Textured = false;
}

void TSwitch::SetSize(float width, float height, float depth) {
    m_w = width, m_h = height, m_d = depth;
    GeometryChanged();
}

void TSwitch::LoadTexture(const QString& folder) {
    LoadObjectTexture(*this, folder, QStringLiteral("Switch.bmp"), SwitchBodyColour);
}

void TSwitch::BuildGeometry(TMesh& mesh) {
    const float x = m_w / 2, y = m_h / 2, z = m_d / 2;
    // Textured front and back: u across x, v up y.
    Quad(mesh, {-x, -y, z}, {x, -y, z}, {x, y, z}, {-x, y, z}, {0, 0, 1}, {0, 0}, {1, 0}, {1, 1}, {0, 1});
    Quad(mesh, {x, -y, -z}, {-x, -y, -z}, {-x, y, -z}, {x, y, -z}, {0, 0, -1}, {1, 0}, {0, 0}, {0, 1}, {1, 1});
    mesh.BeginGroup(0);
    Quad(mesh, {x, -y, z}, {x, -y, -z}, {x, y, -z}, {x, y, z}, {1, 0, 0});
    Quad(mesh, {-x, -y, -z}, {-x, -y, z}, {-x, y, z}, {-x, y, -z}, {-1, 0, 0});
    if (m_bottom)
        Quad(mesh, {-x, -y, -z}, {x, -y, -z}, {x, -y, z}, {-x, -y, z}, {0, -1, 0});
    // The top round a recess two thirds wide and half deep.
    const float rx = m_w / 3, rz = m_d / 4, floor = y * 2 / 3;
    const QVector3D up(0, 1, 0);
    Quad(mesh, {-x, y, z}, {x, y, z}, {x, y, rz}, {-x, y, rz}, up);
    Quad(mesh, {-x, y, -rz}, {x, y, -rz}, {x, y, -z}, {-x, y, -z}, up);
    Quad(mesh, {-x, y, rz}, {-rx, y, rz}, {-rx, y, -rz}, {-x, y, -rz}, up);
    Quad(mesh, {rx, y, rz}, {x, y, rz}, {x, y, -rz}, {rx, y, -rz}, up);
    // The recess walls face inwards.
    Quad(mesh, {-rx, floor, rz}, {rx, floor, rz}, {rx, y, rz}, {-rx, y, rz}, {0, 0, -1});
    Quad(mesh, {rx, floor, -rz}, {-rx, floor, -rz}, {-rx, y, -rz}, {rx, y, -rz}, {0, 0, 1});
    Quad(mesh, {-rx, floor, -rz}, {-rx, floor, rz}, {-rx, y, rz}, {-rx, y, -rz}, {1, 0, 0});
    Quad(mesh, {rx, floor, rz}, {rx, floor, -rz}, {rx, y, -rz}, {rx, y, rz}, {-1, 0, 0});
    mesh.BeginGroup(1);
    Quad(mesh, {-rx, floor, rz}, {rx, floor, rz}, {rx, floor, -rz}, {-rx, floor, -rz}, up);
}

// --- TBattery ---

TBattery::TBattery() { FaceMaterial(0).Textured = false; }

void TBattery::SetHeight(float h) {
    m_height = h;
    m_radius = h * 0.178571428f;
    GeometryChanged();
}

void TBattery::LoadTexture(const QString& folder) {
    LoadObjectTexture(*this, folder, QStringLiteral("Battery.bmp"), {0.9f, 0.9f, 0.9f, 1});
}

void TBattery::BuildGeometry(TMesh& mesh) {
    const float r = m_radius, h = m_height / 2;
    const int n = m_segments;
    // The side, wrapped once by the texture.
    for (int i = 0; i <= n; ++i) {
        const float a = 2 * Pi * float(i) / float(n);
        const QVector3D d(std::sin(a), 0, std::cos(a));
        mesh.Add(QVector3D(d.x() * r, -h, d.z() * r), d, {float(i) / float(n), 0});
        mesh.Add(QVector3D(d.x() * r, h, d.z() * r), d, {float(i) / float(n), 1});
    }
    for (int i = 0; i < n; ++i) {
        const auto b = std::uint32_t(2 * i);
        mesh.Triangle(b, b + 2, b + 3);
        mesh.Triangle(b, b + 3, b + 1);
    }
    // Ring caps: the terminals fill the centres.
    mesh.BeginGroup(0);
    auto ring = [&](float y, float inner, float sign) {
        const QVector3D nrm(0, sign, 0);
        for (int i = 0; i < n; ++i) {
            const float a0 = 2 * Pi * float(i) / float(n), a1 = 2 * Pi * float(i + 1) / float(n);
            const QVector3D o0(std::sin(a0) * r, y, std::cos(a0) * r), o1(std::sin(a1) * r, y, std::cos(a1) * r);
            const QVector3D i0(o0.x() * inner, y, o0.z() * inner), i1(o1.x() * inner, y, o1.z() * inner);
            if (sign > 0)
                Quad(mesh, i0, o0, o1, i1, nrm);
            else
                Quad(mesh, i0, i1, o1, o0, nrm);
        }
    };
    ring(h, 0.4f, 1);
    ring(-h, 0.7f, -1);
}

// --- TRelayPivot ---

TRelayPivot::TRelayPivot() {
    TFaceMaterial& f = FaceMaterial(0);
    f.Specular = Grey;
    f.Ambient = QVector4D(1, 1, 1, 1);
    f.Shininess = 128;
}

void TRelayPivot::BuildGeometry(TMesh& mesh) {
    const float t = m_thickness, h = m_height / 2, z = m_depth / 2;
    // Two convex pieces: the post, and the bevelled head leaning out to +x.
    const std::vector<QVector2D> post = {{-t / 2, -h}, {t / 2, -h}, {t / 2, h - t}, {-t / 2, h - t}};
    const std::vector<QVector2D> head = {{-t / 2, h - t}, {t / 2, h - t}, {1.5f * t, h}, {-t / 2, h}};
    TMesh sides;
    ConvexPrism(sides, post, -z, z);
    ConvexPrism(sides, head, -z, z);
    // Front and back faces (normals along z) get the shiny face material.
    TMesh faces, walls;
    for (std::size_t i = 0; i + 2 < sides.Indices.size(); i += 3) {
        const auto a = sides.Indices[i], b = sides.Indices[i + 1], c = sides.Indices[i + 2];
        TMesh& to = std::abs(sides.Normals[a].z()) > 0.5f ? faces : walls;
        const auto base = std::uint32_t(to.Positions.size());
        for (auto k : {a, b, c})
            to.Add(sides.Positions[k], sides.Normals[k]);
        to.Triangle(base, base + 1, base + 2);
    }
    mesh.Append(walls);
    mesh.BeginGroup(0);
    mesh.Append(faces);
}

// --- TRelayArm ---

TRelayArm::TRelayArm() {
    Material().Specular = Grey;
    Material().Shininess = 128;
}

std::vector<QVector2D> TRelayArm::Outline() const {
    const float t = m_thickness, top = 0.75f * t, bottom = top - t;
    std::vector<QVector2D> p;
    // Counter-clockwise from the foot of the drop.
    p.push_back({0, -m_drop});
    p.push_back({t, -m_drop});
    p.push_back({t, top - t / 2}); // the sloping face at the corner
    p.push_back({t / 2, top});
    p.push_back({-m_length, top});
    const QVector2D c(-m_length, (top + bottom) / 2);
    for (int i = 1; i < m_segments; ++i) {
        const float a = Pi / 2 + Pi * float(i) / float(m_segments);
        p.push_back(c + QVector2D(std::cos(a), std::sin(a)) * (t / 2));
    }
    p.push_back({-m_length, bottom});
    p.push_back({0, bottom});
    return p;
}

void TRelayArm::BuildGeometry(TMesh& mesh) {
    const float t = m_thickness, top = 0.75f * t, bottom = top - t, z = m_depth / 2;
    const std::vector<QVector2D> outline = Outline();
    // Convex pieces: the drop with its sloping corner, the bar, the round end.
    ConvexPrism(mesh, {{0, -m_drop}, {t, -m_drop}, {t, top - t / 2}, {t / 2, top}, {0, top}}, -z, z);
    ConvexPrism(mesh, {{-m_length, bottom}, {0, bottom}, {0, top}, {-m_length, top}}, -z, z);
    std::vector<QVector2D> end;
    for (std::size_t i = 4; i < outline.size() - 1; ++i)
        end.push_back(outline[i]);
    ConvexPrism(mesh, end, -z, z);
}

// --- TBendyStrip ---

std::vector<QVector2D> BendyStripLine(float length, float bendLength, float deflection) {
    std::vector<QVector2D> line;
    const float bl = std::max(bendLength, 1e-4f);
    for (int i = 0; i <= 10; ++i) {
        const float y = bl * float(i) / 10;
        line.push_back({deflection * (y / bl) * (y / bl), y});
    }
    const QVector2D tangent = QVector2D(2 * deflection / bl, 1).normalized();
    const float rest = length - bl;
    if (rest > 0)
        line.push_back(line.back() + tangent * rest);
    return line;
}

TBendyStrip::TBendyStrip() {
    TFaceMaterial& bead = FaceMaterial(0);
    bead.SetColor({0.71f, 0.65f, 0.26f, 1});
    bead.Specular = Grey;
}

void TBendyStrip::SetBend(float bendLength, float deflection) {
    if (bendLength == m_bendLength && deflection == m_deflection)
        return;
    m_bendLength = bendLength, m_deflection = deflection;
    GeometryChanged();
}

void TBendyStrip::BuildGeometry(TMesh& mesh) {
    const auto line = BendyStripLine(m_length, m_bendLength, m_deflection);
    Ribbon(mesh, line, m_thickness, m_width);
    // The contact bead: a half disc on the strip's +x face at its free end.
    mesh.BeginGroup(0);
    const QVector2D end = line.back();
    const QVector2D t = (line.back() - line[line.size() - 2]).normalized();
    const QVector2D out(t.y(), -t.x());
    const QVector2D centre = end - t * 0.1f + out * (m_thickness / 2);
    std::vector<QVector2D> half;
    for (int i = 0; i < 17; ++i) {
        const float a = -Pi / 2 + Pi * float(i) / 16;
        half.push_back(centre + (out * std::cos(a) + t * std::sin(a)) * 0.1f);
    }
    ConvexPrism(mesh, half, -0.03f, 0.03f);
}

// --- TSpringStrip ---

std::vector<QVector2D> SpringStripLine(float length, float radius, float bendAngle, int segments) {
    std::vector<QVector2D> line;
    const float foot = 0.1f, curved = 0.5f; // the carrier sits 0.5 along the spring
    line.push_back({0, -foot});
    const float theta = Rad(bendAngle);
    const int n = std::max(1, segments);
    for (int i = 0; i <= n; ++i) {
        const float a = theta * float(i) / float(n);
        line.push_back({radius * std::cos(a) - radius, radius * std::sin(a)});
    }
    const QVector2D tangent(-std::sin(theta), std::cos(theta));
    const float straight = curved - radius * theta;
    if (straight > 0)
        line.push_back(line.back() + tangent * straight);
    // Two tabs: 0.2 at +45 degrees and the rest (0.4 of 0.7) at +90 degrees.
    auto turned = [&](float deg) {
        const float c = std::cos(Rad(deg)), s = std::sin(Rad(deg));
        return QVector2D(tangent.x() * c - tangent.y() * s, tangent.x() * s + tangent.y() * c);
    };
    const float tabs = std::max(0.f, length - foot - curved);
    line.push_back(line.back() + turned(45) * (0.2f / 0.6f) * tabs);
    line.push_back(line.back() + turned(90) * (0.4f / 0.6f) * tabs);
    return line;
}

TSpringStrip::TSpringStrip() = default;

void TSpringStrip::SetBendAngle(float degrees) {
    if (degrees == m_angle)
        return;
    m_angle = degrees;
    GeometryChanged();
}

void TSpringStrip::BuildGeometry(TMesh& mesh) {
    Ribbon(mesh, SpringStripLine(m_length, m_radius, m_angle, m_segments), m_thickness, m_width);
}

} // namespace quarvel::CircuitObjects
