// Renders an SVG drawing of the course to a 24-bit BMP of a given size:
//   render IN.svg OUT.bmp WIDTH HEIGHT
// Build: g++ -std=c++20 -fPIC render.cpp $(the Qt 6 Svg, Gui and Core flags)
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdio>

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 5) {
        std::fprintf(stderr, "usage: render IN.svg OUT.bmp WIDTH HEIGHT\n");
        return 2;
    }
    QSvgRenderer svg(QString::fromLocal8Bit(argv[1]));
    if (!svg.isValid())
        return 1;
    QImage image(QString(argv[3]).toInt(), QString(argv[4]).toInt(), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    svg.render(&p);
    p.end();
    return image.convertToFormat(QImage::Format_RGB888).save(QString::fromLocal8Bit(argv[2]), "BMP") ? 0 : 1;
}
