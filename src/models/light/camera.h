#pragma once
// The camera panel (CAMERA page): the object's distance, the aperture and
// the lens setting; a side view of the camera shows the cone of light and
// the photograph shows the picture taken: smaller when the object is further
// away, blurred when the image misses the film, darker with a small aperture.

#include "host/panel.h"

#include <QImage>
#include <QPolygon>
#include <QVector>

class QLabel;
class QScrollBar;

namespace quarvel {

// Positions along the axis in drawing units: film at 20, diaphragm at 55,
// lens at 92.5 + lens setting, object at object position + 20; f = 45.
struct TCameraOptics {
    float L = 0, O = 0, U = 0, V = 0, I = 0;
    int Blur = 0; // 0 sharp … 255
    static TCameraOptics Of(int objectPosition, int lensSetting);
};
// The black layer's alpha for an aperture 0..25: 27 wide open, 255 closed.
int DarknessAlpha(int aperture);
// The photograph's scale for an object position.
double PhotoScale(int objectPosition);
// The cone of light for scale s and axis c: one simple polygon, or two that
// meet at the image point when the image lies between diaphragm and lens.
QVector<QPolygon> LightCone(const TCameraOptics& o, int aperture, double s, int c);
// The side view, width x height.
QImage DrawCameraDiagram(int objectPosition, int aperture, int lensSetting, QSize size, const QImage& object);
// The 42 x 59 object standing before the camera.
QImage CameraObjectPicture();

class TCameraFrm : public TPanel {
    Q_OBJECT
public:
    explicit TCameraFrm(QWidget* parent = nullptr);

    void SetLargeButtons(bool large) override;
    bool RunOperation(const QString& name, const QVariantList& args) override;
    void SetCase(int objectPosition, int lensSetting);

    float Scale = 1;
    int Blur = 0;
    int BlurAlpha = 0; // the blurred layer's master alpha
    int DarkAlpha = 0; // the black layer's master alpha
    QScrollBar* CamObjHsb = nullptr;
    QScrollBar* ApertureHsb = nullptr;
    QScrollBar* CamLensHsb = nullptr;
    QLabel* Labels[3] = {};
    QWidget* NearPic = nullptr;
    QWidget* Pic = nullptr;
    QWidget* TopPanel = nullptr;

    // What the photograph shows, 200 x 210.
    QImage Photograph() const;
    const QImage& Diagram() const { return m_diagram; }
    void ScrollChange(QScrollBar* bar);

protected:
    void resizeEvent(QResizeEvent* e) override;

private:
    void Redraw();
    QImage m_sharp, m_blurred, m_object, m_diagram;
};

void RegisterCameraPanel();

} // namespace quarvel
