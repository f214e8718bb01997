#include "models/light/rayoptics.h"

#include <algorithm>
#include <cmath>

namespace quarvel {

namespace {
constexpr double kPi = 3.14159265358979323846;
double Rad(double d) { return d * kPi / 180; }
double Deg(double r) { return r * 180 / kPi; }

struct TV2 {
    double x = 0, z = 0;
};
TV2 operator+(TV2 a, TV2 b) { return {a.x + b.x, a.z + b.z}; }
TV2 operator-(TV2 a, TV2 b) { return {a.x - b.x, a.z - b.z}; }
TV2 operator*(double k, TV2 a) { return {k * a.x, k * a.z}; }
double Dot(TV2 a, TV2 b) { return a.x * b.x + a.z * b.z; }
double Cross(TV2 a, TV2 b) { return a.x * b.z - a.z * b.x; }
QVector3D V3(TV2 a) { return QVector3D(float(a.x), 0, float(a.z)); }

// The prism's faces: BC (the hypotenuse on z = x), AC (x = -2), AB (z = 1),
// each from its first corner to its second, with its outward normal.
struct TFace {
    TV2 From, To, Normal;
};
const TFace& Face(int i) {
    static const double h = std::sqrt(0.5);
    static const TFace faces[3] = {
        {{1, 1}, {-2, -2}, {h, -h}},
        {{-2, 1}, {-2, -2}, {-1, 0}},
        {{-2, 1}, {1, 1}, {0, 1}},
    };
    return faces[i];
}

// Where the ray p + t v meets face f's segment: t, or none.
std::optional<double> MeetFace(TV2 p, TV2 v, int f) {
    const TFace& face = Face(f);
    const TV2 e = face.To - face.From;
    const double den = Cross(v, e);
    if (std::abs(den) < 1e-12)
        return std::nullopt; // parallel
    const TV2 w = face.From - p;
    const double t = Cross(w, e) / den, s = Cross(w, v) / den;
    if (s < -1e-9 || s > 1 + 1e-9)
        return std::nullopt;
    return t;
}

// Snell's law in vector form: direction d (unit) crossing a face whose
// normal m points the way d goes, from index n1 to n2 (eta = n1 / n2).
// None when the light is totally reflected.
std::optional<TV2> Refract(TV2 d, TV2 m, double eta) {
    const double c = Dot(d, m);
    const double k = 1 - eta * eta * (1 - c * c);
    if (k <= 0)
        return std::nullopt;
    return eta * d + (std::sqrt(k) - eta * c) * m;
}
} // namespace

std::optional<float> RayboxHeading(float x, float z) {
    const double len = std::hypot(double(x), double(z));
    if (!(len >= kRayboxMinDistance))
        return std::nullopt;
    const double c = std::clamp(double(x) / len, -1.0, 1.0);
    const double a = Deg(std::acos(c));
    return float(z < 0 ? a : 360 - a);
}

std::optional<TRectRays> RectBlockRays(const QVector3D& box) {
    const auto theta = RayboxHeading(box.x(), box.z());
    if (!theta)
        return std::nullopt;
    TRectRays r;
    r.Theta = *theta;
    r.Distance = std::hypot(box.x(), box.z());
    const double refr = std::asin(std::sin(Rad(*theta)) / kGlassIndex);
    r.Refraction = float(Deg(refr));
    const double d = kRectWidth * std::tan(refr);
    r.Shift = float(d);
    r.Path = float(std::sqrt(d * d + double(kRectWidth) * kRectWidth));
    r.Exit = QVector3D(-kRectWidth, 0, float(d));
    return r;
}

float CriticalAngle(float n) { return float(Deg(std::asin(1.0 / n))); }

std::optional<TDBlockRays> DBlockRays(const QVector3D& box) {
    const auto theta = RayboxHeading(box.x(), box.z());
    if (!theta)
        return std::nullopt;
    TDBlockRays r;
    r.Theta = *theta;
    r.Distance = std::hypot(box.x(), box.z());
    const double s = std::sin(Rad(*theta));
    if (box.x() > 0) {
        // Along a radius through the curved face, then out of the flat face from inside.
        const double g = kGlassIndex * s;
        r.TotallyReflected = std::abs(g) >= 1;
        r.OutgoingTurn = r.TotallyReflected ? -*theta : float(Deg(std::asin(g)) + 180);
    } else {
        // Into the flat face, bent towards the normal, out along a radius.
        r.OutgoingTurn = float(-Deg(std::asin(s / kGlassIndex)));
    }
    r.ReflectedTurn = -*theta;
    return r;
}

bool InsidePrism(float x, float z, float eps) {
    const TV2 p{x, z};
    for (int f = 0; f < 3; ++f)
        if (Dot(p - Face(f).From, Face(f).Normal) > eps)
            return false;
    return true;
}

int PrismEntryFace(const QVector3D& box) {
    const TV2 p{box.x(), box.z()};
    const double len = std::hypot(p.x, p.z);
    if (len < kRayboxMinDistance)
        return -1;
    const TV2 u = (-1 / len) * p;
    int best = -1;
    double bestT = 0;
    for (int f = 0; f < 3; ++f) {
        if (Dot(u, Face(f).Normal) >= 0)
            continue; // the beam would be leaving through this face
        const auto t = MeetFace(p, u, f);
        if (t && *t >= 0 && (best < 0 || *t < bestT))
            best = f, bestT = *t;
    }
    return best;
}

std::optional<TPrismPath> TracePrism(const QVector3D& box, float index) {
    const TV2 p0{box.x(), box.z()};
    const double len = std::hypot(p0.x, p0.z);
    if (len < kRayboxMinDistance)
        return std::nullopt;
    TPrismPath path;
    auto add = [&](TV2 q) { path.Nodes[std::size_t(path.Count++)] = V3(q); };
    const TV2 u = (-1 / len) * p0;
    TV2 p, v;
    int last = -1;
    if (InsidePrism(box.x(), box.z(), 0)) {
        p = p0, v = u; // the box stands in the glass: the beam starts there
    } else {
        const int f = PrismEntryFace(box);
        if (f < 0) {
            // Misses the glass (it can only graze a corner): straight on.
            add(p0), add(TV2{}), add(10 * u);
            path.Nodes[3] = path.Nodes[4] = path.Nodes[2];
            return path;
        }
        p = p0 + *MeetFace(p0, u, f) * u;
        v = *Refract(u, -1 * Face(f).Normal, 1.0 / index); // into glass: never total
        last = f;
    }
    add(p);
    for (;;) {
        int next = -1;
        double nextT = 0;
        for (int f = 0; f < 3; ++f) {
            if (f == last || Dot(v, Face(f).Normal) <= 0)
                continue;
            const TFace& face = Face(f);
            const double t = Dot(face.From - p, face.Normal) / Dot(v, face.Normal);
            if (next < 0 || t < nextT)
                next = f, nextT = t;
        }
        const TFace& face = Face(next);
        p = p + std::max(0.0, nextT) * v;
        add(p);
        const auto out = Refract(v, face.Normal, index);
        if (out) {
            add(p + 10 * *out);
            break;
        }
        // Totally reflected; in this prism a beam is reflected twice at most,
        // the cap keeps rounding from sending one round for ever.
        if (++path.Reflections > 2 || path.Count >= 4) {
            path.Reflections = std::min(path.Reflections, 2);
            path.Leaves = false;
            break;
        }
        v = v - 2 * Dot(v, face.Normal) * face.Normal;
        last = next;
    }
    for (int i = path.Count; i < 5; ++i)
        path.Nodes[std::size_t(i)] = path.Nodes[std::size_t(path.Count - 1)];
    return path;
}

std::optional<TMirrorRays> MirrorRays(const QVector3D& box) {
    const float x = box.x(), z = box.z();
    const auto theta = RayboxHeading(x, z);
    if (!theta)
        return std::nullopt;
    TMirrorRays r;
    r.Theta = *theta;
    const double c = std::clamp(double(x) / std::hypot(double(x), double(z)), -1.0, 1.0);
    const bool front = z >= 0;
    r.MirrorAngle = front ? float(Deg(std::acos(std::abs(c)))) : -1.f;
    const double phi = std::asin(c), delta = Rad(kSlitAngle);
    const double angles[3] = {phi, phi + delta, phi - delta};
    for (int k = 0; k < 3; ++k) {
        TMirrorRay& ray = r.Rays[std::size_t(k)];
        double h = 0;
        if (k > 0) {
            if (std::abs(angles[k]) >= kPi / 2 - 1e-9)
                continue; // heads away from the mirror line
            h = x - std::abs(double(z)) * std::tan(angles[k]);
            if (std::abs(h) > kMirrorHalfLength)
                continue; // passes the mirror's end
        }
        ray.Shown = true;
        ray.Nodes[0] = QVector3D(x, 0, z);
        ray.Nodes[1] = QVector3D(float(h), 0, 0);
        if (front) {
            ray.Count = 3;
            ray.Nodes[2] = QVector3D(float(2 * h - x), 0, z);
        } else {
            ray.Count = 2; // the back of the mirror stops it
            ray.Nodes[2] = ray.Nodes[1];
        }
    }
    return r;
}

} // namespace quarvel
