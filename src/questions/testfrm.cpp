#include "questions/testfrm.h"

#include "browser/pageprinter.h"
#include "common/random.h"
#include "shell/datamod.h"

#include <QApplication>
#include <QClipboard>
#include <QFileInfo>
#include <QMouseEvent>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QToolBar>
#include <QVBoxLayout>
#include <QWebEnginePage>
#include <QWebEngineView>

namespace quarvel {

namespace {
// Answer links are single letters; every other navigation goes ahead.
class TTestPage : public QWebEnginePage {
public:
    TTestPage(TTestFrm* form, QObject* parent) : QWebEnginePage(parent), m_form(form) {}

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType, bool isMainFrame) override {
        if (!isMainFrame)
            return true;
        const QString s = url.toString();
        const int cut = std::max({s.lastIndexOf(QLatin1Char('\\')), s.lastIndexOf(QLatin1Char(':')),
                                  s.lastIndexOf(QLatin1Char('/'))});
        const QString rest = s.mid(cut + 1);
        if (!rest.isEmpty() && QStringLiteral("ABCDE").contains(rest[0])) {
            const QString letter = rest.left(1);
            QMetaObject::invokeMethod(m_form, [form = m_form, letter] { form->Answer(letter); }, Qt::QueuedConnection);
            return false;
        }
        return true;
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

void TTestFrm::ShowHtml(const QString& html) {
    m_page = html;
    Viewer->setHtml(html, QUrl::fromLocalFile(m_baseFolder));
}

void TTestFrm::ShowQuestion(int index) {
    if (index < 0 || index >= int(Questions.size()))
        return;
    const QString html = QuestionPage(Questions[std::size_t(index)], index + 1);
    ShowHtml(html);
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
        ShowHtml(ResultsPage(!AllCorrect()));
        ResultsShown = true;
    } else if (AllCorrect()) {
        ShowHtml(ResultsPage(false));
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
    p.drawRect(0, 0, 300, 30);
    for (int i = 0; i < int(Questions.size()); ++i) {
        p.drawLine((i + 1) * 30, 0, (i + 1) * 30, 30);
        p.drawText(QRect(i * 30 + 2, 1, 28, 14), Qt::AlignLeft | Qt::AlignTop, QString::number(i + 1));
        const std::uint8_t state = Questions[std::size_t(i)].AnswerState;
        if (state == 1)
            p.drawImage(i * 30 + 10, 13, tick);
        else if (state == 2)
            p.drawImage(i * 30 + 10, 13, cross);
    }
    if (!AllCorrect() && ResultsShown) {
        p.setPen(Qt::red);
        p.drawRect(Current * 30 + 1, 1, 29, 28);
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
