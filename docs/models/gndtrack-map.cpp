// Makes the ground-track strip's map: an equal-area cylindrical projection
// (heights go with the sine of the latitude) of the course's Earth map.
#include <QGuiApplication>
#include <QImage>
#include <cmath>
int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    QImage src(argv[1]);
    src = src.convertToFormat(QImage::Format_RGB32);
    const int W = 292, H = 130, S = 4;
    QImage out(W, H, QImage::Format_RGB32);
    const double cy = H / 2.0;
    for (int j = 0; j < H; ++j)
        for (int i = 0; i < W; ++i) {
            double r = 0, g = 0, b = 0;
            for (int sj = 0; sj < S; ++sj)
                for (int si = 0; si < S; ++si) {
                    const double x = i + (si + 0.5) / S, y = j + (sj + 0.5) / S;
                    const double lon = x / W * 360 - 180;
                    const double s = std::clamp((cy - y) / cy, -1.0, 1.0);
                    const double lat = std::asin(s) * 180 / M_PI;
                    const int px = std::clamp(int((lon + 180) / 360 * src.width()), 0, src.width() - 1);
                    const int py = std::clamp(int((90 - lat) / 180 * src.height()), 0, src.height() - 1);
                    const QRgb c = src.pixel(px, py);
                    r += qRed(c), g += qGreen(c), b += qBlue(c);
                }
            const int n = S * S;
            out.setPixel(i, j, qRgb(int(r / n + 0.5), int(g / n + 0.5), int(b / n + 0.5)));
        }
    return out.save(argv[2], "BMP") ? 0 : 1;
}
