#pragma once
// What the animation host does for each topic id, as data: whether Start
// and Stop are shown, the scroll bar under the view, the animation rate,
// and where camera, scene base and lights go (positions marked scaled are
// multiplied by 1152 / screen width).

#include <QVector3D>
#include <array>
#include <cstdint>
#include <optional>

namespace quarvel {

// Rates are kept for topic ids 0..16, the topics that can run a frame timer.
constexpr int kTopicRateCount = 17;
using TTopicRates = std::array<std::int32_t, kTopicRateCount>;

// 100 units per second, except topics 3, 6, 13, 14, 15 (50), 5, 9, 12 (200) and 7 (250).
TTopicRates BuiltInTopicRates();

struct TBarRow {
    int Min, Max, LargeStep, Initial;
};

struct TViewRow {
    bool CameraLight1, CameraLight2;
    bool SpaceLights;
    QVector3D SpaceDirection; // towards the light, for ids 1..4
    QVector3D Camera;         // scaled
    QVector3D SceneBase;      // scaled
    float Ambient;
};

struct TTopicInfo {
    std::int32_t Id;
    bool StartStop;             // Start and Stop shown
    std::optional<TBarRow> Bar; // none: the bar is hidden
    TViewRow View;
};

// The row of a 3D topic (1..22), or nullptr.
const TTopicInfo* TopicInfo(std::int32_t id);

// Whether the topic's animation runs on the frame timer (Start, or topic 11's switch).
bool TopicHasFrameTimer(std::int32_t id);

} // namespace quarvel
