// Hovering over the bell and relay models: what one pointer move costs the
// pick under it (the 3 x 3 pixel square), over a grid of points across the
// 3D view of the main window at 1024 x 768 (the left half, 512 x 700), with
// the topic's own camera, over the part of the view the model covers. Prints `name: value` lines, microseconds per pick
// of the thread's own processor time.

#include "host/globals.h"
#include "models/electromagnetism/bell.h"
#include "models/electromagnetism/relay.h"
#include "scene/camera.h"
#include "scene/material.h"
#include "scene/picking.h"

#include <QGuiApplication>
#include <QRectF>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <vector>

using namespace quarvel;

namespace {
double Now() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return double(ts.tv_sec) * 1e6 + double(ts.tv_nsec) / 1e3;
}

void Run(const char* name, const std::function<void(TSceneObject*, TMaterialLibrary&)>& build, QVector3D eye) {
    TDummyCube root;
    TMaterialLibrary lib;
    AddCourseMaterials(lib);
    auto* base = root.AddNew<TDummyCube>();
    build(base, lib);
    auto* camera = root.AddNew<TCamera>();
    camera->SetPosition(eye * (1152.f / 1024.f));
    camera->TargetObject = &root;
    TViewport view;
    view.Camera = camera;
    view.Size = QSize(512, 700);
    // A 24 x 24 grid over the model's part of the view (where the objects'
    // places land on the screen, with a margin).
    QRectF area;
    std::function<void(TSceneObject*)> take = [&](TSceneObject* o) {
        if (auto at = view.Project(o->AbsolutePosition()))
            area = area.isNull() ? QRectF(*at, QSizeF(1, 1)) : area.united(QRectF(*at, QSizeF(1, 1)));
        for (int i = 0; i < o->Count(); ++i)
            take(o->Child(i));
    };
    take(base);
    area.adjust(-30, -30, 30, 30);
    std::vector<QPointF> grid;
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 24; ++x)
            grid.emplace_back(area.left() + area.width() * (x + 0.5) / 24, area.top() + area.height() * (y + 0.5) / 24);
    for (const QPointF& p : grid) // warm up: pick trees are built on first use
        Pick(&root, &lib, view, p);
    std::vector<double> times;
    int hits = 0;
    for (int round = 0; round < 5; ++round)
        for (const QPointF& p : grid) {
            const double t0 = Now();
            hits += Pick(&root, &lib, view, p).Object ? 1 : 0;
            times.push_back(Now() - t0);
        }
    std::sort(times.begin(), times.end());
    double sum = 0;
    for (double t : times)
        sum += t;
    std::printf("%s_pick_us_mean: %.1f\n%s_pick_us_p99: %.1f\n%s_pick_us_max: %.1f\n%s_points_on_objects: %d of %zu\n",
                name, sum / double(times.size()), name, times[times.size() * 99 / 100], name, times.back(), name,
                hits / 5, grid.size());
}
} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    TexturesFolder = QString();
    Run("bell", [](TSceneObject* b, TMaterialLibrary& l) { BuildBell(b, l); }, {0, 0, 10});
    Run("relay", [](TSceneObject* b, TMaterialLibrary& l) { BuildRelay(b, l); }, {1.55f, 1.3f, 5.39f});
    return 0;
}
