#pragma once
// The program's shared pictures: two parallel image lists, Images24 and
// Images48, where the same index is the same picture at 24 and 48 pixels.
// The main window and the experiment panels pick their toolbar images here.

#include <QIcon>
#include <QList>
#include <QObject>
#include <QString>

namespace quarvel {

class TImageList {
public:
    TImageList(int size, const QStringList& names);
    int Size() const { return m_size; }
    int Count() const { return int(m_icons.size()); }
    QIcon Icon(int index) const;
    QString Name(int index) const;

private:
    int m_size;
    QStringList m_names;
    QList<QIcon> m_icons;
};

// Renders the picture `name` from the program's resources at `size` pixels.
QIcon RenderIcon(const QString& name, int size);
// Renders any SVG file or resource at `size` pixels (an empty icon when it cannot be read).
QIcon RenderSvgIcon(const QString& path, int size);

class TDataMod : public QObject {
    Q_OBJECT
public:
    explicit TDataMod(QObject* parent = nullptr);
    // The one instance, created at start-up.
    static TDataMod* Instance();

    const TImageList& Images24() const { return m_images24; }
    const TImageList& Images48() const { return m_images48; }
    const TImageList& Images(bool large) const { return large ? m_images48 : m_images24; }

    // Names of the 24-pixel list by index (55); the 48-pixel list has 53,
    // with "abort" at 51.
    static QStringList Names24();
    static QStringList Names48();

private:
    TImageList m_images24;
    TImageList m_images48;
};

} // namespace quarvel
