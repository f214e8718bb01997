#include "scene/material.h"

#include <QImageReader>
#include <QPainter>
#include <QRadialGradient>
#include <atomic>

namespace quarvel {

bool TMaterial::LoadTexture(const QString& path) {
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    const QImage image = reader.read();
    if (image.isNull())
        return false;
    SetTexture(image);
    return true;
}

void TMaterial::SetTexture(const QImage& image) {
    static std::atomic<quint64> versions{0};
    Texture = image;
    m_textureVersion = ++versions;
}

void TFaceMaterial::ApplyTo(TMaterial& m) const {
    if (Ambient)
        m.Ambient = *Ambient;
    if (Diffuse)
        m.Diffuse = *Diffuse;
    if (Specular)
        m.Specular = *Specular;
    if (Emission)
        m.Emission = *Emission;
    if (Shininess)
        m.Shininess = *Shininess;
    if (Textured && !*Textured)
        m.Texture = QImage(); // nothing left to upload, so the version may stay
    if (VertexColors)
        m.VertexColors = *VertexColors;
    if (Blending)
        m.Blending = *Blending;
}

TMaterial& TMaterialLibrary::Add(const QString& name) {
    auto m = std::make_shared<TMaterial>();
    m->Name = name;
    m_materials.insert(name, m);
    return *m;
}

TMaterial* TMaterialLibrary::Find(const QString& name) {
    const auto it = m_materials.constFind(name);
    return it == m_materials.constEnd() ? nullptr : it.value().get();
}

const TMaterial* TMaterialLibrary::Find(const QString& name) const {
    const auto it = m_materials.constFind(name);
    return it == m_materials.constEnd() ? nullptr : it.value().get();
}

const TMaterial& TMaterialLibrary::Default() {
    static const TMaterial material;
    return material;
}

namespace {
QImage ChromeEnvironment() {
    // A soft studio reflection: bright sky above, dark floor below.
    QImage env(64, 64, QImage::Format_RGB32);
    QPainter p(&env);
    QLinearGradient g(0, 0, 0, 64);
    g.setColorAt(0, QColor(250, 250, 255));
    g.setColorAt(0.45, QColor(170, 180, 195));
    g.setColorAt(0.55, QColor(60, 60, 65));
    g.setColorAt(1, QColor(120, 120, 125));
    p.fillRect(env.rect(), g);
    QRadialGradient spot(22, 18, 14);
    spot.setColorAt(0, QColor(255, 255, 255));
    spot.setColorAt(1, QColor(255, 255, 255, 0));
    p.fillRect(env.rect(), spot);
    return env;
}
} // namespace

void AddCourseMaterials(TMaterialLibrary& lib) {
    struct TRow {
        const char* Name;
        QVector4D Ambient, Diffuse, Specular, Emission;
        float Shininess;
        TBlending Blend;
    };
    const QVector4D da(0.2f, 0.2f, 0.2f, 1), dd(0.8f, 0.8f, 0.8f, 1), black(0, 0, 0, 1);
    const TRow rows[] = {
        {"Copper", {0.72f, 0.45f, 0.2f, 1}, dd, {0.6f, 0.6f, 0.6f, 1}, black, 128, TBlending::Opaque},
        {"Cream", {0.918f, 0.918f, 0.678f, 1}, {0.45f, 0.45f, 0.45f, 1}, black, black, 0, TBlending::Opaque},
        {"Bronze", {0.65f, 0.49f, 0.24f, 1}, dd, {0.8f, 0.8f, 0.8f, 1}, black, 128, TBlending::Opaque},
        {"Green", {0.498f, 1, 0, 1}, {0.4f, 0.4f, 0.4f, 1}, black, black, 0, TBlending::Opaque},
        {"Chrome", {0.5f, 0.5f, 0.5f, 1}, {0.5f, 0.5f, 0.5f, 1}, {1, 1, 1, 1}, {0.3f, 0.3f, 0.3f, 1}, 128,
         TBlending::Opaque},
        {"Brass", {0.71f, 0.65f, 0.26f, 1}, dd, {0.6f, 0.6f, 0.6f, 1}, black, 128, TBlending::Opaque},
        {"Blue", {0.502f, 0.525f, 0.882f, 1}, {0.6f, 0.576f, 0.8f, 1}, black, black, 0, TBlending::Opaque},
        {"Red", {0.902f, 0.157f, 0, 1}, {0.706f, 0, 0, 1}, black, black, 0, TBlending::Opaque},
        {"Metal", {0.6f, 0.6f, 0.6f, 1}, {0.7f, 0.7f, 0.7f, 1}, {0.8f, 0.8f, 0.8f, 1}, black, 128, TBlending::Opaque},
        {"Teal", {0.32f, 0.49f, 0.46f, 1}, {0.35f, 0.35f, 0.35f, 1}, black, black, 0, TBlending::Opaque},
        {"DarkGray", da, {0.3f, 0.3f, 0.3f, 1}, black, black, 128, TBlending::Opaque},
        {"Navy", {0.137f, 0.137f, 0.557f, 1}, dd, black, black, 0, TBlending::Opaque},
        {"White", {0, 0, 0, 1}, {0, 0, 0, 1}, black, {1, 1, 1, 1}, 0, TBlending::Opaque},
        {"Gold", {0.36f, 0.2f, 0.09f, 1}, {0.65f, 0.49f, 0.24f, 1}, {0.25f, 0.25f, 0.25f, 1}, black, 20,
         TBlending::Opaque},
        {"mtTransparent", {0.6f, 0.6f, 0.6f, 1}, {0.6f, 0.6f, 0.6f, 0.5f}, black, black, 0, TBlending::Transparency},
        {"Bunsen", {0.031f, 0.58f, 0.882f, 0.968f}, {0.055f, 0.055f, 0.8f, 0.175f}, black, {0.016f, 0, 0.961f, 1}, 0,
         TBlending::Transparency},
        {"Bunsen2", {0.929f, 0.2f, 0.961f, 1}, {0.8f, 0.8f, 0.8f, 0.198f}, black, {0.984f, 0.141f, 0.992f, 1}, 0,
         TBlending::Transparency},
        {"Brown", {0.867f, 0.745f, 0.38f, 1}, {0.698f, 0.698f, 0.698f, 1}, black, black, 0, TBlending::Opaque},
        {"Metal2", {0.561f, 0.561f, 0.737f, 1}, dd, {1, 1, 1, 1}, {0.2f, 0.2f, 0.2f, 1}, 128, TBlending::Opaque},
        {"Metal3", {0.5f, 0.5f, 0.5f, 1}, {0.5f, 0.5f, 0.5f, 1}, black, {0.1f, 0.1f, 0.1f, 1}, 100, TBlending::Opaque},
        {"VDarkGray", {0.1f, 0.1f, 0.1f, 1}, {0.1f, 0.1f, 0.1f, 1}, black, black, 0, TBlending::Opaque},
        {"DarkGreen", {0.42f, 0.557f, 0.137f, 1}, {0.1f, 0.1f, 0.1f, 1}, black, black, 0, TBlending::Opaque},
        {"PaleWhite", {0.847f, 0.847f, 0.749f, 1}, dd, black, black, 0, TBlending::Opaque},
        {"Glass", {0.9f, 0.9f, 0.9f, 1}, {0.9f, 0.9f, 0.9f, 0.5f}, black, black, 0, TBlending::Transparency},
        {"Yellow", {0.961f, 0.682f, 0, 1}, dd, black, black, 0, TBlending::Opaque},
        {"Pink", {0.906f, 0.525f, 0.533f, 1}, dd, black, black, 0, TBlending::Opaque},
        {"Hand", {0.96f, 0.8f, 0.69f, 1}, dd, black, black, 0, TBlending::Opaque},
    };
    for (const TRow& r : rows) {
        TMaterial& m = lib.Add(QLatin1String(r.Name));
        m.Ambient = r.Ambient;
        m.Diffuse = r.Diffuse;
        m.Specular = r.Specular;
        m.Emission = r.Emission;
        m.Shininess = r.Shininess;
        m.Blending = r.Blend;
    }
    TMaterial& chrome = *lib.Find(QStringLiteral("Chrome"));
    chrome.SetTexture(ChromeEnvironment());
    chrome.SphereMapped = true;
    chrome.TextureMode = TTextureMode::Modulate;
}

} // namespace quarvel
