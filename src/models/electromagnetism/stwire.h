#pragma once
// The straight wire (topic 20, STWIRE page): a long vertical copper wire
// through a horizontal card, a compass on the card that the pupil drags
// round the wire, and a display of the circular field (circles with
// arrowheads) that the page switches on and off.

#include "host/model.h"
#include "scene/sceneobject.h"

namespace quarvel {

class TMaterialLibrary;

// A compass lying flat: case in the object's material, a navy dial and a
// needle whose north half glows red (along local -z at NeedleAngle 0) and
// south half white. The dial and needle turn by NeedleAngle about y.
class TCompass : public TCustomSceneObject {
public:
    TCompass();
    float CaseRadius = 0.2f;
    float CaseHeight = 0.1f;
    float DialRadius = 0.18f;
    int Segments = 20;
    float NeedleAngle() const { return m_needleAngle; }
    // Rebuilds only when the angle changes.
    void SetNeedleAngle(float degrees);

protected:
    void BuildGeometry(TMesh& mesh) override;

private:
    float m_needleAngle = 0;
};

// The compass's turn (degrees, 0 <= t < 360) at (x, z) round an upward
// current: its red tip then lies along the field (z, 0, -x). On the wire
// itself the field has no direction and `previous` is kept.
float CompassTurn(float x, float z, float previous);

// State that lives as long as the program.
struct TWireState {
    bool ShowWireField = false;
    bool WireCurrentUp = true;
};
TWireState& WireState();

void BuildStraightWire(TSceneObject* sceneBase, const TMaterialLibrary* lib);
// The drag operation: keeps the compass on the card and turns it.
void AlignCompass(TSceneObject* sceneBase);
void SetCompassHeight(TSceneObject* sceneBase, int bar);
void ReverseWireCurrent(TSceneObject* sceneBase);
void ToggleWireField(TSceneObject* sceneBase);

class TStWireModel : public TStWireTopic {
public:
    using TStWireTopic::TStWireTopic;
    void Build() override;
    void Drag(int block = 0) override;
    void CompassHeight(int v) override;
    void ReverseCurrent() override;
    void ToggleField() override;
};

void RegisterStraightWireModel();

} // namespace quarvel
