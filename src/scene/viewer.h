#pragma once
// The 3D view: an OpenGL widget (compatibility profile, fixed-function
// lighting and materials) that draws a scene through a camera, then the
// screen-space texts on top with QPainter. Opaque objects are drawn first,
// transparent ones after, farthest first. The frame timer reports the
// seconds elapsed after every drawn frame while it runs.

#include "scene/picking.h"

#include <QColor>
#include <QElapsedTimer>
#include <QHash>
#include <map>
#include <memory>
#include <QMouseEvent>
#include <QOpenGLWindow>
#include <QWheelEvent>
#include <qopengl.h>

class QOpenGLFunctions_2_1;
class QOpenGLTexture;

namespace quarvel {

class TCamera;
class TMaterialLibrary;
class TMaterial;
class TLight;
class TScreenText;

// Throws EOpenGLError unless `context` is a valid context with the OpenGL 2.1
// compatibility functions the view draws with.
void CheckSceneContext(QOpenGLContext* context);

// Reports the time between drawn frames while enabled, and keeps frames coming.
class TSceneCadencer : public QObject {
    Q_OBJECT
public:
    explicit TSceneCadencer(QOpenGLWindow* viewer);
    bool Enabled() const { return m_enabled; }
    void SetEnabled(bool on);
signals:
    void Progress(double deltaSeconds);

private:
    void FrameDone();
    QOpenGLWindow* m_viewer;
    QElapsedTimer m_clock;
    bool m_enabled = false;
};

// The view is a window of its own, shown inside the main window through a
// container: its frames reach the screen without the rest of the window
// being composed again, which keeps animations fast on software OpenGL.
class TSceneViewer : public QOpenGLWindow {
    Q_OBJECT
public:
    TSceneViewer();
    ~TSceneViewer() override;

    TSceneObject* Root = nullptr;
    TCamera* Camera = nullptr;
    TMaterialLibrary* Library = nullptr;
    QColor Background = Qt::black;
    float AmbientLevel = 0.2f; // grey level of the scene's ambient light
    float FieldOfView = 76.26f;
    bool Antialiasing = true;  // with a multisampled surface

    TSceneCadencer* Cadencer() const { return m_cadencer; }
    // A widget that holds this view in a widget layout (made on first use).
    QWidget* Container(QWidget* parent);
    QWidget* ContainerWidget() const { return m_container; }
    // Hints and cursor go to the container, where the pointer sees them.
    void SetHint(const QString& hint);
    void SetPointer(Qt::CursorShape shape);
    TViewport Viewport() const { return {Camera, size(), FieldOfView}; }
    TPickResult PickAt(QPointF pixel) const;
    // Whether the surface got multisampling (known once it exists).
    bool MultisampleAvailable() const { return m_samples > 0; }
    // Draws the scene as it is now and reads the picture back. (A plain
    // grabFramebuffer reads what the last frame left, which is stale when
    // the scene changed since.)
    QImage Snapshot();
    // Draws `frames` frames at once and returns the mean milliseconds per frame.
    double MeasureFrameTime(int frames);

signals:
    void AfterRender();
    void MousePressed(QMouseEvent* e);
    void MouseMoved(QMouseEvent* e);
    void WheelTurned(QWheelEvent* e);

protected:
    void initializeGL() override;
    void paintGL() override;
    void mousePressEvent(QMouseEvent* e) override { emit MousePressed(e); }
    void mouseMoveEvent(QMouseEvent* e) override { emit MouseMoved(e); }
    void wheelEvent(QWheelEvent* e) override;

private:
    void RenderScene();
    void SetupLights(const QMatrix4x4& view);
    void DrawItem(const TDrawItem& item, const QMatrix4x4& view);
    void DrawMirror(const TDrawItem& item, const QMatrix4x4& view);
    void ApplyMaterial(const TMaterial& m, bool lit);
    QOpenGLTexture* TextureFor(const TMaterial& m);
    std::vector<TScreenText*> CollectTexts() const;
    void DrawTexts(QPainter& p, const std::vector<TScreenText*>& texts);

    QOpenGLFunctions_2_1* m_gl = nullptr;
    TSceneCadencer* m_cadencer;
    // Uploaded pictures by texture version and upload options: copies of
    // a material (an object's own, a face group's) share one upload.
    QHash<quint64, QOpenGLTexture*> m_textures;
    // Geometry kept in buffers on the graphics side, by its version.
    struct TGpuMesh {
        GLuint Vertices = 0, Indices = 0;
        std::size_t NormalOffset = 0, TexOffset = 0, ColorOffset = 0;
        int LastFrame = 0;
    };
    QHash<quint64, TGpuMesh> m_meshes;
    // Many copies of one geometry in one material (proxies) are drawn as
    // one mesh in scene coordinates, rebuilt only when one of them moves.
    struct TBatch {
        quint64 Key = 0;
        TDummyCube Holder; // owns the merged mesh as a renderable object
        int LastFrame = 0;
    };
    std::map<std::pair<quint64, const TMaterial*>, std::unique_ptr<TBatch>> m_batches;
    void DrawBatched(std::vector<const TDrawItem*>& group, const QMatrix4x4& view);
    int m_frame = 0;
    const TGpuMesh& GpuMesh(TSceneObject* object);
    void ReleaseUnusedMeshes();
    int m_samples = 0;
    QWidget* m_container = nullptr;
    const TMaterial* m_lastMaterial = nullptr; // the material the GL state now holds
    bool m_stateDirty = true;
};

// The surface format every 3D view builds on: compatibility profile,
// depth and stencil (each view adds its own multisampling).
void SetDefaultSceneFormat();

// Whether the OpenGL driver gives multisampled surfaces (asks it once).
bool ProbeMultisampling();

} // namespace quarvel
