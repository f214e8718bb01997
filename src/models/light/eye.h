#pragma once
// The eye panel (EYE page): normal, short or long sight, with or without
// glasses; a ray diagram shows where the light from an object meets, and two
// photographs show how near and distant things look.

#include "host/panel.h"

#include <QImage>
#include <QPolygonF>
#include <array>

class QActionGroup;
class QLabel;
class QScrollBar;

namespace quarvel {

class TDockToolbar;

// The arrowhead drawn on a ray: its tip and the unit direction it points.
struct TArrowHead {
    QPointF Tip;
    QPointF Direction;
    QPolygonF Triangle() const; // tip, and a base 10 behind it, 8 wide
};

// The ray diagram for sight (0 normal, 1 short, 2 long), glasses and the
// object's x, p (350..1000; 1000 is a distant object).
struct TEyeDiagram {
    int Sight = 0;
    bool Glasses = false;
    int P = 350;

    // Where the rays meet on the axis without glasses (21 is the retina).
    int MeetX() const;
    double LensHalfWidth() const { return 14 - (P - 325) * 0.01; }
    QPolygonF EyeLens() const;
    QPolygonF Spectacles() const; // empty without glasses
    // The upper and lower ray, from the meeting point out to the object.
    std::array<QPolygonF, 2> Rays() const;
    std::array<TArrowHead, 2> ArrowHeads() const;
    // Which photographs are sharp.
    bool NearSharp() const { return Glasses || Sight != 2; }
    bool FarSharp() const { return Glasses || Sight != 1; }
};

// The 680 x 240 diagram over `background` (drawn at the top-left).
QImage DrawEyeDiagram(const TEyeDiagram& d, const QImage& background);

class TEyeFrm : public TPanel {
    Q_OBJECT
public:
    explicit TEyeFrm(QWidget* parent = nullptr);

    TDockToolbar* Toolbar() const override { return m_toolbar; }
    void SetLargeButtons(bool large) override;
    bool RunOperation(const QString& name, const QVariantList& args) override;
    void SetCase(int objectPosition, int sight, bool glasses);

    int Sight = 0;
    bool Glasses = false;
    QAction* NormalBtn = nullptr;
    QAction* ShortBtn = nullptr;
    QAction* LongBtn = nullptr;
    QAction* GlassesBtn = nullptr;
    QScrollBar* EyeDistHsb = nullptr;
    QWidget* EyePic = nullptr;
    QLabel* NearPic = nullptr;
    QLabel* FarPic = nullptr;

    TEyeDiagram Diagram() const;
    const QImage& Picture() const { return m_picture; }
    // Pressing a vision button or the glasses button.
    void VisionClick(QAction* button);

private:
    void Repaint();
    void ChoosePhotographs();
    TDockToolbar* m_toolbar = nullptr;
    QImage m_background, m_picture;
    QImage m_photos[4]; // near sharp, near blurred, far sharp, far blurred
};

void RegisterEyePanel();

} // namespace quarvel
