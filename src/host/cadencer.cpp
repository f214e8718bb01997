#include "host/cadencer.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QPointer>
#include <QThread>
#include <QTimer>
#include <cmath>

namespace quarvel {

namespace {
double CounterSeconds() {
    static QElapsedTimer counter = [] {
        QElapsedTimer t;
        t.start();
        return t;
    }();
    return counter.nsecsElapsed() / 1e9;
}
} // namespace

// The process-wide pump of ASAP and idle cadencers: it calls them from the
// event loop, one round per turn of the loop, so input still gets through.
// After 5000 rounds within the same millisecond it takes a 1 ms breath.
class TNGLCadencer::TPump : public QObject {
public:
    static TPump& Instance() {
        static TPump* pump = new TPump();
        return *pump;
    }
    void Add(TNGLCadencer* c) {
        if (!m_members.contains(c))
            m_members.append(c);
        Schedule();
    }
    void Remove(TNGLCadencer* c) { m_members.removeAll(c); }
    bool Contains(const TNGLCadencer* c) const { return m_members.contains(const_cast<TNGLCadencer*>(c)); }

private:
    TPump() {
        m_timer.setSingleShot(true);
        QObject::connect(&m_timer, &QTimer::timeout, this, [this] { Round(); });
    }
    void Schedule() {
        if (!m_timer.isActive())
            m_timer.start(m_breathing ? 1 : 0);
    }
    void Round() {
        const qint64 now = QDateTime::currentMSecsSinceEpoch();
        m_breathing = false;
        if (now == m_lastTick) {
            if (++m_fastCount > 5000) {
                m_fastCount = 0;
                m_breathing = true;
            }
        } else {
            m_fastCount = 0;
        }
        m_lastTick = now;
        // Last to first, as they joined.
        const QList<QPointer<TNGLCadencer>> members(m_members.begin(), m_members.end());
        for (auto it = members.rbegin(); it != members.rend(); ++it) {
            TNGLCadencer* c = *it;
            if (!c || !c->Enabled() || c->Progressing())
                continue;
            if (QCoreApplication::closingDown()) {
                c->SetEnabled(false);
                continue;
            }
            try {
                c->Progress();
            } catch (...) {
                // The broken component stops; the error goes on to the application.
                c->SetEnabled(false);
                throw;
            }
        }
        m_members.removeAll(nullptr);
        if (!m_members.isEmpty())
            Schedule();
    }
    QList<TNGLCadencer*> m_members;
    QTimer m_timer;
    qint64 m_lastTick = 0;
    int m_fastCount = 0;
    bool m_breathing = false;
};

TNGLCadencer::TNGLCadencer(QObject* parent) : QObject(parent) {}

TNGLCadencer::~TNGLCadencer() { TPump::Instance().Remove(this); }

double TNGLCadencer::ClockNow() const {
    if (Clock)
        return Clock();
    switch (TimeReference) {
    case TTimeReference::RTC:
        return double(QDateTime::currentMSecsSinceEpoch()) / 1000.0;
    case TTimeReference::PerformanceCounter:
        return CounterSeconds();
    case TTimeReference::External:
        return CurrentTime;
    }
    return 0;
}

double TNGLCadencer::GetCurrentTime() const { return (ClockNow() - m_origin) * m_multiplier; }

void TNGLCadencer::SetEnabled(bool on) {
    if (on == m_enabled)
        return;
    if (on)
        m_origin += ClockNow() - m_downTime; // time spent disabled is skipped
    else
        m_downTime = ClockNow();
    m_enabled = on;
    UpdateAsapMembership();
}

void TNGLCadencer::SetTimeMultiplier(double m) {
    if (m == m_multiplier)
        return;
    if (m == 0) {
        m_savedMultiplier = m_multiplier;
        SetEnabled(false);
        m_multiplier = 0;
        return;
    }
    double old = m_multiplier;
    if (old == 0) {
        old = m_savedMultiplier;
        m_multiplier = old;
        SetEnabled(true);
    }
    const double clock = ClockNow();
    m_origin = clock - (clock - m_origin) * old / m;
    m_multiplier = m;
}

void TNGLCadencer::SetMode(TMode mode) {
    m_mode = mode;
    UpdateAsapMembership();
}

void TNGLCadencer::UpdateAsapMembership() {
    if (m_enabled && m_mode != TMode::Manual)
        TPump::Instance().Add(this);
    else
        TPump::Instance().Remove(this);
}

void TNGLCadencer::Progress() {
    if (m_depth != 0)
        return; // a progress from inside a progress does nothing
    if (!m_enabled)
        return;
    if (SleepLength >= 0)
        QThread::msleep(unsigned(SleepLength));
    struct TDepth {
        int& Depth;
        explicit TDepth(int& d) : Depth(d) { ++Depth; }
        ~TDepth() { --Depth; }
    } depth(m_depth);
    if (!m_enabled)
        return;
    double newTime = GetCurrentTime();
    double delta = newTime - m_lastTime;
    if (delta < MinDeltaTime || delta < FixedDeltaTime)
        return;
    if (MaxDeltaTime > 0 && delta > MaxDeltaTime) {
        m_origin += (delta - MaxDeltaTime) / m_multiplier; // the cut time is skipped
        delta = MaxDeltaTime;
        newTime = m_lastTime + delta;
    }
    const double step = FixedDeltaTime > 0 ? FixedDeltaTime : delta;
    while (delta >= step) {
        m_lastTime += step;
        emit OnProgress(this, step, newTime);
        delta -= step;
        if (step <= 0)
            break;
    }
}

} // namespace quarvel
