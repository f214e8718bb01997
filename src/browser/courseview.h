#pragma once
// The course browser: a web view whose page hands every main-frame
// navigation to a filter before it happens, opens no new windows, accepts
// no drops, and lets its owner decide about the context menu.

#include <QWebEnginePage>
#include <QWebEngineView>
#include <functional>

namespace quarvel {

class TCoursePage : public QWebEnginePage {
    Q_OBJECT
public:
    using TFilter = std::function<bool(const QUrl&)>; // false cancels
    explicit TCoursePage(QWebEngineProfile* profile, QObject* parent = nullptr);
    void SetFilter(TFilter filter) { m_filter = std::move(filter); }

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;
    QWebEnginePage* createWindow(WebWindowType) override { return nullptr; }

private:
    TFilter m_filter;
};

class TCourseView : public QWebEngineView {
    Q_OBJECT
public:
    explicit TCourseView(QWidget* parent = nullptr);
    // Decides what a right click shows: return true when handled.
    std::function<bool(QContextMenuEvent*)> ContextMenuHandler;

protected:
    void contextMenuEvent(QContextMenuEvent* e) override;
    void dragEnterEvent(QDragEnterEvent* e) override;
    void dropEvent(QDropEvent* e) override;
};

} // namespace quarvel
