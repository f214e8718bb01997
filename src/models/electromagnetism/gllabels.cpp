#include "models/electromagnetism/gllabels.h"

#include "models/electromagnetism/emgeometry.h"

#include <cmath>

namespace quarvel {

using namespace emgeom;

void TGL_Label::SetLetter(char16_t letter) {
    if (letter == m_letter)
        return;
    m_letter = letter;
    GeometryChanged();
}
void TGL_Label::SetLetterDepth(float depth) {
    if (depth == m_depth)
        return;
    m_depth = depth;
    GeometryChanged();
}
void TGL_Label::SetLetterSize(float size) {
    if (size == m_size)
        return;
    m_size = size;
    GeometryChanged();
}

void TGL_Label::BuildGeometry(TMesh& mesh) {
    const float z = m_depth / 2, k = m_size;
    auto prism = [&](std::vector<QVector2D> p) {
        for (QVector2D& v : p)
            v *= k;
        ConvexPrism(mesh, p, -z, z);
    };
    if (m_letter == u'S') {
        // Two ring arcs, the lower the upper turned half round.
        const float ri = 0.166f, ro = 0.25f;
        for (int half = 0; half < 2; ++half) {
            const float s = half == 0 ? 1.f : -1.f;
            const QVector2D c(0, 0.208f * s);
            for (int i = 0; i < 10; ++i) {
                const float a0 = Rad(238.f * float(i) / 10), a1 = Rad(238.f * float(i + 1) / 10);
                auto at = [&](float a, float r) { return c + QVector2D(std::cos(a), std::sin(a)) * r * s; };
                prism({at(a0, ri), at(a0, ro), at(a1, ro), at(a1, ri)});
            }
        }
        return;
    }
    prism({{-0.31f, -0.41f}, {-0.23f, -0.41f}, {-0.23f, 0.41f}, {-0.31f, 0.41f}});
    prism({{0.23f, -0.41f}, {0.31f, -0.41f}, {0.31f, 0.41f}, {0.23f, 0.41f}});
    prism({{-0.23f, 0.3f}, {0.23f, -0.41f}, {0.23f, -0.3f}, {-0.23f, 0.41f}});
}

} // namespace quarvel
