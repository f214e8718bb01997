#pragma once
// Toolbar docks of the main window. A dock holds toolbars in rows, each at a
// horizontal position of its own (so the page toolbar can sit above the
// page while the animation toolbar sits above the model). Toolbars can be
// dragged along their row by their grip, or dragged off the dock to float in
// a small window of their own; closing that window is refused and the
// toolbar goes back into the dock it last sat in, as does dropping the
// floating window onto a dock.

#include <QPointer>
#include <QToolBar>
#include <QWidget>

namespace quarvel {

class TDockToolbar;

class TDock : public QWidget {
    Q_OBJECT
public:
    explicit TDock(const QString& name, QWidget* parent = nullptr);

    // Puts `bar` into this dock at `row` and horizontal `position`.
    void Insert(TDockToolbar* bar, int row, int position);
    QList<TDockToolbar*> Toolbars() const;
    // Lays the toolbars out again (after a toolbar was shown, hidden or resized).
    void Relayout();
    QSize sizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* e) override;
    bool event(QEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    // Places one line of toolbars at height `y`; returns the line's height.
    int LayOutLine(const QList<TDockToolbar*>& bars, int y, int width);
    int m_height = 0;
    bool m_inLayout = false;
};

class TDockToolbar : public QToolBar {
    Q_OBJECT
public:
    explicit TDockToolbar(const QString& name, const QString& title, QWidget* parent = nullptr);

    TDock* Dock() const { return m_dock; }       // nullptr while floating
    TDock* LastDock() const { return m_lastDock; }
    bool IsFloating() const { return m_floating != nullptr; }
    int DockRow() const { return m_row; }
    int DockPos() const { return m_pos; }
    void SetDockPos(int position);

    // Floats the toolbar in its own window at `globalPos`.
    void Float(QPoint globalPos);
    // Asks the floating window to close: refused, the toolbar docks again.
    void RequestClose();
    // All docks a floating toolbar may be dropped on.
    void SetDropDocks(QList<TDock*> docks) { m_dropDocks = std::move(docks); }

signals:
    void DockChanged();

private:
    friend class TDock;
    friend class TToolbarGrip;
    friend class TFloatWindow;
    void ReturnToDock();
    void DropOnDockAt(const QRect& globalRect);

    QPointer<TDock> m_dock;
    QPointer<TDock> m_lastDock;
    QWidget* m_floating = nullptr;
    QAction* m_gripAction = nullptr;
    QList<TDock*> m_dropDocks;
    int m_row = 1;
    int m_pos = 0;
};

} // namespace quarvel
