#include "common/contentpath.h"
#include "common/inifile.h"
#include "common/lestream.h"
#include "common/random.h"
#include "common/rounding.h"
#include "common/safefile.h"

#include <csignal>
#include <sys/resource.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace quarvel;

class TestCommon : public QObject {
    Q_OBJECT
private slots:
    void rounding_data();
    void rounding();
    void divAndFrac();
    void randomSequence();
    void randomNormalRejectsOutsideCircle();
    void streamRoundTrip();
    void streamRejectsBadCounts_data();
    void streamRejectsBadCounts();
    void windows1252();
    void textFiles_data();
    void textFiles();
    void contentPaths_data();
    void contentPaths();
    void iniCaseAndEmptyValues();
    void vantrelIniDefaults();
    void vantrelIniValues();
    void safeWritesNeverLoseTheOldFile();

private:
    QTemporaryDir m_root;
};

void TestCommon::rounding_data() {
    QTest::addColumn<double>("x");
    QTest::addColumn<qint64>("round");
    QTest::addColumn<qint64>("trunc");
    QTest::newRow("2.5 to even") << 2.5 << qint64(2) << qint64(2);
    QTest::newRow("3.5 to even") << 3.5 << qint64(4) << qint64(3);
    QTest::newRow("-2.5 to even") << -2.5 << qint64(-2) << qint64(-2);
    QTest::newRow("0.5 to even") << 0.5 << qint64(0) << qint64(0);
    QTest::newRow("-1.5 to even") << -1.5 << qint64(-2) << qint64(-1);
    QTest::newRow("below half") << 2.4999 << qint64(2) << qint64(2);
    QTest::newRow("negative, above half") << -2.7 << qint64(-3) << qint64(-2);
    QTest::newRow("large") << 1e10 + 0.5 << qint64(10000000000) << qint64(10000000000);
}

void TestCommon::rounding() {
    QFETCH(double, x);
    QFETCH(qint64, round);
    QFETCH(qint64, trunc);
    QCOMPARE(RoundHalfEven(x), round);
    QCOMPARE(Trunc(x), trunc);
}

void TestCommon::divAndFrac() {
    QCOMPARE(Div(-7, 2), -3);
    QCOMPARE(Div(7, -2), -3);
    QCOMPARE(Mod(-7, 2), -1);
    QCOMPARE(Frac(-2.75), -0.75);
    QCOMPARE(Frac(2.75), 0.75);
    QVERIFY_THROWS_EXCEPTION(std::domain_error, Div(1, 0));
}

void TestCommon::randomSequence() {
    TRandom r;
    QCOMPARE(r.Seed(), 0u);
    // seed <- seed * 134775813 + 1 mod 2^32, starting from 0
    QCOMPARE(r.RandomInt(100), 0); // seed 1
    QCOMPARE(r.Seed(), 1u);
    QCOMPARE(r.RandomInt(100), 3); // seed 134775814
    QCOMPARE(r.RandomInt(100), 86); // seed 3698175007
    QCOMPARE(r.Seed(), 3698175007u);
    QCOMPARE(r.RandomReal(), 870078620 / 4294967296.0);

    r.SetSeed(0);
    const double first = r.RandomReal();
    QCOMPARE(first, 1 / 4294967296.0);
    r.SetSeed(0);
    QCOMPARE(r.RandomReal(), first); // a settable seed replays the run

    // Negative ranges divide toward zero.
    r.SetSeed(134775814); // next seed 3698175007
    QCOMPARE(r.RandomInt(-7), -6);
    r.SetSeed(0);
    QCOMPARE(r.RandomInt(0), 0);
    QCOMPARE(&SharedRandom(), &SharedRandom());
}

void TestCommon::randomNormalRejectsOutsideCircle() {
    // From seed 0 the first pair (x ~ -1, y ~ -0.94) lies outside the unit
    // circle and must be thrown away; the second pair gives the value.
    TRandom r;
    QCOMPARE(r.RandomNormal(0, 1), 0.39843524921440865);
    QCOMPARE(r.Seed(), 870078620u); // four draws were used
    r.SetSeed(0);
    QCOMPARE(r.RandomNormal(10, 5), 11.992176246072043);
}

void TestCommon::streamRoundTrip() {
    TLEWriter w;
    w.WriteInt32(105123);
    w.WriteInt32(-2);
    w.WriteUtf16String(QStringLiteral("Moon \u263D phases"));
    w.WriteUtf16String(QString());
    w.WriteAnsiString(QStringLiteral("caf\u00E9 \u20AC5"));
    const QByteArray bytes = w.Data();
    QCOMPARE(bytes.left(4), QByteArray("\xA3\x9A\x01\x00", 4)); // little-endian 105123

    TLEReader r(bytes);
    QCOMPARE(r.ReadInt32(), 105123);
    QCOMPARE(r.ReadInt32(), -2);
    QCOMPARE(r.ReadUtf16String(), QStringLiteral("Moon \u263D phases"));
    QCOMPARE(r.ReadUtf16String(), QString());
    QCOMPARE(r.ReadAnsiString(), QStringLiteral("caf\u00E9 \u20AC5"));
    QVERIFY(r.AtEnd());
}

void TestCommon::streamRejectsBadCounts_data() {
    QTest::addColumn<QByteArray>("data");
    TLEWriter beyond;
    beyond.WriteInt32(5);
    beyond.WriteBytes(QByteArray(4, 'a')); // 5 code units need 10 bytes, 5 ANSI bytes need 5
    TLEWriter negative;
    negative.WriteInt32(-1);
    TLEWriter huge;
    huge.WriteInt32(0x7FFFFFFF);
    QTest::newRow("count beyond the end") << beyond.Data();
    QTest::newRow("negative count") << negative.Data();
    QTest::newRow("huge count") << huge.Data();
    QTest::newRow("truncated count") << QByteArray("\x01\x00", 2);
}

void TestCommon::streamRejectsBadCounts() {
    QFETCH(QByteArray, data);
    TLEReader r(data);
    QVERIFY_THROWS_EXCEPTION(EStreamError, r.ReadUtf16String());
    TLEReader a(data);
    QVERIFY_THROWS_EXCEPTION(EStreamError, a.ReadAnsiString());
}

void TestCommon::windows1252() {
    QCOMPARE(DecodeWindows1252("\x80\x93\x94\xE9"), QStringLiteral("\u20AC\u201C\u201D\u00E9"));
    QCOMPARE(EncodeWindows1252(QStringLiteral("\u2019\u4E2D")), QByteArray("\x92?"));
}

void TestCommon::textFiles_data() {
    QTest::addColumn<QByteArray>("raw");
    QTest::addColumn<QString>("text");
    QTest::newRow("utf-8") << QByteArray("Forces \xE2\x80\x93 moments") << QStringLiteral("Forces \u2013 moments");
    QTest::newRow("utf-8 with mark") << QByteArray("\xEF\xBB\xBFHeat") << QStringLiteral("Heat");
    // Older lists: an en dash and curly quotes of the Windows code page, not C1 controls.
    QTest::newRow("windows-1252") << QByteArray("Forces \x96 \x93moments\x94") << QStringLiteral("Forces \u2013 \u201Cmoments\u201D");
    QTest::newRow("1252 accent") << QByteArray("Caf\xE9") << QStringLiteral("Caf\u00E9");
    QTest::newRow("plain") << QByteArray("Magnets\r\n") << QStringLiteral("Magnets\r\n");
}

void TestCommon::textFiles() {
    QFETCH(QByteArray, raw);
    QFETCH(QString, text);
    QCOMPARE(DecodeTextFile(raw), text);
}

void TestCommon::contentPaths_data() {
    QTest::addColumn<QString>("relative");
    QTest::addColumn<QString>("expected"); // relative to the root, empty = refused or missing
    QTest::newRow("exact") << "HTML/Refraction.htm" << "HTML/Refraction.htm";
    QTest::newRow("other case") << "html/REFRACTION.HTM" << "HTML/Refraction.htm";
    QTest::newRow("backslashes") << "Html\\images\\SPLASH.png" << "HTML/Images/Splash.png";
    QTest::newRow("leading separator stays inside") << "\\HTML\\refraction.htm" << "HTML/Refraction.htm";
    QTest::newRow("folder") << "questions" << "Questions";
    QTest::newRow("missing") << "HTML/nothere.htm" << "";
    QTest::newRow("dot dot") << "HTML/../../etc/passwd" << "";
    QTest::newRow("dot dot inside") << "HTML/../HTML/Refraction.htm" << "";
    QTest::newRow("drive letter") << "C:\\Windows\\win.ini" << "";
    QTest::newRow("link out of the root") << "HTML/outside/secret.txt" << "";
}

void TestCommon::contentPaths() {
    QFETCH(QString, relative);
    QFETCH(QString, expected);
    const QString root = m_root.path() + "/course";
    if (!QDir(root).exists()) {
        QDir().mkpath(root + "/HTML/Images");
        QDir().mkpath(root + "/Questions");
        QDir().mkpath(m_root.path() + "/outside");
        QFile(root + "/HTML/Refraction.htm").open(QIODevice::WriteOnly);
        QFile(root + "/HTML/Images/Splash.png").open(QIODevice::WriteOnly);
        QFile(m_root.path() + "/outside/secret.txt").open(QIODevice::WriteOnly);
        QVERIFY(QFile::link(m_root.path() + "/outside", root + "/HTML/outside"));
    }
    const QString got = ResolveContentPath(root, relative);
    QCOMPARE(got, expected.isEmpty() ? QString() : root + '/' + expected);
}

void TestCommon::iniCaseAndEmptyValues() {
    const TIniFile ini = TIniFile::Parse("; comment\r\n[Test]\r\nTestFile = other.umq\r\n"
                                         "[TROLLEY]\nERROR=1\n[empty]\nvalue=\n");
    QCOMPARE(ini.ReadString("test", "testfile", "x"), QStringLiteral("other.umq"));
    QCOMPARE(ini.ReadString("TEST", "TESTFILE", "x"), QStringLiteral("other.umq"));
    QCOMPARE(ini.ReadBool("trolley", "error", false), true);
    QCOMPARE(ini.ReadString("empty", "value", "default"), QStringLiteral("default"));
    QCOMPARE(ini.ReadString("missing", "value", "default"), QStringLiteral("default"));
}

void TestCommon::vantrelIniDefaults() {
    QTemporaryDir dir;
    // No file at all, then a file whose values are empty: the same defaults.
    for (const QByteArray& text : {QByteArray(), QByteArray("[test]\ntestfile=\n[testpath]\npath=\n")}) {
        if (!text.isNull()) {
            QFile f(dir.path() + "/vantrel.ini");
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(text);
        }
        const TVantrelIni ini = ReadVantrelIni(dir.path());
        QCOMPARE(ini.QuestionFolder, dir.path() + "/questions/");
        QCOMPARE(ini.TestFilePath, dir.path() + "/questions/mctest.umq");
        QCOMPARE(ini.TrolleyErrorFlag, false);
    }
}

void TestCommon::vantrelIniValues() {
    QTemporaryDir dir;
    QDir().mkpath(dir.path() + "/Tests/Set1");
    QFile(dir.path() + "/Tests/Set1/Physics.UMQ").open(QIODevice::WriteOnly);
    QFile f(dir.path() + "/Vantrel.INI");
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("[TestPath]\r\nPath=tests\\set1\\\r\n[Test]\r\nTestFile=physics.umq\r\n[Trolley]\r\nError=1\r\n");
    f.close();
    const TVantrelIni ini = ReadVantrelIni(dir.path());
    QCOMPARE(ini.QuestionFolder, dir.path() + "/Tests/Set1/");
    QCOMPARE(ini.TestFilePath, dir.path() + "/Tests/Set1/Physics.UMQ");
    QCOMPARE(ini.TrolleyErrorFlag, true);
}

void TestCommon::safeWritesNeverLoseTheOldFile() {
    QTemporaryDir dir;
    const QString path = dir.path() + "/bank.umq";
    QVERIFY(WriteFileSafely(path, "old contents"));
    QString why;
    // A disk that fills: the file may not grow past 4 KiB.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    rlimit small = old;
    small.rlim_cur = 4096;
    setrlimit(RLIMIT_FSIZE, &small);
    const bool written = WriteFileSafely(path, QByteArray(20000, 'x'), &why);
    setrlimit(RLIMIT_FSIZE, &old);
    QVERIFY(!written);
    QVERIFY2(why.startsWith("Cannot write bank.umq: "), qPrintable(why));
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), QByteArray("old contents"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList({"bank.umq"})); // nothing left beside it
    QVERIFY(!WriteFileSafely("/proc/quarvel-test.umq", "x", &why)); // a place nobody may write
    QVERIFY(WriteFileSafely(path, QByteArray(20000, 'y')));
}

QTEST_GUILESS_MAIN(TestCommon)
#include "tst_common.moc"
