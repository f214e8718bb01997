#include "host/cadencer.h"

#include <QSignalSpy>
#include <QTest>
#include <cmath>

using namespace quarvel;

class TestCadencer : public QObject {
    Q_OBJECT
private slots:
    void init() { m_clock = 100; }
    void fixedStepsKeepTheRemainder();
    void longPauseCutToTheMaximum();
    void minimumDelta();
    void noTimePassesWhileDisabled();
    void multiplierZeroAndBack();
    void multiplierRebases();
    void asapRunsFromTheEventLoop();
    void nestedProgressIsBlocked();

private:
    std::unique_ptr<TNGLCadencer> Make() {
        auto c = std::make_unique<TNGLCadencer>();
        c->Clock = [this] { return m_clock; };
        c->SetMode(TNGLCadencer::TMode::Manual);
        c->SetEnabled(true);
        connect(c.get(), &TNGLCadencer::OnProgress, this,
                [this](TNGLCadencer*, double dt, double t) { m_steps << dt, m_times << t; });
        m_steps.clear();
        m_times.clear();
        return c;
    }
    double m_clock = 100;
    QList<double> m_steps, m_times;
};

void TestCadencer::fixedStepsKeepTheRemainder() {
    auto c = Make();
    c->FixedDeltaTime = 0.1;
    m_clock += 0.35;
    c->Progress();
    QCOMPARE(m_steps.size(), 3);
    for (double s : m_steps)
        QCOMPARE(s, 0.1);
    m_clock += 0.02; // 0.05 kept + 0.02: still short of a step
    c->Progress();
    QCOMPARE(m_steps.size(), 3);
    m_clock += 0.04; // 0.05 kept + 0.06: one more step
    c->Progress();
    QCOMPARE(m_steps.size(), 4);
}

void TestCadencer::longPauseCutToTheMaximum() {
    auto c = Make();
    c->MaxDeltaTime = 0.5;
    m_clock += 3;
    c->Progress();
    QCOMPARE(m_steps, QList<double>({0.5}));
    QVERIFY(std::abs(c->GetCurrentTime() - 0.5) < 1e-9); // the cut 2.5 s are skipped
    m_clock += 0.1;
    c->Progress();
    QVERIFY(std::abs(m_steps.last() - 0.1) < 1e-9);
}

void TestCadencer::minimumDelta() {
    auto c = Make();
    c->MinDeltaTime = 0.05;
    m_clock += 0.03;
    c->Progress();
    QVERIFY(m_steps.isEmpty());
    m_clock += 0.03;
    c->Progress();
    QCOMPARE(m_steps.size(), 1);
    QVERIFY(std::abs(m_steps[0] - 0.06) < 1e-9);
}

void TestCadencer::noTimePassesWhileDisabled() {
    auto c = Make();
    m_clock += 1;
    c->Progress();
    c->SetEnabled(false);
    m_clock += 10;
    c->Progress();
    QCOMPARE(m_steps.size(), 1);
    c->SetEnabled(true);
    QVERIFY(std::abs(c->GetCurrentTime() - 1) < 1e-9); // continues where it stopped
    m_clock += 0.2;
    c->Progress();
    QVERIFY(std::abs(m_steps.last() - 0.2) < 1e-9);
}

void TestCadencer::multiplierZeroAndBack() {
    auto c = Make();
    c->SetTimeMultiplier(2);
    m_clock += 1;
    c->Progress();
    QVERIFY(std::abs(m_times.last() - 2) < 1e-9);
    c->SetTimeMultiplier(0);
    QVERIFY(!c->Enabled());
    m_clock += 5;
    c->Progress();
    QCOMPARE(m_steps.size(), 1);
    c->SetTimeMultiplier(2); // back: enabled again, no jump
    QVERIFY(c->Enabled());
    QVERIFY(std::abs(c->GetCurrentTime() - 2) < 1e-9);
    m_clock += 0.5;
    c->Progress();
    QVERIFY(std::abs(m_steps.last() - 1) < 1e-9);
}

void TestCadencer::multiplierRebases() {
    auto c = Make();
    m_clock += 4;
    const double before = c->GetCurrentTime();
    c->SetTimeMultiplier(3);
    QVERIFY(std::abs(c->GetCurrentTime() - before) < 1e-9); // no jump
    m_clock += 1;
    QVERIFY(std::abs(c->GetCurrentTime() - (before + 3)) < 1e-9);
}

void TestCadencer::asapRunsFromTheEventLoop() {
    TNGLCadencer c;
    QSignalSpy spy(&c, &TNGLCadencer::OnProgress);
    c.SetEnabled(true); // ASAP by default
    QTRY_VERIFY(spy.size() >= 3);
    c.SetEnabled(false);
    const int count = int(spy.size());
    QTest::qWait(50);
    QCOMPARE(int(spy.size()), count);
}

void TestCadencer::nestedProgressIsBlocked() {
    auto c = Make();
    int nested = 0;
    connect(c.get(), &TNGLCadencer::OnProgress, this, [&](TNGLCadencer* sender, double, double) {
        ++nested;
        m_clock += 1;
        sender->Progress(); // from inside a progress: nothing happens
    });
    m_clock += 1;
    c->Progress();
    QCOMPARE(nested, 1);
}

QTEST_GUILESS_MAIN(TestCadencer)
#include "tst_cadencer.moc"
