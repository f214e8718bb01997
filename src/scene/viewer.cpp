#include "scene/viewer.h"

#include "scene/camera.h"
#include "common/errors.h"
#include "scene/material.h"
#include "scene/primitives.h"
#include "scene/solids.h"

#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QOpenGLFunctions_2_1>
#include <QOpenGLTexture>
#include <QOpenGLVersionFunctionsFactory>
#include <QPainter>
#include <QWheelEvent>
#include <QWidget>
#include <algorithm>
#include <array>
#include <cstring>

namespace quarvel {

namespace {
std::array<GLfloat, 4> F4(const QVector4D& v) { return {v.x(), v.y(), v.z(), v.w()}; }
} // namespace

void SetDefaultSceneFormat() {
    QSurfaceFormat f = QSurfaceFormat::defaultFormat();
    f.setRenderableType(QSurfaceFormat::OpenGL);
    f.setProfile(QSurfaceFormat::CompatibilityProfile);
    f.setVersion(2, 1);
    f.setDepthBufferSize(24);
    // The plane mirrors mask their reflection with the stencil buffer. A
    // window's format is fixed when it is made, so every view has one.
    f.setStencilBufferSize(8);
    QSurfaceFormat::setDefaultFormat(f);
}

bool ProbeMultisampling() {
    static const bool supported = [] {
        QOpenGLContext context;
        QSurfaceFormat f = QSurfaceFormat::defaultFormat();
        f.setSamples(4);
        context.setFormat(f);
        if (!context.create())
            return false;
        return context.format().samples() > 0;
    }();
    return supported;
}

TSceneCadencer::TSceneCadencer(QOpenGLWindow* viewer) : QObject(viewer), m_viewer(viewer) {
    connect(viewer, &QOpenGLWindow::frameSwapped, this, &TSceneCadencer::FrameDone);
}

void TSceneCadencer::SetEnabled(bool on) {
    if (on == m_enabled)
        return;
    m_enabled = on;
    if (on) {
        m_clock.start();
        m_viewer->update();
    }
}

void TSceneCadencer::FrameDone() {
    if (!m_enabled)
        return;
    const double dt = m_clock.nsecsElapsed() / 1e9;
    m_clock.restart();
    emit Progress(dt);
    if (m_enabled)
        m_viewer->update();
}

TSceneViewer::TSceneViewer() : m_cadencer(new TSceneCadencer(this)) {
    // Multisampling for the 3D view only: the rest of the window does not need it.
    QSurfaceFormat f = QSurfaceFormat::defaultFormat();
    f.setSamples(4);
    setFormat(f);
}

QWidget* TSceneViewer::Container(QWidget* parent) {
    if (!m_container) {
        m_container = QWidget::createWindowContainer(this, parent);
        m_container->setFocusPolicy(Qt::ClickFocus);
        m_container->setMinimumSize(16, 16);
    }
    return m_container;
}

void TSceneViewer::SetHint(const QString& hint) {
    if (m_container) {
        m_container->setToolTip(hint);
        m_container->setStatusTip(hint);
    }
}

void TSceneViewer::SetPointer(Qt::CursorShape shape) { setCursor(shape); }

TSceneViewer::~TSceneViewer() {
    makeCurrent();
    for (QOpenGLTexture* t : std::as_const(m_textures))
        delete t;
    if (m_gl)
        for (const TGpuMesh& g : std::as_const(m_meshes)) {
            m_gl->glDeleteBuffers(1, &g.Vertices);
            m_gl->glDeleteBuffers(1, &g.Indices);
        }
    doneCurrent();
}

const TSceneViewer::TGpuMesh& TSceneViewer::GpuMesh(TSceneObject* object) {
    const quint64 version = object->GeometryVersion();
    auto it = m_meshes.find(version);
    if (it == m_meshes.end()) {
        const TMesh& mesh = object->Geometry();
        TGpuMesh g;
        const std::size_t n = mesh.Positions.size();
        g.NormalOffset = n * sizeof(QVector3D);
        g.TexOffset = g.NormalOffset + n * sizeof(QVector3D);
        g.ColorOffset = g.TexOffset + n * sizeof(QVector2D);
        const std::size_t total = g.ColorOffset + mesh.Colors.size() * sizeof(QVector4D);
        m_gl->glGenBuffers(1, &g.Vertices);
        m_gl->glBindBuffer(GL_ARRAY_BUFFER, g.Vertices);
        m_gl->glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(total), nullptr, GL_STATIC_DRAW);
        m_gl->glBufferSubData(GL_ARRAY_BUFFER, 0, GLsizeiptr(g.NormalOffset), mesh.Positions.data());
        m_gl->glBufferSubData(GL_ARRAY_BUFFER, GLintptr(g.NormalOffset), GLsizeiptr(g.TexOffset - g.NormalOffset),
                              mesh.Normals.data());
        m_gl->glBufferSubData(GL_ARRAY_BUFFER, GLintptr(g.TexOffset), GLsizeiptr(g.ColorOffset - g.TexOffset),
                              mesh.TexCoords.data());
        if (!mesh.Colors.empty())
            m_gl->glBufferSubData(GL_ARRAY_BUFFER, GLintptr(g.ColorOffset), GLsizeiptr(total - g.ColorOffset),
                                  mesh.Colors.data());
        m_gl->glGenBuffers(1, &g.Indices);
        m_gl->glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, g.Indices);
        m_gl->glBufferData(GL_ELEMENT_ARRAY_BUFFER, GLsizeiptr(mesh.Indices.size() * sizeof(std::uint32_t)),
                           mesh.Indices.data(), GL_STATIC_DRAW);
        it = m_meshes.insert(version, g);
    }
    it->LastFrame = m_frame;
    return *it;
}

namespace {
// A batch of proxies stands for the merged copies; it draws what it holds.
class TMergedMesh : public TCustomSceneObject {
public:
    TMesh Merged;
    bool Closed = false;
    bool IsClosed() const override { return Closed; }

protected:
    void BuildGeometry(TMesh& mesh) override { mesh = Merged; }
};
} // namespace

void TSceneViewer::DrawBatched(std::vector<const TDrawItem*>& group, const QMatrix4x4& view) {
    // The key covers the shared geometry and every copy's placement.
    quint64 key = group.front()->Object->GeometryVersion() * 1099511628211ull;
    for (const TDrawItem* item : group)
        for (int i = 0; i < 16; ++i) {
            float f = item->Matrix.constData()[i];
            quint32 bits;
            std::memcpy(&bits, &f, 4);
            key = (key ^ bits) * 1099511628211ull;
        }
    auto& batch = m_batches[{group.front()->Object->GeometryVersion(), group.front()->Material}];
    if (!batch)
        batch = std::make_unique<TBatch>();
    batch->LastFrame = m_frame;
    if (batch->Key != key || batch->Holder.Count() == 0) {
        batch->Key = key;
        batch->Holder.DeleteChildren();
        auto* merged = batch->Holder.AddNew<TMergedMesh>();
        merged->Closed = group.front()->Object->IsClosed();
        const TMesh& source = group.front()->Object->Geometry();
        for (const TDrawItem* item : group)
            merged->Merged.Append(source, item->Matrix);
    }
    const TDrawItem whole{batch->Holder.Child(0), QMatrix4x4(), nullptr, group.front()->Material};
    DrawItem(whole, view);
}

void TSceneViewer::ReleaseUnusedMeshes() {
    for (auto it = m_batches.begin(); it != m_batches.end();)
        it = m_frame - it->second->LastFrame > 120 ? m_batches.erase(it) : std::next(it);
    // Geometry not drawn for a while belongs to objects that are gone or changed.
    for (auto it = m_meshes.begin(); it != m_meshes.end();) {
        if (m_frame - it->LastFrame > 120) {
            m_gl->glDeleteBuffers(1, &it->Vertices);
            m_gl->glDeleteBuffers(1, &it->Indices);
            it = m_meshes.erase(it);
        } else {
            ++it;
        }
    }
}

void CheckSceneContext(QOpenGLContext* context) {
    if (!context || !context->isValid())
        throw EOpenGLError("No OpenGL context could be made for the 3D view.");
    if (!QOpenGLVersionFunctionsFactory::get<QOpenGLFunctions_2_1>(context))
        throw EOpenGLError("The OpenGL driver offers no OpenGL 2.1 compatibility profile.");
}

void TSceneViewer::initializeGL() {
    // A view that cannot draw is an error the pupil is told about, not a blank pane.
    CheckSceneContext(context());
    m_gl = QOpenGLVersionFunctionsFactory::get<QOpenGLFunctions_2_1>(context());
    m_gl->initializeOpenGLFunctions();
    m_samples = context()->format().samples();
}

void TSceneViewer::wheelEvent(QWheelEvent* e) {
    emit WheelTurned(e);
    e->accept();
}

TPickResult TSceneViewer::PickAt(QPointF pixel) const {
    if (!Root || !Camera)
        return {};
    return Pick(Root, Library, Viewport(), pixel);
}

double TSceneViewer::MeasureFrameTime(int frames) {
    // Draws straight into the view's frame buffer, waiting for each frame
    // to finish: the cost of drawing, without the window system's share.
    makeCurrent();
    if (!m_gl) {
        doneCurrent();
        return -1;
    }
    context()->functions()->glBindFramebuffer(GL_FRAMEBUFFER, defaultFramebufferObject());
    RenderScene(); // warm up: textures, geometry
    m_gl->glFinish();
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < frames; ++i) {
        RenderScene();
        m_gl->glFinish();
    }
    const double ms = clock.nsecsElapsed() / 1e6 / std::max(1, frames);
    doneCurrent();
    return ms;
}

QImage TSceneViewer::Snapshot() {
    if (!isValid())
        return {};
    makeCurrent();
    context()->functions()->glBindFramebuffer(GL_FRAMEBUFFER, defaultFramebufferObject());
    paintGL();
    return grabFramebuffer();
}

void TSceneViewer::paintGL() {
    if (!m_gl)
        return;
    RenderScene();
    // Texts go on top with QPainter, which is only set up when there are any.
    std::vector<TScreenText*> texts = CollectTexts();
    if (!texts.empty()) {
        QPainter painter(this);
        DrawTexts(painter, texts);
    }
    emit AfterRender();
}

std::vector<TScreenText*> TSceneViewer::CollectTexts() const {
    std::vector<TScreenText*> texts;
    std::vector<TSceneObject*> stack{Root};
    while (!stack.empty() && stack.back()) {
        TSceneObject* o = stack.back();
        stack.pop_back();
        if (!o->Visible)
            continue;
        if (auto* t = dynamic_cast<TScreenText*>(o); t && !t->Text.isEmpty())
            texts.push_back(t);
        for (int i = o->Count() - 1; i >= 0; --i)
            stack.push_back(o->Child(i));
    }
    return texts;
}

void TSceneViewer::RenderScene() {
    QOpenGLFunctions_2_1& gl = *m_gl;
    const qreal ratio = devicePixelRatio();
    gl.glViewport(0, 0, int(width() * ratio), int(height() * ratio));
    gl.glClearColor(Background.redF(), Background.greenF(), Background.blueF(), 1);
    gl.glClearStencil(0);
    gl.glClearDepth(1);
    gl.glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    if (!Root || !Camera)
        return;

    // Fixed-function state the whole frame shares.
    gl.glEnable(GL_DEPTH_TEST);
    gl.glDepthFunc(GL_LEQUAL);
    gl.glCullFace(GL_BACK);
    gl.glShadeModel(GL_SMOOTH);
    gl.glEnable(GL_NORMALIZE);
    gl.glLightModeli(GL_LIGHT_MODEL_COLOR_CONTROL, GL_SEPARATE_SPECULAR_COLOR);
    gl.glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, GL_FALSE);
    const GLfloat ambient[4] = {AmbientLevel, AmbientLevel, AmbientLevel, 1};
    gl.glLightModelfv(GL_LIGHT_MODEL_AMBIENT, ambient);
    if (Antialiasing && m_samples > 0)
        gl.glEnable(GL_MULTISAMPLE);
    else
        gl.glDisable(GL_MULTISAMPLE);

    m_stateDirty = true;
    ++m_frame;
    if (m_frame % 60 == 0)
        ReleaseUnusedMeshes();
    const QMatrix4x4 projection = Camera->ProjectionMatrix(size(), FieldOfView);
    const QMatrix4x4 view = Camera->ViewMatrix();
    gl.glMatrixMode(GL_PROJECTION);
    gl.glLoadMatrixf(projection.constData());
    gl.glMatrixMode(GL_MODELVIEW);
    SetupLights(view);

    std::vector<TDrawItem> items;
    CollectDrawItems(Root, Library, items);
    // Mirrors first: each draws its reflection inside its own shape; then
    // the depth buffer is cleared and the mirrors stand in it as surfaces,
    // so the scene itself is drawn over them correctly.
    std::vector<const TDrawItem*> transparent, mirrors;
    for (const TDrawItem& item : items)
        if (dynamic_cast<TMirror*>(item.Object))
            mirrors.push_back(&item);
    for (const TDrawItem* mirror : mirrors)
        DrawMirror(*mirror, view);
    if (!mirrors.empty()) {
        gl.glClear(GL_DEPTH_BUFFER_BIT);
        gl.glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
        for (const TDrawItem* mirror : mirrors) {
            m_stateDirty = true;
            DrawItem(*mirror, view);
        }
        gl.glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
        m_stateDirty = true;
    }
    std::map<std::pair<quint64, const TMaterial*>, std::vector<const TDrawItem*>> groups;
    for (const TDrawItem& item : items) {
        if (dynamic_cast<TMirror*>(item.Object)) {
            if (item.Material->IsTransparent())
                transparent.push_back(&item); // the see-through surface over the reflection
        } else if (item.Material->IsTransparent()) {
            transparent.push_back(&item);
        } else if (item.Object->Geometry().Kind == TMesh::TKind::Triangles &&
                   item.CoversWholeMesh(item.Object->Geometry())) {
            groups[{item.Object->GeometryVersion(), item.Material}].push_back(&item);
        } else {
            DrawItem(item, view);
        }
    }
    for (auto& [key, group] : groups) {
        if (group.size() >= 8)
            DrawBatched(group, view);
        else
            for (const TDrawItem* item : group)
                DrawItem(*item, view);
    }
    // Farthest first, so nearer glass blends over what is behind it.
    std::sort(transparent.begin(), transparent.end(), [&view](const TDrawItem* a, const TDrawItem* b) {
        return (view * a->Matrix).map(QVector3D()).z() < (view * b->Matrix).map(QVector3D()).z();
    });
    for (const TDrawItem* item : transparent)
        DrawItem(*item, view);

    gl.glDisable(GL_LIGHTING);
    gl.glDisable(GL_BLEND);
    gl.glDepthMask(GL_TRUE);
    gl.glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
}

void TSceneViewer::DrawMirror(const TDrawItem& item, const QMatrix4x4& view) {
    QOpenGLFunctions_2_1& gl = *m_gl;
    auto* mirror = static_cast<TMirror*>(item.Object);

    // 1. Mark the mirror's shape in the stencil buffer; an opaque mirror
    //    paints its own surface there as the background of the reflection.
    m_stateDirty = true;
    gl.glEnable(GL_STENCIL_TEST);
    gl.glClearStencil(0);
    gl.glClear(GL_STENCIL_BUFFER_BIT);
    gl.glStencilFunc(GL_ALWAYS, 1, 0xFF);
    gl.glStencilOp(GL_KEEP, GL_KEEP, GL_REPLACE);
    if (!mirror->Opaque)
        gl.glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
    gl.glDepthMask(GL_FALSE);
    DrawItem(item, view);
    m_stateDirty = true;
    gl.glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    gl.glStencilFunc(GL_EQUAL, 1, 0xFF);
    gl.glStencilOp(GL_KEEP, GL_KEEP, GL_KEEP);
    if (mirror->ClearDepth)
        gl.glClear(GL_DEPTH_BUFFER_BIT);

    // 2. The scene reflected in the mirror's plane; the clip plane keeps
    //    what stood behind the mirror out of it.
    const QMatrix4x4 reflected = view * mirror->ReflectionMatrix();
    if (mirror->ClipPlane) {
        const QVector3D n = mirror->AbsoluteDirection();
        const GLdouble plane[4] = {-n.x(), -n.y(), -n.z(), QVector3D::dotProduct(n, mirror->AbsolutePosition())};
        gl.glLoadMatrixf(view.constData());
        gl.glClipPlane(GL_CLIP_PLANE0, plane);
        gl.glEnable(GL_CLIP_PLANE0);
    }
    SetupLights(reflected);
    gl.glFrontFace(GL_CW); // a reflection turns the winding over
    std::vector<TDrawItem> items;
    CollectDrawItems(mirror->MirrorObject ? mirror->MirrorObject : Root, Library, items);
    std::vector<const TDrawItem*> glass;
    for (const TDrawItem& r : items) {
        if (dynamic_cast<TMirror*>(r.Object))
            continue;
        if (r.Material->IsTransparent())
            glass.push_back(&r);
        else
            DrawItem(r, reflected);
    }
    for (const TDrawItem* r : glass)
        DrawItem(*r, reflected);
    gl.glFrontFace(GL_CCW);
    m_stateDirty = true;
    gl.glDisable(GL_CLIP_PLANE0);
    gl.glDisable(GL_STENCIL_TEST);
    gl.glDepthMask(GL_TRUE);
    SetupLights(view);
}

void TSceneViewer::SetupLights(const QMatrix4x4& view) {
    QOpenGLFunctions_2_1& gl = *m_gl;
    std::vector<TLight*> lights;
    std::vector<TSceneObject*> stack{Root};
    if (Camera->Parent() != Root && Camera->Parent() == nullptr)
        stack.push_back(Camera);
    while (!stack.empty()) {
        TSceneObject* o = stack.back();
        stack.pop_back();
        if (!o->Visible)
            continue;
        if (auto* l = dynamic_cast<TLight*>(o); l && l->On)
            lights.push_back(l);
        for (int i = 0; i < o->Count(); ++i)
            stack.push_back(o->Child(i));
    }
    for (int i = 0; i < 8; ++i)
        gl.glDisable(GLenum(GL_LIGHT0 + i));
    for (std::size_t i = 0; i < lights.size() && i < 8; ++i) {
        const TLight& l = *lights[i];
        const GLenum id = GLenum(GL_LIGHT0 + i);
        gl.glEnable(id);
        gl.glLightfv(id, GL_AMBIENT, F4(l.Ambient).data());
        gl.glLightfv(id, GL_DIFFUSE, F4(l.Diffuse).data());
        gl.glLightfv(id, GL_SPECULAR, F4(l.Specular).data());
        gl.glLightf(id, GL_CONSTANT_ATTENUATION, l.ConstantAttenuation);
        QVector4D pos;
        if (l.MovesWithCamera()) {
            // Given in the camera's view.
            gl.glLoadIdentity();
            pos = l.Directional ? QVector4D(l.SpotDirection, 0) : QVector4D(l.Position(), 1);
        } else {
            gl.glLoadMatrixf(view.constData());
            const QMatrix4x4 m = l.Parent() ? l.Parent()->AbsoluteMatrix() : QMatrix4x4();
            pos = l.Directional ? QVector4D(m.mapVector(l.SpotDirection), 0) : QVector4D(l.AbsolutePosition(), 1);
        }
        gl.glLightfv(id, GL_POSITION, F4(pos).data());
    }
    gl.glLoadIdentity();
}

QOpenGLTexture* TSceneViewer::TextureFor(const TMaterial& m) {
    const quint64 key = m.TextureVersion() * 4 + (m.AlphaFromIntensity ? 2 : 0) + (m.Mipmapped ? 1 : 0);
    QOpenGLTexture*& cached = m_textures[key];
    if (cached)
        return cached;
    QImage image = m.Texture.convertToFormat(QImage::Format_RGBA8888);
    if (m.AlphaFromIntensity)
        for (int y = 0; y < image.height(); ++y) {
            auto* px = reinterpret_cast<uchar*>(image.scanLine(y));
            for (int x = 0; x < image.width(); ++x, px += 4)
                px[3] = uchar((px[0] * 30 + px[1] * 59 + px[2] * 11) / 100);
        }
    auto* t = new QOpenGLTexture(image.mirrored(), m.Mipmapped ? QOpenGLTexture::GenerateMipMaps
                                                                 : QOpenGLTexture::DontGenerateMipMaps);
    t->setMinificationFilter(m.Mipmapped ? QOpenGLTexture::LinearMipMapLinear : QOpenGLTexture::Linear);
    t->setMagnificationFilter(QOpenGLTexture::Linear);
    t->setWrapMode(QOpenGLTexture::Repeat);
    cached = t;
    return t;
}

void TSceneViewer::ApplyMaterial(const TMaterial& m, bool lit) {
    QOpenGLFunctions_2_1& gl = *m_gl;
    // Vertex colours: unlit they are drawn as they are; lit they stand for
    // the material's ambient and diffuse colours.
    gl.glDisable(GL_COLOR_MATERIAL);
    if (m.VertexColors == TVertexColors::Unlit)
        lit = false;
    if (lit) {
        gl.glEnable(GL_LIGHTING);
        gl.glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, F4(m.Ambient).data());
        gl.glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, F4(m.Diffuse).data());
        gl.glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, F4(m.Specular).data());
        gl.glMaterialfv(GL_FRONT_AND_BACK, GL_EMISSION, F4(m.Emission).data());
        gl.glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, std::clamp(m.Shininess, 0.f, 128.f));
        if (m.VertexColors == TVertexColors::Lit) {
            gl.glColorMaterial(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE);
            gl.glEnable(GL_COLOR_MATERIAL);
        }
    } else {
        gl.glDisable(GL_LIGHTING);
    }
    switch (m.Blending) {
    case TBlending::Opaque:
        gl.glDisable(GL_BLEND);
        gl.glDepthMask(GL_TRUE);
        break;
    case TBlending::Transparency:
        gl.glEnable(GL_BLEND);
        gl.glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        gl.glDepthMask(GL_FALSE);
        break;
    case TBlending::Additive:
        gl.glEnable(GL_BLEND);
        gl.glBlendFunc(GL_SRC_ALPHA, GL_ONE);
        gl.glDepthMask(GL_FALSE);
        break;
    }
    gl.glPolygonMode(GL_FRONT_AND_BACK, m.Wireframe ? GL_LINE : GL_FILL);

    gl.glMatrixMode(GL_TEXTURE);
    gl.glLoadIdentity();
    if (m.HasTexture()) {
        gl.glEnable(GL_TEXTURE_2D);
        TextureFor(m)->bind();
        gl.glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, m.TextureMode == TTextureMode::Replace ? GL_REPLACE : GL_MODULATE);
        gl.glTranslatef(m.TextureOffset.x(), m.TextureOffset.y(), 0);
        gl.glScalef(m.TextureScale.x(), m.TextureScale.y(), 1);
        if (m.SphereMapped) {
            gl.glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
            gl.glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
            gl.glEnable(GL_TEXTURE_GEN_S);
            gl.glEnable(GL_TEXTURE_GEN_T);
        } else {
            gl.glDisable(GL_TEXTURE_GEN_S);
            gl.glDisable(GL_TEXTURE_GEN_T);
        }
    } else {
        gl.glDisable(GL_TEXTURE_2D);
        gl.glDisable(GL_TEXTURE_GEN_S);
        gl.glDisable(GL_TEXTURE_GEN_T);
    }
    gl.glMatrixMode(GL_MODELVIEW);
}

void TSceneViewer::DrawItem(const TDrawItem& item, const QMatrix4x4& view) {
    QOpenGLFunctions_2_1& gl = *m_gl;
    const TMesh& mesh = item.Object->Geometry();
    const auto [first, count] = item.Range(mesh);
    if (mesh.Positions.empty() || count == 0)
        return;
    gl.glLoadMatrixf((view * item.Matrix).constData());
    const bool triangles = mesh.Kind == TMesh::TKind::Triangles;
    // Runs of objects in one material (proxies above all) set it once.
    if (!triangles || item.Material != m_lastMaterial || m_stateDirty) {
        ApplyMaterial(*item.Material, triangles);
        m_lastMaterial = triangles ? item.Material : nullptr;
        m_stateDirty = false;
    }

    if (item.Object->IsClosed())
        gl.glEnable(GL_CULL_FACE);
    else
        gl.glDisable(GL_CULL_FACE);
    const TGpuMesh& gpu = GpuMesh(item.Object);
    auto offset = [](std::size_t bytes) { return reinterpret_cast<const void*>(bytes); };
    gl.glBindBuffer(GL_ARRAY_BUFFER, gpu.Vertices);
    gl.glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, gpu.Indices);
    gl.glEnableClientState(GL_VERTEX_ARRAY);
    gl.glVertexPointer(3, GL_FLOAT, 0, offset(0));
    if (triangles) {
        gl.glEnableClientState(GL_NORMAL_ARRAY);
        gl.glNormalPointer(GL_FLOAT, 0, offset(gpu.NormalOffset));
        gl.glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        gl.glTexCoordPointer(2, GL_FLOAT, 0, offset(gpu.TexOffset));
    }
    // Triangles take their vertices' colours only in a vertex-colour
    // material; lines and points whenever they have them.
    const bool vertexColors =
        mesh.Colors.size() == mesh.Positions.size() && (!triangles || item.Material->VertexColors != TVertexColors::Off);
    if (vertexColors) {
        gl.glEnableClientState(GL_COLOR_ARRAY);
        gl.glColorPointer(4, GL_FLOAT, 0, offset(gpu.ColorOffset));
    }
    const void* indices = offset(first * sizeof(std::uint32_t));
    GLenum mode = GL_TRIANGLES;
    if (auto* lines = dynamic_cast<TLines*>(item.Object)) {
        mode = mesh.Kind == TMesh::TKind::Lines ? GL_LINES : mesh.Kind == TMesh::TKind::LineLoop ? GL_LINE_LOOP : GL_LINE_STRIP;
        gl.glDisable(GL_TEXTURE_2D);
        gl.glColor4f(lines->LineColor.redF(), lines->LineColor.greenF(), lines->LineColor.blueF(), lines->LineColor.alphaF());
        gl.glLineWidth(lines->LineWidth);
        if (lines->Antialiased) {
            gl.glEnable(GL_LINE_SMOOTH);
            gl.glEnable(GL_BLEND);
            gl.glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        }
        if (lines->StipplePattern != 0xFFFF) {
            gl.glEnable(GL_LINE_STIPPLE);
            gl.glLineStipple(1, lines->StipplePattern);
        }
        gl.glDrawElements(mode, GLsizei(count), GL_UNSIGNED_INT, indices);
        gl.glDisable(GL_LINE_STIPPLE);
        gl.glDisable(GL_LINE_SMOOTH);
        if (lines->ShowNodes) {
            gl.glPointSize(lines->NodeSize);
            gl.glColor4f(lines->NodeColor.redF(), lines->NodeColor.greenF(), lines->NodeColor.blueF(), 1);
            gl.glDrawElements(GL_POINTS, GLsizei(count), GL_UNSIGNED_INT, indices);
        }
    } else if (auto* points = dynamic_cast<TPoints*>(item.Object)) {
        gl.glDisable(GL_TEXTURE_2D);
        gl.glPointSize(points->Size);
        if (points->Round) {
            gl.glEnable(GL_POINT_SMOOTH);
            gl.glEnable(GL_BLEND);
            gl.glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        }
        gl.glDrawElements(GL_POINTS, GLsizei(count), GL_UNSIGNED_INT, indices);
        gl.glDisable(GL_POINT_SMOOTH);
    } else {
        if (!triangles) {
            gl.glDisable(GL_TEXTURE_2D);
            mode = mesh.Kind == TMesh::TKind::Lines      ? GL_LINES
                   : mesh.Kind == TMesh::TKind::LineLoop  ? GL_LINE_LOOP
                   : mesh.Kind == TMesh::TKind::LineStrip ? GL_LINE_STRIP
                                                          : GL_POINTS;
        }
        gl.glColor4f(1, 1, 1, 1);
        gl.glDrawElements(mode, GLsizei(count), GL_UNSIGNED_INT, indices);
    }
    if (!triangles)
        m_stateDirty = true;
    gl.glBindBuffer(GL_ARRAY_BUFFER, 0);
    gl.glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
    gl.glDisableClientState(GL_VERTEX_ARRAY);
    gl.glDisableClientState(GL_NORMAL_ARRAY);
    gl.glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    gl.glDisableClientState(GL_COLOR_ARRAY);
}

void TSceneViewer::DrawTexts(QPainter& p, const std::vector<TScreenText*>& texts) {
    p.setRenderHint(QPainter::TextAntialiasing);
    for (const TScreenText* t : texts) {
        QFont f(t->FontFamily);
        f.setPointSizeF(t->FontSize);
        f.setBold(t->Bold);
        p.setFont(f);
        p.setPen(t->Color);
        const QRectF box(t->PixelPosition, QSizeF(width(), height()));
        p.drawText(box, int(t->Alignment), t->Text);
    }
}

} // namespace quarvel
