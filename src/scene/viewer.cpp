#include "scene/viewer.h"

#include "scene/camera.h"
#include "scene/material.h"
#include "scene/primitives.h"

#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QOpenGLFunctions_2_1>
#include <QOpenGLTexture>
#include <QOpenGLVersionFunctionsFactory>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>
#include <array>

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
    f.setStencilBufferSize(8);
    f.setSamples(4);
    QSurfaceFormat::setDefaultFormat(f);
}

TSceneCadencer::TSceneCadencer(QOpenGLWidget* viewer) : QObject(viewer), m_viewer(viewer) {
    connect(viewer, &QOpenGLWidget::frameSwapped, this, &TSceneCadencer::FrameDone);
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

TSceneViewer::TSceneViewer(QWidget* parent) : QOpenGLWidget(parent), m_cadencer(new TSceneCadencer(this)) {
    setMouseTracking(true);
    setFocusPolicy(Qt::ClickFocus);
}

TSceneViewer::~TSceneViewer() {
    makeCurrent();
    for (auto& t : m_textures)
        delete t.Texture;
    doneCurrent();
}

void TSceneViewer::initializeGL() {
    m_gl = QOpenGLVersionFunctionsFactory::get<QOpenGLFunctions_2_1>(context());
    if (!m_gl)
        return; // no compatibility profile: nothing can be drawn
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

void TSceneViewer::paintGL() {
    if (!m_gl)
        return;
    QPainter painter(this);
    painter.beginNativePainting();
    RenderScene();
    painter.endNativePainting();
    DrawTexts(painter);
    painter.end();
    emit AfterRender();
}

void TSceneViewer::RenderScene() {
    QOpenGLFunctions_2_1& gl = *m_gl;
    const qreal ratio = devicePixelRatioF();
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
    gl.glDisable(GL_CULL_FACE);
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

    const QMatrix4x4 projection = Camera->ProjectionMatrix(size(), FieldOfView);
    const QMatrix4x4 view = Camera->ViewMatrix();
    gl.glMatrixMode(GL_PROJECTION);
    gl.glLoadMatrixf(projection.constData());
    gl.glMatrixMode(GL_MODELVIEW);
    SetupLights(view);

    std::vector<TDrawItem> items;
    CollectDrawItems(Root, Library, items);
    std::vector<const TDrawItem*> transparent;
    for (const TDrawItem& item : items) {
        if (item.Material->IsTransparent())
            transparent.push_back(&item);
        else
            DrawItem(item, view);
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
    TCachedTexture& cached = m_textures[&m];
    if (cached.Texture && cached.Version == m.TextureVersion())
        return cached.Texture;
    delete cached.Texture;
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
    cached = {t, m.TextureVersion()};
    return t;
}

void TSceneViewer::ApplyMaterial(const TMaterial& m, bool lit) {
    QOpenGLFunctions_2_1& gl = *m_gl;
    if (lit) {
        gl.glEnable(GL_LIGHTING);
        gl.glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, F4(m.Ambient).data());
        gl.glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, F4(m.Diffuse).data());
        gl.glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, F4(m.Specular).data());
        gl.glMaterialfv(GL_FRONT_AND_BACK, GL_EMISSION, F4(m.Emission).data());
        gl.glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, std::clamp(m.Shininess, 0.f, 128.f));
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
    if (mesh.Positions.empty() || mesh.Indices.empty())
        return;
    gl.glLoadMatrixf((view * item.Matrix).constData());
    const bool triangles = mesh.Kind == TMesh::TKind::Triangles;
    ApplyMaterial(*item.Material, triangles);

    gl.glEnableClientState(GL_VERTEX_ARRAY);
    gl.glVertexPointer(3, GL_FLOAT, 0, mesh.Positions.data());
    if (triangles) {
        gl.glEnableClientState(GL_NORMAL_ARRAY);
        gl.glNormalPointer(GL_FLOAT, 0, mesh.Normals.data());
        gl.glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        gl.glTexCoordPointer(2, GL_FLOAT, 0, mesh.TexCoords.data());
    }
    if (!mesh.Colors.empty()) {
        gl.glEnableClientState(GL_COLOR_ARRAY);
        gl.glColorPointer(4, GL_FLOAT, 0, mesh.Colors.data());
    }
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
        gl.glDrawElements(mode, GLsizei(mesh.Indices.size()), GL_UNSIGNED_INT, mesh.Indices.data());
        gl.glDisable(GL_LINE_STIPPLE);
        gl.glDisable(GL_LINE_SMOOTH);
        if (lines->ShowNodes) {
            gl.glPointSize(lines->NodeSize);
            gl.glColor4f(lines->NodeColor.redF(), lines->NodeColor.greenF(), lines->NodeColor.blueF(), 1);
            gl.glDrawElements(GL_POINTS, GLsizei(mesh.Indices.size()), GL_UNSIGNED_INT, mesh.Indices.data());
        }
    } else if (auto* points = dynamic_cast<TPoints*>(item.Object)) {
        gl.glDisable(GL_TEXTURE_2D);
        gl.glPointSize(points->Size);
        if (points->Round) {
            gl.glEnable(GL_POINT_SMOOTH);
            gl.glEnable(GL_BLEND);
            gl.glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        }
        gl.glDrawElements(GL_POINTS, GLsizei(mesh.Indices.size()), GL_UNSIGNED_INT, mesh.Indices.data());
        gl.glDisable(GL_POINT_SMOOTH);
    } else {
        gl.glColor4f(1, 1, 1, 1);
        gl.glDrawElements(mode, GLsizei(mesh.Indices.size()), GL_UNSIGNED_INT, mesh.Indices.data());
    }
    gl.glDisableClientState(GL_VERTEX_ARRAY);
    gl.glDisableClientState(GL_NORMAL_ARRAY);
    gl.glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    gl.glDisableClientState(GL_COLOR_ARRAY);
}

void TSceneViewer::DrawTexts(QPainter& p) {
    std::vector<TSceneObject*> stack{Root};
    std::vector<TScreenText*> texts;
    while (!stack.empty() && stack.back()) {
        TSceneObject* o = stack.back();
        stack.pop_back();
        if (!o->Visible)
            continue;
        if (auto* t = dynamic_cast<TScreenText*>(o))
            texts.push_back(t);
        for (int i = o->Count() - 1; i >= 0; --i)
            stack.push_back(o->Child(i));
    }
    p.setRenderHint(QPainter::TextAntialiasing);
    for (const TScreenText* t : texts) {
        if (t->Text.isEmpty())
            continue;
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
