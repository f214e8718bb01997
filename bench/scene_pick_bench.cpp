// Picking under the pointer in a busy scene: 500 proxies, a few dense
// meshes and objects in several materials, in a 1024 x 768 view. Prints
// `name: value` lines: microseconds per pick (the 3 x 3 pixel square) while
// hovering over a grid of points, over the densest mesh, and the same grid
// tested the plain way (every ray against every triangle) for comparison.
// Times are the thread's own processor time, so that other work on a shared
// machine does not count.

#include "scene/camera.h"
#include "scene/material.h"
#include "scene/picking.h"
#include "scene/primitives.h"
#include "scene/solids.h"

#include <ctime>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <vector>

using namespace quarvel;

namespace {

struct TScene {
    TDummyCube Root;
    TCamera* Camera = nullptr;
    TSphere* Dense = nullptr;
    TMaterialLibrary Library;
    int Triangles = 0;

    TScene() {
        Library.Add("Copper").Diffuse = {0.72f, 0.45f, 0.2f, 1};
        Library.Add("Metal").Specular = {0.8f, 0.8f, 0.8f, 1};
        Camera = Root.AddNew<TCamera>();
        Camera->SetPosition(0, 4.2f, 8.2f);
        Camera->TargetObject = &Root;
        auto* master = Root.AddNew<TSphere>();
        master->SetRadius(0.12f);
        master->SetSlices(10);
        master->SetStacks(10);
        master->MaterialName = "Copper";
        master->Visible = false;
        for (int i = 0; i < 500; ++i) {
            auto* p = Root.AddNew<TProxy>();
            p->Master = master;
            p->ObjectsOnly = true;
            p->SetPosition(-6 + (i % 25) * 0.5f, -0.5f + (i / 25 % 4) * 0.5f, -3 + (i / 100) * 1.5f);
        }
        // Dense meshes: a fine sphere and a long coil.
        Dense = Root.AddNew<TSphere>();
        Dense->SetRadius(1.2f);
        Dense->SetSlices(160);
        Dense->SetStacks(120);
        Dense->SetPosition(0, 0.5f, 2.5f);
        Dense->MaterialName = "Metal";
        auto* coil = Root.AddNew<TRevolutionSolid>();
        std::vector<QVector2D> wire;
        for (int i = 0; i <= 12; ++i)
            wire.emplace_back(0.45f + 0.06f * std::cos(i * 0.5236f), 0.06f * std::sin(i * 0.5236f) - 0.6f);
        coil->SetProfile(wire);
        coil->SetSlices(400);
        coil->SetSweep(0, 360 * 10);
        coil->SetHelix(0.15f);
        coil->SetPosition(-3.5f, 0, 2.5f);
        coil->MaterialName = "Copper";
        auto* board = Root.AddNew<TCube>();
        board->SetSize(14, 0.1f, 9);
        board->SetPosition(0, -1, 0);
        board->MaterialName = "Metal";
        std::vector<TDrawItem> items;
        CollectDrawItems(&Root, &Library, items);
        for (const TDrawItem& item : items)
            Triangles += int(item.Range(item.Object->Geometry()).second / 3);
    }
};

// Every ray of the square against every triangle of every object.
TSceneObject* PlainPick(TScene& s, const TViewport& view, QPointF pixel) {
    std::vector<TDrawItem> items;
    CollectDrawItems(&s.Root, &s.Library, items);
    TSceneObject* best = nullptr;
    float nearest = std::numeric_limits<float>::max();
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) {
            const TRay ray = view.ScreenRay(pixel + QPointF(dx, dy));
            for (const TDrawItem& item : items)
                if (const auto t = RayHitsItem(ray, item); t && *t < nearest)
                    nearest = *t, best = item.PickTarget;
        }
    return best;
}

struct TTimes {
    double Mean = 0, P99 = 0, Max = 0;
};

double ThreadMicroseconds() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return double(ts.tv_sec) * 1e6 + double(ts.tv_nsec) / 1e3;
}

template <class F> TTimes Time(const std::vector<QPointF>& pixels, int rounds, F pick) {
    std::vector<double> us;
    for (int r = 0; r < rounds; ++r)
        for (const QPointF& px : pixels) {
            const double start = ThreadMicroseconds();
            pick(px);
            us.push_back(ThreadMicroseconds() - start);
        }
    std::sort(us.begin(), us.end());
    TTimes t;
    for (double v : us)
        t.Mean += v;
    t.Mean /= double(us.size());
    t.P99 = us[std::size_t(double(us.size() - 1) * 0.99)];
    t.Max = us.back();
    return t;
}

} // namespace

int main() {
    TScene scene;
    const TViewport view{scene.Camera, QSize(1024, 768), 76.26f};
    std::vector<QPointF> grid;
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 32; ++x)
            grid.emplace_back(16 + x * 32, 16 + y * 32);
    const QPointF overDense = *view.Project(scene.Dense->AbsolutePosition());
    std::vector<QPointF> dense;
    for (int i = -8; i <= 8; ++i)
        dense.push_back(overDense + QPointF(i * 4, i * 2));

    // The plain way is slow: every fourth point of the grid.
    std::vector<QPointF> some;
    for (std::size_t i = 0; i < grid.size(); i += 4)
        some.push_back(grid[i]);
    int mismatches = 0, maxCandidates = 0, maxExamined = 0;
    for (const QPointF& px : grid) {
        const TPickResult r = Pick(&scene.Root, &scene.Library, view, px);
        maxCandidates = std::max(maxCandidates, r.Candidates);
        maxExamined = std::max(maxExamined, r.Examined);
    }
    for (const QPointF& px : some)
        mismatches += Pick(&scene.Root, &scene.Library, view, px).Object != PlainPick(scene, view, px);
    Time(grid, 1, [&](QPointF px) { Pick(&scene.Root, &scene.Library, view, px); }); // warm up
    const TTimes hover = Time(grid, 5, [&](QPointF px) { Pick(&scene.Root, &scene.Library, view, px); });
    const TTimes overMesh = Time(dense, 20, [&](QPointF px) { Pick(&scene.Root, &scene.Library, view, px); });
    const TTimes plain = Time(some, 1, [&](QPointF px) { PlainPick(scene, view, px); });

    std::printf("pick_scene_objects: %d\n", scene.Root.Count() - 1);
    std::printf("pick_scene_triangles: %d\n", scene.Triangles);
    std::printf("pick_hover_mean_us: %.1f\n", hover.Mean);
    std::printf("pick_hover_p99_us: %.1f\n", hover.P99);
    std::printf("pick_hover_max_us: %.1f\n", hover.Max);
    std::printf("pick_over_dense_mesh_mean_us: %.1f\n", overMesh.Mean);
    std::printf("pick_over_dense_mesh_max_us: %.1f\n", overMesh.Max);
    std::printf("pick_candidates_max: %d\n", maxCandidates);
    std::printf("pick_examined_max: %d\n", maxExamined);
    std::printf("pick_plain_mean_us: %.1f\n", plain.Mean);
    std::printf("pick_differs_from_plain: %d of %d\n", mismatches, int(some.size()));
    return 0;
}
