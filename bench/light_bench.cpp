// Times the light panels' redrawing as the pupil works them: a lens-bench
// drag move, a colour-mixing repaint and a kaleidoscope fill of the whole
// drawing with eight copies. Prints "name: milliseconds" lines (mean per
// operation, and the slowest one seen). With "--kscope-picture FILE" it also
// saves the kaleidoscope panel with a sample pattern drawn through its pointer
// handlers, for the documentation.

#include "models/light/colmix.h"
#include "models/light/lensexpt.h"
#include "models/light/symdraw.h"

#include <QtMath>

#include <QAction>
#include <QApplication>
#include <QSlider>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>

using namespace quarvel;

int main(int argc, char** argv) {
    QApplication app(argc, argv);

    // A drag of the screen across the bench, then of the lens, one pixel a
    // move: each move redraws the bench and the image, as UpdateImage does.
    {
        TLensBench bench;
        double total = 0, worst = 0;
        int moves = 0;
        auto move = [&] {
            QElapsedTimer t;
            t.start();
            const QImage b = DrawBench(bench);
            const QImage image = DrawLensImage(bench, true);
            const double ms = t.nsecsElapsed() / 1e6;
            total += ms;
            worst = std::max(worst, ms);
            ++moves;
            return b.width() + image.width();
        };
        int sink = 0;
        for (int x = 260; x < 825; x += 1) {
            bench.ScreenX = x;
            sink += move();
        }
        bench.ScreenX = 824;
        for (int x = 150; x < 803; x += 1) {
            bench.LensX = x;
            sink += move();
        }
        std::printf("lens_update_image_ms: %.3f\n", total / moves);
        std::printf("lens_update_image_worst_ms: %.3f\n", worst);
        if (sink == 0)
            return 1;
    }

    // Colour mixing at a 600 x 600 drawing area, and the picture mode.
    {
        TColMixLights lights;
        double total = 0, worst = 0;
        const int runs = 200;
        for (int i = 0; i < runs; ++i) {
            lights.Position[i % 3] = i % 256;
            QElapsedTimer t;
            t.start();
            const QImage image = DrawColourCircles(lights, 600, 600);
            const double ms = t.nsecsElapsed() / 1e6;
            total += ms;
            worst = std::max(worst, ms);
            if (image.isNull())
                return 1;
        }
        std::printf("colmix_circles_600_ms: %.3f\n", total / runs);
        std::printf("colmix_circles_600_worst_ms: %.3f\n", worst);
        QImage picture(300, 400, QImage::Format_RGB32);
        picture.fill(qRgb(200, 150, 100));
        total = 0;
        for (int i = 0; i < runs; ++i) {
            lights.Position[i % 3] = i % 256;
            QElapsedTimer t;
            t.start();
            const QImage image = LightPicture(picture, lights);
            total += t.nsecsElapsed() / 1e6;
            if (image.isNull())
                return 1;
        }
        std::printf("colmix_picture_300x400_ms: %.3f\n", total / runs);
    }

    // The whole drawing filled, eight copies tried, colours alternating.
    {
        TSymDrawing drawing;
        drawing.Copies = 8;
        double total = 0, worst = 0;
        const int runs = 50;
        for (int i = 0; i < runs; ++i) {
            drawing.FillColour = i % 2 ? 0xFFFFFFFF : 0xFF2080C0;
            QElapsedTimer t;
            t.start();
            const int filled = drawing.FillAt(QPoint(120, 40));
            const double ms = t.nsecsElapsed() / 1e6;
            total += ms;
            worst = std::max(worst, ms);
            if (filled != 250000)
                return 1;
        }
        std::printf("kscope_full_fill_8_copies_ms: %.3f\n", total / runs);
        std::printf("kscope_full_fill_8_copies_worst_ms: %.3f\n", worst);
    }

    const QStringList args = app.arguments();
    const qsizetype at = args.indexOf(QStringLiteral("--kscope-picture"));
    if (at >= 0 && at + 1 < args.size()) {
        TSymDrawFrm panel;
        panel.resize(520, 640);
        panel.show();
        panel.AngleChosen(5);
        const QRgb colours[] = {0xFFEF3F00, 0xFF0070C0, 0xFF00904F};
        for (int i = 0; i < 3; ++i) {
            panel.PaletteClick(colours[i]);
            panel.SDPenSizeTB->setValue(2 + 2 * i);
            panel.PicMouseDown(QPoint(250 + 40 * (i + 1), 250), Qt::LeftButton);
            for (int step = 1; step <= 24; ++step) {
                const double a = step * 3.75 * M_PI / 180;
                const double r = 40 * (i + 1) + 25 * std::sin(step * M_PI / 12);
                panel.PicMouseMove(QPoint(int(250 + r * std::cos(a)), int(250 + r * std::sin(a))), Qt::LeftButton);
            }
            panel.PicMouseUp();
        }
        panel.sdFillBtn->trigger();
        panel.PaletteClick(0xFFFFFF70);
        panel.PicMouseDown(QPoint(480, 480), Qt::LeftButton);
        panel.PicMouseUp();
        panel.sdPenBtn->trigger();
        if (!panel.grab().save(args[at + 1]))
            return 1;
    }
    return 0;
}
