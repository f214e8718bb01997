// The page pane: the browser, the navigation rules' road, page commands,
// text size and colour, copying, printing and the context menu.

#include "shell/framefrm.h"

#include "browser/coursescheme.h"
#include "browser/courseview.h"
#include "browser/navigation.h"
#include "browser/pageprinter.h"
#include "common/contentpath.h"
#include "shell/bigpicfrm.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QClipboard>
#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QPrintDialog>
#include <QPrinter>
#include <QSplitterHandle>
#include <QWebEngineContextMenuRequest>
#include <QWebEngineHistory>
#include <QWebEngineProfile>

namespace quarvel {

void TFrameFrm::CreateBrowser(QWidget* parent) {
    // A profile of our own that keeps nothing on disk and serves the course.
    m_profile = new QWebEngineProfile(this);
    TCourseSchemeHandler::Install(m_profile, ContentRoot);
    m_page = new TCoursePage(m_profile, this);
    m_page->SetFilter([this](const QUrl& url) { return EWBBeforeNavigate2(url); });
    EWB = new TCourseView(parent);
    EWB->setObjectName(QStringLiteral("EWB"));
    EWB->setPage(m_page);
    EWB->ContextMenuHandler = [this](QContextMenuEvent* e) { return PageContextMenu(e); };
    connect(EWB, &QWebEngineView::loadFinished, this, &TFrameFrm::DocumentComplete);
    connect(EWB, &QWebEngineView::urlChanged, this, &TFrameFrm::UpdateNavigationButtons);
    connect(m_page, &QWebEnginePage::selectionChanged, this, [this] {
        Item(QStringLiteral("CopyBtn"))->setEnabled(!m_page->selectedText().isEmpty());
    });
    PictureOpener = [this](const QString& file) {
        TBigPicFrm pic(file, this);
        pic.exec();
    };
    ExternalOpener = [](const QUrl& url) { QDesktopServices::openUrl(url); };
}

bool TFrameFrm::OpenPage(const QString& name) {
    const QString file = ResolveContentPath(HtmlFolder, name);
    if (file.isEmpty())
        return false;
    EWB->load(CourseUrl(QDir(ContentRoot).relativeFilePath(file)));
    m_pageRequested = true;
    return true;
}

QString TFrameFrm::LocationName() const {
    const QString path = EWB->url().path();
    return path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
}

bool TFrameFrm::EWBBeforeNavigate2(const QUrl& url) {
    const TNavDecision d =
        ClassifyNavigation(url.toString(), HtmlFolder, VideoFolder);
    switch (d.Kind) {
    case TNavKind::HeadingClick:
        TopicIndex.ToggleHeading(d.Heading);
        RefreshIndexPanel();
        break;
    case TNavKind::PassThrough:
    case TNavKind::Ignored:
        break;
    case TNavKind::Picture:
        if (!d.File.isEmpty() && PictureOpener)
            PictureOpener(d.File);
        break;
    case TNavKind::Video:
        if (!d.File.isEmpty())
            emit VideoRequested(d.File);
        break;
    case TNavKind::PageCommand:
        RunPageCommand(d.Segment);
        break;
    case TNavKind::External:
        if (ExternalOpener)
            ExternalOpener(url);
        break;
    case TNavKind::Page: {
        if (d.Segment != QLatin1String("index.html")) {
            const int heading = TopicIndex.HeadingOfPage(d.Segment);
            if (heading != -1)
                TopicIndex.ExpandHeading(heading);
            TopicIndex.SelectPage(d.Segment);
        }
        const std::int32_t id = TopicIdForPage(d.Segment, CurrentTopicId);
        if (id != CurrentTopicId)
            Topics->SelectTopic(id);
        break;
    }
    }
    return !d.Cancel;
}

void TFrameFrm::RunJavaScript(const QString& script) { m_page->runJavaScript(script); }

static QString JsString(const QString& s) {
    QString out = s;
    out.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    out.replace(QLatin1Char('\''), QLatin1String("\\'"));
    out.replace(QLatin1Char('\n'), QLatin1String("\\n"));
    out.replace(QLatin1Char('\r'), QLatin1String("\\r"));
    out.replace(QStringLiteral("</"), QStringLiteral("<\\/"));
    return QLatin1Char('\'') + out + QLatin1Char('\'');
}

void TFrameFrm::PaintPageBackground() {
    RunJavaScript(QStringLiteral("document.body&&(document.body.style.backgroundColor=%1);").arg(JsString(TextBackColour)));
}

void TFrameFrm::RefreshIndexPanel() {
    RunJavaScript(QStringLiteral("(function(){var e=document.getElementById('index');"
                                 "if(e)e.innerHTML=%1;})();")
                      .arg(JsString(TopicIndex.GetHTML())));
}

void TFrameFrm::DocumentComplete(bool ok) {
    if (!ok)
        return;
    if (TextBackColour != QLatin1String("#FFFFFF"))
        PaintPageBackground();
    const double zoom = ZoomFactorForSize(FontSizeIndex);
    if (!qFuzzyCompare(EWB->zoomFactor(), zoom))
        EWB->setZoomFactor(zoom);
    const QString location = LocationName();
    if (location == QLatin1String("index.html") || location == QLatin1String("index"))
        RefreshIndexPanel();
    if ((CurrentTopicId == 10 || CurrentTopicId == 2028) && FlashMajorVersion < 7)
        RunJavaScript(QStringLiteral("(function(){var e=document.getElementById('noflash');if(e)"
                                     "e.innerHTML='If the animation above is not visible, "
                                     "<a href=\"http://get.adobe.com/flashplayer/\">update</a> "
                                     "your version of Flash.';})();"));
    ApplyPageState(location);
    UpdateNavigationButtons();
}

void TFrameFrm::ApplyPageState(const QString& locationName) {
    if (!BackForwardPending)
        return;
    BackForwardPending = false;
    if (const auto step = PageStateFor(CurrentTopicId, locationName.toUpper()))
        Operations.Run({*step});
}

void TFrameFrm::UpdateNavigationButtons() {
    Item(QStringLiteral("FwdBtn"))->setEnabled(EWB->history()->canGoForward());
    Item(QStringLiteral("BackBtn"))->setEnabled(EWB->history()->canGoBack());
    const bool index = LocationName().compare(QLatin1String("index.html"), Qt::CaseInsensitive) != 0;
    Item(QStringLiteral("IndexBtn"))->setEnabled(index);
    Item(QStringLiteral("IndexOptBtns"))->setEnabled(!index);
}

bool TFrameFrm::RunPageCommand(const QString& word) {
    const bool panel = CurrentTopicId == 2007 || Topics->HostedPanel() != nullptr;
    const auto steps = RoutePageCommand(word, CurrentTopicId, Busy, panel);
    if (!steps)
        return false;
    Operations.Run(*steps);
    return true;
}

double ZoomFactorForSize(int index) {
    static const double factors[] = {0.8, 0.9, 1.0, 1.2, 1.4};
    return factors[std::clamp(index, 0, 4)];
}

void TFrameFrm::SetFontSizeIndex(int index) {
    FontSizeIndex = std::clamp(index, 0, 4);
    EWB->setZoomFactor(ZoomFactorForSize(FontSizeIndex));
    if (QAction* a = Item(QStringLiteral("Size%1").arg(FontSizeIndex)))
        a->setChecked(true);
}

void TFrameFrm::SetTextBackColour(const QString& colour) {
    if (EWB->url().isEmpty())
        return; // without a document nothing changes
    TextBackColour = colour;
    PaintPageBackground();
}

void TFrameFrm::CopyTopicText() {
    // The whole page's text, as selecting all and copying would give, but
    // without touching the pupil's selection or needing the page to have
    // the keyboard.
    m_page->runJavaScript(QStringLiteral("document.body ? document.body.innerText : ''"),
                          [](const QVariant& text) {
                              if (!text.toString().isEmpty())
                                  QApplication::clipboard()->setText(text.toString());
                          });
}

void TFrameFrm::PrintTopic() {
    if (EWB->url().isEmpty())
        return;
    auto* printer = new QPrinter(QPrinter::HighResolution);
    printer->setPageLayout(CoursePageLayout());
    QPrintDialog dialog(printer, this);
    if (dialog.exec() != QDialog::Accepted) {
        delete printer;
        return;
    }
    auto* job = new TPagePrinter(m_page, printer, this);
    connect(job, &TPagePrinter::finished, this, [job, printer](bool) {
        job->deleteLater();
        delete printer;
    });
    job->Start();
}

bool TFrameFrm::PageContextMenu(QContextMenuEvent* e) {
    QWebEngineContextMenuRequest* request = EWB->lastContextMenuRequest();
    if (!request)
        return true;
    if (request->mediaType() == QWebEngineContextMenuRequest::MediaTypeImage) {
        const QString file = CourseFileForUrl(ContentRoot, request->mediaUrl());
        if (file.isEmpty()) {
            ContextPicturePath.clear();
            return true;
        }
        ContextPicturePath = file;
        QMenu menu(this);
        menu.addAction(QStringLiteral("Copy picture to clipboard"), this, [this] {
            QImage image(ContextPicturePath);
            if (!image.isNull())
                QApplication::clipboard()->setImage(image);
        });
        menu.exec(e->globalPos());
        return true;
    }
    ContextPicturePath.clear();
    // Selected text gets the browser's own menu; anything else none.
    return request->selectedText().isEmpty();
}

} // namespace quarvel
