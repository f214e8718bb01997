#pragma once
// Vantrel's main window: the menu bar, the two toolbar docks, the left pane
// (3D view, panel container, movie pane), the splitter, the browser pane and
// the status bar with the pane split buttons. It owns everything the course
// works on for the life of the process; the other modules reach it through
// TFrameFrm::Instance().

#include "browser/pagecommands.h"
#include "browser/topicindex.h"
#include "common/topicset.h"
#include "host/framestate.h"
#include "host/panel.h"
#include "host/topichost.h"
#include "widgets/dock.h"
#include "shell/settings.h"

#include <functional>

#include <QLabel>
#include <QMainWindow>
#include <QPointer>
#include <QSplitter>
#include <cstdint>

class QActionGroup;
class QContextMenuEvent;
class QComboBox;
class QScrollBar;
class QSpinBox;
class QToolButton;
class QWebEngineView;
class QWebEngineProfile;

namespace quarvel {

class TCourseView;
class TPanel;
class TTestFrm;
class TCoursePage;
class TDock;
class TDockToolbar;
class TSplashFrm;
class TImageList;

// Browser zoom for the five text sizes, "Smallest" (0) to "Largest" (4).
double ZoomFactorForSize(int index);
// `f` at `percent` per cent of `basePt` points: the window's items under
// "Use large buttons".
QFont ScaledFont(QFont f, int basePt, int percent);

// The 5-pixel bar between the panes. It refuses left-pane widths of 50
// pixels or less.
class TSplitter : public QSplitter {
    Q_OBJECT
public:
    explicit TSplitter(QWidget* parent = nullptr);
    // Moves the bar so the left pane is `width` wide; false when refused.
    bool MoveLeftPaneTo(int width);

protected:
    QSplitterHandle* createHandle() override;
};

class THost;

class TFrameFrm : public QMainWindow, public TFrameState, private THostPanes {
    Q_OBJECT
public:
    // `contentRoot` is the folder the course is read from.
    explicit TFrameFrm(const QString& contentRoot, QWidget* parent = nullptr);
    ~TFrameFrm() override;

    static TFrameFrm* Instance();

    // --- state (the animation host's fields come from TFrameState) ---
    QString TestFilePath;
    QString QuestionFolder;
    bool ToolbarsAtBottom = false;
    QString TextBackColour = QStringLiteral("#FFFFFF");
    QString ContextPicturePath;
    std::int32_t CircuitIndex = 0;
    std::int32_t CellCount = 1;
    bool BackForwardPending = false;
    std::int32_t FontSizeIndex = 2;
    std::int32_t FlashMajorVersion = 0;
    // The 3D scene, the topic's model and the time loop.
    THost* Host = nullptr;
    // Topic selection and the experiment panel on show.
    TTopicHost* Topics = nullptr;
    TEWBHTMLIndex TopicIndex;
    // The operations page commands and page states call, by name.
    TOperationRegistry Operations;

    QString ContentRoot;
    QString HtmlFolder;
    QString VideoFolder;

    // --- controls ---
    QMenuBar* MenuToolbar = nullptr;
    TDock* TopDock = nullptr;
    TDock* BottomDock = nullptr;
    TDockToolbar* HTMLToolbar = nullptr;
    TDockToolbar* MainToolbar = nullptr;
    TDockToolbar* CircuitToolbar = nullptr;
    QWidget* LeftToolwin = nullptr;
    QWidget* GLToolwin = nullptr;
    QLabel* Moonpic = nullptr;
    QWidget* GLViewer = nullptr;
    QScrollBar* GLHsb = nullptr;
    QWidget* ContainerTW = nullptr;
    QWidget* FlashPanel = nullptr;
    TSplitter* Splitter = nullptr;
    QWidget* RightPanel = nullptr;
    TCourseView* EWB = nullptr;
    QToolButton* MaxRightBtn = nullptr;
    QToolButton* NormalSplitBtn = nullptr;
    QToolButton* MaxLeftBtn = nullptr;
    QLabel* StatusLabel = nullptr;
    QLabel* StartPicture = nullptr;

    // Toolbar items by their names (IndexBtn, StartBtn, AmmeterBtn, ...).
    QAction* Item(const QString& name) const;
    QComboBox* metalCB = nullptr;
    QComboBox* CircuitCB = nullptr;
    QSpinBox* LightGateSE = nullptr;
    QSpinBox* RampUpDn = nullptr;
    QSpinBox* TrolleyMassUpDn = nullptr;
    QSpinBox* CellSpinEd = nullptr;

    // Menus and their items.
    QMenu* FileMenu = nullptr;
    QMenu* EditMenu = nullptr;
    QMenu* ToolbarsMenu = nullptr;
    QMenu* AnimationMenu = nullptr;
    QMenu* TestMenu = nullptr;
    QMenu* AppearanceMenu = nullptr;
    QMenu* HelpMenu = nullptr;
    QAction* UseLargeButtonsItem = nullptr;
    QAction* ToolbarsAtTopItem = nullptr;
    QAction* ToolbarsAtBottomItem = nullptr;
    QAction* AntialiasingItem = nullptr;
    QAction* OpenGLInfoItem = nullptr;

    // --- operations ---
    // The pane split buttons (one handler for the three).
    void SplitBtnClick(QToolButton* button);
    // "Toolbars at top" / "Toolbars at bottom".
    void SetToolbarsAtBottom(bool bottom);
    // "Use large buttons" for the main window's own items.
    void SetLargeButtons(bool large);
    bool LargeButtons() override;
    // Applies a skin by name, without regard to case; false for an unknown name.
    bool ApplySkin(const QString& name);
    QString ActiveSkin() const { return m_activeSkin; }
    // Runs a test on `topics` (empty = all); reports a missing question file.
    void StartTopicTest(const TTopicSet& topics);
    // The help keyword F1 opens: "screen" with a topic on show, "index" otherwise.
    QString HelpKeyword() const;
    // Whether the saved window position was used at start-up.
    bool PositionRestored() const { return m_positionRestored; }
    int LeftPaneWidth() const;
    void SetStatusText(const QString& text);
    // The splash shown while starting; freed on first show.
    void SetSplash(TSplashFrm* splash);
    // True once the window has been shown for the first time.
    bool FirstShown() const { return m_firstShown; }
    // The state the settings would be saved with now.
    TSettingsToSave CurrentSettings() const;
    // The topic list's captions, by line number (blank lines give no item).
    QStringList TestTopicCaptions() const { return m_testTopics; }

    // --- browser ---
    // The navigation rules; false cancels the navigation.
    bool EWBBeforeNavigate2(const QUrl& url);
    // Runs after each page has loaded.
    void DocumentComplete(bool ok);
    // Puts the index markup into the element "index" of the page on show.
    void RefreshIndexPanel();
    // The file name of the page on show ("index.html", "MOONPHASE.HTM", ...).
    QString LocationName() const;
    // Opens a page of the HTML folder (any letter case); false when missing.
    bool OpenPage(const QString& name);
    // Whether any page has been asked for (the browser's address stays empty until it loads).
    bool PageRequested() const { return m_pageRequested; }
    // Runs a page command; false when it does nothing here and now.
    bool RunPageCommand(const QString& word);
    void SetFontSizeIndex(int index);
    void SetTextBackColour(const QString& colour);
    void CopyTopicText();
    void PrintTopic();
    // Sets up the page state of a page reached with Back or Forward.
    void ApplyPageState(const QString& locationName);

    // --- topics ---
    // The main toolbar shows only the items of topic `id` (a 3D topic).
    void ShowMainToolbarItems(std::int32_t id);

    // What "$" pictures and outside addresses open; tests replace them.
    std::function<void(const QString& file)> PictureOpener;
    std::function<void(const QUrl& url)> ExternalOpener;

signals:
    // A ".FLV" link named an existing video.
    void VideoRequested(const QString& file);
    // F1, "Contents" and "Search for help on" ask for help at a keyword.
    void HelpRequested(const QString& keyword);
    // A test window is about to open (modally): tests drive it from here.
    void TopicTestRequested(quarvel::TTestFrm* test);

protected:
    void closeEvent(QCloseEvent* e) override;
    void showEvent(QShowEvent* e) override;
    bool event(QEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void CreateLayout();
    void CreateMenus();
    void CreateHTMLToolbar();
    void CreateMainToolbar();
    void CreateCircuitToolbar();
    void BuildTestMenu();
    void LoadSettings();
    void SaveSettings();
    void PlaceWindowByDefault();
    void CreateStartPicture();
    void CreateBrowser(QWidget* parent);
    void CreateHost();
    void UpdateNavigationButtons();
    void RunJavaScript(const QString& script);
    // The page on show takes TextBackColour as its background.
    void PaintPageBackground();
    bool PageContextMenu(QContextMenuEvent* e);
    void LayoutStartPicture();
    void SetToolbarImages(bool large);
    QAction* AddItem(TDockToolbar* bar, const QString& name, const QString& caption,
                     const QString& hint, int image);
    QAction* AddDropDown(TDockToolbar* bar, const QString& name, const QString& caption,
                         const QString& hint, int image, QMenu* menu);

    QWebEngineProfile* m_profile = nullptr;
    TCoursePage* m_page = nullptr;
    QHash<QString, QAction*> m_items;
    QHash<QAction*, int> m_itemImages;
    QList<QWidget*> m_scaledWidgets; // items whose font follows large buttons
    QActionGroup* m_skinGroup = nullptr;
    QString m_activeSkin;
    QStringList m_testTopics;
    QImage m_startImage;
    QPointer<TSplashFrm> m_splash;
    bool m_positionRestored = false;
    bool m_firstShown = false;
    bool m_settingsSaved = false;
    int m_baseFontPt = 9;
    int m_startLeftWidth = 0;
    bool m_pageRequested = false;

    // The panes and toolbars the topic host asks for.
    QWidget* ViewPane() override { return GLToolwin; }
    QWidget* MoviePane() override { return FlashPanel; }
    QWidget* PanelContainer() override { return ContainerTW; }
    TDock* ToolbarDock() override { return ToolbarsAtBottom ? BottomDock : TopDock; }
    QList<TDock*> Docks() override { return {TopDock, BottomDock}; }
    bool PanelToolbarShown() override;
    void BeforeTopic(std::int32_t id) override;
    void ToolbarsForTopic(std::int32_t id) override;
};

} // namespace quarvel
