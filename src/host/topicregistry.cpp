#include "host/topicregistry.h"

#include <QHash>

namespace quarvel {

TTopicRates BuiltInTopicRates() {
    TTopicRates r;
    r.fill(100);
    for (int id : {3, 6, 13, 14, 15})
        r[std::size_t(id)] = 50;
    for (int id : {5, 9, 12})
        r[std::size_t(id)] = 200;
    r[7] = 250;
    return r;
}

namespace {
const QVector3D kOrigin(0, 0, 0);
std::optional<TBarRow> Bar(int min, int max, int large, int initial = 0) { return TBarRow{min, max, large, initial}; }

const QHash<std::int32_t, TTopicInfo>& Table() {
    static const QHash<std::int32_t, TTopicInfo> table = [] {
        // id, Start/Stop, bar, {camera lights 1/2, space lights, space direction, camera, scene base, ambient}
        const TTopicInfo rows[] = {
            {1, true, Bar(0, 10080, 360), {false, false, true, {1, 0, 0}, {3.71f, 1.42f, 12.94f}, kOrigin, 0.1f}},
            {2, true, Bar(0, 3600, 200), {false, false, true, {-1, 0, 0}, {-59.81f, 61.3f, 148.05f}, kOrigin, 0.2f}},
            {3, true, Bar(0, 360, 10, 180), {false, false, true, {1, 0, 0}, {0.12f, 0.37f, 7.03f}, {-0.67f, 0, 0}, 0.1f}},
            {4, true, Bar(0, 360, 10), {false, false, true, {-1, 0, 0}, {-5.64f, 5.78f, 13.95f}, kOrigin, 0.2f}},
            {5, true, Bar(0, 44737, 180), {true, false, false, {}, {104.26f, 49.8f, 33.89f}, kOrigin, 0.2f}},
            {6, true, Bar(0, 360, 10), {true, false, false, {}, {9.53f, 8.77f, -15.24f}, kOrigin, 0.2f}},
            {7, true, Bar(0, 95, 10), {true, false, false, {}, {0, 0, 7.46f}, kOrigin, 0.2f}},
            {8, true, Bar(0, 360, 10), {true, true, false, {}, {2.77f, 1.83f, 5.67f}, {-0.74f, -0.25f, 0}, 0.2f}},
            {9, true, Bar(0, 180, 10), {true, true, false, {}, {0, 0, 10}, kOrigin, 0.2f}},
            {10, false, std::nullopt, {true, true, false, {}, {1.55f, 1.3f, 5.39f}, kOrigin, 0.2f}},
            {11, false, std::nullopt, {true, true, false, {}, {-4.05f, 2.2f, 4.05f}, {-0.04f, 0.41f, 0}, 0.2f}},
            {12, true, Bar(0, 360, 10), {true, true, false, {}, {-3.27f, 0.73f, 6.15f}, kOrigin, 0.2f}},
            {13, true, Bar(0, 1000, 20), {true, false, false, {}, {-12.03f, 4.1f, 37.08f}, kOrigin, 0.2f}},
            {14, true, Bar(0, 300, 10), {true, false, false, {}, {-12.03f, 4.1f, 37.08f}, kOrigin, 0.2f}},
            {15, true, Bar(0, 1049, 50), {true, false, false, {}, {-16.64f, 9.2f, 30.04f}, {1.12f, 0.34f, 0}, 0.2f}},
            {16, true, std::nullopt, {true, false, false, {}, {16.12f, 7.8f, 26.82f}, {9.54f, 0.31f, 0}, 0.2f}},
            {17, false, std::nullopt, {true, true, false, {}, {-4, 4.43f, -16.03f}, kOrigin, 0.2f}},
            {18, false, std::nullopt, {true, true, false, {}, {-7.47f, 8.32f, 38.41f}, kOrigin, 0.2f}},
            {19, false, std::nullopt, {true, true, false, {}, {9.04f, 17.55f, 22.39f}, kOrigin, 0.2f}},
            {20, false, Bar(-15, 15, 1), {true, false, false, {}, {5.91f, 3.42f, 7.3f}, kOrigin, 0.2f}},
            {21, false, Bar(0, 360, 10), {true, true, false, {}, {-2.71f, 1.79f, 3.23f}, kOrigin, 0.2f}},
            {22, false, std::nullopt, {true, true, false, {}, {8.25f, 4.23f, 12.23f}, {0.15f, 0.64f, 0}, 0.2f}},
        };
        QHash<std::int32_t, TTopicInfo> t;
        for (const TTopicInfo& r : rows)
            t.insert(r.Id, r);
        return t;
    }();
    return table;
}
} // namespace

const TTopicInfo* TopicInfo(std::int32_t id) {
    const auto it = Table().constFind(id);
    return it == Table().constEnd() ? nullptr : &it.value();
}

bool TopicHasFrameTimer(std::int32_t id) {
    const TTopicInfo* info = TopicInfo(id);
    return info && (info->StartStop || id == 11);
}

} // namespace quarvel
