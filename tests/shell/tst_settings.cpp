#include "widgets/errorhandler.h"
#include "widgets/lanczos.h"
#include "shell/placement.h"
#include "shell/settings.h"

#include <QSettings>
#include <QTest>

using namespace quarvel;

class TestSettings : public QObject {
    Q_OBJECT
private slots:
    void init() {
        QSettings s(QStringLiteral("Brantock"), QStringLiteral("Quarvel"));
        s.clear();
        s.sync();
    }
    void keyMissing();
    void roundTripOfAllEightValues();
    void shortSpeedsChangeOnlyLeadingRates();
    void builtInRates();
    void defaultPlacement_data();
    void defaultPlacement();
    void startPicture_data();
    void startPicture();
    void splitterLimit();
    void errorText();
    void lanczosKeepsFlatColourAndAveragesDetail();
};

void TestSettings::keyMissing() {
    const TStoredSettings s = ReadStoredSettings();
    QVERIFY(!s.KeyExists);
    QVERIFY(!s.Skin && !s.Zoom && !s.Position && !s.Speeds);
}

void TestSettings::roundTripOfAllEightValues() {
    TSettingsToSave v;
    v.Zoom = 4;
    v.TextBgnd = QStringLiteral("#E6F0FF");
    v.TBTop = false;
    v.Skin = QStringLiteral("Office 2007 Black");
    v.Large = true;
    v.GLColor = 0x00FF8040;
    v.Position = QRect(10, 20, 800, 600);
    v.Speeds = BuiltInTopicRates();
    v.Speeds[16] = -3;
    WriteSettings(v);

    QSettings raw(QStringLiteral("Brantock"), QStringLiteral("Quarvel"));
    QCOMPARE(raw.allKeys().size(), 8);
    // The byte layouts are a contract with other installations.
    const QByteArray pos = raw.value("position").toByteArray();
    QCOMPARE(pos.size(), 16);
    QCOMPARE(pos, QByteArray("\x0A\0\0\0\x14\0\0\0\x2A\x03\0\0\x6C\x02\0\0", 16)); // 10, 20, 810, 620
    QCOMPARE(raw.value("Speeds").toByteArray().size(), 68);
    QCOMPARE(raw.value("TBTop").toInt(), 0);

    const TStoredSettings s = ReadStoredSettings();
    QVERIFY(s.KeyExists);
    QCOMPARE(*s.Zoom, 4);
    QCOMPARE(*s.TextBgnd, v.TextBgnd);
    QCOMPARE(*s.TBTop, false);
    QCOMPARE(*s.Skin, v.Skin);
    QCOMPARE(*s.Large, true);
    QCOMPARE(*s.GLColor, 0x00FF8040u);
    QCOMPARE(*s.Position, v.Position);
    TTopicRates rates{};
    ApplySpeeds(*s.Speeds, rates);
    QCOMPARE(rates, v.Speeds);
}

void TestSettings::shortSpeedsChangeOnlyLeadingRates() {
    TTopicRates rates = BuiltInTopicRates();
    const TTopicRates before = rates;
    // Two whole values and half of a third.
    ApplySpeeds(QByteArray("\x07\0\0\0\x08\0\0\0\x09\0", 10), rates);
    QCOMPARE(rates[0], 7);
    QCOMPARE(rates[1], 8);
    for (int i = 2; i < kTopicRateCount; ++i)
        QCOMPARE(rates[i], before[i]);
}

void TestSettings::builtInRates() {
    const TTopicRates r = BuiltInTopicRates();
    const TTopicRates expected = {100, 100, 100, 50, 100, 200, 50, 250, 100,
                                  200, 100, 100, 200, 50, 50, 50, 100};
    QCOMPARE(r, expected);
}

void TestSettings::defaultPlacement_data() {
    QTest::addColumn<QSize>("screen");
    QTest::addColumn<QRect>("work");
    QTest::addColumn<bool>("hasWork");
    QTest::addColumn<bool>("maximise");
    QTest::addColumn<QRect>("bounds");
    QTest::addColumn<int>("leftPane");
    // 16:9: a 4:3 rectangle of the work-area height, centred (1040 * 4 / 3 = 1386).
    QTest::newRow("16:9") << QSize(1920, 1080) << QRect(0, 0, 1920, 1040) << true << false
                          << QRect(267, 0, 1386, 1040) << 693;
    QTest::newRow("4:3 keeps the work area") << QSize(1024, 768) << QRect(0, 0, 1024, 740) << true
                                             << false << QRect(0, 0, 1024, 740) << 512;
    QTest::newRow("no work area") << QSize(1366, 768) << QRect() << false << true << QRect() << 683;
}

void TestSettings::defaultPlacement() {
    QFETCH(QSize, screen);
    QFETCH(QRect, work);
    QFETCH(bool, hasWork);
    QFETCH(bool, maximise);
    QFETCH(QRect, bounds);
    QFETCH(int, leftPane);
    const TPlacement p = DefaultPlacement(screen, hasWork ? std::optional<QRect>(work) : std::nullopt);
    QCOMPARE(p.Maximise, maximise);
    if (!maximise)
        QCOMPARE(p.Bounds, bounds);
    QCOMPARE(p.LeftPaneWidth, leftPane);
}

void TestSettings::startPicture_data() {
    QTest::addColumn<QSize>("container");
    QTest::addColumn<QSize>("picture");
    QTest::addColumn<QRect>("expected");
    QTest::newRow("fits: own size, centred") << QSize(500, 400) << QSize(300, 200) << QRect(100, 100, 300, 200);
    QTest::newRow("narrower: shrunk to width - 10")
        << QSize(210, 300) << QSize(400, 300) << QRect(5, 75, 200, 150);
    QTest::newRow("odd difference rounds toward zero")
        << QSize(301, 201) << QSize(300, 200) << QRect(0, 0, 300, 200);
}

void TestSettings::startPicture() {
    QFETCH(QSize, container);
    QFETCH(QSize, picture);
    QFETCH(QRect, expected);
    QCOMPARE(StartPictureRect(container, picture), expected);
}

void TestSettings::splitterLimit() {
    QVERIFY(!SplitterAccepts(50));
    QVERIFY(!SplitterAccepts(0));
    QVERIFY(SplitterAccepts(51));
}

void TestSettings::errorText() {
    QCOMPARE(ApplicationErrorText(std::runtime_error("Invalid unicode index file")),
             QStringLiteral("Invalid unicode index file\n An unexpected error has occured."));
    QCOMPARE(ApplicationErrorText(EOpenGLError("Could not create a context")),
             QStringLiteral("Could not create a context\nUnable to initialize openGL graphics.\n"
                            "Please see the ReadMe file on the CD for a solution."));
}

void TestSettings::lanczosKeepsFlatColourAndAveragesDetail() {
    QImage flat(64, 48, QImage::Format_ARGB32_Premultiplied);
    flat.fill(qRgb(200, 100, 50));
    const QImage small = LanczosScaled(flat, QSize(20, 15));
    QCOMPARE(small.size(), QSize(20, 15));
    for (QPoint p : {QPoint(0, 0), QPoint(10, 7), QPoint(19, 14)})
        QCOMPARE(QColor(small.pixel(p)), QColor(200, 100, 50));

    QImage stripes(64, 64, QImage::Format_ARGB32_Premultiplied);
    for (int x = 0; x < 64; ++x)
        for (int y = 0; y < 64; ++y)
            stripes.setPixel(x, y, x % 2 ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
    const QImage grey = LanczosScaled(stripes, QSize(16, 16));
    QVERIFY(qAbs(qRed(grey.pixel(8, 8)) - 128) < 12); // one-pixel stripes average out
}

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"
