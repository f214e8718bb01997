#include "widgets/lanczos.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace quarvel {

namespace {
constexpr double kLobes = 3.0;

double Kernel(double x) {
    x = std::abs(x);
    if (x < 1e-9)
        return 1.0;
    if (x >= kLobes)
        return 0.0;
    const double px = std::numbers::pi * x;
    return kLobes * std::sin(px) * std::sin(px / kLobes) / (px * px);
}

struct TContribution {
    int First = 0;
    std::vector<float> Weights;
};

// Weights mapping `dst` samples onto `src` samples along one axis.
std::vector<TContribution> Contributions(int src, int dst) {
    std::vector<TContribution> out(dst);
    const double scale = double(dst) / src;
    const double support = scale < 1.0 ? kLobes / scale : kLobes;
    const double filterScale = scale < 1.0 ? scale : 1.0;
    for (int i = 0; i < dst; ++i) {
        const double centre = (i + 0.5) / scale;
        const int first = std::max(0, int(std::floor(centre - support)));
        const int last = std::min(src - 1, int(std::ceil(centre + support)));
        TContribution& c = out[i];
        c.First = first;
        double sum = 0;
        for (int j = first; j <= last; ++j) {
            const double w = Kernel((j + 0.5 - centre) * filterScale);
            c.Weights.push_back(float(w));
            sum += w;
        }
        if (sum != 0)
            for (float& w : c.Weights)
                w = float(w / sum);
    }
    return out;
}

inline int Clamp255(float v) { return std::clamp(int(std::lround(v)), 0, 255); }
} // namespace

QImage LanczosScaled(const QImage& source, QSize size) {
    if (source.isNull() || size.isEmpty())
        return {};
    const QImage src = source.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const int sw = src.width(), sh = src.height(), dw = size.width(), dh = size.height();
    const auto hc = Contributions(sw, dw);
    const auto vc = Contributions(sh, dh);

    // Horizontal pass into floats (4 channels), then vertical into the result.
    std::vector<float> mid(std::size_t(dw) * sh * 4);
    for (int y = 0; y < sh; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(src.constScanLine(y));
        for (int x = 0; x < dw; ++x) {
            float a = 0, r = 0, g = 0, b = 0;
            const TContribution& c = hc[x];
            for (std::size_t k = 0; k < c.Weights.size(); ++k) {
                const QRgb p = line[c.First + int(k)];
                const float w = c.Weights[k];
                a += w * qAlpha(p);
                r += w * qRed(p);
                g += w * qGreen(p);
                b += w * qBlue(p);
            }
            float* m = &mid[(std::size_t(y) * dw + x) * 4];
            m[0] = a, m[1] = r, m[2] = g, m[3] = b;
        }
    }
    QImage out(dw, dh, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < dh; ++y) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        const TContribution& c = vc[y];
        for (int x = 0; x < dw; ++x) {
            float acc[4] = {0, 0, 0, 0};
            for (std::size_t k = 0; k < c.Weights.size(); ++k) {
                const float* m = &mid[(std::size_t(c.First + int(k)) * dw + x) * 4];
                const float w = c.Weights[k];
                for (int ch = 0; ch < 4; ++ch)
                    acc[ch] += w * m[ch];
            }
            const int a = Clamp255(acc[0]);
            // premultiplied colour never exceeds alpha
            line[x] = qRgba(std::min(Clamp255(acc[1]), a), std::min(Clamp255(acc[2]), a),
                            std::min(Clamp255(acc[3]), a), a);
        }
    }
    return out;
}

} // namespace quarvel
