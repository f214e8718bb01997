#include "widgets/dock.h"

#include <QCloseEvent>
#include <QLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QVBoxLayout>
#include <algorithm>
#include <map>

namespace quarvel {

// The dotted strip at the left end of a toolbar, for dragging it.
class TToolbarGrip : public QWidget {
public:
    explicit TToolbarGrip(TDockToolbar* bar) : QWidget(bar), m_bar(bar) {
        setFixedWidth(7);
        setCursor(Qt::SizeAllCursor);
        setToolTip(QString());
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        const QColor dark = palette().color(QPalette::Mid);
        const QColor light = palette().color(QPalette::Light);
        for (int y = 4; y + 2 < height() - 2; y += 4) {
            p.fillRect(3, y + 1, 2, 2, light);
            p.fillRect(2, y, 2, 2, dark);
        }
    }
    void mousePressEvent(QMouseEvent* e) override {
        if (e->button() == Qt::LeftButton) {
            m_press = e->globalPosition().toPoint();
            m_startPos = m_bar->DockPos();
        }
    }
    void mouseMoveEvent(QMouseEvent* e) override {
        if (!(e->buttons() & Qt::LeftButton) || !m_bar->Dock())
            return;
        const QPoint d = e->globalPosition().toPoint() - m_press;
        if (std::abs(d.y()) > m_bar->height() + 12) {
            m_bar->Float(e->globalPosition().toPoint() - QPoint(10, 10));
            return;
        }
        m_bar->SetDockPos(std::max(0, m_startPos + d.x()));
    }

private:
    TDockToolbar* m_bar;
    QPoint m_press;
    int m_startPos = 0;
};

// The small window a floating toolbar lives in.
class TFloatWindow : public QWidget {
public:
    TFloatWindow(TDockToolbar* bar, QWidget* owner)
        : QWidget(owner, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint), m_bar(bar) {
        setWindowTitle(bar->windowTitle());
        auto* l = new QVBoxLayout(this);
        l->setContentsMargins(0, 0, 0, 0);
    }

protected:
    void closeEvent(QCloseEvent* e) override {
        // A floating toolbar is never closed: it goes home instead.
        e->ignore();
        QMetaObject::invokeMethod(m_bar, [bar = m_bar] { bar->ReturnToDock(); }, Qt::QueuedConnection);
    }
    void moveEvent(QMoveEvent*) override {
        if (isVisible())
            m_bar->DropOnDockAt(frameGeometry());
    }

private:
    TDockToolbar* m_bar;
};

TDock::TDock(const QString& name, QWidget* parent) : QWidget(parent) {
    setObjectName(name);
    setAttribute(Qt::WA_StyledBackground);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    setFixedHeight(0);
}

QList<TDockToolbar*> TDock::Toolbars() const {
    return findChildren<TDockToolbar*>(QString(), Qt::FindDirectChildrenOnly);
}

void TDock::Insert(TDockToolbar* bar, int row, int position) {
    if (bar->m_dock && bar->m_dock != this)
        bar->m_dock->removeEventFilter(bar);
    TDock* old = bar->m_dock;
    const bool wasVisible = !bar->isHidden();
    bar->setParent(this);
    bar->m_dock = this;
    bar->m_lastDock = this;
    bar->m_row = row;
    bar->m_pos = position;
    bar->installEventFilter(this);
    bar->setVisible(wasVisible);
    if (old && old != this)
        old->Relayout();
    Relayout();
    emit bar->DockChanged();
}

QSize TDock::sizeHint() const { return QSize(QWidget::sizeHint().width(), m_height); }

void TDock::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    Relayout();
}

bool TDock::event(QEvent* e) {
    if (e->type() == QEvent::LayoutRequest)
        Relayout();
    return QWidget::event(e);
}

bool TDock::eventFilter(QObject* watched, QEvent* e) {
    switch (e->type()) {
    case QEvent::Show:
    case QEvent::Hide:
    case QEvent::LayoutRequest:
    case QEvent::ParentChange:
        if (watched->parent() == this)
            QMetaObject::invokeMethod(this, &TDock::Relayout, Qt::QueuedConnection);
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, e);
}

int TDock::LayOutLine(const QList<TDockToolbar*>& bars, int y, int width) {
    int lineHeight = 0;
    for (auto* bar : bars)
        lineHeight = std::max(lineHeight, bar->sizeHint().height());
    // Each toolbar wants its own position; toolbars further right keep
    // theirs, moved left only as far as the dock's end needs.
    const int n = int(bars.size());
    QList<int> lefts(n);
    int limit = width;
    for (int j = n - 1; j >= 0; --j) {
        lefts[j] = std::max(0, std::min(bars[j]->DockPos(), limit - bars[j]->sizeHint().width()));
        limit = lefts[j];
    }
    int x = 0;
    for (int i = 0; i < n; ++i) {
        TDockToolbar* bar = bars[i];
        const int left = std::max(x, lefts[i]);
        const int right = i + 1 < n ? std::max(lefts[i + 1], left) : width;
        const int w = std::max(bar->minimumSizeHint().width(), std::min(bar->sizeHint().width(), right - left));
        bar->setGeometry(left, y, w, lineHeight);
        x = left + w;
    }
    return lineHeight;
}

void TDock::Relayout() {
    if (m_inLayout)
        return;
    m_inLayout = true;
    std::map<int, QList<TDockToolbar*>> rows;
    for (TDockToolbar* bar : Toolbars())
        if (!bar->isHidden())
            rows[bar->DockRow()].append(bar);
    int y = 0;
    const int width = this->width();
    for (auto& [row, bars] : rows) {
        std::stable_sort(bars.begin(), bars.end(), [](auto* a, auto* b) {
            return a->DockPos() < b->DockPos();
        });
        // A row whose toolbars do not all fit at their full width wraps onto
        // a further line, so no toolbar hides items behind its chevron for
        // want of room beside another (only one wider than the dock does).
        QList<QList<TDockToolbar*>> lines(1);
        int used = 0;
        for (auto* bar : bars) {
            const int w = bar->sizeHint().width();
            if (!lines.last().isEmpty() && width > 0 && used + w > width) {
                lines.append(QList<TDockToolbar*>());
                used = 0;
            }
            lines.last().append(bar);
            used += w;
        }
        for (const auto& line : lines)
            y += LayOutLine(line, y, width);
    }
    if (y != m_height) {
        m_height = y;
        setFixedHeight(y);
        updateGeometry();
    }
    m_inLayout = false;
}

TDockToolbar::TDockToolbar(const QString& name, const QString& title, QWidget* parent)
    : QToolBar(title, parent) {
    setObjectName(name);
    setMovable(false);
    setFloatable(false);
    m_gripAction = addWidget(new TToolbarGrip(this));
}

void TDockToolbar::SetDockPos(int position) {
    m_pos = position;
    if (m_dock)
        m_dock->Relayout();
}

void TDockToolbar::Float(QPoint globalPos) {
    if (m_floating || !m_dock)
        return;
    TDock* from = m_dock;
    m_lastDock = from;
    from->removeEventFilter(this);
    m_dock = nullptr;
    auto* win = new TFloatWindow(this, from->window());
    m_floating = win;
    m_gripAction->setVisible(false);
    setParent(win);
    win->layout()->addWidget(this);
    show();
    win->adjustSize();
    win->move(globalPos);
    win->show();
    from->Relayout();
    emit DockChanged();
}

void TDockToolbar::RequestClose() {
    if (m_floating)
        m_floating->close();
}

void TDockToolbar::ReturnToDock() {
    if (!m_floating)
        return;
    QWidget* win = m_floating;
    m_floating = nullptr;
    m_gripAction->setVisible(true);
    TDock* home = m_lastDock;
    if (home)
        home->Insert(this, m_row, m_pos);
    win->deleteLater();
}

void TDockToolbar::DropOnDockAt(const QRect& globalRect) {
    for (TDock* dock : m_dropDocks) {
        if (!dock->isVisible() && dock->height() == 0 && dock != m_lastDock)
            continue;
        const QRect area(dock->mapToGlobal(QPoint(0, -8)), QSize(dock->width(), dock->height() + 16));
        if (area.intersects(QRect(globalRect.topLeft(), QSize(globalRect.width(), 12)))) {
            m_lastDock = dock;
            m_pos = std::max(0, globalRect.left() - dock->mapToGlobal(QPoint(0, 0)).x());
            QMetaObject::invokeMethod(this, &TDockToolbar::ReturnToDock, Qt::QueuedConnection);
            return;
        }
    }
}

} // namespace quarvel
