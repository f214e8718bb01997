#include "questions/testfrm.h"

#include "browser/pageprinter.h"
#include "common/random.h"
#include "widgets/datamod.h"

#include <QApplication>
#include <QClipboard>
#include <QFileInfo>
#include <QMouseEvent>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QToolBar>
#include <QUrlQuery>
#include <QVBoxLayout>
#include <QWebEngineHistory>
#include <QWebEnginePage>
#include <QWebEngineView>

namespace quarvel {

namespace {
// Only a one-letter link is an answer, and it counts only when it comes from
// the page of the question on show; every other link is an ordinary link of
// the page. The page has no history: Back would bring back an earlier
// question while the test has moved on.
class TTestPage : public QWebEnginePage {
public:
    TTestPage(TTestFrm* form, QObject* parent) : QWebEnginePage(parent), m_form(form) {
        connect(this, &QWebEnginePage::loadFinished, this, [this] { history()->clear(); });
    }

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override {
        if (type == NavigationTypeBackForward)
            return false;
        if (!isMainFrame)
            return true;
        const QString letter = AnswerLetterOfLink(url.toString());
        if (letter.isEmpty())
            return true;
        // The page the click came from, taken now: by the time the queued
        // answer runs, another page may be on its way.
        const int page = TTestFrm::PageOfUrl(this->url());
        QMetaObject::invokeMethod(
            m_form, [form = m_form, page, letter] { form->PageAnswer(page, letter); }, Qt::QueuedConnection);
        return false;
    }

private:
    TTestFrm* m_form;
};

// The tick and the cross drawn into the strip's cells.
QImage Mark(bool tick) {
    QImage img(15, 15, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    if (tick) {
        p.setPen(QPen(QColor(0, 150, 40), 2.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPolyline(QPolygonF({QPointF(2.5, 8), QPointF(6, 12), QPointF(12.5, 3)}));
    } else {
        p.setPen(QPen(QColor(210, 20, 20), 2.6, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(3, 3), QPointF(12, 12));
        p.drawLine(QPointF(12, 3), QPointF(3, 12));
    }
    return img;
}
} // namespace

TAnswerStrip::TAnswerStrip(TTestFrm* form) : QWidget(form), m_form(form) {
    setObjectName(QStringLiteral("AnsPic"));
    setFixedSize(302, 30);
    setMouseTracking(true);
}

void TAnswerStrip::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.drawImage(0, 0, m_form->DrawStrip());
}

void TAnswerStrip::mouseMoveEvent(QMouseEvent* e) {
    setCursor(m_form->StripOpens(int(e->position().x())) ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

void TAnswerStrip::mousePressEvent(QMouseEvent* e) { m_form->StripClicked(int(e->position().x())); }

TTestFrm::TTestFrm(const QString& fileName, const TTopicSet& topics, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TestFrm"));
    setWindowTitle(QStringLiteral("Test"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    m_baseFolder = QFileInfo(fileName).absolutePath() + QLatin1Char('/');
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    TestToolbar = new QToolBar(this);
    TestToolbar->setObjectName(QStringLiteral("TestToolbar"));
    TestToolbar->setMovable(false);
    TestToolbar->setFloatable(false);
    TestToolbar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    AnsPic = new TAnswerStrip(this);
    TestToolbar->addWidget(AnsPic);
    TestToolbar->setIconSize(QSize(24, 24));
    CloseBtn = TestToolbar->addAction(QStringLiteral("Close"));
    // The "abort" picture: a mouse pointer would not say "close".
    CloseBtn->setIcon(RenderIcon(QStringLiteral("abort"), 24));
    CloseBtn->setObjectName(QStringLiteral("CloseBtn"));
    connect(CloseBtn, &QAction::triggered, this, &QDialog::accept);
    PrintBtn = TestToolbar->addAction(QStringLiteral("Print"));
    PrintBtn->setObjectName(QStringLiteral("PrintBtn"));
    PrintBtn->setIcon(TDataMod::Instance()->Images24().Icon(9));
    connect(PrintBtn, &QAction::triggered, this, &TTestFrm::PrntBtnClick);
    layout->addWidget(TestToolbar);
    Viewer = new QWebEngineView(this);
    Viewer->setObjectName(QStringLiteral("Viewer"));
    Viewer->setPage(new TTestPage(this, Viewer));
    // No context menu: its Back and Reload would show pages the test has left.
    Viewer->setContextMenuPolicy(Qt::NoContextMenu);
    layout->addWidget(Viewer, 1);
    StartTest(fileName, topics);
    m_printBrowser = new QWebEngineView(this);
    m_printBrowser->setFixedSize(0, 0);
    m_printBrowser->hide();
}

TTestFrm::~TTestFrm() = default;

void TTestFrm::StartTest(const QString& fileName, const TTopicSet& topics) {
    Questions.clear();
    std::vector<TMCQuestion> all = ReadQuestionFile(fileName, TReader::Vantrel);
    for (TMCQuestion& q : all)
        if ((topics & q.TopicAreas) == topics) // the chosen areas are all the question's
            Questions.push_back(std::move(q));
    const int n = int(Questions.size());
    if (n > 0) {
        TRandom& random = SharedRandom();
        random.Randomize();
        for (int i = 0; i < n; ++i) {
            const int j = random.RandomInt(n);
            if (j != i)
                std::swap(Questions[std::size_t(i)], Questions[std::size_t(j)]);
        }
    }
    if (Questions.size() > 10)
        Questions.resize(10);
    Current = 0;
    Reviewing = false;
    ResultsShown = false;
    ShowQuestion(0);
    AnsPic->update();
}

void TTestFrm::ShowHtml(const QString& html, int question) {
    m_page = html;
    ++m_pageSerial;
    m_pageQuestion = question;
    // The page's address carries its number, so an answer can be traced to
    // the page it was clicked on. Relative links still resolve in the folder.
    QUrl base = QUrl::fromLocalFile(m_baseFolder);
    base.setQuery(QStringLiteral("page=%1").arg(m_pageSerial));
    Viewer->setHtml(html, base);
}

int TTestFrm::PageOfUrl(const QUrl& url) {
    bool ok = false;
    const int page = QUrlQuery(url).queryItemValue(QStringLiteral("page")).toInt(&ok);
    return ok ? page : -1;
}

bool TTestFrm::PageAnswer(int page, const QString& letter) {
    if (page != m_pageSerial || m_pageQuestion < 0 || m_pageQuestion != Current)
        return false;
    Answer(letter);
    return true;
}

void TTestFrm::ShowQuestion(int index) {
    if (index < 0 || index >= int(Questions.size()))
        return;
    const QString html = QuestionPage(Questions[std::size_t(index)], index + 1);
    ShowHtml(html, index);
    QApplication::clipboard()->setText(html);
}

bool TTestFrm::AllCorrect() const {
    for (const TMCQuestion& q : Questions)
        if (q.AnswerState == 2)
            return false;
    return true;
}

void TTestFrm::Answer(const QString& letter) {
    const int count = int(Questions.size());
    if (Current >= 0 && Current < count)
        Questions[std::size_t(Current)].CheckAnswer(letter);
    if (Current < count - 1 && !Reviewing) {
        ++Current;
        AnsPic->update();
        ShowQuestion(Current);
        return;
    }
    AnsPic->update();
    Reviewing = true;
    if (!ResultsShown) {
        ShowHtml(ResultsPage(!AllCorrect()), -1);
        ResultsShown = true;
    } else if (AllCorrect()) {
        ShowHtml(ResultsPage(false), -1);
    }
}

bool TTestFrm::StripOpens(int x) const {
    const int cell = TAnswerStrip::CellAt(x);
    return Reviewing && x >= 0 && cell < int(Questions.size()) && Questions[std::size_t(cell)].AnswerState == 2;
}

bool TTestFrm::StripClicked(int x) {
    if (!StripOpens(x))
        return false;
    const int cell = TAnswerStrip::CellAt(x);
    ShowQuestion(cell);
    Current = cell;
    AnsPic->update();
    return true;
}

QImage TTestFrm::DrawStrip() const {
    static const QImage tick = Mark(true), cross = Mark(false);
    QImage img(301, 31, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(13);
    p.setFont(f);
    p.setPen(Qt::black);
    p.setBrush(Qt::NoBrush);
    // The strip on screen is 30 pixels high: the outline and the dividers
    // take rows 0 to 29, so the bottom line shows.
    p.drawRect(0, 0, 300, 29);
    for (int i = 0; i < int(Questions.size()); ++i) {
        p.drawLine((i + 1) * 30, 0, (i + 1) * 30, 29);
        p.drawText(QRect(i * 30 + 2, 1, 28, 14), Qt::AlignLeft | Qt::AlignTop, QString::number(i + 1));
        const std::uint8_t state = Questions[std::size_t(i)].AnswerState;
        if (state == 1)
            p.drawImage(i * 30 + 10, 13, tick);
        else if (state == 2)
            p.drawImage(i * 30 + 10, 13, cross);
    }
    if (!AllCorrect() && ResultsShown) {
        // Inside the cell: columns 1 to 29 and rows 1 to 28, leaving the
        // divider and the outline black.
        p.setPen(Qt::red);
        p.drawRect(Current * 30 + 1, 1, 28, 27);
    }
    return img;
}

QString TTestFrm::PrintPage() const {
    QString html = PrintPageHead();
    for (int k = 0; k < int(Questions.size()); ++k)
        html += PrintEntry(Questions[std::size_t(k)], k + 1);
    return html + QStringLiteral("</body></html>");
}

void TTestFrm::PrntBtnClick() {
    m_printBrowser->disconnect(this);
    connect(m_printBrowser, &QWebEngineView::loadFinished, this, [this](bool ok) {
        if (!ok)
            return;
        m_printBrowser->page()->printToPdf(
            [this](const QByteArray& pdf) {
                auto* preview = new QPrintPreviewDialog(this);
                preview->setAttribute(Qt::WA_DeleteOnClose);
                preview->printer()->setPageLayout(CoursePageLayout());
                connect(preview, &QPrintPreviewDialog::paintRequested, this, [this, pdf](QPrinter* printer) {
                    PaintPdfPages(printer, pdf, windowTitle(), QUrl());
                });
                preview->setWindowState(Qt::WindowNoState);
                preview->show();
            },
            CoursePageLayout());
    });
    m_printBrowser->setHtml(PrintPage(), QUrl::fromLocalFile(m_baseFolder));
}

} // namespace quarvel
