#include "browser/pagecommands.h"

namespace quarvel {

namespace {
// Positions marked "scaled" are multiplied by 1152 / screen width by the host.
constexpr int kScaled = 1;
constexpr int kAbsolute = 0;

TCommandStep S(const char* op, QVariantList args = {}) { return {QLatin1String(op), std::move(args)}; }
TCommandStep Camera(double x, double y, double z, int scaled) { return S("Camera", {x, y, z, scaled}); }
TCommandStep SceneBase(double x, double y, double z, int scaled) {
    return S("SceneBase", {x, y, z, scaled});
}

struct TRow {
    std::int32_t Topic;
    QString Word; // empty: any word, before the word's own row
    TCommandSteps Steps;
};

const QList<TRow>& Rows() {
    static const QList<TRow> rows = [] {
        QList<TRow> r;
        auto add = [&r](std::int32_t topic, const char* word, TCommandSteps steps) {
            r.append({topic, QLatin1String(word), std::move(steps)});
        };
        // Moon phases: position, then the phase strip and the scroll bar follow it.
        const std::pair<const char*, int> moons[] = {
            {"+moon1", 0}, {"+moon2", 2520}, {"+moon3", 5040}, {"+moon4", 7560}, {"+moon5", 10080}};
        for (auto [w, p] : moons)
            add(1, w, {S("MoonPosition", {p})});
        add(1, "+c1", {S("MoonPosition", {1080}), Camera(-6.34, 3.25, 9.4, kScaled), SceneBase(0, 0, 0, kAbsolute)});
        add(1, "+c2", {S("MoonPosition", {9000}), Camera(-5.87, 1.2, -9.77, kScaled), SceneBase(0, 0, 0, kAbsolute)});
        // Eclipses.
        // The camera moves first: the model leaves the Earth's globe out when the view is from the Earth.
        add(2, "+eclipse", {S("Stop"), Camera(-49.38, 39.6, 96.93, kAbsolute), SceneBase(0, 0, 0, kAbsolute),
                            S("Update", {900}), S("ScrollBar", {900})});
        // The eclipse seen from the Earth: the Moon's disc just covers the Sun's.
        add(2, "+eclipse2", {S("Stop"), Camera(0, 0, -55.69, kAbsolute), SceneBase(0, 0, 0, kAbsolute),
                             S("Update", {900}), S("ScrollBar", {900})});
        // Day and night.
        add(3, "", {S("Stop")});
        add(3, "+show", {S("ScrollBar", {0}), Camera(0.12, 0.37, 7.03, kScaled), SceneBase(-0.67, 0, 0, kScaled),
                         S("Update", {0}), S("DayNightMarkers", {true}), S("StatusClock", {0, 0})});
        // Seasons.
        add(4, "", {S("Stop")});
        add(4, "+summer", {S("ScrollBar", {180}), Camera(0.45, 3.5, 13.06, kScaled),
                           SceneBase(2.3, 0.31, 0, kScaled), S("Update", {180})});
        add(4, "+winter", {S("ScrollBar", {0}), Camera(-1.26, 2.76, 11.89, kScaled),
                           SceneBase(-2.72, 0.14, 0, kScaled), S("Update", {0})});
        add(4, "+spring", {S("ScrollBar", {90}), Camera(0, 3.19, 13.84, kScaled), SceneBase(0, 0, 0, kAbsolute),
                           S("Update", {90})});
        add(4, "+autumn", {S("ScrollBar", {270}), Camera(0.24, 5.1, 14.01, kScaled),
                           SceneBase(0, 0, 0, kAbsolute), S("Update", {270})});
        // Solar system.
        add(5, "+ssview", {S("ScaleMenu")});
        // Gravity: launch speeds as the gravity model numbers them (0.5 falls
        // back to the Earth, 0.75 goes into an elliptical orbit).
        add(7, "", {S("Stop")});
        const std::tuple<const char*, int, double> launches[] = {
            {"+gravity0", 0, 0.0}, {"+gravity1", 50, 0.5}, {"+gravity2", 75, 0.75}};
        for (auto [w, bar, v] : launches)
            add(7, w, {S("ScrollBar", {bar}), S("GravityLaunch", {v}), S("Start")});
        // Motor and left-hand rule.
        for (std::int32_t t : {8, 11}) {
            add(t, "+rc", {S("CurrentButton")});
            add(t, "+rf", {S("FieldButton")});
        }
        add(10, "+relay", {S("RelaySwitch")});
        add(16, "+reset", {S("Reset")});
        add(18, "+protractor", {S("Protractor")});
        // Ray box: x, z and the block (0 rectangle, 1 D shape, 2 prism).
        add(19, "+i=90", {S("RayBox", {5, 0, 0})});
        add(19, "+critical", {S("RayBox", {5, -5, 1})});
        add(19, "+dispersion", {S("RayBox", {3.79, -4.58, 2})});
        add(19, "+p90", {S("RayBox", {-7, 0, 2})});
        add(19, "+p180", {S("RayBox", {5, -5, 2})});
        add(20, "+reverse", {S("WireReverse")});
        add(20, "+SF", {S("WireField")});
        add(21, "+mag", {S("Update", {0}), S("ScrollBar", {360})});
        // Movies.
        const char* forceLabels[] = {"stopx", "startx", "tv1x", "fastx", "tv2x", "slowx"};
        for (int i = 0; i < 6; ++i)
            r.append({1015, QStringLiteral("+%1").arg(i + 1),
                      {S("MovieCallLabel", {QStringLiteral("/"), QLatin1String(forceLabels[i])})}});
        add(1017, "+test", {S("ResultantForceTest")});
        for (int i = 1; i <= 3; ++i)
            r.append({1018, QStringLiteral("+%1").arg(i),
                      {S("MovieCallFrame", {QStringLiteral("_root.dospeedx"), i})}});
        const char* poles[] = {"+sn", "+ns", "+nn", "+ss"};
        for (int i = 0; i < 4; ++i)
            add(1022, poles[i], {S("MovieCallFrame", {QStringLiteral("_root.caller_mc"), i + 1})});
        add(1023, "+series", {S("CircuitType", {1})});
        add(1023, "+parallel", {S("CircuitType", {2})});
        add(1023, "+bat1", {S("MovieCallLabel", {QStringLiteral("_root.caller_mc"), QStringLiteral("Do2bat")}),
                            S("CellCount", {2})});
        add(1023, "+bat2",
            {S("MovieCallLabel", {QStringLiteral("_root.caller_mc"), QStringLiteral("Do2batseries")})});
        add(1023, "+amp", {S("Ammeter", {true})});
        add(1023, "+volt", {S("Voltmeter", {true})});
        // Panels.
        add(2003, "+field", {S("SolenoidField", {true})});
        add(2007, "+lensmag", {S("LensPositions", {20, 80})});
        add(2007, "+lensdim", {S("LensPositions", {43, 66})});
        add(2007, "+large", {S("LensPositions", {17, 144.5})});
        const std::tuple<const char*, int, int, int> eyes[] = {
            {"+ss_near", 350, 1, 0}, {"+ss_far", 1000, 1, 0}, {"+ls_near", 350, 2, 0},
            {"+ls_far", 1000, 2, 0}, {"+ss_lens", 1000, 1, 1}, {"+ls_lens", 350, 2, 1}};
        for (auto [w, d, kind, lens] : eyes)
            add(2009, w, {S("EyeExample", {d, kind, lens})});
        add(2010, "+yellow", {S("ShowColour", {255, 255, 0})});
        add(2010, "+cyan", {S("ShowColour", {0, 255, 255})});
        add(2010, "+magenta", {S("ShowColour", {255, 0, 255})});
        add(2014, "+objnear", {S("CameraExample", {185, 6})});
        add(2014, "+objnear1", {S("CameraExample", {185, -10})});
        add(2016, "+3wts", {S("MomentsHolders", {3})});
        add(2017, "+blue", {S("ShowColour", {0, 0, 255})});
        add(2017, "+green", {S("ShowColour", {0, 255, 0})});
        add(2018, "+go", {S("SoundWaveStart")});
        add(2018, "+hilight", {S("SoundWaveHighlight")});
        add(2019, "+eg1", {S("SoundPlayExample", {16, 0, 0, 0, 6})});
        add(2019, "+eg2", {S("SoundPlayExample", {16, 7, 8, 0, 0})});
        add(2019, "+eg3", {S("SoundPlayExample", {16, 11, 0, 7, 6})});
        const char* scaleSteps[] = {"Put the thermometer in the beaker", "0 \u00BAC", "Mark",
                                    "100 \u00BAC", "Unknown", "Measure"};
        for (int i = 0; i < 6; ++i)
            r.append({2023, QStringLiteral("+%1").arg(i + 1),
                      {S("TempScaleButton", {QString::fromUtf8(scaleSteps[i])})}});
        return r;
    }();
    return rows;
}
} // namespace

bool IsPanelCommandTopic(std::int32_t topic) {
    switch (topic) {
    case 2003: case 2009: case 2010: case 2014: case 2016: case 2017:
    case 2018: case 2019: case 2023: case 2028:
        return true;
    default:
        return false;
    }
}

std::optional<TCommandSteps> RoutePageCommand(const QString& word, std::int32_t topic, bool busy,
                                              bool panelPresent) {
    if (busy)
        return std::nullopt;
    if (word == QLatin1String("+run")) {
        // Only topics 1..16 have a frame timer and a rate.
        if (topic >= 1 && topic <= 16)
            return TCommandSteps{S("Start")};
        return std::nullopt;
    }
    if (IsPanelCommandTopic(topic) && !panelPresent)
        return std::nullopt;
    if (topic == 2028) // the kinetic panel reads every word itself
        return TCommandSteps{S("KineticCommand", {word})};
    TCommandSteps steps;
    bool matched = false;
    for (const TRow& row : Rows()) {
        if (row.Topic != topic)
            continue;
        if (row.Word.isEmpty()) {
            steps += row.Steps;
            matched = true;
        } else if (row.Word == word) {
            steps += row.Steps;
            matched = true;
        }
    }
    if (!matched)
        return std::nullopt;
    return steps;
}

std::optional<TCommandStep> PageStateFor(std::int32_t topic, const QString& pageName) {
    struct TState {
        std::int32_t Topic;
        const char* Page;
        TCommandStep Step;
    };
    static const QList<TState> states = {
        {19, "REFRACTION.HTM", S("ChooseBlock", {0})},
        {19, "CRITICAL_ANGLE.HTM", S("ChooseBlock", {1})},
        {19, "DISPERSION.HTM", S("ChooseBlock", {2})},
        {1000, "ESOURCE1.HTM", S("MovieGotoFrame", {0, false})},
        {1000, "ESOURCE2.HTM", S("MovieGotoFrame", {30, true})},
        {1000, "ESOURCE3.HTM", S("MovieGotoFrame", {215, true})},
        {1000, "ESOURCE4.HTM", S("MovieGotoFrame", {324, true})},
        {1023, "CIRCUITS.HTM", S("CircuitType", {0})},
        {1023, "CIRCUITS2.HTM", S("CircuitType", {1})},
        {1023, "CIRCUITS3.HTM", S("CircuitType", {2})},
    };
    for (const TState& s : states)
        if (s.Topic == topic && pageName == QLatin1String(s.Page))
            return s.Step;
    return std::nullopt;
}

int TOperationRegistry::Run(const TCommandSteps& steps) const {
    int ran = 0;
    for (const TCommandStep& step : steps) {
        const auto it = m_ops.constFind(step.Operation);
        if (it == m_ops.constEnd()) {
            if (Fallback && Fallback(step.Operation, step.Args))
                ++ran;
            continue;
        }
        it.value()(step.Args);
        ++ran;
    }
    return ran;
}

} // namespace quarvel
