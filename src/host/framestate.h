#pragma once
// The main window's state fields that the animation host reads and writes.
// The main window inherits them, so every part of the program reaches them
// by the names the course uses.

#include "host/topicregistry.h"

#include <QString>
#include <cstdint>

namespace quarvel {

class TSceneObject;

struct TFrameState {
    std::int32_t CurrentTopicId = 0;
    float AnimPosition = 0;
    TTopicRates TopicRates = BuiltInTopicRates();
    float LastMouseX = 0, LastMouseY = 0;
    TSceneObject* PickedObject = nullptr;
    float DragAnchor[4] = {0, 0, 0, 0};
    bool LabelRefreshPending = false;
    bool PlanetsToScale = false;
    float TrolleyRunState[2] = {0, 0};
    bool TrolleyErrorFlag = false;
    bool Busy = true;
    std::uint32_t GLColor = 0; // 3D background, 0x00BBGGRR
};

} // namespace quarvel
