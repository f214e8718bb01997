#pragma once
// The frame timer of experiment panels: it reports the time elapsed since
// its last report, so a simulation advances by real time whatever the
// frame rate. It can report in fixed steps, cap long gaps, run faster or
// slower than the clock, and be driven by its owner (manual), by the event
// loop as often as possible while still letting input through (ASAP), or
// when the event loop is otherwise idle.
//
// Rules:
//   time = (clock - origin) * TimeMultiplier
//   disabling stores the clock; enabling moves the origin on by the time
//   spent disabled, so that time is skipped;
//   a multiplier of 0 disables (remembering the old one); a new non-zero
//   multiplier re-bases the origin so the time continues without a jump;
//   a report happens when delta >= MinDeltaTime and delta >= FixedDeltaTime;
//   a delta above MaxDeltaTime is cut to it and the rest is skipped;
//   with FixedDeltaTime the delta is reported in steps of exactly that size
//   and the remainder kept for the next time.

#include <QObject>
#include <functional>

namespace quarvel {

class TNGLCadencer : public QObject {
    Q_OBJECT
public:
    enum class TTimeReference { RTC, PerformanceCounter, External };
    enum class TMode { Manual, ASAP, ApplicationIdle };

    explicit TNGLCadencer(QObject* parent = nullptr);
    ~TNGLCadencer() override;

    bool Enabled() const { return m_enabled; }
    void SetEnabled(bool on);
    TTimeReference TimeReference = TTimeReference::PerformanceCounter;
    double TimeMultiplier() const { return m_multiplier; }
    void SetTimeMultiplier(double m);
    double MaxDeltaTime = 0;
    double MinDeltaTime = 0;
    double FixedDeltaTime = 0;
    TMode Mode() const { return m_mode; }
    void SetMode(TMode mode);
    int SleepLength = -1; // ms before each progress when >= 0

    // The external clock's current value (TimeReference External).
    double CurrentTime = 0;
    // Tests replace the clock (seconds).
    std::function<double()> Clock;

    // The component's own time now.
    double GetCurrentTime() const;
    // One progress: reports the elapsed time as the rules say.
    void Progress();
    // Whether a progress is running (nested progress is blocked).
    bool Progressing() const { return m_depth > 0; }

signals:
    // One reported step: its length and the component's time after it.
    void OnProgress(TNGLCadencer* sender, double deltaTime, double newTime);

private:
    double ClockNow() const;
    void UpdateAsapMembership();
    bool m_enabled = false;
    double m_multiplier = 1;
    double m_savedMultiplier = 1;
    TMode m_mode = TMode::ASAP;
    double m_origin = 0;
    double m_downTime = 0;
    double m_lastTime = 0;
    int m_depth = 0;
    class TPump;
    friend class TPump;
};

} // namespace quarvel
