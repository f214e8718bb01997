#pragma once
// The animation host: the fixed 3D scene, the topic's model, the frame
// timer and animation position, the scroll bar, Start, Stop and Reset, the
// topic buttons and turn animations, the Animation menu, and the view's
// pointer handling (turning, panning, zooming, picking and dragging).

#include "browser/pagecommands.h"
#include "host/framestate.h"
#include "host/model.h"
#include "scene/camera.h"
#include "scene/material.h"
#include "scene/primitives.h"

#include <QImage>
#include <QObject>
#include <QPointer>
#include <functional>
#include <memory>

class QAction;
class QComboBox;
class QLabel;
class QMenu;
class QMouseEvent;
class QScrollBar;
class QSpinBox;
class QTimer;
class QWheelEvent;
class QWidget;

namespace quarvel {

class TSceneViewer;
class TProtractor;

// The main window's controls the host drives.
struct THostControls {
    QWidget* ViewParent = nullptr; // where the 3D view goes
    QWidget* ViewPlaceholder = nullptr;
    QLabel* Moonpic = nullptr;
    QScrollBar* Bar = nullptr;
    QAction *Start = nullptr, *Stop = nullptr, *Reset = nullptr, *Scale = nullptr, *Names = nullptr;
    QAction *Orbits = nullptr, *Planets = nullptr; // the two items under "Scale"
    QAction *Switch = nullptr, *Current = nullptr, *Field = nullptr, *Markers = nullptr;
    QAction *Slit1 = nullptr, *Slit3 = nullptr, *Protractor = nullptr;
    QAction *RectBlock = nullptr, *DBlock = nullptr, *Prism = nullptr;
    QComboBox* Metal = nullptr;
    QSpinBox *LightGate = nullptr, *RampAngle = nullptr, *TrolleyMass = nullptr; // topic 16
    std::function<void(const QString&)> OpenPage;   // a page of the HTML folder
    std::function<int()> ScreenWidth;               // of the screen the window is on
    std::function<QPoint()> ProtractorPlace;        // where the protractor opens, on the screen
};

class THost : public QObject {
    Q_OBJECT
public:
    THost(TFrameState& state, THostControls controls, QObject* parent = nullptr);
    ~THost() override;

    TFrameState& S;
    THostControls C;

    // --- the fixed scene ---
    TDummyCube* RootDC = nullptr;
    TLight *SpaceLight1 = nullptr, *SpaceLight2 = nullptr;
    TDummyCube* SceneBase = nullptr;
    TDummyCube* FontDC = nullptr;
    TCamera* GLCamera = nullptr;
    TLight *GLLightSource1 = nullptr, *GLLightSource2 = nullptr;
    TMaterialLibrary MatLib;
    TSceneViewer* GLViewer = nullptr;
    QImage BitmapList[4];
    TModel* Model() const { return m_model.get(); }
    // Tests put a recording model in place of the course's.
    std::function<std::unique_ptr<TModel>(THost&, std::int32_t)> ModelFactory;

    // Adds the planet materials whose pictures exist in `texturesFolder`.
    void LoadPlanetMaterials(const QString& texturesFolder);
    // The page-command operations the host carries out.
    void RegisterOperations(TOperationRegistry& ops);

    // --- topics ---
    // The 3D part of a topic selection (ids below 1000): toolbar items, view, model.
    void BuildTopic(std::int32_t id);
    // Before any selection: timer off, model gone, scene base empty.
    void TearDown();
    void PlaceViewForTopic(std::int32_t id);
    float ScaleFactor() const; // 1152 / screen width
    void CreateStatusText();
    void SetStatusText(const QString& text);
    QString StatusText() const;
    void SetHints(const QString& bar, const QString& viewer);
    void SetBar(int min, int max, int largeStep, int value);
    int BarValue() const;
    int BarMaximum() const;
    void SetBarValue(int v); // moves the bar without telling the model
    // Where the bar stood before its last move, by the user or the program
    // (the heaters of topics 13 and 14 follow the direction of a scroll).
    int PreviousBarValue() const { return m_previousBar; }
    // The light gate's position on the ramp (cm), from its spin.
    int GatePosition() const;

    // --- time ---
    bool TimerRunning() const { return m_timerOn; }
    void SetTimer(bool on);
    void Tick(double seconds);
    void ScrollMoved(int v);
    void Start();
    void Stop();
    void ResetClicked();
    void AfterRender();

    // --- topic buttons ---
    void SwitchClicked();
    void FieldOrCurrentClicked(bool field);
    bool Turning() const { return m_turn != nullptr; }
    void MetalChosen(int index);
    void MarkersClicked(bool on);
    void SlitChosen(bool single);
    // Chooses a block of topic 19; true when it changed (the caller opens its page).
    bool BlockChosen(int block);
    int Block() const { return m_block; }

    // --- Animation menu ---
    void SetBackground(std::uint32_t colorRef);
    void SetAntialiasing(bool on);
    // Opens the speed dialog; returns whether the rate was changed.
    bool ShowSpeedDialog();
    std::function<std::optional<int>(int current)> SpeedDialog; // tests answer it

    // --- pointer ---
    void MousePressed(QPointF pos, Qt::MouseButtons buttons);
    void MouseMoved(QPointF pos, Qt::MouseButtons buttons);
    void WheelTurned(int delta);
    void Zoom(bool in);
    QVector3D ScreenPointToPlane(QPointF pos) const;
    QVector3D PanVector(QPointF pos) const;
    TProtractor* Protractor() const { return m_protractor; }
    void ShowProtractor();

private:
    void Orbit(QPointF pos);
    void Pan(QPointF pos);
    void DragStep(QPointF pos);
    void Hover(QPointF pos);
    void RunTurn(bool field);

    std::unique_ptr<TDummyCube> m_root;
    QPointer<TSceneViewer> m_viewer;
    QPointer<QWidget> m_viewContainer;
    std::unique_ptr<TModel> m_model;
    TScreenText* m_status = nullptr;
    bool m_timerOn = false;
    int m_block = 0;
    int m_barValue = 0, m_previousBar = 0;
    // The bar's value changes (user or program) go through here.
    void NoteBarValue(int v);
    void EndTurn(bool finish);
    struct TTurn;
    std::unique_ptr<TTurn> m_turn;
    QTimer* m_turnTimer = nullptr;
    TProtractor* m_protractor = nullptr;
};

} // namespace quarvel
