#pragma once
// Vantrel's persisted window and display settings, kept in
// QSettings("Brantock", "Quarvel") under eight value names whose types and
// byte layouts other installations and the question editor rely on:
//
//   "zoom"      int      browser text size 0..4
//   "textbgnd"  string   page background colour, "#RRGGBB"
//   "TBTop"     int 0/1  toolbars at top
//   "Skin"      string   active skin name (the question editor reads it too)
//   "Large"     int 0/1  "Use large buttons"
//   "GLColor"   int      3D background, 0x00BBGGRR
//   "position"  bytes    16: left, top, right, bottom as int32 little-endian
//   "Speeds"    bytes    68: the 17 topic rates as int32 little-endian

#include "host/topicregistry.h"

#include <QByteArray>
#include <QRect>
#include <QString>
#include <array>
#include <cstdint>
#include <optional>

namespace quarvel {


// What was found under the settings key; a value that is absent, of the
// wrong type or out of range stays empty and the caller keeps its default.
struct TStoredSettings {
    bool KeyExists = false;
    std::optional<QString> TextBgnd;
    std::optional<int> Zoom;
    std::optional<bool> TBTop;
    std::optional<QString> Skin;
    std::optional<std::uint32_t> GLColor;
    std::optional<bool> Large;
    std::optional<QRect> Position;      // left, top, right, bottom turned into a QRect
    std::optional<QByteArray> Speeds;   // at most 68 bytes
};

// The state written at the end of a run: all eight values, always.
struct TSettingsToSave {
    int Zoom = 2;
    QString TextBgnd = QStringLiteral("#FFFFFF");
    bool TBTop = true;
    QString Skin;
    bool Large = false;
    std::uint32_t GLColor = 0;
    QRect Position;
    TTopicRates Speeds{};
};

TStoredSettings ReadStoredSettings();
void WriteSettings(const TSettingsToSave& values);

// Copies whole little-endian int32 values from `speeds` over the leading
// rates; a short value changes only the rates it holds.
void ApplySpeeds(const QByteArray& speeds, TTopicRates& rates);
QByteArray SpeedsBytes(const TTopicRates& rates);

QByteArray PositionBytes(const QRect& r);
std::optional<QRect> PositionFromBytes(const QByteArray& bytes);

// 0x00BBGGRR <-> #RRGGBB style red, green, blue
std::uint32_t ColorRefFromRgb(int r, int g, int b);
void RgbFromColorRef(std::uint32_t c, int& r, int& g, int& b);

} // namespace quarvel
