// Walks the sample course: every link of every page must lead somewhere the
// course can go, and every topic page must exist and be in the index.

#include "browser/navigation.h"
#include "browser/pagecommands.h"
#include "browser/topicindex.h"
#include "common/contentpath.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QSet>
#include <QTest>

using namespace quarvel;

namespace {
const QString kRoot = QStringLiteral(QUARVEL_CONTENT_DIR);
const QString kHtml = kRoot + QStringLiteral("/HTML");

// Pages that continue a topic page: their links act on that topic.
std::int32_t TopicOfPage(const QString& file) {
    static const QHash<QString, std::int32_t> followOn = {{"CIRCUITS2.HTM", 1023}, {"CIRCUITS3.HTM", 1023},
                                                          {"CRITICAL_ANGLE.HTM", 19}, {"DISPERSION.HTM", 19}};
    const QString name = file.toUpper();
    return followOn.value(name, TopicIdForPage(name, 0));
}

QStringList Pages() {
    return QDir(kHtml).entryList({"*.htm", "*.html"}, QDir::Files);
}

QByteArray Read(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
} // namespace

class TestContent : public QObject {
    Q_OBJECT
private slots:
    void everyTopicPageExists();
    void indexListsEveryTopicPage();
    void everyLinkLeadsSomewhere_data();
    void everyLinkLeadsSomewhere();
    void picturesHaveAltText();
    void splashPictureLoads();
};

void TestContent::everyTopicPageExists() {
    QStringList missing;
    for (const QString& name : TopicPageNames())
        if (ResolveContentPath(kHtml, name).isEmpty())
            missing << name;
    missing.sort();
    QVERIFY2(missing.isEmpty(), qPrintable(missing.join(", ")));
    QCOMPARE(TopicPageNames().size(), 72);
    for (const char* followOn : {"Circuits2.htm", "Circuits3.htm", "Critical_angle.htm", "Dispersion.htm"})
        QVERIFY2(!ResolveContentPath(kHtml, QLatin1String(followOn)).isEmpty(), followOn);
}

void TestContent::indexListsEveryTopicPage() {
    const QJsonArray headings = QJsonDocument::fromJson(Read(kHtml + "/index.json")).array();
    QVERIFY(headings.size() >= 7);
    QSet<QString> listed;
    for (const QJsonValue& h : headings)
        for (const QJsonValue& c : h.toObject().value("children").toArray()) {
            const QString link = c.toObject().value("link").toString();
            QVERIFY2(!ResolveContentPath(kHtml, link).isEmpty(), qPrintable(link));
            listed.insert(link.toUpper());
        }
    // The energy tour's later pages are reached from its first page.
    QStringList unlisted;
    for (const QString& name : TopicPageNames())
        if (!listed.contains(name) && !QStringList({"ESOURCE2.HTM", "ESOURCE3.HTM", "ESOURCE4.HTM"}).contains(name))
            unlisted << name;
    QVERIFY2(unlisted.isEmpty(), qPrintable(unlisted.join(", ")));
}

void TestContent::everyLinkLeadsSomewhere_data() {
    QTest::addColumn<QString>("page");
    for (const QString& p : Pages())
        QTest::newRow(qPrintable(p)) << p;
}

void TestContent::everyLinkLeadsSomewhere() {
    QFETCH(QString, page);
    const QString text = QString::fromUtf8(Read(kHtml + '/' + page));
    QVERIFY(!text.isEmpty());
    const std::int32_t topic = TopicOfPage(page);
    static const QRegularExpression attr(QStringLiteral(R"re((href|src)\s*=\s*"([^"]*)")re"));
    QStringList problems;
    for (auto it = attr.globalMatch(text); it.hasNext();) {
        const auto m = it.next();
        const QString kind = m.captured(1), target = m.captured(2);
        if (kind == QLatin1String("src")) {
            if (ResolveContentPath(kHtml, target).isEmpty())
                problems << "missing " + target;
            continue;
        }
        const TNavDecision d = ClassifyNavigation(QStringLiteral("course:/HTML/") + target, kHtml,
                                                  kRoot + QStringLiteral("/Video"));
        switch (d.Kind) {
        case TNavKind::Picture:
        case TNavKind::Video:
            if (d.File.isEmpty())
                problems << "missing " + target;
            break;
        case TNavKind::PageCommand:
            if (!RoutePageCommand(d.Segment, topic, false, true))
                problems << target + " is no command of topic " + QString::number(topic);
            break;
        case TNavKind::Page: {
            QString file = target;
            file.truncate(file.indexOf('#') < 0 ? file.size() : file.indexOf('#'));
            if (!file.isEmpty() && ResolveContentPath(kHtml, file).isEmpty())
                problems << "missing page " + target;
            break;
        }
        default:
            problems << "link the course cannot follow: " + target;
        }
    }
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join("; ")));
}

void TestContent::picturesHaveAltText() {
    static const QRegularExpression img(QStringLiteral(R"(<img\b[^>]*>)"));
    for (const QString& p : Pages()) {
        const QString text = QString::fromUtf8(Read(kHtml + '/' + p));
        for (auto it = img.globalMatch(text); it.hasNext();) {
            const QString tag = it.next().captured(0);
            QVERIFY2(tag.contains(QRegularExpression(R"re(alt\s*=\s*"[^"]+")re")), qPrintable(p + ": " + tag));
        }
    }
}

void TestContent::splashPictureLoads() {
    QImage splash(ResolveContentPath(kRoot, "HTML/images/Splash.png"));
    QVERIFY(!splash.isNull());
    QVERIFY(splash.width() > 300);
}

QTEST_GUILESS_MAIN(TestContent)
#include "tst_content.moc"
