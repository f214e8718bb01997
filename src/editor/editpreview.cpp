// The pupil's view of the questions: the preview of the selected question,
// its link filter, and printing through a print preview.

#include "editor/editfrm.h"

#include "browser/pageprinter.h"
#include "editor/editfrmparts.h"

#include <QAction>
#include <QApplication>
#include <QPageSetupDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QStackedWidget>
#include <QWebEnginePage>
#include <QWebEngineView>

namespace quarvel {

namespace {
// Answer links of the preview go nowhere; every other link is followed.
class TPreviewPage : public QWebEnginePage {
public:
    using QWebEnginePage::QWebEnginePage;

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override {
        if (isMainFrame && type == NavigationTypeLinkClicked && TEditFrm::IsAnswerLink(url))
            return false;
        return true;
    }
};
} // namespace

QWebEnginePage* NewPreviewPage(QObject* parent) { return new TPreviewPage(parent); }

void TEditFrm::HTMLBtnClick() { ShowPreview(HTMLBtn->isChecked()); }

void TEditFrm::ShowPreview(bool show) {
    if (show && EditMode != emBrowse)
        show = false;
    HTMLBtn->setChecked(show);
    if (show) {
        Viewer->setHtml(m_previewHtml, QUrl::fromLocalFile(m_pageImages));
        RightStack->setCurrentWidget(Viewer);
        Hint(HTMLBtn, QStringLiteral("Return to edit page"));
    } else {
        RightStack->setCurrentWidget(EditPanel);
        Hint(HTMLBtn, QStringLiteral("Preview question"));
    }
}

bool TEditFrm::IsAnswerLink(const QUrl& url) {
    // The test window goes by the same rule, so the preview behaves as the pupil's page.
    return !AnswerLetterOfLink(QUrl::fromPercentEncoding(url.toEncoded())).isEmpty();
}

QString TEditFrm::PrintPage(bool selectedOnly) const {
    QString html = PrintPageHead();
    int number = 0;
    for (int i = 0; i < Count(); ++i) {
        if (selectedOnly && !IsChecked(i))
            continue;
        ++number;
        html += PrintEntry(*Question(i), selectedOnly ? number : i + 1);
    }
    return html + QStringLiteral("</body></html>");
}

void TEditFrm::Print(bool selectedOnly) {
    if (!PrinterInstalled()) {
        ShowBox(this, TBoxKind::Information, QStringLiteral("No printer installed"));
        return;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QString html;
    try {
        html = PrintPage(selectedOnly);
    } catch (...) {
        QApplication::restoreOverrideCursor();
        return;
    }
    PrintBrowser->disconnect(this);
    connect(PrintBrowser, &QWebEngineView::loadFinished, this, [this](bool) {
        PrintBrowser->disconnect(this);
        PrintBrowser->page()->printToPdf(
            [this](const QByteArray& pdf) {
                QApplication::restoreOverrideCursor();
                auto* preview = new QPrintPreviewDialog(m_printer.get(), this);
                preview->setObjectName(QStringLiteral("PrintPreview"));
                preview->setAttribute(Qt::WA_DeleteOnClose);
                const QString title = windowTitle();
                connect(preview, &QPrintPreviewDialog::paintRequested, this,
                        [pdf, title](QPrinter* printer) { PaintPdfPages(printer, pdf, title, QUrl()); });
                preview->setWindowState(Qt::WindowNoState);
                preview->show();
            },
            CoursePageLayout());
    });
    PrintBrowser->setHtml(html, QUrl::fromLocalFile(m_pageImages));
}

void TEditFrm::PrintSetup1Click() {
    QPageSetupDialog dialog(m_printer.get(), this);
    dialog.exec();
}

} // namespace quarvel
