#pragma once
// Carries out --screenshot, --benchmark and --quit once the main window is
// shown and its page has loaded.

#include "shell/options.h"

#include <QObject>

namespace quarvel {

class TFrameFrm;

class TStartupDriver : public QObject {
    Q_OBJECT
public:
    TStartupDriver(TFrameFrm* frame, TCommandLine options);
    // Call after the window has been shown.
    void Start();

private:
    void PageReady();
    void Finish();
    void MeasureAnimation();
    TFrameFrm* m_frame;
    TCommandLine m_options;
    bool m_done = false;
};

// Saves a picture of the whole window, web page and 3D view included.
bool SaveWindowPicture(QWidget* window, const QString& file);

} // namespace quarvel
