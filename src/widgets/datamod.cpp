#include "widgets/datamod.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

// The pictures live in a static library: their resource must be registered by hand.
static void InitIconResources() {
    static const bool done = [] {
        Q_INIT_RESOURCE(widgets);
        return true;
    }();
    (void)done;
}

namespace quarvel {

namespace {
TDataMod* g_instance = nullptr;
}

QIcon RenderIcon(const QString& name, int size) {
    InitIconResources();
    return RenderSvgIcon(QStringLiteral(":/icons/%1.svg").arg(name), size);
}

QIcon RenderSvgIcon(const QString& path, int size) {
    QSvgRenderer svg(path);
    QIcon icon;
    if (!svg.isValid())
        return icon;
    // Sharp on high-density screens as well.
    for (qreal ratio : {1.0, 2.0}) {
        QPixmap pm(QSize(size, size) * ratio);
        pm.fill(Qt::transparent);
        {
            QPainter p(&pm);
            p.setRenderHint(QPainter::Antialiasing);
            svg.render(&p);
        }
        pm.setDevicePixelRatio(ratio);
        icon.addPixmap(pm);
    }
    return icon;
}

TImageList::TImageList(int size, const QStringList& names) : m_size(size), m_names(names) {
    for (const QString& n : names)
        m_icons.append(RenderIcon(n, size));
}

QIcon TImageList::Icon(int index) const {
    return index >= 0 && index < m_icons.size() ? m_icons[index] : QIcon();
}

QString TImageList::Name(int index) const {
    return index >= 0 && index < m_names.size() ? m_names[index] : QString();
}

QStringList TDataMod::Names24() {
    return {QStringLiteral("Home3"),          QStringLiteral("Forward2"),
            QStringLiteral("BackBtn2"),       QStringLiteral("Copy"),
            QStringLiteral("Rnd_Play"),       QStringLiteral("Rnd_Pause"),
            QStringLiteral("FontSize3"),      QStringLiteral("TextBackgnd2"),
            QStringLiteral("TreeIndex"),      QStringLiteral("print24_h"),
            QStringLiteral("ZoomOut2"),       QStringLiteral("ZoomIn"),
            QStringLiteral("Partial"),        QStringLiteral("BookLook"),
            QStringLiteral("Delete"),         QStringLiteral("bbCircle"),
            QStringLiteral("FieldDir"),       QStringLiteral("CurrentDir"),
            QStringLiteral("undo3"),          QStringLiteral("barrier_remove"),
            QStringLiteral("barrier_add"),    QStringLiteral("ruler"),
            QStringLiteral("block"),          QStringLiteral("block_D"),
            QStringLiteral("TIR"),            QStringLiteral("45_prism"),
            QStringLiteral("grid2"),          QStringLiteral("diagonal_arrow"),
            QStringLiteral("label"),          QStringLiteral("Clock2"),
            QStringLiteral("traffic_lights"), QStringLiteral("voltmeter"),
            QStringLiteral("ammeter"),        QStringLiteral("Thermometer-query"),
            QStringLiteral("thermometer_min"), QStringLiteral("thermometer-max"),
            QStringLiteral("thermometer-beaker"), QStringLiteral("thermometer-ruler"),
            QStringLiteral("weights"),        QStringLiteral("balance"),
            QStringLiteral("zoom-scale"),     QStringLiteral("weights-off"),
            QStringLiteral("Friction1"),      QStringLiteral("bunsen-light"),
            QStringLiteral("bunsen-open"),    QStringLiteral("bunsen-closed"),
            QStringLiteral("rb-stripes"),     QStringLiteral("FloodFill2"),
            QStringLiteral("PenColor"),       QStringLiteral("CountNails"),
            QStringLiteral("AddNails"),       QStringLiteral("mouse-left"),
            QStringLiteral("thermometer-marker"), QStringLiteral("pan"),
            QStringLiteral("rotate")};
}

QStringList TDataMod::Names48() {
    QStringList names = Names24().mid(0, 53);
    names[51] = QStringLiteral("abort");
    return names;
}

TDataMod::TDataMod(QObject* parent)
    : QObject(parent), m_images24(24, Names24()), m_images48(48, Names48()) {
    setObjectName(QStringLiteral("DataMod"));
    if (!g_instance)
        g_instance = this;
}

TDataMod* TDataMod::Instance() {
    if (!g_instance)
        g_instance = new TDataMod(qApp);
    return g_instance;
}

} // namespace quarvel
