#pragma once
// Carries out --screenshot, --benchmark and --quit once the main window is
// shown and its page has loaded.

#include "widgets/options.h"

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
    // Runs the commands one per turn of the event loop: a command that opens
    // a modal window (the test window) does not hold up the ones after it.
    void RunNextCommand();
    void AfterCommands();
    // Finishes once every page on show has loaded (or after `triesLeft` looks).
    void WhenPagesLoaded(int triesLeft);
    void Finish();
    void Quit();
    void MeasureAnimation();
    void MeasureStillScene();
    TFrameFrm* m_frame;
    TCommandLine m_options;
    bool m_done = false;
    int m_nextCommand = 0;
};

// Saves a picture of the whole window, web page and 3D view included, with
// a modal window of the program (the test window) where it stands over it.
bool SaveWindowPicture(QWidget* window, const QString& file);

} // namespace quarvel
