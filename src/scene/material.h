#pragma once
// Materials and the shared material library. Models pick materials by
// case-sensitive name ("Copper", "Glass", "txEarth", ...); a name the
// library lacks gives the default material. Materials can be changed while
// the scene runs: every change bumps the material's version, which tells
// the renderer to upload a new texture.

#include <QHash>
#include <QImage>
#include <QString>
#include <QVector2D>
#include <QVector4D>
#include <memory>
#include <optional>

namespace quarvel {

enum class TBlending { Opaque, Transparency, Additive };
enum class TTextureMode { Modulate, Replace };
// Where a surface's colour comes from: the material's colours, or each
// vertex's own colour (the mesh's Colors), either lit (the vertex colour
// stands for ambient and diffuse) or unlit (drawn as it is).
enum class TVertexColors { Off, Lit, Unlit };

class TMaterial {
public:
    QString Name;
    QVector4D Ambient{0.2f, 0.2f, 0.2f, 1};
    QVector4D Diffuse{0.8f, 0.8f, 0.8f, 1};
    QVector4D Specular{0, 0, 0, 1};
    QVector4D Emission{0, 0, 0, 1};
    float Shininess = 0; // 0..128
    TBlending Blending = TBlending::Opaque;
    bool Wireframe = false; // polygon mode "lines"
    TVertexColors VertexColors = TVertexColors::Off;

    // Texture: a picture, how it combines with the lighting, where it starts.
    QImage Texture;
    TTextureMode TextureMode = TTextureMode::Modulate;
    QVector2D TextureOffset{0, 0};
    QVector2D TextureScale{1, 1};
    bool AlphaFromIntensity = false; // alpha = the picture's brightness
    bool SphereMapped = false;        // environment picture wrapped by reflection
    bool Mipmapped = true;

    bool HasTexture() const { return !Texture.isNull(); }
    bool IsTransparent() const { return Blending != TBlending::Opaque; }
    // Loads a JPEG, PNG or BMP; false (and no texture) when it cannot be read.
    bool LoadTexture(const QString& path);
    void SetTexture(const QImage& image);
    void ClearTexture() { SetTexture(QImage()); }
    // A number no other picture ever had, renewed on every change of the
    // texture: the renderer uploads each picture once, and a copy of the
    // material shares its upload.
    quint64 TextureVersion() const { return m_textureVersion; }

private:
    quint64 m_textureVersion = 0;
};

// The material of one face group of an object: the object's material with
// the properties set here replaced. A group can so differ from the rest of
// its object in colour, shininess, emission, texture or vertex colours and
// still follow whatever material the object itself is given.
struct TFaceMaterial {
    std::optional<QVector4D> Ambient, Diffuse, Specular, Emission;
    std::optional<float> Shininess;
    std::optional<bool> Textured; // false: the group's faces are drawn without the texture
    std::optional<TVertexColors> VertexColors;
    std::optional<TBlending> Blending;

    // Ambient and diffuse together, the usual way of giving a plain colour.
    TFaceMaterial& SetColor(const QVector4D& c) { Ambient = Diffuse = c; return *this; }
    // `base` with this group's replacements.
    void ApplyTo(TMaterial& base) const;
};

class TMaterialLibrary {
public:
    // Folder textures are loaded from (ends with "/").
    QString TextureFolder;

    TMaterial& Add(const QString& name);
    // nullptr when the library has no material of that name (case matters).
    TMaterial* Find(const QString& name);
    const TMaterial* Find(const QString& name) const;
    bool Contains(const QString& name) const { return m_materials.contains(name); }
    int Count() const { return int(m_materials.size()); }
    void Remove(const QString& name) { m_materials.remove(name); }
    // The material used when a name is missing: lighting defaults, no texture.
    static const TMaterial& Default();

private:
    QHash<QString, std::shared_ptr<TMaterial>> m_materials;
};

// Adds the course's named materials (Copper, Cream, ... Hand). The Chrome
// material's environment picture is generated, so it needs no file.
void AddCourseMaterials(TMaterialLibrary& lib);

} // namespace quarvel
