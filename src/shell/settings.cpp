#include "shell/settings.h"

#include "common/lestream.h"

#include <QFileInfo>
#include <QSettings>

namespace quarvel {

namespace {
std::optional<int> IntValue(const QSettings& s, const char* name) {
    const QVariant v = s.value(QLatin1String(name));
    if (!v.isValid())
        return std::nullopt;
    bool ok = false;
    const int n = v.toInt(&ok);
    return ok ? std::optional<int>(n) : std::nullopt;
}
} // namespace

void ApplySpeeds(const QByteArray& speeds, TTopicRates& rates) {
    TLEReader in(speeds.left(kTopicRateCount * 4));
    for (int i = 0; i < kTopicRateCount && in.Remaining() >= 4; ++i)
        rates[i] = in.ReadInt32();
}

QByteArray SpeedsBytes(const TTopicRates& rates) {
    TLEWriter out;
    for (std::int32_t r : rates)
        out.WriteInt32(r);
    return out.Data();
}

QByteArray PositionBytes(const QRect& r) {
    TLEWriter out;
    out.WriteInt32(r.left());
    out.WriteInt32(r.top());
    out.WriteInt32(r.x() + r.width()); // right and bottom are exclusive, as stored
    out.WriteInt32(r.y() + r.height());
    return out.Data();
}

std::optional<QRect> PositionFromBytes(const QByteArray& bytes) {
    if (bytes.size() < 16)
        return std::nullopt;
    TLEReader in(bytes);
    const int l = in.ReadInt32(), t = in.ReadInt32(), r = in.ReadInt32(), b = in.ReadInt32();
    if (r <= l || b <= t)
        return std::nullopt;
    return QRect(l, t, r - l, b - t);
}

std::uint32_t ColorRefFromRgb(int r, int g, int b) {
    return std::uint32_t(r & 0xFF) | std::uint32_t(g & 0xFF) << 8 | std::uint32_t(b & 0xFF) << 16;
}

void RgbFromColorRef(std::uint32_t c, int& r, int& g, int& b) {
    r = c & 0xFF;
    g = (c >> 8) & 0xFF;
    b = (c >> 16) & 0xFF;
}

TStoredSettings ReadStoredSettings() {
    QSettings s(QStringLiteral("Brantock"), QStringLiteral("Quarvel"));
    TStoredSettings out;
    out.KeyExists = QFileInfo::exists(s.fileName()) && !s.allKeys().isEmpty();
    if (!out.KeyExists)
        return out;
    if (s.contains(QStringLiteral("textbgnd")))
        out.TextBgnd = s.value(QStringLiteral("textbgnd")).toString();
    if (auto z = IntValue(s, "zoom"); z && *z >= 0 && *z <= 4)
        out.Zoom = z;
    if (auto t = IntValue(s, "TBTop"))
        out.TBTop = *t != 0;
    if (s.contains(QStringLiteral("Skin")))
        out.Skin = s.value(QStringLiteral("Skin")).toString();
    if (auto c = IntValue(s, "GLColor"))
        out.GLColor = static_cast<std::uint32_t>(*c) & 0x00FFFFFFu;
    if (auto l = IntValue(s, "Large"))
        out.Large = *l != 0;
    if (s.contains(QStringLiteral("position")))
        out.Position = PositionFromBytes(s.value(QStringLiteral("position")).toByteArray());
    if (s.contains(QStringLiteral("Speeds")))
        out.Speeds = s.value(QStringLiteral("Speeds")).toByteArray().left(kTopicRateCount * 4);
    return out;
}

void WriteSettings(const TSettingsToSave& v) {
    QSettings s(QStringLiteral("Brantock"), QStringLiteral("Quarvel"));
    if (!s.isWritable())
        return; // this run's settings are lost, silently
    s.setValue(QStringLiteral("zoom"), v.Zoom);
    s.setValue(QStringLiteral("textbgnd"), v.TextBgnd);
    s.setValue(QStringLiteral("TBTop"), v.TBTop ? 1 : 0);
    s.setValue(QStringLiteral("Skin"), v.Skin);
    s.setValue(QStringLiteral("Large"), v.Large ? 1 : 0);
    s.setValue(QStringLiteral("GLColor"), static_cast<int>(v.GLColor));
    s.setValue(QStringLiteral("position"), PositionBytes(v.Position));
    s.setValue(QStringLiteral("Speeds"), SpeedsBytes(v.Speeds));
    s.sync();
}

} // namespace quarvel
