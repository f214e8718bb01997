// The solenoid and the domains: "name: value" lines.
// - solenoid_redraw_ms: a full redraw of the solenoid panel (every field
//   line traced and drawn), as after each change of a setting;
// - solenoid_pointer_move_ms: a pointer move with the compass held, painted
//   on the screen, and how many full redraws the moves caused (none: only
//   the readout and compass layers are repainted);
// - domains_step_ms: one scroll step of the domains (200 arrows turned).

#include "models/electromagnetism/domains.h"
#include "models/electromagnetism/layeredpic.h"
#include "models/electromagnetism/solenoidfrm.h"
#include "scene/sceneobject.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QSpinBox>
#include <QTest>
#include <algorithm>
#include <cstdio>

using namespace quarvel;

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    TSolenoidFrm panel;
    panel.resize(1024, 768);
    panel.show();
    (void)QTest::qWaitForWindowExposed(&panel);
    panel.SetMeasure(true);

    double best = 1e9, worst = 0;
    for (int run = 0; run < 10; ++run) {
        QElapsedTimer t;
        t.start();
        panel.GridBtn->trigger(); // a full redraw, grid on and off in turn
        panel.Pic->repaint();
        const double ms = double(t.nsecsElapsed()) / 1e6;
        best = std::min(best, ms);
        worst = std::max(worst, ms);
    }
    std::printf("solenoid_redraw_ms: %.2f\nsolenoid_redraw_worst_ms: %.2f\n", best, worst);
    panel.RadiusSE->setValue(50);
    panel.TurnsSE->setValue(20);
    panel.SpacingSE->setValue(5);
    best = 1e9;
    for (int run = 0; run < 5; ++run) {
        QElapsedTimer t;
        t.start();
        panel.GridBtn->trigger();
        best = std::min(best, double(t.nsecsElapsed()) / 1e6);
    }
    std::printf("solenoid_redraw_20_turns_r50_ms: %.2f\n", best);

    const int redraws = panel.Redraws;
    QTest::mousePress(panel.Pic, Qt::LeftButton, {}, QPoint(100, 100));
    const int moves = 200;
    QElapsedTimer t;
    t.start();
    for (int i = 0; i < moves; ++i) {
        const QPointF at(100 + i * 3, 100 + i * 2);
        QMouseEvent move(QEvent::MouseMove, at, panel.Pic->mapToGlobal(at), Qt::NoButton, Qt::LeftButton,
                         Qt::NoModifier);
        QCoreApplication::sendEvent(panel.Pic, &move);
        panel.Pic->repaint();
    }
    std::printf("solenoid_pointer_move_ms: %.3f\nsolenoid_pointer_move_full_redraws: %d\n",
                double(t.nsecsElapsed()) / 1e6 / moves, panel.Redraws - redraws);

    TDummyCube base;
    BuildDomains(&base, nullptr);
    const int steps = 361;
    t.restart();
    for (int v = 0; v < steps; ++v)
        SetDomainSpread(&base, float(360 - v));
    std::printf("domains_step_ms: %.4f\n", double(t.nsecsElapsed()) / 1e6 / steps);
    return 0;
}
