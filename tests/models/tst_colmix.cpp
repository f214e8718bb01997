#include "../testmain.h"
#include "host/globals.h"
#include "models/light/colmix.h"
#include "shell/courseareas.h"
#include "shell/framefrm.h"

#include <QCheckBox>
#include <QLabel>
#include <QRegularExpression>
#include <QSettings>
#include <QSlider>
#include <QTemporaryDir>

using namespace quarvel;

namespace {
TColMixLights Lights(int r, int g, int b, bool rOn = true, bool gOn = true, bool bOn = true) {
    TColMixLights l;
    l.Position[0] = r, l.Position[1] = g, l.Position[2] = b;
    l.On[0] = rOn, l.On[1] = gOn, l.On[2] = bOn;
    return l;
}
} // namespace

class TestColMix : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void circles_data();
    void circles();
    void discLayout();
    void labels_data();
    void labels();
    void panelHeight_data();
    void panelHeight();
    void pictureMode();
    void tinyAreaDrawsNothing();
    void missingPictureIsBlack();
    void showColourKeepsBoxes();
    void uncheckHidesBar();
    void pageCommands();
};

void TestColMix::initTestCase() {
    RegisterCourseAreas();
    QSettings(QStringLiteral("Brantock"), QStringLiteral("Quarvel")).clear();
    TexturesFolder = QStringLiteral(QUARVEL_CONTENT_DIR "/Textures/");
}

// Sample points in a 300 x 300 area: s = 100, discs centred on (100, 100),
// (200, 100) and (150, 187).
void TestColMix::circles_data() {
    QTest::addColumn<int>("r");
    QTest::addColumn<int>("g");
    QTest::addColumn<int>("b");
    QTest::addColumn<bool>("blueOn");
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<QRgb>("colour");
    const QPoint centre(150, 125), ab(150, 40), bc(200, 170), ac(100, 170), aOnly(40, 100), bOnly(260, 100),
        cOnly(150, 270), outside(5, 295);
    QTest::newRow("all: centre white") << 255 << 255 << 255 << true << centre << qRgb(255, 255, 255);
    QTest::newRow("all: red and green give yellow") << 255 << 255 << 255 << true << ab << qRgb(255, 255, 0);
    QTest::newRow("all: green and blue give cyan") << 255 << 255 << 255 << true << bc << qRgb(0, 255, 255);
    QTest::newRow("all: red and blue give magenta") << 255 << 255 << 255 << true << ac << qRgb(255, 0, 255);
    QTest::newRow("all: red alone") << 255 << 255 << 255 << true << aOnly << qRgb(255, 0, 0);
    QTest::newRow("all: green alone") << 255 << 255 << 255 << true << bOnly << qRgb(0, 255, 0);
    QTest::newRow("all: blue alone") << 255 << 255 << 255 << true << cOnly << qRgb(0, 0, 255);
    QTest::newRow("all: background black") << 255 << 255 << 255 << true << outside << qRgb(0, 0, 0);
    QTest::newRow("yellow: centre yellow") << 255 << 255 << 0 << true << centre << qRgb(255, 255, 0);
    QTest::newRow("yellow: blue disc black") << 255 << 255 << 0 << true << cOnly << qRgb(0, 0, 0);
    QTest::newRow("blue unchecked counts 0") << 255 << 255 << 200 << false << bc << qRgb(0, 255, 0);
    QTest::newRow("half strengths add") << 128 << 64 << 32 << true << centre << qRgb(128, 64, 32);
}

void TestColMix::circles() {
    QFETCH(int, r);
    QFETCH(int, g);
    QFETCH(int, b);
    QFETCH(bool, blueOn);
    QFETCH(QPoint, at);
    QFETCH(QRgb, colour);
    const QImage image = DrawColourCircles(Lights(r, g, b, true, true, blueOn), 300, 300);
    QCOMPARE(image.size(), QSize(300, 300));
    QCOMPARE(image.pixel(at) & 0xFFFFFF, colour & 0xFFFFFF);
}

void TestColMix::discLayout() {
    // A wide area: s from the height; the blue disc's centre lies
    // round(s cos 30°) + s down, so its lowest pixel row is at about 2.87 s.
    const QImage image = DrawColourCircles(Lights(255, 255, 255), 900, 301);
    QCOMPARE(CircleRadius(900, 301), 100);
    QCOMPARE(image.size(), QSize(300, 300));
    QCOMPARE(image.pixel(150, 285) & 0xFFFFFF, 0x0000FFu);
    QCOMPARE(image.pixel(150, 289) & 0xFFFFFF, 0u);
    QCOMPARE(image.pixel(100, 2) & 0xFFFFFF, 0xFF0000u); // the top of the red disc
}

void TestColMix::labels_data() {
    QTest::addColumn<int>("channel");
    QTest::addColumn<int>("position");
    QTest::addColumn<bool>("on");
    QTest::addColumn<QString>("text");
    QTest::newRow("full red") << 0 << 255 << true << "Red = 100%";
    QTest::newRow("128 is 50") << 0 << 128 << true << "Red = 50%";
    QTest::newRow("green 64 is 25") << 1 << 64 << true << "Green = 25%";
    QTest::newRow("blue 0") << 2 << 0 << true << "Blue = 0%";
    QTest::newRow("unchecked reads 0") << 2 << 200 << false << "Blue = 0%";
}

void TestColMix::labels() {
    QFETCH(int, channel);
    QFETCH(int, position);
    QFETCH(bool, on);
    QFETCH(QString, text);
    TColMixLights l;
    l.Position[channel] = position;
    l.On[channel] = on;
    QCOMPARE(l.Label(channel), text);
}

void TestColMix::panelHeight_data() {
    QTest::addColumn<int>("w");
    QTest::addColumn<int>("h");
    QTest::addColumn<int>("panel");
    QTest::newRow("tall form") << 300 << 500 << 200;
    QTest::newRow("square form") << 400 << 400 << 90;
    QTest::newRow("just not tall enough") << 300 << 390 << 90;
    QTest::newRow("just tall enough") << 300 << 391 << 91;
}

void TestColMix::panelHeight() {
    QFETCH(int, w);
    QFETCH(int, h);
    QFETCH(int, panel);
    QCOMPARE(ColMixPanelHeight(w, h), panel);
    TColMixFrm f;
    f.resize(w, h);
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    QCOMPARE(f.Panel1->height(), panel);
}

void TestColMix::pictureMode() {
    QImage picture(4, 2, QImage::Format_RGB32);
    picture.fill(qRgb(200, 100, 50));
    picture.setPixel(0, 0, qRgb(255, 255, 255));
    // Only red on: the picture keeps its red channel alone.
    QImage out = LightPicture(picture, Lights(255, 255, 255, true, false, false));
    QCOMPARE(out.format(), QImage::Format_ARGB32);
    QCOMPARE(out.pixel(2, 1) & 0xFFFFFF, qRgb(200, 0, 0) & 0xFFFFFF);
    // Scaled with rounding: 200 × 128 / 255 = 100.39, 100 × 128 / 255 = 50.2, 50 × 64 / 255 = 12.55.
    out = LightPicture(picture, Lights(128, 128, 64));
    QCOMPARE(out.pixel(2, 1) & 0xFFFFFF, qRgb(100, 50, 13) & 0xFFFFFF);
}

void TestColMix::tinyAreaDrawsNothing() {
    // Not even a painter complaining about an empty picture.
    QTest::failOnWarning(QRegularExpression(QStringLiteral(".+")));
    QVERIFY(DrawColourCircles(Lights(255, 255, 255), 2, 200).isNull());
    QVERIFY(DrawColourCircles(Lights(255, 255, 255), 0, 0).isNull());
    TColMixFrm f;
    f.ColMixPic->resize(2, 80); // not laid out yet, or squeezed to nothing
    QVERIFY(f.Render().isNull());
    QVERIFY(!f.ColMixPic->grab().isNull()); // painting copes
}

void TestColMix::missingPictureIsBlack() {
    const QString saved = TexturesFolder;
    QTemporaryDir empty;
    TexturesFolder = empty.path() + QLatin1Char('/');
    TColMixFrm f;
    TexturesFolder = saved;
    QCOMPARE(f.Picture().size(), QSize(300, 400));
    f.SetPictureMode(true);
    const QImage out = f.Render();
    QCOMPARE(out.size(), QSize(300, 400));
    QCOMPARE(out.pixel(150, 200) & 0xFFFFFF, 0u);
}

void TestColMix::showColourKeepsBoxes() {
    TColMixFrm f;
    QVERIFY(f.RunOperation(QStringLiteral("ShowColour"), {255, 255, 0}));
    QCOMPARE(f.Hsb[2]->value(), 0);
    QCOMPARE(f.Labels[2]->text(), QStringLiteral("Blue = 0%"));
    QCOMPARE(f.Labels[0]->text(), QStringLiteral("Red = 100%"));
    QVERIFY(f.Btn[2]->isChecked());
    // An unchecked primary stays dark whatever its bar says.
    f.Btn[0]->setChecked(false);
    f.SetColour(255, 0, 255);
    QCOMPARE(f.Hsb[0]->value(), 255);
    QCOMPARE(f.Lights().Amount(0), 0);
    QCOMPARE(f.Labels[0]->text(), QStringLiteral("Red = 0%"));
    QVERIFY(!f.RunOperation(QStringLiteral("LensPositions"), {20, 80}));
}

void TestColMix::uncheckHidesBar() {
    TColMixFrm f;
    f.resize(400, 500);
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    f.Hsb[1]->setValue(128);
    QCOMPARE(f.Labels[1]->text(), QStringLiteral("Green = 50%"));
    f.Btn[1]->setChecked(false);
    QVERIFY(!f.Hsb[1]->isVisible());
    QCOMPARE(f.Labels[1]->text(), QStringLiteral("Green = 0%"));
    const QImage image = f.Render();
    const int s = CircleRadius(f.ColMixPic->width(), f.ColMixPic->height());
    QCOMPARE(image.pixel(int(2.6 * s), s) & 0xFFFFFF, 0u); // the green disc is dark
    f.Btn[1]->setChecked(true);
    QVERIFY(f.Hsb[1]->isVisible());
    QCOMPARE(f.Labels[1]->text(), QStringLiteral("Green = 50%"));
}

void TestColMix::pageCommands() {
    TFrameFrm f(QStringLiteral(QUARVEL_CONTENT_DIR));
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    f.Topics->SelectTopic(2010);
    auto* circles = qobject_cast<TColMixFrm*>(f.Topics->HostedPanel());
    QVERIFY(circles);
    QVERIFY(!circles->PictureMode());
    QVERIFY(f.RunPageCommand(QStringLiteral("+cyan")));
    QCOMPARE(circles->Hsb[0]->value(), 0);
    QCOMPARE(circles->Labels[0]->text(), QStringLiteral("Red = 0%"));
    f.Topics->SelectTopic(2017);
    QTRY_VERIFY(f.Topics->HostedPanel() && f.Topics->HostedPanel() != circles);
    auto* picture = qobject_cast<TColMixFrm*>(f.Topics->HostedPanel());
    QVERIFY(picture && picture->PictureMode());
    QVERIFY(picture->Picture().height() > picture->Picture().width()); // the portrait
    QVERIFY(f.RunPageCommand(QStringLiteral("+green")));
    QCOMPARE(picture->Lights().Amount(0), 0);
    QCOMPARE(picture->Lights().Amount(1), 255);
    QCOMPARE(picture->Lights().Amount(2), 0);
}

QUARVEL_GUI_TEST_MAIN(TestColMix)
#include "tst_colmix.moc"
