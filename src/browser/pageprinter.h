#pragma once
// Prints a course page the way the course has always printed: portrait,
// 19.05 mm margins on every side, a header with the page's title on the
// left and "Page x of y" on the right, and a footer with the page's address
// on the left and the date on the right. The page is laid out by the web
// engine as PDF, then each PDF page is drawn onto the printer with the
// header and footer in its margins.

#include <QDate>
#include <QObject>
#include <QPageLayout>
#include <QString>
#include <QUrl>

class QPrinter;
class QWebEnginePage;

namespace quarvel {

struct THeaderFooter {
    QString HeaderLeft, HeaderRight, FooterLeft, FooterRight;
};

// The texts printed on page `page` of `pages`.
THeaderFooter PageHeaderFooter(const QString& title, const QUrl& url, int page, int pages,
                               const QDate& date);

// Portrait, 19.05 mm on every side.
QPageLayout CoursePageLayout();

// Draws the pages of `pdf` on `printer` with the header and footer; false
// when the PDF has no pages or the printer cannot start.
bool PaintPdfPages(QPrinter* printer, const QByteArray& pdf, const QString& title, const QUrl& url);

class TPagePrinter : public QObject {
    Q_OBJECT
public:
    // Prints `page` on `printer` (which must live until finished()).
    TPagePrinter(QWebEnginePage* page, QPrinter* printer, QObject* parent = nullptr);
    void Start();

signals:
    void finished(bool ok);

private:
    void PrintPdf(const QByteArray& pdf);
    QWebEnginePage* m_page;
    QPrinter* m_printer;
    QString m_title;
    QUrl m_url;
};

} // namespace quarvel
