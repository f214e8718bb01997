#include "browser/navigation.h"

#include "common/contentpath.h"

#include <QHash>

namespace quarvel {

namespace {
// Page name -> topic id. Pages not listed keep the content on show.
const QHash<QString, std::int32_t>& TopicTable() {
    static const QHash<QString, std::int32_t> table = [] {
        QHash<QString, std::int32_t> t;
        const std::pair<const char*, std::int32_t> rows[] = {
            {"MOONPHASE.HTM", 1}, {"ECLIPSE.HTM", 2}, {"NIGHTDAY.HTM", 3}, {"SEASONS.HTM", 4},
            {"SOLARSYSTEM.HTM", 5}, {"SATELLITES.HTM", 6}, {"GRAVITY.HTM", 7}, {"MOTOR.HTM", 8},
            {"BELL.HTM", 9}, {"RELAY.HTM", 10}, {"LEFTHAND.HTM", 11}, {"SPEAKER.HTM", 12},
            {"CONDUCTION.HTM", 13}, {"RADABSORB.HTM", 14}, {"HCMODEL.HTM", 15}, {"SPEED.HTM", 16},
            {"EARTHFIELD.HTM", 17}, {"PLANE_MIRROR1.HTM", 18}, {"REFRACTION.HTM", 19},
            {"STWIRE.HTM", 20}, {"DOMAIN.HTM", 21}, {"PLANE_MIRROR2.HTM", 22},
            {"ESOURCE1.HTM", 1000}, {"ESOURCE2.HTM", 1000}, {"ESOURCE3.HTM", 1000},
            {"ESOURCE4.HTM", 1000}, {"FOSSILFUELS.HTM", 1001}, {"EXPANSION.HTM", 1002},
            {"POWERGEN.HTM", 1003}, {"CURMOD.HTM", 1004}, {"VOLTMOD.HTM", 1005}, {"EAR.HTM", 1006},
            {"CONVECTION.HTM", 1007}, {"SOLIDEXP.HTM", 1008}, {"SEABREEZE.HTM", 1009},
            {"BIMETAL.HTM", 1010}, {"HYDROELEC.HTM", 1011}, {"TEMPERATURE.HTM", 1012},
            {"ETRANSFER.HTM", 1013}, {"PARACHUTE.HTM", 1014}, {"FORCES.HTM", 1015},
            {"LEVER.HTM", 1016}, {"FORCEEFFECTS.HTM", 1017}, {"DTGRAPH.HTM", 1018},
            {"MAGMATERIALS.HTM", 1019}, {"SIMPLEFRICTION.HTM", 1020}, {"STOPDISTANCE.HTM", 1021},
            {"MAGFORCE.HTM", 1022}, {"CIRCUITS.HTM", 1023}, {"WATERCONDUCT.HTM", 1024},
            {"SOUNDVAC.HTM", 1025}, {"MAGNETS.HTM", 2002}, {"SOLENOID.HTM", 2003},
            {"ELECTROMAGNETS.HTM", 2004}, {"LENS.HTM", 2007}, {"EYE.HTM", 2009},
            {"COLMIX.HTM", 2010}, {"CAMERA.HTM", 2014}, {"KSCOPE.HTM", 2015},
            {"MOMENTS.HTM", 2016}, {"LIGHTCOLOR.HTM", 2017}, {"SOUNDWAVE.HTM", 2018},
            {"SOUNDPLAY.HTM", 2019}, {"FRICTION.HTM", 2020}, {"SPRING.HTM", 2021},
            {"THERMOMETERS.HTM", 2022}, {"TEMPSCALES.HTM", 2023}, {"BUNSENEXPT.HTM", 2024},
            {"COOLCURVE.HTM", 2025}, {"KINETIC.HTM", 2026}, {"PRESSURE.HTM", 2027},
            {"DIFFUSION.HTM", 2028}};
        for (auto [name, id] : rows)
            t.insert(QLatin1String(name), id);
        return t;
    }();
    return table;
}

QString FileNamePart(const QString& s) {
    const int cut = std::max(s.lastIndexOf(QLatin1Char('\\')), s.lastIndexOf(QLatin1Char(':')));
    return s.mid(cut + 1);
}
} // namespace

QString UrlSegment(const QString& url) {
    const int slash = url.lastIndexOf(QLatin1Char('/'));
    if (slash >= 0)
        return url.mid(slash + 1);
    return FileNamePart(url);
}

QString PageName(const QString& segment) {
    QString name = FileNamePart(segment).toUpper();
    const int hash = name.indexOf(QLatin1Char('#'));
    if (hash >= 0)
        name.truncate(hash);
    return name;
}

TNavDecision ClassifyNavigation(const QString& url, const QString& htmlFolder,
                                const QString& videoFolder) {
    TNavDecision d;
    d.Segment = UrlSegment(url);
    const QString& seg = d.Segment;

    if (const int bang = seg.indexOf(QLatin1Char('!')); bang >= 0) {
        bool ok = false;
        d.Heading = seg.mid(bang + 1).toInt(&ok);
        d.Kind = ok ? TNavKind::HeadingClick : TNavKind::PassThrough;
        d.Cancel = ok;
        return d;
    }
    if (seg.contains(QLatin1Char('$'))) {
        d.Kind = TNavKind::Picture;
        d.Cancel = true;
        d.File = ResolveContentPath(htmlFolder, QStringLiteral("images/") + seg.mid(1));
        return d;
    }
    if (const int dot = seg.lastIndexOf(QLatin1Char('.'));
        dot >= 0 && seg.mid(dot).toUpper() == QLatin1String(".FLV")) {
        d.Kind = TNavKind::Video;
        d.Cancel = true;
        d.File = ResolveContentPath(videoFolder, seg);
        return d;
    }
    if (seg.contains(QLatin1Char('+'))) {
        d.Kind = TNavKind::PageCommand;
        d.Cancel = true;
        return d;
    }
    if (seg.contains(QLatin1Char('?'))) {
        d.Kind = TNavKind::Ignored;
        d.Cancel = true;
        return d;
    }
    // Secure addresses are outside addresses too: the course pane never
    // shows the web.
    if (url.contains(QLatin1String("http:")) || url.contains(QLatin1String("https:"))) {
        d.Kind = TNavKind::External;
        d.Cancel = true;
        return d;
    }
    d.Kind = TNavKind::Page;
    return d;
}

QStringList TopicPageNames() { return TopicTable().keys(); }

std::int32_t TopicIdForPage(const QString& segment, std::int32_t current) {
    const QString name = PageName(segment);
    if (name.isEmpty())
        return current;
    return TopicTable().value(name, current);
}

} // namespace quarvel
