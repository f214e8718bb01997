#pragma once
// Ray optics of the ray-box topics, apart from the scene: the heading of
// the ray box, the rectangular and D-shaped blocks, the right-angled prism
// and the plane mirror. Everything lies in the horizontal x-z plane; a
// heading theta (degrees) means the ray box lies in the direction
// (cos theta, 0, -sin theta) from the origin and shines at the origin.

#include <QVector2D>
#include <QVector3D>
#include <array>
#include <optional>

namespace quarvel {

// Below this distance from the origin the ray box has no heading.
constexpr float kRayboxMinDistance = 1e-3f;

// The heading of a ray box at (x, 0, z) in degrees, in [0, 360]; none when
// the box sits (almost) on the origin.
std::optional<float> RayboxHeading(float x, float z);

// --- rectangular block: entry face x = 0, exit face x = -W, index 1.5 ---
constexpr float kRectWidth = 3.0f;
constexpr float kGlassIndex = 1.5f;
struct TRectRays {
    float Theta = 0;      // heading, also the angle of incidence
    float Refraction = 0; // degrees, signed like the incidence
    float Shift = 0;      // d: z of the exit point
    float Path = 0;       // s: length of the path in the glass
    float Distance = 0;   // |P|
    QVector3D Exit;       // (-W, 0, d)
};
std::optional<TRectRays> RectBlockRays(const QVector3D& box);

// --- D-shaped block: flat face on x = 0, curved face towards +x ---
struct TDBlockRays {
    float Theta = 0;
    float Distance = 0;
    float OutgoingTurn = 0;  // the turn of the outgoing ray (8 long, along +x before turning)
    float ReflectedTurn = 0; // the turn of the faint reflected ray
    bool TotallyReflected = false;
};
std::optional<TDBlockRays> DBlockRays(const QVector3D& box);
// The critical angle of glass of index n, degrees.
float CriticalAngle(float n);

// --- right-angled prism: A = (-2, 1), B = (1, 1), C = (-2, -2) in (x, z) ---
constexpr float kBlueIndex = 1.5f, kRedIndex = 1.45f;
struct TPrismPath {
    std::array<QVector3D, 5> Nodes{}; // entry, reflections, exit, 10 beyond; the last repeated
    int Count = 0;                    // nodes before repetition
    int Reflections = 0;              // total internal reflections (two at most)
    bool Reflected() const { return Reflections > 0; }
    bool Leaves = true;               // false: the beam ended inside (reflection cap)
};
// Index 0, 1, 2: face BC (the hypotenuse), AC, AB.
int PrismEntryFace(const QVector3D& box);
std::optional<TPrismPath> TracePrism(const QVector3D& box, float index);
// Whether (x, z) lies inside the triangle, borders included (eps outwards).
bool InsidePrism(float x, float z, float eps = 1e-4f);

// --- plane mirror on the x axis, facing +z, 15 long ---
constexpr float kMirrorHalfLength = 7.5f;
constexpr float kSlitAngle = 7.5946f; // degrees between a side ray and the central ray
struct TMirrorRay {
    bool Shown = false;
    int Count = 0; // 3 in front (box, hit, reflected end), 2 behind (box, hit)
    std::array<QVector3D, 3> Nodes{};
};
struct TMirrorRays {
    float Theta = 0;
    float MirrorAngle = -1; // degrees between the central ray and the mirror; -1 behind
    std::array<TMirrorRay, 3> Rays; // central, first side (phi + delta), second side (phi - delta)
};
std::optional<TMirrorRays> MirrorRays(const QVector3D& box);

} // namespace quarvel
