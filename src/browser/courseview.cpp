#include "browser/courseview.h"

#include <QContextMenuEvent>
#include <QDragEnterEvent>

namespace quarvel {

TCoursePage::TCoursePage(QWebEngineProfile* profile, QObject* parent)
    : QWebEnginePage(profile, parent) {}

bool TCoursePage::acceptNavigationRequest(const QUrl& url, NavigationType, bool isMainFrame) {
    if (!isMainFrame || !m_filter)
        return true;
    return m_filter(url);
}

TCourseView::TCourseView(QWidget* parent) : QWebEngineView(parent) { setAcceptDrops(false); }

void TCourseView::contextMenuEvent(QContextMenuEvent* e) {
    if (ContextMenuHandler && ContextMenuHandler(e))
        return;
    QWebEngineView::contextMenuEvent(e);
}

void TCourseView::dragEnterEvent(QDragEnterEvent* e) { e->ignore(); }
void TCourseView::dropEvent(QDropEvent* e) { e->ignore(); }

} // namespace quarvel
