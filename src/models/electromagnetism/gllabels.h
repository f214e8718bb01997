#pragma once
// Solid capital letters N and S for magnet poles.

#include "scene/sceneobject.h"

namespace quarvel {

// A solid letter in the x-y plane: 'S' draws the S, any other letter the N.
class TGL_Label : public TCustomSceneObject {
public:
    void SetLetter(char16_t letter);
    void SetLetterDepth(float depth);
    void SetLetterSize(float size);
    char16_t Letter() const { return m_letter; }

protected:
    void BuildGeometry(TMesh& mesh) override;

private:
    char16_t m_letter = u'N';
    float m_depth = 0.1f, m_size = 1;
};

} // namespace quarvel
