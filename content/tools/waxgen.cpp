// Makes the course's wax blob, "3DS/Wax.3ds": a lump of candle wax holding a
// pin's flat head against a plate. The lump rises along its local -y axis
// from a flat foot (y = 0, on the plate) and is slightly irregular round its
// rim, as wax dripped from a candle is.
//
//   quarvel-waxgen OUTPUT.3ds

#include "scene/solids.h"

#include <QCoreApplication>
#include <QTextStream>
#include <cmath>

using namespace quarvel;

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        QTextStream(stderr) << "usage: quarvel-waxgen OUTPUT.3ds\n";
        return 2;
    }
    TRevolutionSolid lump;
    lump.SetSlices(28);
    lump.SetProfile({{0, -0.75f}, {0.45f, -0.72f}, {0.8f, -0.6f}, {1.05f, -0.42f}, {1.22f, -0.2f},
                     {1.3f, -0.05f}, {1.32f, 0}, {0, 0}});
    TMesh mesh = lump.Geometry();
    for (QVector3D& p : mesh.Positions) {
        const float a = std::atan2(p.z(), p.x());
        const float k = 1 + 0.07f * std::sin(3 * a + 0.4f) + 0.04f * std::cos(5 * a);
        p.setX(p.x() * k);
        p.setZ(p.z() * k);
    }
    // The writer stores y up as the file's z up and the reader keeps the
    // file's axes, so the lump is turned here to rise along -y once read.
    for (std::size_t i = 0; i < mesh.Positions.size(); ++i) {
        const QVector3D p = mesh.Positions[i];
        mesh.Positions[i] = {p.x(), -p.z(), p.y()};
        if (i < mesh.Normals.size()) {
            const QVector3D n = mesh.Normals[i];
            mesh.Normals[i] = {n.x(), -n.z(), n.y()};
        }
    }
    if (!SaveMeshAs3ds(mesh, QString::fromLocal8Bit(argv[1]))) {
        QTextStream(stderr) << "cannot write " << argv[1] << "\n";
        return 1;
    }
    return 0;
}
