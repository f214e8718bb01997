#include "shell/driver.h"

#include "browser/courseview.h"
#include "shell/framefrm.h"

#include <QApplication>
#include <QScreen>
#include <QTimer>
#include <QWebEngineView>
#include <cstdio>

namespace quarvel {

TStartupDriver::TStartupDriver(TFrameFrm* frame, TCommandLine options)
    : QObject(frame), m_frame(frame), m_options(std::move(options)) {}

void TStartupDriver::Start() {
    if (m_frame->EWB->url().isEmpty()) {
        QTimer::singleShot(0, this, &TStartupDriver::PageReady);
        return;
    }
    connect(m_frame->EWB, &QWebEngineView::loadFinished, this, [this](bool ok) {
        // A load that was replaced by the next one (--open) also reports,
        // as failed: wait for the one that counts.
        if (ok)
            PageReady();
        else
            QTimer::singleShot(1500, this, &TStartupDriver::PageReady);
    });
    // A page that never finishes must not hold a scripted run forever.
    QTimer::singleShot(30000, this, &TStartupDriver::PageReady);
}

void TStartupDriver::PageReady() {
    if (m_done)
        return;
    m_done = true;
    if (m_options.Benchmark)
        std::printf("startup_ms: %.0f\n", MillisecondsSinceProcessStart()), std::fflush(stdout);
    for (const QString& word : m_options.Commands)
        if (!m_frame->RunPageCommand(word))
            std::fprintf(stderr, "Page command %s does nothing here.\n", qPrintable(word));
    if (m_options.Screenshot.isEmpty() && !m_options.Quit)
        return;
    // Give the page and the left pane a moment to paint before the picture.
    QTimer::singleShot(m_options.Screenshot.isEmpty() ? 0 : 700, this, &TStartupDriver::Finish);
}

void TStartupDriver::Finish() {
    if (!m_options.Screenshot.isEmpty()) {
        if (!SaveWindowPicture(m_frame, m_options.Screenshot))
            std::fprintf(stderr, "Could not write %s\n", qPrintable(m_options.Screenshot));
    }
    if (m_options.Quit) {
        delete m_frame; // saves the settings, as closing does
        QApplication::quit();
    }
}

bool SaveWindowPicture(QWidget* window, const QString& file) {
    QPixmap pm = window->grab();
    if (pm.isNull())
        return false;
    return pm.save(file);
}

} // namespace quarvel
