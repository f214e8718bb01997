#include "browser/pageprinter.h"

#include <QBuffer>
#include <QLocale>
#include <QPainter>
#include <QPdfDocument>
#include <QPrinter>
#include <QWebEnginePage>

namespace quarvel {

namespace {
constexpr double kMarginMm = 19.05;
}

THeaderFooter PageHeaderFooter(const QString& title, const QUrl& url, int page, int pages,
                               const QDate& date) {
    return {title, QStringLiteral("Page %1 of %2").arg(page).arg(pages),
            url.toString(QUrl::PreferLocalFile), QLocale().toString(date, QLocale::ShortFormat)};
}

QPageLayout CoursePageLayout() {
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                       QMarginsF(kMarginMm, kMarginMm, kMarginMm, kMarginMm), QPageLayout::Millimeter);
}

TPagePrinter::TPagePrinter(QWebEnginePage* page, QPrinter* printer, QObject* parent)
    : QObject(parent), m_page(page), m_printer(printer), m_title(page->title()), m_url(page->url()) {}

void TPagePrinter::Start() {
    QPageLayout layout = CoursePageLayout();
    layout.setPageSize(m_printer->pageLayout().pageSize());
    m_page->printToPdf([this](const QByteArray& pdf) { PrintPdf(pdf); }, layout);
}

void TPagePrinter::PrintPdf(const QByteArray& pdf) { emit finished(PaintPdfPages(m_printer, pdf, m_title, m_url)); }

bool PaintPdfPages(QPrinter* printer, const QByteArray& pdf, const QString& title, const QUrl& url) {
    if (pdf.isEmpty())
        return false;
    QBuffer buffer;
    buffer.setData(pdf);
    buffer.open(QIODevice::ReadOnly);
    QPdfDocument doc;
    doc.load(&buffer);
    const int pages = doc.pageCount();
    if (pages <= 0)
        return false;
    printer->setFullPage(true);
    QPainter p;
    if (!p.begin(printer))
        return false;
    const QDate today = QDate::currentDate();
    const QRect paper = printer->pageLayout().fullRectPixels(printer->resolution());
    const double dpi = std::min(printer->resolution(), 300);
    const double mmToPx = printer->resolution() / 25.4;
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSizeF(8);
    p.setFont(font);
    for (int i = 0; i < pages; ++i) {
        if (i > 0)
            printer->newPage();
        const QSizeF pts = doc.pagePointSize(i);
        const QImage image = doc.render(i, QSize(int(pts.width() / 72.0 * dpi), int(pts.height() / 72.0 * dpi)));
        p.drawImage(QRectF(paper), image);
        const THeaderFooter hf = PageHeaderFooter(title, url, i + 1, pages, today);
        const double m = kMarginMm * mmToPx;
        const QRectF header(m, m * 0.35, paper.width() - 2 * m, m * 0.4);
        const QRectF footer(m, paper.height() - m * 0.75, paper.width() - 2 * m, m * 0.4);
        p.drawText(header, Qt::AlignLeft | Qt::AlignVCenter, hf.HeaderLeft);
        p.drawText(header, Qt::AlignRight | Qt::AlignVCenter, hf.HeaderRight);
        p.drawText(footer, Qt::AlignLeft | Qt::AlignVCenter, hf.FooterLeft);
        p.drawText(footer, Qt::AlignRight | Qt::AlignVCenter, hf.FooterRight);
    }
    p.end();
    return true;
}

} // namespace quarvel
