#include "browser/coursescheme.h"
#include "browser/navigation.h"
#include "browser/pagecommands.h"
#include "browser/topicindex.h"
#include "common/lestream.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace quarvel;

Q_DECLARE_METATYPE(quarvel::TNavKind)

namespace {
// Three headings; "SHARED.HTM" sits under headings 0 and 2.
TEWBHTMLIndex SampleIndex() {
    TEWBHTMLIndex index;
    index.Headings = {
        {QStringLiteral("Earth <b>and</b> space"), 1,
         {{QStringLiteral("Moon"), QStringLiteral("MOONPHASE.HTM"), false},
          {QStringLiteral("Shared"), QStringLiteral("SHARED.HTM"), false}},
         false},
        {QStringLiteral("Light"), 2, {{QStringLiteral("Refraction"), QStringLiteral("Refraction.htm"), false}}, false},
        {QStringLiteral("More"), 3, {{QStringLiteral("Shared again"), QStringLiteral("shared.htm"), false}}, false}};
    return index;
}

QByteArray OldLayout(const TEWBHTMLIndex& index) {
    TLEWriter w;
    w.WriteInt32(kIndexMagicOld);
    w.WriteUtf16String(QStringLiteral("skipped one"));
    w.WriteUtf16String(QStringLiteral("skipped two"));
    w.WriteBytes(QByteArray(1, '\x07'));
    w.WriteInt32(int(index.Headings.size()));
    for (const TEWBHeading& h : index.Headings) {
        w.WriteInt32(h.Tag);
        w.WriteUtf16String(h.Title);
        w.WriteUtf16String(QStringLiteral("x"));
        w.WriteUtf16String(QString());
        w.WriteInt32(int(h.Children.size()));
        for (const TEWBChildItem& c : h.Children) {
            w.WriteUtf16String(c.Title);
            w.WriteUtf16String(c.Link);
            w.WriteUtf16String(QStringLiteral("old"));
        }
    }
    return w.Data();
}
} // namespace

class TestBrowser : public QObject {
    Q_OBJECT
private slots:
    void singleExpandedToggling();
    void expandAndCollapseAll();
    void pageUnderTwoHeadings();
    void getHtmlMarkup();
    void oldAndNewLayoutsLoadTheSameHeadings();
    void badIndexFiles_data();
    void badIndexFiles();
    void navigationRules_data();
    void navigationRules();
    void topicForPage_data();
    void topicForPage();
    void pageCommandRouting_data();
    void pageCommandRouting();
    void pageStates();
    void operationRegistryRunsOnlyWhatExists();
    void schemeFindsFilesWithoutCase();
    void indexToolRoundTrip();
    void indexToolRejectsBadFiles();
};

void TestBrowser::singleExpandedToggling() {
    TEWBHTMLIndex index = SampleIndex();
    index.ToggleHeading(0);
    index.ToggleHeading(2); // closes 0, opens 2
    QVERIFY(!index.Headings[0].Expanded);
    QVERIFY(index.Headings[2].Expanded);
    index.ToggleHeading(2);
    for (const TEWBHeading& h : index.Headings)
        QVERIFY(!h.Expanded);
    index.ToggleHeading(7); // out of range: nothing
    index.ToggleHeading(-1);
    for (const TEWBHeading& h : index.Headings)
        QVERIFY(!h.Expanded);
    index.ExpandHeading(1);
    index.ExpandHeading(1); // expand never closes
    QVERIFY(index.Headings[1].Expanded);
}

void TestBrowser::expandAndCollapseAll() {
    TEWBHTMLIndex index = SampleIndex();
    index.ExpandAll();
    QVERIFY(!index.SingleExpanded);
    index.ToggleHeading(1); // no longer closes the others
    QVERIFY(index.Headings[0].Expanded && !index.Headings[1].Expanded && index.Headings[2].Expanded);
    index.CollapseAll();
    for (const TEWBHeading& h : index.Headings)
        QVERIFY(!h.Expanded);
    QVERIFY(!index.SingleExpanded); // "Allow all expanded" stays on
}

void TestBrowser::pageUnderTwoHeadings() {
    TEWBHTMLIndex index = SampleIndex();
    QCOMPARE(index.HeadingOfPage(QStringLiteral("shared.HTM")), 0); // the first of them
    QCOMPARE(index.HeadingOfPage(QStringLiteral("REFRACTION.HTM")), 1);
    QCOMPARE(index.HeadingOfPage(QStringLiteral("nowhere.htm")), -1);
    index.SelectPage(QStringLiteral("Shared.htm"));
    QVERIFY(index.Headings[0].Children[1].Selected);
    QVERIFY(index.Headings[2].Children[0].Selected); // marked under both
    QVERIFY(!index.Headings[0].Children[0].Selected);
}

void TestBrowser::getHtmlMarkup() {
    TEWBHTMLIndex index = SampleIndex();
    index.ExpandHeading(0);
    index.SelectPage(QStringLiteral("MOONPHASE.HTM"));
    QCOMPARE(index.GetHTML(),
             QStringLiteral("<div class=\"level1exp\"><span id=\"0\"></span><a href=\"!0\">Earth <b>and</b> "
                            "space</a></div>"
                            "<div class=\"level2selected\"><a href=\"MOONPHASE.HTM\">Moon</a></div>"
                            "<div class=\"level2\"><a href=\"SHARED.HTM\">Shared</a></div>"
                            "<div class=\"level1\"><span id=\"1\"></span><a href=\"!1\">Light</a></div>"
                            "<div class=\"level1\"><span id=\"2\"></span><a href=\"!2\">More</a></div>"));
    QCOMPARE(TEWBHTMLIndex().GetHTML(), QString());
}

void TestBrowser::oldAndNewLayoutsLoadTheSameHeadings() {
    const TEWBHTMLIndex sample = SampleIndex();
    TEWBHTMLIndex fromNew, fromOld;
    fromNew.LoadFromBytes(sample.SaveToBytes());
    fromOld.LoadFromBytes(OldLayout(sample));
    for (const TEWBHTMLIndex* loaded : {&fromNew, &fromOld}) {
        QCOMPARE(loaded->Headings.size(), sample.Headings.size());
        for (int i = 0; i < sample.Headings.size(); ++i) {
            QCOMPARE(loaded->Headings[i].Title, sample.Headings[i].Title);
            QCOMPARE(loaded->Headings[i].Tag, sample.Headings[i].Tag);
            QCOMPARE(loaded->Headings[i].Children.size(), sample.Headings[i].Children.size());
            QCOMPARE(loaded->Headings[i].Children.last().Link, sample.Headings[i].Children.last().Link);
        }
    }
    QCOMPARE(fromOld.GetHTML(), fromNew.GetHTML());
}

void TestBrowser::badIndexFiles_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("wrongMagic");
    TLEWriter magic;
    magic.WriteInt32(105124);
    magic.WriteInt32(0);
    QTest::newRow("wrong magic") << magic.Data() << true;
    const QByteArray good = SampleIndex().SaveToBytes();
    QTest::newRow("truncated") << good.left(good.size() - 7) << false;
    TLEWriter hugeHeadings;
    hugeHeadings.WriteInt32(kIndexMagic);
    hugeHeadings.WriteInt32(0x7FFFFFFF);
    QTest::newRow("huge heading count") << hugeHeadings.Data() << false;
    TLEWriter hugeTitle;
    hugeTitle.WriteInt32(kIndexMagic);
    hugeTitle.WriteInt32(1);
    hugeTitle.WriteInt32(1);
    hugeTitle.WriteInt32(0x40000000);
    hugeTitle.WriteBytes(QByteArray(16, 'x'));
    QTest::newRow("huge title") << hugeTitle.Data() << false;
    TLEWriter negativeChildren;
    negativeChildren.WriteInt32(kIndexMagic);
    negativeChildren.WriteInt32(1);
    negativeChildren.WriteInt32(1);
    negativeChildren.WriteUtf16String(QStringLiteral("t"));
    negativeChildren.WriteInt32(-5);
    negativeChildren.WriteBytes(QByteArray(16, 'x'));
    QTest::newRow("negative child count") << negativeChildren.Data() << false;
}

void TestBrowser::badIndexFiles() {
    QFETCH(QByteArray, bytes);
    QFETCH(bool, wrongMagic);
    TEWBHTMLIndex index = SampleIndex();
    if (wrongMagic) {
        try {
            index.LoadFromBytes(bytes);
            QFAIL("no error");
        } catch (const EBadIndexFile& e) {
            QCOMPARE(QString::fromUtf8(e.what()), QStringLiteral("Invalid unicode index file"));
        }
    } else {
        QVERIFY_THROWS_EXCEPTION(EStreamError, index.LoadFromBytes(bytes));
    }
    QCOMPARE(index.Headings.size(), 3); // a failed load leaves the index as it was
}

void TestBrowser::navigationRules_data() {
    QTest::addColumn<QString>("url");
    QTest::addColumn<TNavKind>("kind");
    QTest::addColumn<bool>("cancel");
    QTest::addColumn<QString>("file"); // relative to the test course, or empty
    auto row = [](const char* name, const char* url, TNavKind k, bool cancel, const char* file = "") {
        QTest::newRow(name) << QString::fromUtf8(url) << k << cancel << QString::fromUtf8(file);
    };
    row("heading", "course:/HTML/!3", TNavKind::HeadingClick, true);
    row("heading, not a number", "course:/HTML/!x", TNavKind::PassThrough, false);
    row("picture", "course:/HTML/$Moon.png", TNavKind::Picture, true, "HTML/images/moon.PNG");
    row("picture named in another folder", "course:/HTML/pics/sub/$moon.png", TNavKind::Picture, true,
        "HTML/images/moon.PNG");
    row("missing picture", "course:/HTML/$none.png", TNavKind::Picture, true);
    row("video, lower case", "course:/HTML/clip.flv", TNavKind::Video, true, "Video/Clip.FLV");
    row("video name with +", "course:/HTML/a+b.FLV", TNavKind::Video, true, "Video/a+b.flv");
    row("page command", "course:/HTML/+moon3", TNavKind::PageCommand, true);
    row("query", "course:/HTML/page.htm?x=1", TNavKind::Ignored, true);
    row("outside address", "http://example.org/a.htm", TNavKind::External, true);
    row("secure outside address", "https://example.org/", TNavKind::External, true);
    row("capitalised web prefix", "HTTP://EXAMPLE.ORG/CIRCUITS.HTM", TNavKind::Page, false);
    row("ordinary page with anchor", "course:/HTML/CIRCUITS.HTM#x", TNavKind::Page, false);
    row("index", "course:/HTML/index.html", TNavKind::Page, false);
}

void TestBrowser::navigationRules() {
    QFETCH(QString, url);
    QFETCH(TNavKind, kind);
    QFETCH(bool, cancel);
    QFETCH(QString, file);
    QTemporaryDir dir;
    QDir().mkpath(dir.path() + "/HTML/images");
    QDir().mkpath(dir.path() + "/Video");
    for (const char* f : {"/HTML/images/moon.PNG", "/Video/Clip.FLV", "/Video/a+b.flv"})
        QFile(dir.path() + f).open(QIODevice::WriteOnly);
    const TNavDecision d = ClassifyNavigation(url, dir.path() + "/HTML/", dir.path() + "/Video/");
    QCOMPARE(d.Kind, kind);
    QCOMPARE(d.Cancel, cancel);
    QCOMPARE(d.File, file.isEmpty() ? QString() : dir.path() + '/' + file);
    if (kind == TNavKind::HeadingClick)
        QCOMPARE(d.Heading, 3);
}

void TestBrowser::topicForPage_data() {
    QTest::addColumn<QString>("segment");
    QTest::addColumn<int>("current");
    QTest::addColumn<int>("expected");
    QTest::newRow("moon") << "MOONPHASE.HTM" << 0 << 1;
    QTest::newRow("any case") << "MoonPhase.htm" << 0 << 1;
    QTest::newRow("anchor") << "CIRCUITS.HTM#x" << 5 << 1023;
    QTest::newRow("follow-on page keeps the topic") << "CIRCUITS2.HTM" << 1023 << 1023;
    QTest::newRow("energy pages") << "ESOURCE3.HTM" << 0 << 1000;
    QTest::newRow("panel") << "diffusion.htm" << 0 << 2028;
    QTest::newRow("index keeps the topic") << "index.html" << 19 << 19;
    QTest::newRow("empty") << "" << 7 << 7;
    QTest::newRow("other extension") << "MOONPHASE.HTML" << 4 << 4;
}

void TestBrowser::topicForPage() {
    QFETCH(QString, segment);
    QFETCH(int, current);
    QFETCH(int, expected);
    QCOMPARE(TopicIdForPage(segment, current), expected);
}

void TestBrowser::pageCommandRouting_data() {
    QTest::addColumn<QString>("word");
    QTest::addColumn<int>("topic");
    QTest::addColumn<bool>("busy");
    QTest::addColumn<bool>("panel");
    QTest::addColumn<QStringList>("operations"); // empty: nothing happens
    auto row = [](const char* name, const char* word, int topic, bool busy, bool panel, QStringList ops) {
        QTest::newRow(name) << QString::fromUtf8(word) << topic << busy << panel << ops;
    };
    row("run on a 3D topic", "+run", 1, false, false, {"Start"});
    row("run on the frame-less 3D topic 19", "+run", 19, false, false, {});
    row("run on a movie", "+run", 1015, false, false, {});
    row("run while busy", "+run", 1, true, false, {});
    row("moon phase", "+moon3", 1, false, false, {"MoonPosition"});
    row("moon view", "+c1", 1, false, false, {"MoonPosition", "Camera", "SceneBase"});
    row("another topic's word", "+moon3", 2, false, false, {});
    row("case matters", "+MOON3", 1, false, false, {});
    row("any word stops on 3", "+nonsense", 3, false, false, {"Stop"});
    row("stop before the show", "+show", 3, false, false,
        {"Stop", "ScrollBar", "Camera", "SceneBase", "Update", "DayNightMarkers", "StatusClock"});
    row("gravity launches and starts", "+gravity1", 7, false, false, {"Stop", "ScrollBar", "GravityLaunch", "Start"});
    row("motor current", "+rc", 11, false, false, {"CurrentButton"});
    row("wire field, capital letters", "+SF", 20, false, false, {"WireField"});
    row("circuit series", "+series", 1023, false, false, {"CircuitType"});
    row("cells", "+bat1", 1023, false, false, {"MovieCallLabel", "CellCount"});
    row("panel present", "+yellow", 2010, false, true, {"ShowColour"});
    row("panel missing", "+yellow", 2010, false, false, {});
    row("lens assumed present", "+large", 2007, false, false, {"LensPositions"});
    row("kinetic takes every word", "+heat", 2028, false, true, {"KineticCommand"});
    row("temperature scale", "+4", 2023, false, true, {"TempScaleButton"});
    row("unknown word", "+fly", 5, false, false, {});
}

void TestBrowser::pageCommandRouting() {
    QFETCH(QString, word);
    QFETCH(int, topic);
    QFETCH(bool, busy);
    QFETCH(bool, panel);
    QFETCH(QStringList, operations);
    const auto steps = RoutePageCommand(word, topic, busy, panel);
    QStringList got;
    if (steps)
        for (const TCommandStep& s : *steps)
            got << s.Operation;
    QCOMPARE(got, operations);
    QCOMPARE(steps.has_value(), !operations.isEmpty());
}

void TestBrowser::pageStates() {
    // Values carried with the steps.
    auto moon = RoutePageCommand(QStringLiteral("+moon3"), 1, false, false);
    QCOMPARE(moon->first().Args, QVariantList({5040}));
    auto summer = RoutePageCommand(QStringLiteral("+summer"), 4, false, false);
    QCOMPARE((*summer)[2], (TCommandStep{QStringLiteral("Camera"), {0.45, 3.5, 13.06, 1}}));
    auto force = RoutePageCommand(QStringLiteral("+4"), 1015, false, false);
    QCOMPARE(force->first().Args, QVariantList({QStringLiteral("/"), QStringLiteral("fastx")}));

    QCOMPARE(PageStateFor(19, QStringLiteral("CRITICAL_ANGLE.HTM"))->Args, QVariantList({1}));
    QCOMPARE(PageStateFor(1000, QStringLiteral("ESOURCE3.HTM"))->Args, QVariantList({215, true}));
    QCOMPARE(PageStateFor(1023, QStringLiteral("CIRCUITS2.HTM"))->Operation, QStringLiteral("CircuitType"));
    QVERIFY(!PageStateFor(19, QStringLiteral("CIRCUITS2.HTM")));
    QVERIFY(!PageStateFor(5, QStringLiteral("REFRACTION.HTM")));
}

void TestBrowser::operationRegistryRunsOnlyWhatExists() {
    TOperationRegistry registry;
    QList<QVariantList> calls;
    registry.Register(QStringLiteral("ScrollBar"), [&](const QVariantList& a) { calls << a; });
    const auto steps = RoutePageCommand(QStringLiteral("+mag"), 21, false, false);
    QCOMPARE(registry.Run(*steps), 1); // "Update" has no owner yet
    QCOMPARE(calls, QList<QVariantList>({{360}}));
}

void TestBrowser::schemeFindsFilesWithoutCase() {
    QTemporaryDir dir;
    QDir().mkpath(dir.path() + "/course/HTML");
    QDir().mkpath(dir.path() + "/secret");
    QFile(dir.path() + "/course/HTML/MoonPhase.htm").open(QIODevice::WriteOnly);
    QFile(dir.path() + "/secret/x.txt").open(QIODevice::WriteOnly);
    const QString root = dir.path() + "/course";
    QCOMPARE(CourseFileForUrl(root, CourseUrl("html\\MOONPHASE.HTM")), root + "/HTML/MoonPhase.htm");
    QCOMPARE(CourseFileForUrl(root, QUrl("course:/HTML/../../secret/x.txt")), QString());
    QCOMPARE(CourseFileForUrl(root, QUrl("course:/HTML/%2E%2E/%2E%2E/secret/x.txt")), QString());
    QCOMPARE(CourseFileForUrl(root, QUrl::fromLocalFile(dir.path() + "/secret/x.txt")), QString());
    QCOMPARE(CourseFileForUrl(root, QUrl("course:/HTML/missing.htm")), QString());
}

void TestBrowser::indexToolRoundTrip() {
    QTemporaryDir dir;
    QFile json(dir.path() + "/in.json");
    QVERIFY(json.open(QIODevice::WriteOnly));
    json.write(R"([{"tag": 4, "title": "Heat <i>and</i> caf\u00e9", "children": [
                   {"title": "Conduction", "link": "CONDUCTION.HTM"},
                   {"title": "Kinetic", "link": "Kinetic.htm"}]},
                  {"tag": 5, "title": "Empty", "children": []}])");
    json.close();
    QProcess tool;
    tool.start(QStringLiteral(QUARVEL_INDEX_TOOL), {"compile", json.fileName(), dir.path() + "/out.ux"});
    QVERIFY(tool.waitForFinished());
    QCOMPARE(tool.exitCode(), 0);
    TEWBHTMLIndex index;
    index.LoadFromFile(dir.path() + "/out.ux");
    QCOMPARE(index.Headings.size(), 2);
    QCOMPARE(index.Headings[0].Title, QStringLiteral("Heat <i>and</i> caf\u00e9"));
    QCOMPARE(index.Headings[0].Children[1].Link, QStringLiteral("Kinetic.htm"));

    // dump prints what compile reads: compiling the dump gives the same file.
    tool.start(QStringLiteral(QUARVEL_INDEX_TOOL), {"dump", dir.path() + "/out.ux"});
    QVERIFY(tool.waitForFinished());
    QCOMPARE(tool.exitCode(), 0);
    QFile dumped(dir.path() + "/dumped.json");
    QVERIFY(dumped.open(QIODevice::WriteOnly));
    dumped.write(tool.readAllStandardOutput());
    dumped.close();
    tool.start(QStringLiteral(QUARVEL_INDEX_TOOL), {"compile", dumped.fileName(), dir.path() + "/again.ux"});
    QVERIFY(tool.waitForFinished());
    QFile a(dir.path() + "/out.ux"), b(dir.path() + "/again.ux");
    QVERIFY(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
    QCOMPARE(b.readAll(), a.readAll());

    // An old-layout file dumps as well.
    QFile old(dir.path() + "/old.ux");
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write(OldLayout(SampleIndex()));
    old.close();
    tool.start(QStringLiteral(QUARVEL_INDEX_TOOL), {"dump", old.fileName()});
    QVERIFY(tool.waitForFinished());
    QCOMPARE(tool.exitCode(), 0);
    QVERIFY(tool.readAllStandardOutput().contains("SHARED.HTM"));
}

void TestBrowser::indexToolRejectsBadFiles() {
    QTemporaryDir dir;
    QFile bad(dir.path() + "/bad.ux");
    QVERIFY(bad.open(QIODevice::WriteOnly));
    TLEWriter w;
    w.WriteInt32(kIndexMagic);
    w.WriteInt32(0x7FFFFFFF);
    bad.write(w.Data());
    bad.close();
    QProcess tool;
    tool.start(QStringLiteral(QUARVEL_INDEX_TOOL), {"dump", bad.fileName()});
    QVERIFY(tool.waitForFinished(5000));
    QCOMPARE(tool.exitCode(), 1);
    QVERIFY(tool.readAllStandardError().contains("quarvel-index:"));
    QVERIFY(tool.readAllStandardOutput().isEmpty());
}

QTEST_GUILESS_MAIN(TestBrowser)
#include "tst_browser.moc"
