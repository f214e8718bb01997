// Times one frame of the kinetic theory panel as its frame timer runs it:
// the step of all 100 particles (all-pairs contact test) and the full redraw
// of a 1024 x 768 off-screen picture, at the highest temperature and a
// 60 Hz frame. Prints "name: milliseconds" lines per mode (mean per frame,
// the 99th percentile and the slowest one seen) and the frames per second that leaves room for.

#include "common/random.h"
#include "models/heat/kinetic.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <algorithm>
#include <cstdio>
#include <vector>

using namespace quarvel;

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    const QSize size(1024, 768);
    const QImage first = ParticlePicture(24, false), second = ParticlePicture(24, true);
    QImage picture(size, QImage::Format_ARGB32_Premultiplied);
    struct TCase {
        const char* Name;
        int Mode;
    } cases[] = {{"solid", TKineticModel::kSolid},
                 {"liquid", TKineticModel::kLiquid},
                 {"gas", TKineticModel::kGas},
                 {"pressure", TKineticModel::kSmallVolume},
                 {"diffusion_mixed", TKineticModel::kDiffusion}};
    double slowestMean = 0;
    for (const TCase& c : cases) {
        SharedRandom().SetSeed(1);
        TKineticModel m(12);
        m.SetDrawingSize(size);
        m.Mode = std::uint8_t(c.Mode);
        m.Box = m.ContainerRect(c.Mode);
        m.Barrier = false;
        m.PlaceParticles();
        m.Temperature = TKineticModel::kMaxTemperature;
        const float d = c.Mode == TKineticModel::kSolid || c.Mode == TKineticModel::kSmallVolume
                            ? m.Temperature * 0.02f
                            : m.Temperature / 60.0f;
        auto frame = [&] {
            m.StepParticles(d);
            if (c.Mode == TKineticModel::kDiffusion)
                m.DrawDiffusionInto(picture, first, second);
            else
                m.DrawParticlesInto(picture, first);
        };
        for (int i = 0; i < 60; ++i) // warm up
            frame();
        constexpr int kFrames = 600;
        double total = 0, worst = 0;
        std::vector<double> times;
        QElapsedTimer t;
        for (int i = 0; i < kFrames; ++i) {
            t.start();
            frame();
            const double ms = t.nsecsElapsed() / 1e6;
            total += ms;
            worst = std::max(worst, ms);
            times.push_back(ms);
        }
        std::sort(times.begin(), times.end());
        const double mean = total / kFrames;
        slowestMean = std::max(slowestMean, mean);
        std::printf("kinetic_frame_ms_%s: %.3f\n", c.Name, mean);
        std::printf("kinetic_frame_ms_%s_p99: %.3f\n", c.Name, times[kFrames * 99 / 100]);
        std::printf("kinetic_frame_ms_%s_max: %.3f\n", c.Name, worst);
    }
    std::printf("kinetic_fps_possible: %.0f\n", 1000.0 / slowestMean);
    return 0;
}
