#include "../testmain.h"
#include "host/panel.h"
#include "widgets/picturebox.h"
#include "models/heat/sndplay.h"
#include "models/heat/sndplayfrm.h"
#include "models/heat/sndwave.h"
#include "models/heat/sndwavefrm.h"
#include "models/heat/sound.h"
#include "models/heat/toneplayer.h"
#include "shell/courseareas.h"
#include "shell/framefrm.h"
#include "widgets/dialogs.h"
#include "widgets/dock.h"

#include <QAction>
#include <QBuffer>
#include <QDir>
#include <QFontInfo>
#include <QScrollBar>
#include <QSettings>
#include <QSpinBox>
#include <QTimer>
#include <QtEndian>
#include <cmath>
#include <limits>
#include <memory>

using namespace quarvel;

namespace {

void Keep(const QImage& image, const char* name) {
    const QString dir = qEnvironmentVariable("QUARVEL_PANEL_PICTURES");
    if (!dir.isEmpty())
        image.save(QDir(dir).filePath(QLatin1String(name)));
}

QVector<qint16> Samples(const QByteArray& bytes) {
    QVector<qint16> s;
    for (qsizetype i = 0; i + 1 < bytes.size(); i += 2)
        s.append(qFromLittleEndian<qint16>(bytes.constData() + i));
    return s;
}

quint32 U32(const QByteArray& b, int at) { return qFromLittleEndian<quint32>(b.constData() + at); }
quint16 U16(const QByteArray& b, int at) { return qFromLittleEndian<quint16>(b.constData() + at); }

// What the fake player heard, kept apart from the player so that it
// outlives the panel that owns the player.
struct TPlayerLog {
    QStringList Events;          // "play N" (N samples) and "stop"
    bool StoppedWhileImageAlive = true;
};

// A player that records instead of sounding. Like the real one it reads
// the image it was given until it is stopped or given another.
class TFakePlayer : public TTonePlayer {
public:
    explicit TFakePlayer(std::shared_ptr<TPlayerLog> log) : m_log(std::move(log)) {}
    void Play(QBuffer* stream) override {
        m_stream = stream;
        m_log->Events << QStringLiteral("play %1").arg((stream->size() - kWaveHeaderSize) / 2);
    }
    void Stop() override {
        if (m_stream.isNull() || !m_stream->buffer().startsWith("RIFF"))
            m_log->StoppedWhileImageAlive = false;
        m_stream = nullptr;
        m_log->Events << QStringLiteral("stop");
    }

private:
    std::shared_ptr<TPlayerLog> m_log;
    QPointer<QBuffer> m_stream;
};

// Hands every new sound-play panel a fake player writing to `log`.
std::shared_ptr<TPlayerLog> UseFakePlayer() {
    auto log = std::make_shared<TPlayerLog>();
    TSndPlayFrm::SetPlayerFactory([log] { return std::make_unique<TFakePlayer>(log); });
    return log;
}

// The middle of key `k`'s sensitive rectangle.
QPoint KeyCentre(const TSndPlayFrm& f, int k) { return f.Keys.KeyRects[k].center(); }

int CountNear(const QImage& image, QColor colour, int tolerance = 60) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (std::abs(c.red() - colour.red()) + std::abs(c.green() - colour.green()) +
                    std::abs(c.blue() - colour.blue()) <= tolerance)
                ++n;
        }
    return n;
}

} // namespace

class TestSound : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanup();

    void waveHeader();
    void makeTone_data();
    void makeTone();
    void makeToneRefuses_data();
    void makeToneRefuses();
    void loopDeviceRunsOnAcrossTones();

    void keyFrequencies_data();
    void keyFrequencies();
    void keyAt_data();
    void keyAt();
    void wavePicturePeriods_data();
    void wavePicturePeriods();

    void wavePhaseSequence();
    void waveLines_data();
    void waveLines();

    void slideOverKeysPlaysEachKeyOnce();
    void pointerOffTheKeysKeepsThePitch();
    void freeingWithAKeyHeldStopsThePlayerFirst();
    void examplesSetTheSpinsSilently();
    void withoutSoundTheKeysStillWork();
    void waveStopStartCarriesThePhase();
    void waveMarker();

    void panelsFromTheirPages();
};

void TestSound::initTestCase() {
    RegisterCourseAreas();
    QSettings(QStringLiteral("Brantock"), QStringLiteral("Quarvel")).clear();
    SetBoxAnswerer([](const TBoxRequest&) { return true; });
}

void TestSound::cleanup() { TSndPlayFrm::SetPlayerFactory({}); }

void TestSound::waveHeader() {
    QBuffer stream;
    QVERIFY(MakeTone(&stream, {16, 0, 0, 0, 0}, 262.0f, nullptr));
    const QByteArray b = stream.buffer();
    QCOMPARE(b.size(), 44 + 2 * 168);
    QCOMPARE(b.left(4), QByteArray("RIFF"));
    QCOMPARE(U32(b, 4), quint32(336 + 36));
    QCOMPARE(b.mid(8, 4), QByteArray("WAVE"));
    QCOMPARE(b.mid(12, 4), QByteArray("fmt "));
    QCOMPARE(U32(b, 16), quint32(16));
    QCOMPARE(U16(b, 20), quint16(1));
    QCOMPARE(U16(b, 22), quint16(1));
    QCOMPARE(U32(b, 24), quint32(44100));
    QCOMPARE(U32(b, 28), quint32(88200));
    QCOMPARE(U16(b, 32), quint16(2));
    QCOMPARE(U16(b, 34), quint16(16));
    QCOMPARE(b.mid(36, 4), QByteArray("data"));
    QCOMPARE(U32(b, 40), quint32(336));

    // Stereo doubles the data size fields.
    char header[kWaveHeaderSize];
    WriteWaveHeader(header, 100, 16, 2, 22050);
    const QByteArray h(header, kWaveHeaderSize);
    QCOMPARE(U32(h, 4), quint32(236));
    QCOMPARE(U32(h, 28), quint32(88200));
    QCOMPARE(U16(h, 32), quint16(4));
    QCOMPARE(U32(h, 40), quint32(200));
}

void TestSound::makeTone_data() {
    QTest::addColumn<float>("frequency");
    QTest::addColumn<QVector<float>>("amplitudes");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("highest");
    QTest::addColumn<int>("lowest");
    QTest::addColumn<int>("clipped"); // samples at +/-32000

    // 168 samples a period; the sample nearest 90 degrees falls 0.17 degrees
    // short of it, the one nearest 270 degrees 0.51 degrees short.
    QTest::newRow("262 Hz at 32") << 262.0f << QVector<float>{32, 0, 0, 0, 0} << 168 << 32000 << -31999 << 1;
    QTest::newRow("262 Hz at 16") << 262.0f << QVector<float>{16, 0, 0, 0, 0} << 168 << 16000 << -15999 << 0;
    // 3.6 degrees a sample: samples 25 and 75 sit on the peaks.
    QTest::newRow("441 Hz at 32") << 441.0f << QVector<float>{32, 0, 0, 0, 0} << 100 << 32000 << -32000 << 2;
    QTest::newRow("overload clipped") << 262.0f << QVector<float>{32, 32, 0, 0, 0} << 168 << 32000 << -32000 << 65;
    QTest::newRow("all zero is silent") << 262.0f << QVector<float>{0, 0, 0, 0, 0} << 168 << 0 << 0 << 0;
    QTest::newRow("key 12") << KeyFrequency(12) << QVector<float>{16, 0, 0, 0, 0} << 84 << 16000 << -15999 << 0;
}

void TestSound::makeTone() {
    QFETCH(float, frequency);
    QFETCH(QVector<float>, amplitudes);
    QFETCH(int, count);
    QFETCH(int, highest);
    QFETCH(int, lowest);
    QFETCH(int, clipped);
    TToneAmplitudes a{};
    std::copy(amplitudes.begin(), amplitudes.end(), a.begin());
    QBuffer stream;
    QVERIFY(MakeTone(&stream, a, frequency, nullptr));
    const QVector<qint16> s = Samples(WaveSamples(stream.buffer()));
    QCOMPARE(s.size(), count);
    QCOMPARE(int(*std::max_element(s.begin(), s.end())), highest);
    QCOMPARE(int(*std::min_element(s.begin(), s.end())), lowest);
    QCOMPARE(int(std::count_if(s.begin(), s.end(), [](qint16 v) { return std::abs(v) == 32000; })), clipped);
    QCOMPARE(s.first(), qint16(0));
    QCOMPARE(s.last(), qint16(0));
    QCOMPARE(int(U32(stream.buffer(), 40)), 2 * count);
}

void TestSound::makeToneRefuses_data() {
    QTest::addColumn<float>("frequency");
    QTest::newRow("zero") << 0.0f;
    QTest::newRow("negative") << -262.0f;
    QTest::newRow("not a number") << std::numeric_limits<float>::quiet_NaN();
    QTest::newRow("infinite") << std::numeric_limits<float>::infinity();
    QTest::newRow("under half a sample a period") << 100000.0f;
}

void TestSound::makeToneRefuses() {
    QFETCH(float, frequency);
    auto log = std::make_shared<TPlayerLog>();
    TFakePlayer player(log);
    QBuffer stream;
    stream.setData("before");
    QVERIFY(!MakeTone(&stream, {16, 0, 0, 0, 0}, frequency, &player));
    QCOMPARE(stream.buffer(), QByteArray("before"));
    QVERIFY(log->Events.isEmpty());
    QVERIFY(ToneSamples({16, 0, 0, 0, 0}, frequency).isEmpty());
    // And without a stream nothing happens at all.
    QVERIFY(!MakeTone(nullptr, {16, 0, 0, 0, 0}, 262.0f, &player));
    QVERIFY(log->Events.isEmpty());
}

void TestSound::loopDeviceRunsOnAcrossTones() {
    QBuffer low, high;
    QVERIFY(MakeTone(&low, {16, 0, 0, 0, 0}, 262.0f, nullptr));  // 168 samples
    QVERIFY(MakeTone(&high, {16, 0, 0, 0, 0}, 441.0f, nullptr)); // 100 samples
    const QByteArray lowSamples = WaveSamples(low.buffer());
    TLoopDevice device;
    device.SetImage(&low.buffer());
    // Two and a half periods in one read: the period repeats.
    const QByteArray first = device.read(lowSamples.size() * 5 / 2);
    QCOMPARE(first.size(), lowSamples.size() * 5 / 2);
    QCOMPARE(first.left(lowSamples.size()), lowSamples);
    QCOMPARE(first.mid(lowSamples.size(), lowSamples.size()), lowSamples);
    QCOMPARE(first.mid(2 * lowSamples.size()), lowSamples.left(lowSamples.size() / 2));
    // A new tone carries on from the same place in its own period, no gap.
    device.SetImage(&high.buffer());
    const QByteArray highSamples = WaveSamples(high.buffer());
    const qsizetype at = (lowSamples.size() / 2) % highSamples.size();
    const QByteArray next = device.read(highSamples.size());
    QCOMPARE(next.size(), highSamples.size());
    QCOMPARE(next, highSamples.mid(at) + highSamples.left(at));
    // Without a tone it reads silence rather than stopping the output.
    device.SetImage(nullptr);
    QCOMPARE(device.read(64), QByteArray(64, '\0'));
}

void TestSound::keyFrequencies_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("hertz"); // truncated, as the picture labels it
    QTest::addColumn<bool>("black");
    QTest::newRow("C") << 0 << 262 << false;
    QTest::newRow("C sharp") << 1 << 277 << true;
    QTest::newRow("E") << 4 << 330 << false;
    QTest::newRow("F") << 5 << 349 << false;
    QTest::newRow("A") << 9 << 440 << false;
    QTest::newRow("C an octave up") << 12 << 524 << false;
    QTest::newRow("C sharp, top") << 25 << 1110 << true;
    QTest::newRow("D, top") << 26 << 1176 << false;
}

void TestSound::keyFrequencies() {
    QFETCH(int, key);
    QFETCH(int, hertz);
    QFETCH(bool, black);
    QCOMPARE(int(KeyFrequency(key)), hertz);
    QCOMPARE(IsBlackKey(key), black);
}

void TestSound::keyAt_data() {
    // The keyboard picture 419 x 126: white keys 26 wide, black keys 18
    // wide, h = 58; white keys sense from y 58 to 115, black keys 0 to 57.
    QTest::addColumn<QPoint>("point");
    QTest::addColumn<int>("key");
    QTest::newRow("white C, top left corner") << QPoint(0, 58) << 0;
    QTest::newRow("white C, above its lower half") << QPoint(0, 57) << -1;
    QTest::newRow("white C, last column") << QPoint(25, 100) << 0;
    QTest::newRow("white D, first column") << QPoint(26, 100) << 2;
    QTest::newRow("white C, last row") << QPoint(10, 115) << 0;
    QTest::newRow("below the keys") << QPoint(10, 116) << -1;
    QTest::newRow("black C sharp, left edge") << QPoint(17, 0) << 1;
    QTest::newRow("left of C sharp") << QPoint(16, 0) << -1;
    QTest::newRow("black C sharp, right edge") << QPoint(34, 57) << 1;
    QTest::newRow("right of C sharp") << QPoint(35, 57) << -1;
    QTest::newRow("under C sharp, white C") << QPoint(20, 58) << 0;
    QTest::newRow("between E and F, no black key") << QPoint(78, 20) << -1;
    QTest::newRow("white F, first column") << QPoint(78, 100) << 5;
    QTest::newRow("black C sharp, top octave") << QPoint(381, 10) << 25;
    QTest::newRow("left of the top C sharp") << QPoint(380, 10) << -1;
    QTest::newRow("white D, top, last column") << QPoint(415, 100) << 26;
    QTest::newRow("right of the last white key") << QPoint(416, 100) << -1;
    QTest::newRow("the drawn black key at the end") << QPoint(410, 10) << -1;
}

void TestSound::keyAt() {
    QFETCH(QPoint, point);
    QFETCH(int, key);
    TKeyboard k;
    k.Layout(419, 126);
    const TKeyHit hit = k.KeyAt(point);
    QCOMPARE(hit.Key, key);
    QCOMPARE(hit.Frequency, key < 0 ? 0.0f : KeyFrequency(key));
}

void TestSound::wavePicturePeriods_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<QVector<float>>("amplitudes");
    QTest::addColumn<int>("periods"); // crossings of the axis going down
    QTest::addColumn<bool>("flat");
    QTest::newRow("key 0: two periods") << 0 << QVector<float>{16, 0, 0, 0, 0} << 2 << false;
    QTest::newRow("key 12: four periods") << 12 << QVector<float>{16, 0, 0, 0, 0} << 4 << false;
    QTest::newRow("all zero: a flat line") << 0 << QVector<float>{0, 0, 0, 0, 0} << 0 << true;
}

void TestSound::wavePicturePeriods() {
    QFETCH(int, key);
    QFETCH(QVector<float>, amplitudes);
    QFETCH(int, periods);
    QFETCH(bool, flat);
    TToneAmplitudes a{};
    std::copy(amplitudes.begin(), amplitudes.end(), a.begin());
    const int W = 420, H = 171, d = H / 2;
    const QVector<QPointF> p = WavePoints(W, H, KeyFrequency(key), a);
    QCOMPARE(p.size(), 361);
    QCOMPARE(p.first().x(), 5.0);
    QCOMPARE(p.last().x(), 415.0);
    int down = 0;
    bool allOnAxis = true;
    for (int i = 0; i < p.size(); ++i) {
        allOnAxis = allOnAxis && p[i].y() == d;
        // Above the axis (smaller y) to below it.
        if (i > 0 && p[i - 1].y() < d - 0.5 && p[i].y() >= d - 0.5)
            ++down;
    }
    QCOMPARE(down, periods);
    QCOMPARE(allOnAxis, flat);
    // The fundamental at 16 fills half the room between axis and margin.
    if (!flat) {
        const auto top = std::min_element(p.begin(), p.end(), [](QPointF l, QPointF r) { return l.y() < r.y(); });
        QVERIFY(std::abs(top->y() - (d - 40)) < 0.2);
    }
    // Any sum stays inside the picture's margins.
    const QVector<QPointF> loud = WavePoints(W, H, 262.0f, {32, 32, 32, 0, 0});
    for (QPointF q : loud)
        QVERIFY(q.y() >= 5 && q.y() <= H - 5);
}

void TestSound::wavePhaseSequence() {
    TSoundWave w;
    QVector<int> seen;
    for (int i = 0; i < 75; ++i) {
        w.Step();
        seen.append(w.Phase);
    }
    QCOMPARE(seen.first(), 5);
    QCOMPARE(seen[70], 355);
    QCOMPARE(seen[71], 360); // the bar's maximum is shown
    QCOMPARE(seen[72], 0);   // and then the wave starts over
    QCOMPARE(seen[73], 5);
}

void TestSound::waveLines_data() {
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("amplitude");
    QTest::addColumn<int>("phase");
    QTest::addColumn<QVector<int>>("firstLines");
    // 490 / 45 = 10.89 between lines at rest, offset 7.
    QTest::newRow("at rest, phase 0") << 490 << 0 << 0 << QVector<int>{7, 18, 29, 40, 51};
    QTest::newRow("at rest, phase 90") << 490 << 0 << 90 << QVector<int>{7, 18, 29, 40, 51};
    // A = 8 pixels, offset 15: line 1 moves 8 sin 24 = 3.25 pixels right.
    QTest::newRow("amplitude 5, phase 0") << 490 << 5 << 0 << QVector<int>{15, 29, 43, 55, 67};
    // Phase 90: line 0 is 8 pixels left of its rest place.
    QTest::newRow("amplitude 5, phase 90") << 490 << 5 << 90 << QVector<int>{7, 19, 31, 45, 59};
    QTest::newRow("narrow picture") << 200 << 0 << 0 << QVector<int>{7, 13, 19, 25, 31};
}

void TestSound::waveLines() {
    QFETCH(int, width);
    QFETCH(int, amplitude);
    QFETCH(int, phase);
    QFETCH(QVector<int>, firstLines);
    TSoundWave w;
    w.Phase = phase;
    const QVector<int> x = w.LinePositions(width, amplitude);
    QCOMPARE(x.size(), 46);
    QCOMPARE(x.mid(0, 5), firstLines);
    if (amplitude == 0) {
        // Evenly spaced: every gap within a pixel of the spacing.
        const double g = TSoundWave::Spacing(width);
        for (int i = 1; i < x.size(); ++i)
            QVERIFY2(std::abs((x[i] - x[i - 1]) - g) < 1.0, qPrintable(QString::number(i)));
        QCOMPARE(x.last(), int(std::lround(45 * g)) + 7);
    }
}

void TestSound::slideOverKeysPlaysEachKeyOnce() {
    auto log = UseFakePlayer();
    TSndPlayFrm f;
    f.resize(429, 310);
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    QCOMPARE(f.KeyPic->width(), 419);
    QVERIFY(!f.Player()); // made at the first key press
    const QPoint e = KeyCentre(f, 4), fkey = KeyCentre(f, 5);
    QTest::mousePress(f.KeyPic, Qt::LeftButton, {}, e);
    QCOMPARE(f.CurrentKey, 4);
    QVERIFY(f.KeyPressed);
    QVERIFY(f.Player());
    QTest::mouseMove(f.KeyPic, e + QPoint(3, 5)); // within the key: nothing
    QTest::mouseMove(f.KeyPic, fkey);
    QCOMPARE(f.CurrentKey, 5);
    QTest::mouseMove(f.KeyPic, fkey + QPoint(-4, 0));
    QTest::mouseMove(f.KeyPic, e);
    QCOMPARE(f.CurrentKey, 4);
    // E at 330 Hz: 134 samples a period; F at 349 Hz: 126.
    QCOMPARE(log->Events, (QStringList{"play 134", "play 126", "play 134"}));
    QTest::mouseRelease(f.KeyPic, Qt::LeftButton, {}, e);
    QCOMPARE(log->Events.last(), QStringLiteral("stop"));
    QVERIFY(log->StoppedWhileImageAlive);
    QVERIFY(!f.SoundStream);
    QVERIFY(!f.KeyPressed);
    QCOMPARE(f.CurrentKey, -1);
    // Moving with the button up plays nothing.
    QTest::mouseMove(f.KeyPic, fkey);
    QCOMPARE(log->Events.size(), 4);
    Keep(f.grab().toImage(), "sound-play-after-slide.png");
}

void TestSound::pointerOffTheKeysKeepsThePitch() {
    auto log = UseFakePlayer();
    TSndPlayFrm f;
    f.resize(429, 310);
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    // A press outside every key plays nothing and leaves the pitch alone.
    QTest::mousePress(f.KeyPic, Qt::LeftButton, {}, QPoint(78, 20));
    QCOMPARE(f.CurrentKey, -1);
    QVERIFY(!f.KeyPressed);
    QCOMPARE(f.Frequency, 262.0f);
    QVERIFY(log->Events.isEmpty());
    QTest::mouseRelease(f.KeyPic, Qt::LeftButton, {}, QPoint(78, 20));

    const float c12 = KeyFrequency(12);
    QTest::mousePress(f.KeyPic, Qt::LeftButton, {}, KeyCentre(f, 12));
    QCOMPARE(f.Frequency, c12);
    // Sliding off the keys: the tone sounds on and the pitch stays.
    QTest::mouseMove(f.KeyPic, QPoint(78, 20));
    QCOMPARE(f.CurrentKey, 12);
    QCOMPARE(f.Frequency, c12);
    QCOMPARE(log->Events, (QStringList{"play 84"}));
    // A spin change while the key is held redraws for the same pitch and
    // keeps the old sound.
    f.Amp[1]->setValue(8);
    QCOMPARE(f.Amplitudes[1], 8.0f);
    QCOMPARE(f.Frequency, c12);
    QCOMPARE(log->Events, (QStringList{"play 84"}));
    QTest::mouseRelease(f.KeyPic, Qt::LeftButton, {}, QPoint(78, 20));
    QCOMPARE(f.Frequency, c12);
}

void TestSound::freeingWithAKeyHeldStopsThePlayerFirst() {
    auto log = UseFakePlayer();
    auto* f = new TSndPlayFrm;
    f->resize(429, 310);
    f->show();
    QVERIFY(QTest::qWaitForWindowExposed(f));
    QTest::mousePress(f->KeyPic, Qt::LeftButton, {}, KeyCentre(*f, 7));
    QVERIFY(f->KeyPressed);
    QCOMPARE(log->Events.size(), 1);
    delete f; // a page change while the key is held
    QCOMPARE(log->Events.last(), QStringLiteral("stop"));
    QVERIFY(log->StoppedWhileImageAlive);
}

void TestSound::examplesSetTheSpinsSilently() {
    auto log = UseFakePlayer();
    TSndPlayFrm f;
    f.resize(429, 310);
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    QVERIFY(f.RunOperation(QStringLiteral("SoundPlayExample"), {16, 11, 0, 7, 6}));
    const int want[5] = {16, 11, 0, 7, 6};
    for (int i = 0; i < 5; ++i) {
        QCOMPARE(f.Amp[i]->value(), want[i]);
        QCOMPARE(f.Amplitudes[i], float(want[i]));
    }
    QVERIFY(log->Events.isEmpty());
    QVERIFY(!f.RunOperation(QStringLiteral("SoundWaveStart"), {}));
}

void TestSound::withoutSoundTheKeysStillWork() {
    if (TAudioTonePlayer::HasOutput())
        QSKIP("this machine has an audio output; the tests stay silent");
    int boxes = 0;
    SetBoxAnswerer([&boxes](const TBoxRequest&) { ++boxes; return true; });
    TSndPlayFrm f; // with the real player
    f.resize(429, 310);
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    QTest::mousePress(f.KeyPic, Qt::LeftButton, {}, KeyCentre(f, 9));
    QVERIFY(f.KeyPressed);
    QVERIFY(f.Player());
    QVERIFY(!static_cast<TAudioTonePlayer*>(f.Player())->HasDevice());
    QTest::mouseMove(f.KeyPic, KeyCentre(f, 11));
    QCOMPARE(f.CurrentKey, 11);
    QCOMPARE(int(f.Frequency), 494); // B
    QTest::mouseRelease(f.KeyPic, Qt::LeftButton, {}, KeyCentre(f, 11));
    QVERIFY(!f.KeyPressed);
    QCOMPARE(boxes, 0);
    SetBoxAnswerer([](const TBoxRequest&) { return true; });
}

void TestSound::waveStopStartCarriesThePhase() {
    TSndWaveFrm f;
    f.resize(490, 182);
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    QVERIFY(!f.StopBtn->isEnabled());
    f.PhaseHsb->setValue(350);
    QCOMPARE(f.Wave.Phase, 350);
    f.StartBtn->trigger();
    QVERIFY(f.Running());
    QVERIFY(!f.PhaseHsb->isEnabled());
    QVERIFY(!f.StartBtn->isEnabled());
    QVERIFY(f.StopBtn->isEnabled());
    for (int i = 0; i < 4; ++i)
        f.Timer1Timer();
    QCOMPARE(f.Wave.Phase, 5); // 355, 360, 0, 5
    f.StopBtn->trigger();
    QVERIFY(!f.Running());
    QVERIFY(f.PhaseHsb->isEnabled());
    QCOMPARE(f.PhaseHsb->value(), 5);
    QVERIFY(f.StartBtn->isEnabled());
    QVERIFY(!f.StopBtn->isEnabled());
    // "+go" is Start: it carries on from the bar.
    QVERIFY(f.RunOperation(QStringLiteral("SoundWaveStart"), {}));
    QVERIFY(f.Running());
    QCOMPARE(f.Wave.Phase, 5);
    f.Timer1Timer();
    QCOMPARE(f.Wave.Phase, 10);
    f.StopBtn->trigger();
    f.close();
    QVERIFY(!f.Running());
}

void TestSound::waveMarker() {
    TSndWaveFrm f;
    f.resize(490, 182);
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    const QColor red(255, 0, 0), blue(0, 0, 255), grey(127, 127, 127);
    QCOMPARE(f.Pic->Picture().size(), QSize(490, 162));
    QCOMPARE(CountNear(f.Pic->Picture(), red, 0), 0);
    const int blueBefore = CountNear(f.Pic->Picture(), blue, 0);
    QVERIFY(blueBefore >= 40 * 153); // lines from y 5 to 157
    QVERIFY(f.RunOperation(QStringLiteral("SoundWaveHighlight"), {}));
    QVERIFY(f.SingleChk->isChecked());
    // Line 22 turns red from top to bottom.
    QCOMPARE(CountNear(f.Pic->Picture(), red, 0), 153);
    QCOMPARE(CountNear(f.Pic->Picture(), blue, 0), blueBefore - 153);
    Keep(f.grab().toImage(), "sound-wave-marker.png");
    f.ToggleMarker();
    QCOMPARE(CountNear(f.Pic->Picture(), red, 0), 0);
    // At amplitude 0 the source bar sits just left of line 0 (x = 7).
    f.AmplitudeSE->setValue(0);
    QCOMPARE(f.Pic->Picture().pixelColor(3, 80), grey);
    QCOMPARE(f.Pic->Picture().pixelColor(6, 80), grey);
    QCOMPARE(f.Pic->Picture().pixelColor(7, 80), blue);
    QCOMPARE(f.Pic->Picture().pixelColor(2, 80), QColor(Qt::white));
}

void TestSound::panelsFromTheirPages() {
    auto log = UseFakePlayer();
    TFrameFrm frame(QStringLiteral(QUARVEL_CONTENT_DIR));
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));

    frame.Topics->SelectTopic(2018);
    auto* wave = qobject_cast<TSndWaveFrm*>(frame.Topics->HostedPanel());
    QVERIFY(wave);
    QCOMPARE(wave->Toolbar()->Dock(), frame.TopDock);
    QVERIFY(frame.RunPageCommand(QStringLiteral("+hilight")));
    QVERIFY(wave->SingleChk->isChecked());
    QVERIFY(frame.RunPageCommand(QStringLiteral("+go")));
    QVERIFY(wave->Running());
    QVERIFY(!wave->PhaseHsb->isEnabled());
    frame.UseLargeButtonsItem->trigger();
    QVERIFY(wave->LargeButtons);
    QCOMPARE(wave->Toolbar()->iconSize(), QSize(48, 48));
    frame.UseLargeButtonsItem->trigger();
    QCOMPARE(wave->Toolbar()->iconSize(), QSize(24, 24));

    frame.Topics->SelectTopic(2019);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    auto* play = qobject_cast<TSndPlayFrm*>(frame.Topics->HostedPanel());
    QVERIFY(play);
    QCOMPARE(play->Toolbar()->Dock(), frame.TopDock);
    QVERIFY(frame.RunPageCommand(QStringLiteral("+eg2")));
    const int eg2[5] = {16, 7, 8, 0, 0};
    for (int i = 0; i < 5; ++i)
        QCOMPARE(play->Amp[i]->value(), eg2[i]);
    const int labelPixels = QFontInfo(play->TBXLabel1->font()).pixelSize();
    frame.UseLargeButtonsItem->trigger();
    QVERIFY(play->LargeButtons);
    QCOMPARE(play->Amp[0]->width(), 50);
    QCOMPARE(play->Amp[4]->width(), 50);
    QVERIFY(std::abs(QFontInfo(play->TBXLabel2->font()).pixelSize() - labelPixels * 1.5) <= 1.0);
    QVERIFY(std::abs(QFontInfo(play->Amp[3]->font()).pixelSize() - labelPixels * 1.5) <= 1.0);
    frame.UseLargeButtonsItem->trigger();
    QCOMPARE(play->Amp[0]->width(), 40);
    QCOMPARE(QFontInfo(play->TBXLabel2->font()).pixelSize(), labelPixels);

    // A page change while a key is held: the panel goes, the tone stops first.
    QCoreApplication::processEvents();
    QTest::mousePress(play->KeyPic, Qt::LeftButton, {}, KeyCentre(*play, 0));
    QCOMPARE(log->Events, (QStringList{"play 168"}));
    QPointer<TSndPlayFrm> gone(play);
    frame.Topics->SelectTopic(2018);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(gone.isNull());
    QCOMPARE(log->Events, (QStringList{"play 168", "stop"}));
    QVERIFY(log->StoppedWhileImageAlive);
}

QUARVEL_GUI_TEST_MAIN(TestSound)
#include "tst_sound.moc"
