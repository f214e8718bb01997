// Times tracing and drawing each magnet arrangement, as the magnets panel
// does when the pupil picks one: "name: milliseconds" lines.

#include "models/electromagnetism/permmagfrm.h"

#include <QApplication>
#include <QElapsedTimer>
#include <cstdio>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    quarvel::Tem_PermMagFrm panel(nullptr, 1280);
    const char* names[] = {"single", "ns_ns", "sn_sn", "sn_ns", "ns_sn"};
    for (int item = 0; item < 5; ++item) {
        double best = 1e9;
        for (int run = 0; run < 5; ++run) {
            QElapsedTimer t;
            t.start();
            panel.ChooseArrangement(item);
            best = std::min(best, t.nsecsElapsed() / 1e6);
        }
        std::printf("trace_and_draw_%s_ms: %.2f\n", names[item], best);
    }
    return 0;
}
