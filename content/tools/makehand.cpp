// Builds the course's hand mesh "Hand.3ds": a left hand set for the
// left-hand rule, made of rounded limbs. In the hand's own frame (before the
// models' scale of 0.2 and offset of -0.1) the first finger points along +x,
// the second finger along +z and the thumb along +y; the palm faces +z and
// the wrist lies towards -x. Usage: quarvel-makehand OUTPUT.3ds

#include "scene/primitives.h"
#include "scene/solids.h"

#include <QCoreApplication>
#include <QQuaternion>
#include <cstdio>

using namespace quarvel;

namespace {

// Scene units (as the models show it) to the mesh's own units.
QVector3D ToMesh(const QVector3D& p) { return p * 5.f + QVector3D(0.5f, 0.5f, 0.5f); }

void AddBall(TMesh& out, const QVector3D& at, float radius, const QVector3D& squash = {1, 1, 1}) {
    TSphere s;
    s.SetRadius(radius * 5);
    s.SetSlices(16);
    s.SetStacks(10);
    QMatrix4x4 m;
    m.translate(ToMesh(at));
    m.scale(squash);
    out.Append(s.Geometry(), m);
}

void AddLimb(TMesh& out, const QVector3D& a, const QVector3D& b, float radius) {
    TCylinder c;
    c.SetRadius(radius * 5);
    c.SetHeight(1);
    c.SetSlices(16);
    c.SetParts(TCylinder::Sides);
    const QVector3D d = b - a;
    QMatrix4x4 m;
    m.translate(ToMesh((a + b) / 2));
    m.rotate(QQuaternion::rotationTo({0, 1, 0}, d.normalized()));
    m.scale(1, d.length() * 5, 1);
    out.Append(c.Geometry(), m);
    AddBall(out, b, radius);
}

// A finger through its joints, thinning towards the tip.
void AddFinger(TMesh& out, const std::vector<QVector3D>& joints, float radius) {
    AddBall(out, joints.front(), radius);
    for (std::size_t i = 0; i + 1 < joints.size(); ++i)
        AddLimb(out, joints[i], joints[i + 1], radius * (1.f - 0.08f * float(i)));
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: quarvel-makehand OUTPUT.3ds\n");
        return 2;
    }
    TMesh hand;
    // Palm: a flattened ball in the x-y plane, the back of the hand at -z.
    AddBall(hand, {-0.17f, -0.04f, 0}, 0.19f, {1.0f, 0.85f, 0.32f});
    AddBall(hand, {-0.05f, -0.04f, 0}, 0.14f, {1.0f, 1.0f, 0.4f});
    // Wrist and forearm towards -x.
    AddLimb(hand, {-0.32f, -0.04f, 0}, {-0.62f, -0.05f, 0}, 0.085f);
    // First finger straight along +x (the field).
    AddFinger(hand, {{0.02f, 0.07f, 0}, {0.16f, 0.07f, 0}, {0.27f, 0.07f, 0}, {0.36f, 0.07f, 0}}, 0.034f);
    // Second finger bent at its knuckle to point along +z (the current).
    AddFinger(hand, {{0.03f, 0.0f, 0}, {0.07f, 0.0f, 0.06f}, {0.07f, 0.0f, 0.2f}, {0.07f, 0.0f, 0.33f}}, 0.034f);
    // Third and little fingers curled into the palm.
    AddFinger(hand, {{0.02f, -0.07f, 0}, {0.08f, -0.07f, 0.05f}, {0.05f, -0.07f, 0.11f}, {-0.01f, -0.07f, 0.1f}},
              0.031f);
    AddFinger(hand, {{-0.01f, -0.13f, 0}, {0.04f, -0.13f, 0.04f}, {0.02f, -0.13f, 0.09f}, {-0.03f, -0.13f, 0.08f}},
              0.027f);
    // Thumb from the heel of the hand straight up along +y (the motion).
    AddFinger(hand, {{-0.17f, 0.1f, 0.02f}, {-0.08f, 0.17f, 0.02f}, {-0.06f, 0.28f, 0.02f}, {-0.06f, 0.38f, 0.02f}},
              0.038f);
    // 3DS files stand on z: the course's y-up frame is written z-up, as
    // readers of the format turn it back.
    for (auto* v : {&hand.Positions, &hand.Normals})
        for (QVector3D& p : *v)
            p = QVector3D(p.x(), -p.z(), p.y());
    if (!SaveMeshAs3ds(hand, QString::fromLocal8Bit(argv[1]))) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    std::printf("%zu triangles\n", hand.TriangleCount());
    return 0;
}
